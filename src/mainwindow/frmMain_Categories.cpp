#include "mainwindow/frmMain.h"

#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/DocumentRows.h"
#include "mainwindow/ImageLists.h"
#include "mainwindow/NodeTree.h"
#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "storage/Statements.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QLabel>

// The category tree, the document list and refiling by drag and drop.

namespace {

const QStringList kCategoryButtons = {QStringLiteral("NEWCAT"), QStringLiteral("DELETECAT"),
                                      QStringLiteral("RENAMECAT"), QStringLiteral("MOVECAT"), QStringLiteral("ADD")};
const QStringList kRowButtons = {QStringLiteral("OPEN"), QStringLiteral("EDIT"), QStringLiteral("REMOVE")};

QTreeWidgetItem* categoryNode(const QString& catkey, const QString& catname)
{
    auto* node = new QTreeWidgetItem(QStringList {catname});
    NodeTree::SetKey(node, catkey);
    node->setIcon(0, ImageList2(QStringLiteral("CATEGORY")));
    QFont bold = node->font(0);
    bold.setBold(true);
    node->setFont(0, bold);
    return node;
}

} // namespace

void frmMain::LoadCategories()
{
    Trap("MAIN3", [&] {
        tvMain->clear();
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCategories(), Catalogue().db());
        while (!rs.AtEOF()) {
            const QString catkey = rs.Value(QStringLiteral("catkey")).toText();
            const QString catname = rs.Value(QStringLiteral("catname")).toText();
            tvMain->addTopLevelItem(categoryNode(catkey, catname));
            rs.MoveNext();
        }
        rs.CloseRecordset();
        if (tvMain->topLevelItemCount() > 0) {
            tvMain->setCurrentItem(tvMain->topLevelItem(0));
            tvMain_NodeClick(tvMain->topLevelItem(0));
        }
    });
}

void frmMain::tvMain_NodeClick(QTreeWidgetItem* node)
{
    HourGlass hourGlass;
    Trap("MAIN8", [&] {
        EnableAllButtons();
        SetButtonsEnabled(kCategoryButtons, true);
        QTreeWidgetItem* selected = tvMain->currentItem() ? tvMain->currentItem() : node;
        if (!node || !selected)
            throw AppError(QStringLiteral("Object variable not set: no category is selected"));
        lblTitle->setText(QStringLiteral("Category - ") + selected->text(0));
        lvModel->Clear();
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCategoryDocuments(NodeTree::Key(node)), Catalogue().db());
        lvModel->SetRows(ReadDocumentRows(rs, QStringLiteral("dockey")));
        rs.CloseRecordset();
        SetButtonsEnabled(kRowButtons, lvModel->rowCount() > 0);
    });
}

void frmMain::lvMain_MouseDown(const QPoint& pos)
{
    const QModelIndex index = lvMain->indexAt(pos);
    mDragItem = index.isValid() ? QPersistentModelIndex(lvModel->index(index.row(), 0)) : QPersistentModelIndex();
}

void frmMain::lvMain_MouseUp(const QPoint&)
{
    mDragItem = QPersistentModelIndex();
}

void frmMain::tvMain_OLEDragDrop(const QPoint& pos)
{
    Trap("MAIN10", [&] {
        if (!mDragItem.isValid())
            return;
        QTreeWidgetItem* target = tvMain->itemAt(pos);
        if (!target)
            return;
        Catalogue().Execute(Sql::UpdateDocumentCategory(NodeTree::Key(target), lvModel->ItemTag(mDragItem.row())));
        tvMain->setCurrentItem(target);
        tvMain_NodeClick(tvMain->currentItem());
        mDragItem = QPersistentModelIndex();
    });
}
