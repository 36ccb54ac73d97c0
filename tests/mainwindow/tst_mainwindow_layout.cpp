// The main window as the user first sees it, how it lays itself out when resized, and how it goes.

#include "MainWindowFixture.h"
#include "mainwindow/ShowMainWindow.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "storage/Catalogue.h"
#include "storage/sqlDB.h"
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {

// Each control's place in twips (left, top, width, height): toolbar, bar, title, list, both trees.
QList<QList<int>> layoutOf(const frmMain& w)
{
    QList<QList<int>> places;
    for (const QWidget* c :
         std::initializer_list<const QWidget*> {w.tlbCategories, w.picBar, w.lblTitle, w.lvMain, w.tvMain, w.tvISO})
        places << QList<int> {c->x() * 15, c->y() * 15, c->width() * 15, c->height() * 15};
    return places;
}

// Sizes the window so that its client area is width by height twips.
void setClientArea(frmMain& w, int width, int height)
{
    const QSize frame = w.size() - w.centralWidget()->size();
    w.resize(QSize(TwipsToPixels(width), TwipsToPixels(height)) + frame);
    QTRY_COMPARE(w.centralWidget()->size(), QSize(TwipsToPixels(width), TwipsToPixels(height)));
}

using Layout = QList<QList<int>>;

} // namespace

class TestMainWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    // At the design size (7305 twips high) the trees share a half pixel: the category tree takes it.
    void controlsFillTheWindow_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<Layout>("places");
        QTest::newRow("as opened") << 11460 << 7305
                                   << Layout {{0, 0, 11460, 780},       {3255, 840, 8205, 60}, {3360, 945, 8100, 330},
                                              {3255, 1260, 8205, 6045}, {0, 840, 3270, 3240},  {0, 4080, 3270, 3225}};
        QTest::newRow("one pixel taller")
            << 11460 << 7320 << Layout {{0, 0, 11460, 780},       {3255, 840, 8205, 60}, {3360, 945, 8100, 330},
                                        {3255, 1260, 8205, 6060}, {0, 840, 3270, 3240},  {0, 4080, 3270, 3240}};
        QTest::newRow("3000 high") << 11460 << 3000
                                   << Layout {{0, 0, 11460, 780},       {3255, 840, 8205, 60}, {3360, 945, 8100, 330},
                                              {3255, 1260, 8205, 1740}, {0, 840, 3270, 1080},  {0, 1920, 3270, 1080}};
        QTest::newRow("wider") << 15000 << 9000
                               << Layout {{0, 0, 15000, 780},        {3255, 840, 11745, 60}, {3360, 945, 11640, 330},
                                          {3255, 1260, 11745, 7740}, {0, 840, 3270, 4080},   {0, 4920, 3270, 4080}};
    }

    void controlsFillTheWindow()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        MainWindowFixture f;
        QVERIFY(f.show());
        QCOMPARE(f.w->windowTitle(), QStringLiteral("ISO9001:2000 Cadrelle"));
        QCOMPARE(f.w->centralWidget()->size(), QSize(764, 487));
        setClientArea(*f.w, width, height);
        QTEST(layoutOf(*f.w), "places");
        // Minimised and restored, or too small for the controls' own places (the negative results are
        // refused, the rest applies), then back: as it was.
        const Layout before = layoutOf(*f.w);
        f.w->showMinimized();
        QTest::qWait(50);
        f.w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        setClientArea(*f.w, width, height);
        QCOMPARE(layoutOf(*f.w), before);
        setClientArea(*f.w, 1500, 600);
        QCOMPARE(layoutOf(*f.w)[4][3], before[4][3]);
        QCOMPARE(layoutOf(*f.w)[3].mid(2), before[3].mid(2));
        setClientArea(*f.w, width, height);
        QCOMPARE(layoutOf(*f.w), before);
    }

    void toolbarAndMenusCarryTheirCommandsInOrder()
    {
        MainWindowFixture f;
        QCOMPARE(f.w->tlbCategories->iconSize(), QSize(32, 32));
        QCOMPARE(f.w->tlbCategories->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QStringList shown;
        for (QAction* b : f.w->tlbCategories->actions()) {
            QVERIFY(b->isSeparator() || !b->icon().isNull());
            shown << (b->isSeparator() ? "|" : b->text() + '/' + b->data().toString() + '/' + b->toolTip());
        }
        for (QAction* menu : f.w->menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                shown << menu->text() + ':' + item->objectName() + '=' + item->text() + item->shortcut().toString();
        QCOMPARE(
            shown,
            (QStringList {"New/NEWCAT/Add new category", "Rename/RENAMECAT/Rename category",
                          "Arrange/MOVECAT/Arrange categories", "Delete/DELETECAT/Delete category", "|",
                          "Open/OPEN/Open file", "Add/ADD/Add document to category", "Edit/EDIT/Edit document details",
                          "Remove/REMOVE/Remove document details", "|", "Exit/EXIT/Exit application",
                          "File:mnuFileExit=Exit", "Report:mnuReportHTML=HTML", "Database:mnuDatabaseBackup=Backup",
                          "Help:mnuHelpContents=Contents", "Help:mnuHelpAbout=About"}));
    }

    // Closing the shown window ends it, closes the catalogue and saves the widths.
    void everyWayOfClosingClosesTheCatalogueAndSavesTheWidths()
    {
        for (const QString way : {"close box", "mnuFileExit", "EXIT"}) {
            TestFolder folder;
            ScriptedUi ui;
            folder.openCatalogue();
            QPointer<frmMain> w = ShowMainWindow();
            QCOMPARE(w->lblTitle->text(), QStringLiteral("Category - QSM"));
            w->lvMain->header()->resizeSection(2, 80);
            if (way == "close box")
                w->close();
            else
                (way == "EXIT" ? w->Button(way) : w->mnuFileExit)->trigger();
            QTRY_VERIFY2(w.isNull() && !Catalogue::IsOpen(), qPrintable(way));
            QCOMPARE(GetSetting("Cadrelle", "Settings", "C3Width"), QStringLiteral("1200"));
            QVERIFY(ui.boxes.isEmpty());
            DirectExec(folder.dbPath(), QStringLiteral("UPDATE tblinit SET init=1")); // the file is free again
        }
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_mainwindow_layout.moc"
