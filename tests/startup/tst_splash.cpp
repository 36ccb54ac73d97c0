// The splash as the user sees it: a fixed frameless window with its controls in place, the focus
// on Continue, and Exit ending the program without writing anything.

#include "SplashTestHelpers.h"
#include "storage/Catalogue.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <tuple>

class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void looksAsDrawnHoldsTheFocusOnContinueAndExitWritesNothing()
    {
        SplashRun run;
        TestSplash& splash = run.splash;
        Catalogue::Close();
        splash.show();
        QVERIFY(QTest::qWaitForWindowActive(&splash));
        QCOMPARE(splash.windowType(), Qt::Dialog);
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!splash.windowFlags().testFlag(Qt::X11BypassWindowManagerHint));
        QCOMPARE(splash.size(), QSize(357, 247)); // 5355 x 3705 twips
        QCOMPARE(splash.frameGeometry().center(), splash.screen()->availableGeometry().center());
        // An empty size: the control takes the size of its text.
        const QList<std::tuple<QWidget*, QString, QString, QRect>> controls {
            {splash.Frame1, "", "", QRect(0, 0, 360, 249)},
            {splash.lblCompanyProduct, "ISO 9001:2000 Product", "Arial 18 bold", QRect(49, 21, 0, 0)},
            {splash.lblProductName, "Cadrelle", "Arial 32.25 bold", QRect(35, 56, 0, 0)},
            {splash.lblInit, "Initialising database...", "MS Sans Serif 12 bold", QRect(35, 147, 288, 22)},
            {splash.cmdContinue, "Continue", "", QRect(168, 189, 85, 29)},
            {splash.cmdExit, "Exit", "", QRect(259, 189, 85, 29)}};
        for (const auto& [control, text, font, geometry] : controls) {
            const QFont f = control->font();
            QCOMPARE(control->property("text").toString(), text);
            QCOMPARE(control->geometry(),
                     geometry.isEmpty() ? QRect(geometry.topLeft(), control->sizeHint()) : geometry);
            if (!font.isEmpty())
                QCOMPARE(QStringLiteral("%1 %2%3").arg(f.family()).arg(f.pointSizeF()).arg(f.bold() ? " bold" : ""),
                         font);
        }
        QVERIFY(splash.lblInit->isHidden() && splash.lblInit->alignment().testFlag(Qt::AlignHCenter));
        QCOMPARE(splash.Timer1->interval(), 300);
        QVERIFY(!splash.Timer1->isActive());

        QCOMPARE(QApplication::focusWidget(), splash.cmdContinue);
        QTest::keyClick(&splash, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), splash.cmdExit);
        QTest::keyClick(splash.cmdExit, Qt::Key_Return);
        QCOMPARE(splash.ended, 1);
        QVERIFY(!splash.isVisible());
        QVERIFY(!Catalogue::IsOpen());
        QVERIFY(run.ui.boxes.isEmpty());
        QCOMPARE(DirectValue(run.folder.dbPath(), "SELECT init FROM tblinit"), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestSplashWindow)
#include "tst_splash.moc"
