#pragma once

#include "mainwindow/frmMain.h"
#include "startup/frmSplash.h"
#include "platform/ScriptedUi.h"
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

// A program folder with a splash on it; the main windows the test opened go before the folder.
struct SplashRun
{
    TestFolder folder;
    ScriptedUi ui;
    TestSplash splash;
    ~SplashRun()
    {
        QList<QPointer<QWidget>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows << (qobject_cast<frmMain*>(widget) ? widget : nullptr);
        qDeleteAll(windows);
    }
};

inline void clickContinue(frmSplash& splash)
{
    splash.show();
    QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
}
