#include "mainwindow/frmMain.h"

#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/ImageLists.h"
#include "mainwindow/NodeTree.h"
#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "storage/Catalogue.h"
#include <QLabel>

// The category tree, the document list and refiling by drag and drop.

namespace {

const QStringList kCategoryButtons = {QStringLiteral("NEWCAT"), QStringLiteral("DELETECAT"),
                                      QStringLiteral("RENAMECAT"), QStringLiteral("MOVECAT"), QStringLiteral("ADD")};
const QStringList kRowButtons = frmMain::RowButtonKeys();

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
        for (const Category& category : Catalogue::Current().Categories())
            tvMain->addTopLevelItem(categoryNode(category.key, category.name));
        if (tvMain->topLevelItemCount() > 0) {
            tvMain->setCurrentItem(tvMain->topLevelItem(0));
            tvMain_NodeClick(tvMain->topLevelItem(0));
        } else {
            ShowNoCategory();
        }
    });
}

// With no category left, nothing listed may stay on show: its records are gone, and only commands
// that need no category remain.
void frmMain::ShowNoCategory()
{
    lblTitle->clear();
    lvModel->Clear();
    EnableAllButtons();
    SetButtonsEnabled({QStringLiteral("RENAMECAT"), QStringLiteral("DELETECAT"), QStringLiteral("ADD")}, false);
    SetButtonsEnabled(kRowButtons, false);
}

// Selects the row of the record, or the first row when it is not listed: the row commands always
// act on a row the user sees selected.
void frmMain::SelectDocument(const QString& dockey)
{
    if (lvModel->rowCount() == 0)
        return;
    const int row = dockey.isEmpty() ? 0 : std::max(0, lvModel->RowOf(dockey));
    lvMain->SelectRow(row);
    lvMain->scrollTo(lvModel->index(row, 0));
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
        m_listSource = ListSource::Category;
        m_listNode = NodeTree::Key(node);
        MarkListedTree();
        lvModel->Clear();
        Catalogue& catalogue = Catalogue::Current();
        if (auto window = catalogue.CategoryWindow(NodeTree::Key(node)))
            lvModel->SetWindow(std::move(window));
        else
            lvModel->SetRows(catalogue.CategoryDocuments(NodeTree::Key(node)));
        SelectDocument(QString());
        SetButtonsEnabled(kRowButtons, lvModel->rowCount() > 0);
    });
}

QTreeWidgetItem* frmMain::CategoryNode(const QString& catkey) const
{
    for (int i = 0; i < tvMain->topLevelItemCount() && !catkey.isEmpty(); ++i) {
        if (NodeTree::Key(tvMain->topLevelItem(i)) == catkey)
            return tvMain->topLevelItem(i);
    }
    return nullptr;
}

bool frmMain::SelectCategory(const QString& catkey)
{
    QTreeWidgetItem* node = CategoryNode(catkey);
    if (!node)
        return false;
    tvMain->setCurrentItem(node);
    tvMain_NodeClick(node);
    return true;
}

void frmMain::MarkListedTree()
{
    static_cast<NodeTree*>(tvMain)->SetListing(m_listSource == ListSource::Category);
    static_cast<NodeTree*>(tvISO)->SetListing(m_listSource == ListSource::Clause);
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

// The record refiled is the one the drag carries, wherever it came from: the row pressed here last
// may belong to another drag, one cancelled or one from another window. Only a record of this
// catalogue is taken.
void frmMain::tvMain_OLEDragDrop(const QPoint& pos, const QByteArray& dragged)
{
    Trap("MAIN10", [&] {
        mDragItem = QPersistentModelIndex();
        const QString dockey = QString::fromUtf8(dragged);
        QTreeWidgetItem* target = tvMain->itemAt(pos);
        if (!target || dockey.isEmpty())
            return;
        const Catalogue::Write refiled = Catalogue::Current().RefileDocument(dockey, NodeTree::Key(target));
        if (refiled == Catalogue::Write::Refused)
            return;
        if (refiled == Catalogue::Write::Unchanged) {
            MsgBox(QStringLiteral("This document is not in the catalogue, or the category is gone: nothing was "
                                  "refiled."),
                   MsgStyle::Critical);
            LoadCategories();
            return;
        }
        tvMain->setCurrentItem(target);
        tvMain_NodeClick(tvMain->currentItem());
        SelectDocument(dockey);
        RefreshCoverage();
    });
}
