#pragma once

// A main window over a temporary copy of the delivered catalogue, loaded as the program loads it,
// with every message box scripted. prepare runs on the catalogue file and before (if given) just
// before the window opens it.

#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/NodeTree.h"
#include "mainwindow/frmMain.h"
#include "platform/ScriptedUi.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QToolBar>

struct MainWindowFixture
{
    TestFolder folder;
    ScriptedUi ui;
    std::unique_ptr<frmMain> w;

    explicit MainWindowFixture(const QStringList& prepare = {}, const std::function<void()>& before = {})
    {
        for (const QString& sql : prepare)
            DirectExec(folder.dbPath(), sql);
        if (before)
            before();
        folder.openCatalogue();
        w = std::make_unique<frmMain>();
        w->Form_Load();
    }

    bool show() const { return w->show(), QTest::qWaitForWindowExposed(w.get()); }
    // Shown and active, so that the window's shortcuts take keys.
    bool activate() const { return show() && (w->activateWindow(), QTest::qWaitForWindowActive(w.get())); }
    QString sql(const QString& query) const { return DirectValue(folder.dbPath(), query); }
    QTreeWidgetItem* category(const QString& n) const { return w->tvMain->findItems(n, Qt::MatchExactly).value(0); }
    void clickCategory(const QString& name) const { click(w->tvMain, name, &frmMain::tvMain_NodeClick); }
    void clickClause(const QString& text) const { click(w->tvISO, text, &frmMain::tvISO_NodeClick); }
    int rowOf(const QString& docref) const { return listed().indexOf(docref); }
    void selectRow(const QString& docref) const { w->lvMain->SelectRow(rowOf(docref)); }
    QString selected() const { return w->lvModel->SubItemText(w->lvMain->SelectedRow(), 1); }
    void press(const char* key) const { w->Button(QString::fromLatin1(key))->trigger(); } // if enabled

    // Selects a node and clicks it, as the mouse does.
    void click(QTreeWidget* tree, const QString& text, void (frmMain::*handler)(QTreeWidgetItem*)) const
    {
        QTreeWidgetItem* node = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY2(node, qPrintable(text));
        tree->setCurrentItem(node);
        (w.get()->*handler)(node);
    }

    QStringList listed() const // the references, top to bottom
    {
        QStringList refs;
        for (int row = 0; row < w->lvModel->rowCount(); ++row)
            refs << w->lvModel->SubItemText(row, 1);
        return refs;
    }

    QStringList enabledButtons() const // their keys, left to right
    {
        QStringList keys;
        for (QAction* button : w->tlbCategories->actions())
            if (!button->isSeparator() && button->isEnabled() && !button->data().toString().isEmpty())
                keys << button->data().toString();
        return keys;
    }
};

inline const QStringList kCategoryState
    = {"NEWCAT", "RENAMECAT", "MOVECAT", "DELETECAT", "OPEN", "ADD", "EDIT", "REMOVE", "EXIT", "CONTROL", "HISTORY"};
inline const QStringList kEmptyCategoryState = {"NEWCAT", "RENAMECAT", "MOVECAT", "DELETECAT", "ADD", "EXIT"};
inline const QStringList kClauseState = {"OPEN", "EDIT", "REMOVE", "EXIT", "CONTROL", "HISTORY"};
