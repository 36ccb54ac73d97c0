// The splash as the user sees it: its frameless window, the place, size and fonts of its controls,
// the focus on Continue, and Exit ending the program without writing anything.

#include "SplashTestHelpers.h"
#include "platform/ProgramFolder.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void isAFramelessDialogCentredOnTheScreen()
    {
        frmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.windowType(), Qt::Dialog);
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!splash.windowFlags().testFlag(Qt::X11BypassWindowManagerHint));
        QCOMPARE(splash.windowTitle(), QString());
        // 5355 x 3705 twips, fixed.
        QCOMPARE(splash.size(), QSize(357, 247));
        QCOMPARE(splash.minimumSize(), splash.maximumSize());
        QCOMPARE(splash.frameGeometry().center(), splash.screen()->availableGeometry().center());
    }

    void controlsHaveTheirTextsPlacesAndFonts()
    {
        frmSplash splash;
        QCOMPARE(splash.Frame1->geometry(), QRect(0, 0, 360, 249));

        struct Expected
        {
            QLabel* label;
            QString text, family;
            double points;
            QPoint place;
        };
        for (const Expected& e :
             {Expected {splash.lblCompanyProduct, "ISO 9001:2000 Product", "Arial", 18, {49, 21}},
              Expected {splash.lblProductName, "Cadrelle", "Arial", 32.25, {35, 56}},
              Expected {splash.lblInit, "Initialising database...", "MS Sans Serif", 12, {35, 147}}}) {
            QCOMPARE(e.label->text(), e.text);
            QCOMPARE(e.label->font().family(), e.family);
            QCOMPARE(e.label->font().pointSizeF(), e.points);
            QVERIFY(e.label->font().bold());
            QCOMPARE(e.label->pos(), e.place);
            QVERIFY2(e.label->geometry().right() < splash.width(), qPrintable(e.text));
        }
        // The two product labels take the size of their text; the blinking one is centred in its box.
        QCOMPARE(splash.lblCompanyProduct->size(), splash.lblCompanyProduct->sizeHint());
        QCOMPARE(splash.lblProductName->size(), splash.lblProductName->sizeHint());
        QCOMPARE(splash.lblInit->size(), QSize(288, 22));
        QVERIFY(splash.lblInit->alignment().testFlag(Qt::AlignHCenter));
        QVERIFY(splash.lblInit->isHidden());

        QCOMPARE(splash.cmdContinue->text(), QStringLiteral("Continue"));
        QCOMPARE(splash.cmdContinue->geometry(), QRect(168, 189, 85, 29));
        QCOMPARE(splash.cmdExit->text(), QStringLiteral("Exit"));
        QCOMPARE(splash.cmdExit->geometry(), QRect(259, 189, 85, 29));

        QCOMPARE(splash.Timer1->interval(), 300);
        QVERIFY(!splash.Timer1->isActive());
    }

    void continueHoldsTheFocusAndTabGoesToExit()
    {
        frmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowActive(&splash));
        QCOMPARE(QApplication::focusWidget(), splash.cmdContinue);
        QTest::keyClick(&splash, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), splash.cmdExit);
    }

    void exitEndsTheProgramAndWritesNothing()
    {
        TestFolder folder;
        ScriptedUi ui;
        gDB.reset();
        TestSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(splash.cmdExit, Qt::LeftButton);
        QVERIFY(!splash.isVisible());
        QCOMPARE(splash.ended, 1);
        QVERIFY(!gDB);
        QVERIFY(ui.boxes.isEmpty());
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("0"));
    }

    void returnPressesTheFocusedButton()
    {
        TestFolder folder;
        TestSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowActive(&splash));
        splash.cmdExit->setFocus();
        QTest::keyClick(splash.cmdExit, Qt::Key_Return);
        QCOMPARE(splash.ended, 1);
    }
};

QTEST_MAIN(TestSplashWindow)
#include "tst_splash.moc"
