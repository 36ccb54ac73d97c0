#pragma once

#include "mainwindow/frmMain.h"
#include "startup/frmSplash.h"
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// A splash whose Exit ends only the test's count, not the test program.
class TestSplash : public frmSplash
{
public:
    int ended = 0;

protected:
    void EndProgram() override { ++ended; }
};

// The main windows that Continue showed.
inline QList<frmMain*> shownMainWindows()
{
    QList<frmMain*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<frmMain*>(widget);
        if (window && window->isVisible())
            found << window;
    }
    return found;
}

// Removes the main windows a test opened, before its program folder goes away.
struct MainWindowsCleanup
{
    ~MainWindowsCleanup()
    {
        QList<QPointer<QWidget>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmMain*>(widget))
                windows << widget;
        }
        qDeleteAll(windows);
    }
};

inline void clickContinue(frmSplash& splash)
{
    QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
}
