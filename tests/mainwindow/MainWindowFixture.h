#pragma once

// A main window over a temporary copy of the delivered catalogue, loaded as the program loads it,
// with every message box scripted.

#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/NodeTree.h"
#include "mainwindow/frmMain.h"
#include "support/DirectSql.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>

struct MainWindowFixture
{
    TestFolder folder;
    ScriptedUi ui;
    std::unique_ptr<frmMain> w;

    // prepare runs on the catalogue file before the window opens it.
    explicit MainWindowFixture(const QStringList& prepare = {})
    {
        for (const QString& sql : prepare)
            DirectExec(folder.dbPath(), sql);
        folder.openCatalogue();
        w = std::make_unique<frmMain>();
        w->Form_Load();
    }

    QString sql(const QString& query) const { return DirectValue(folder.dbPath(), query); }

    QTreeWidgetItem* category(const QString& name) const
    {
        const auto found = w->tvMain->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Selects a category node and clicks it, as the mouse does.
    void clickCategory(const QString& name) const
    {
        QTreeWidgetItem* node = category(name);
        QVERIFY2(node, qPrintable(name));
        w->tvMain->setCurrentItem(node);
        w->tvMain_NodeClick(node);
    }

    QTreeWidgetItem* clause(const QString& text) const
    {
        const auto found = w->tvISO->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    void clickClause(const QString& text) const
    {
        QTreeWidgetItem* node = clause(text);
        QVERIFY2(node, qPrintable(text));
        w->tvISO->setCurrentItem(node);
        w->tvISO_NodeClick(node);
    }

    // The references listed, top to bottom.
    QStringList listed() const
    {
        QStringList refs;
        for (int row = 0; row < w->lvModel->rowCount(); ++row)
            refs << w->lvModel->SubItemText(row, 1);
        return refs;
    }

    int rowOf(const QString& docref) const { return listed().indexOf(docref); }

    // The keys of the enabled toolbar buttons, left to right.
    QStringList enabledButtons() const
    {
        QStringList keys;
        for (QAction* button : w->tlbCategories->actions()) {
            if (!button->isSeparator() && button->isEnabled())
                keys << button->data().toString();
        }
        return keys;
    }
};

inline const QStringList kCategoryState
    = {"NEWCAT", "RENAMECAT", "MOVECAT", "DELETECAT", "OPEN", "ADD", "EDIT", "REMOVE", "EXIT"};
inline const QStringList kEmptyCategoryState = {"NEWCAT", "RENAMECAT", "MOVECAT", "DELETECAT", "ADD", "EXIT"};
inline const QStringList kClauseState = {"OPEN", "EDIT", "REMOVE", "EXIT"};
