#include "mainwindow/frmMain.h"

#include "mainwindow/ClauseTree.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/ImageLists.h"
#include "mainwindow/NodeTree.h"
#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "storage/Catalogue.h"
#include "storage/IsoClauses.h"
#include <QHash>
#include <QHeaderView>
#include <QLabel>

// The ISO 9001:2000 clause tree and the documents of a clause.

void frmMain::LoadISOTree()
{
    Trap("MAIN2", [&] {
        const QIcon picture = ImageList2(QStringLiteral("ISOREF"));
        QHash<QString, QTreeWidgetItem*> nodes;
        for (const ClauseNode& clause : ClauseTable()) {
            const QString key = QString::fromLatin1(clause.key);
            if (nodes.contains(key))
                throw AppError(QStringLiteral("Key is not unique in collection: ") + key);
            auto* node = new QTreeWidgetItem(QStringList {QString::fromLatin1(clause.text)});
            NodeTree::SetKey(node, key);
            node->setIcon(0, picture);
            if (clause.parentKey) {
                QTreeWidgetItem* parent = nodes.value(QString::fromLatin1(clause.parentKey));
                if (!parent)
                    throw AppError(QStringLiteral("Element not found: ") + QString::fromLatin1(clause.parentKey));
                parent->addChild(node);
            } else {
                tvISO->addTopLevelItem(node);
            }
            nodes.insert(key, node);
        }
        // A second column holds the coverage counts.
        tvISO->setColumnCount(2);
        tvISO->header()->setStretchLastSection(false);
        tvISO->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        tvISO->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
        QTreeWidgetItem* root = nodes.value(QStringLiteral("SECTIONS"));
        QFont bold = root->font(0);
        bold.setBold(true);
        root->setFont(0, bold);
        root->setExpanded(true);
    });
}

void frmMain::tvISO_NodeClick(QTreeWidgetItem* node)
{
    HourGlass hourGlass;
    Trap("MAIN7", [&] {
        EnableAllButtons();
        SetButtonsEnabled({QStringLiteral("NEWCAT"), QStringLiteral("DELETECAT"), QStringLiteral("RENAMECAT"),
                           QStringLiteral("MOVECAT"), QStringLiteral("ADD")},
                          false);
        if (!node)
            throw AppError(QStringLiteral("Object variable not set: no clause node"));
        const QString clause = node->text(0);
        const QString title = IsoClauses::Title(clause);
        lblTitle->setText(QStringLiteral("ISO Reference - ") + clause
                          + (title.isEmpty() ? QString() : QLatin1Char(' ') + title));
        m_listSource = ListSource::Clause;
        m_listNode = clause;
        MarkListedTree();
        // The row commands act only on a listed row; a refused query leaves none.
        const QStringList rowButtons = RowButtonKeys();
        lvModel->Clear();
        SetButtonsEnabled(rowButtons, false);
        Catalogue& catalogue = Catalogue::Current();
        if (auto window = catalogue.ClauseWindow(clause))
            lvModel->SetWindow(std::move(window));
        else
            lvModel->SetRows(catalogue.ClauseDocuments(clause));
        SelectDocument(QString());
        SetButtonsEnabled(rowButtons, lvModel->rowCount() > 0);
    });
}
