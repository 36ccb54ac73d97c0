#pragma once

#include "mainwindow/frmMain.h"
#include "platform/ScriptedUi.h"
#include "startup/frmSplash.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// A splash whose Exit ends only the test's count, not the test program.
class TestSplash : public frmSplash
{
public:
    int ended = 0;
    void EndProgram() override { ++ended; }
};

// A program folder, the scripted user and the splash the program starts from. Continue makes the
// program folder the current folder: the run goes back to the test's, after closing the windows.
struct ProgramRun
{
    const QString startFolder = QDir::currentPath();
    TestFolder folder;
    ScriptedUi ui;
    TestSplash splash;

    ~ProgramRun()
    {
        close();
        QDir::setCurrent(startFolder);
    }
    QString sql(const QString& query) const { return DirectValue(folder.dbPath(), query); }

    // Presses Continue as the user does; the one main window shown then, or none.
    frmMain* start(frmSplash& on)
    {
        on.show();
        QTest::mouseClick(on.cmdContinue, Qt::LeftButton);
        return shown().size() == 1 ? shown()[0] : nullptr;
    }
    frmMain* start() { return start(splash); }
    static QList<frmMain*> shown()
    {
        QList<frmMain*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<frmMain*>(widget); w && w->isVisible())
                windows << w;
        return windows;
    }
    // Closes the main windows as the close box does: the connection goes and the widths are saved.
    static void close()
    {
        QList<QPointer<frmMain>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows << qobject_cast<frmMain*>(widget);
        for (const QPointer<frmMain>& w : windows)
            if (w)
                w->close(), delete w;
    }
};
