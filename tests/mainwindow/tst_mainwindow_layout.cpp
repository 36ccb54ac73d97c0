// The main window as the user first sees it, and how it lays itself out when its size changes.

#include "MainWindowFixture.h"
#include "mainwindow/ShowMainWindow.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "storage/sqlDB.h"
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {

QString stored(const QString& key)
{
    return GetSetting(QStringLiteral("Cadrelle"), QStringLiteral("Settings"), key);
}

// A control's place in twips: left, top, width, height.
QList<int> twips(const QWidget* control)
{
    const QRect r = control->geometry();
    return {r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15};
}

// Sizes the window so that its client area is width by height twips.
void setClientArea(frmMain& w, int width, int height)
{
    const QSize frame = w.size() - w.centralWidget()->size();
    w.resize(QSize(TwipsToPixels(width), TwipsToPixels(height)) + frame);
    QTRY_COMPARE(w.centralWidget()->size(), QSize(TwipsToPixels(width), TwipsToPixels(height)));
}

struct Layout
{
    QList<int> lvMain, tvMain, tvISO, lblTitle, picBar;
    bool operator==(const Layout&) const = default;
};

Layout layoutOf(const frmMain& w)
{
    return {twips(w.lvMain), twips(w.tvMain), twips(w.tvISO), twips(w.lblTitle), twips(w.picBar)};
}

} // namespace

class TestMainWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void opensAtTheDesignSizeWithEveryControlInPlace()
    {
        MainWindowFixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        QCOMPARE(f.w->windowTitle(), QStringLiteral("ISO9001:2000 Cadrelle"));
        QCOMPARE(f.w->centralWidget()->size(), QSize(764, 487));
        QCOMPARE(twips(f.w->tlbCategories), (QList<int> {0, 0, 11460, 780}));
        QCOMPARE(twips(f.w->picBar), (QList<int> {3255, 840, 8205, 60}));
        QCOMPARE(twips(f.w->lblTitle), (QList<int> {3360, 945, 8100, 330}));
        QCOMPARE(twips(f.w->lvMain), (QList<int> {3255, 1260, 8205, 6045}));
        // (7305 - 840) / 2 is half a pixel: the category tree takes the whole pixel and the clause
        // tree starts where it really ends.
        QCOMPARE(twips(f.w->tvMain), (QList<int> {0, 840, 3270, 3240}));
        QCOMPARE(twips(f.w->tvISO), (QList<int> {0, 4080, 3270, 3225}));
    }

    void toolbarCarriesItsButtonsInOrder()
    {
        MainWindowFixture f;
        QToolBar* bar = f.w->tlbCategories;
        QCOMPARE(bar->objectName(), QStringLiteral("tlbCategories"));
        QCOMPARE(bar->iconSize(), QSize(32, 32));
        QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QStringList shown;
        for (QAction* button : bar->actions()) {
            if (button->isSeparator()) {
                shown << QStringLiteral("|");
                continue;
            }
            QCOMPARE(button->objectName(), button->data().toString());
            QVERIFY(!button->icon().isNull());
            QVERIFY(button->shortcut().isEmpty());
            QCOMPARE(f.w->Button(button->data().toString()), button);
            shown << button->text() + QLatin1Char('/') + button->data().toString() + QLatin1Char('/')
                    + button->toolTip();
        }
        QCOMPARE(
            shown,
            (QStringList {"New/NEWCAT/Add new category", "Rename/RENAMECAT/Rename category",
                          "Arrange/MOVECAT/Arrange categories", "Delete/DELETECAT/Delete category", "|",
                          "Open/OPEN/Open file", "Add/ADD/Add document to category", "Edit/EDIT/Edit document details",
                          "Remove/REMOVE/Remove document details", "|", "Exit/EXIT/Exit application"}));
        QCOMPARE(f.w->Button(QStringLiteral("SAVE")), nullptr);
    }

    void menusHaveNoAccessKeysOrShortcuts()
    {
        MainWindowFixture f;
        QStringList shown;
        for (QAction* menu : f.w->menuBar()->actions()) {
            QStringList items;
            for (QAction* item : menu->menu()->actions()) {
                QVERIFY(item->shortcut().isEmpty());
                items << item->objectName() + QLatin1Char('=') + item->text();
            }
            shown << menu->menu()->objectName() + QLatin1Char('=') + menu->text() + QLatin1Char(':')
                    + items.join(QLatin1Char(','));
        }
        QCOMPARE(shown,
                 (QStringList {"mnuFile=File:mnuFileExit=Exit", "mnuReport=Report:mnuReportHTML=HTML",
                               "mnuDatabase=Database:mnuDatabaseBackup=Backup",
                               "mnuHelp=Help:mnuHelpContents=Contents,mnuHelpAbout=About"}));
        QCOMPARE(f.w->mnuHelpAbout->objectName(), QStringLiteral("mnuHelpAbout"));
    }

    void resizeRulesFillTheWindow_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<int>>("list");
        QTest::addColumn<QList<int>>("categories");
        QTest::addColumn<QList<int>>("clauses");
        QTest::addColumn<int>("titleWidth");
        QTest::addColumn<int>("barWidth");
        QTest::newRow("one pixel taller")
            << 11460 << 7320 << QList<int> {3255, 1260, 8205, 6060} << QList<int> {0, 840, 3270, 3240}
            << QList<int> {0, 4080, 3270, 3240} << 8100 << 8205;
        QTest::newRow("3000 high") << 11460 << 3000 << QList<int> {3255, 1260, 8205, 1740}
                                   << QList<int> {0, 840, 3270, 1080} << QList<int> {0, 1920, 3270, 1080} << 8100
                                   << 8205;
        QTest::newRow("wider") << 15000 << 9000 << QList<int> {3255, 1260, 11745, 7740}
                               << QList<int> {0, 840, 3270, 4080} << QList<int> {0, 4920, 3270, 4080} << 11640 << 11745;
    }

    void resizeRulesFillTheWindow()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        MainWindowFixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        setClientArea(*f.w, width, height);
        QTEST(twips(f.w->lvMain), "list");
        QTEST(twips(f.w->tvMain), "categories");
        QTEST(twips(f.w->tvISO), "clauses");
        QTEST(twips(f.w->lblTitle)[2], "titleWidth");
        QTEST(twips(f.w->picBar)[2], "barWidth");
        QCOMPARE(twips(f.w->lblTitle)[3], 330);
        QCOMPARE(twips(f.w->picBar)[3], 60);
        QCOMPARE(f.w->tlbCategories->height() * 15, 780);
    }

    void tinyOrMinimisedWindowComesBackAsItWas()
    {
        MainWindowFixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        setClientArea(*f.w, 11460, 7320);
        const Layout before = layoutOf(*f.w);

        f.w->showMinimized();
        QTest::qWait(50);
        f.w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        setClientArea(*f.w, 11460, 7320);
        QVERIFY(layoutOf(*f.w) == before);

        // Smaller than the controls' own places: the negative results are refused, the rest applies.
        setClientArea(*f.w, 1500, 600);
        QCOMPARE(twips(f.w->tvMain)[3], 3240);
        QCOMPARE(twips(f.w->lvMain).mid(2), (QList<int> {8205, 6060}));
        setClientArea(*f.w, 11460, 7320);
        QVERIFY(layoutOf(*f.w) == before);
    }

    void everyWayOfClosingClosesTheCatalogueAndSavesTheWidths_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("close box") << "close box";
        QTest::newRow("File, Exit") << "mnuFileExit";
        QTest::newRow("toolbar Exit") << "EXIT";
    }

    void everyWayOfClosingClosesTheCatalogueAndSavesTheWidths()
    {
        QFETCH(QString, way);
        MainWindowFixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        f.w->lvMain->header()->resizeSection(2, 80);
        if (way == "close box")
            QVERIFY(f.w->close());
        else if (way == "mnuFileExit")
            f.w->mnuFileExit->trigger();
        else
            f.w->Button(way)->trigger();
        QVERIFY(!f.w->isVisible());
        QVERIFY(!gDB);
        QCOMPARE(stored(QStringLiteral("C2Width")), QStringLiteral("1500"));
        QCOMPARE(stored(QStringLiteral("C3Width")), QStringLiteral("1200"));
        QCOMPARE(stored(QStringLiteral("C5Width")), QStringLiteral("1000"));
        QVERIFY(f.ui.boxes.isEmpty());
        // The catalogue file is free again: another connection can write it.
        DirectExec(f.folder.dbPath(), QStringLiteral("UPDATE tblinit SET init=1"));
    }

    void shownMainWindowIsLoadedAndGoesWhenClosed()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        QPointer<frmMain> w = ShowMainWindow();
        QVERIFY(w->isVisible());
        QCOMPARE(w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(w->tvISO->topLevelItemCount(), 1);
        w->close();
        QTRY_VERIFY(w.isNull());
        QVERIFY(!gDB);
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_mainwindow_layout.moc"
