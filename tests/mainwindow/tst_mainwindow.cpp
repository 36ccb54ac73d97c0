// The main window's own parts: how it lays itself out when resized, its toolbar and menus, how it
// closes, the column widths kept in the settings store, and the fixed ISO 9001:2000 clause tree with
// the documents of a clause.

#include "MainWindowFixture.h"
#include "mainwindow/ClauseTree.h"
#include "mainwindow/ShowMainWindow.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "storage/Catalogue.h"
#include "storage/ClauseMatch.h"
#include "storage/Variant.h"
#include "storage/sqlDB.h"
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

Q_DECLARE_METATYPE(Variant)

using namespace Qt::StringLiterals;

namespace {

using Layout = QList<QList<int>>;

// Each control's place in twips (left, top, width, height): toolbar, bar, title, list, both trees.
Layout layoutOf(const frmMain& w)
{
    Layout places;
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

const QStringList kWidthKeys = {"C2Width", "C3Width", "C4Width", "C5Width"};

QString storedWidths()
{
    QStringList values;
    for (const QString& key : kWidthKeys)
        values << GetSetting("Cadrelle", "Settings", key);
    return values.join(' ');
}

QString widths(const frmMain& w) // the four in twips
{
    QStringList list;
    for (int column = 1; column < 5; ++column)
        list << QString::number(w.lvMain->ColumnWidthTwips(column));
    return list.join(' ');
}

// A window loaded after C2Width to C5Width were stored ("-" leaves the key out).
std::unique_ptr<MainWindowFixture> loadWith(const QStringList& values)
{
    return std::make_unique<MainWindowFixture>(QStringList(), [&] {
        for (int i = 0; i < kWidthKeys.size(); ++i)
            if (values[i] != "-")
                SaveSetting("Cadrelle", "Settings", kWidthKeys[i], values[i]);
    });
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // At the design height (7305 twips) the trees share a half pixel: the category tree takes it.
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

    // Minimised and restored, or too small for the controls' own places (the negative results are
    // refused, the rest applies), then back: as it was.
    void controlsFillTheWindow()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        MainWindowFixture f;
        QVERIFY(f.show());
        setClientArea(*f.w, width, height);
        QTEST(layoutOf(*f.w), "places");
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
            QCOMPARE(w->lblTitle->text(), u"Category - QSM"_s);
            w->lvMain->header()->resizeSection(2, 80);
            if (way == "close box")
                w->close();
            else
                (way == "EXIT" ? w->Button(way) : w->mnuFileExit)->trigger();
            QTRY_VERIFY2(w.isNull() && !Catalogue::IsOpen(), qPrintable(way));
            QCOMPARE(GetSetting("Cadrelle", "Settings", "C3Width"), u"1200"_s);
            QVERIFY(ui.boxes.isEmpty());
            DirectExec(folder.dbPath(), u"UPDATE tblinit SET init=1"_s); // the file is free again
        }
    }

    // Stored before, whether the load tells of a mismatch, the widths shown then saved.
    void widthsArePutBackAndSaved_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("mismatch");
        QTest::addColumn<QString>("widths");
        QTest::newRow("nothing stored") << "- - - -" << false << "1500 1000 1440 1000";
        QTest::newRow("all stored") << "2000 1200 900 3000" << false << "2000 1200 900 3000";
        QTest::newRow("C2Width missing: none used") << "- 1200 900 3000" << false << "1500 1000 1440 1000";
        QTest::newRow("C3Width missing: stops there") << "2000 - 900 3000" << true << "2000 1000 1440 1000";
        QTest::newRow("not a number: stops there") << "2000 1200 wide 3000" << true << "2000 1200 1440 1000";
        QTest::newRow("0 closes the column") << "2000 0 900 3000" << false << "2000 0 900 3000";
    }

    void widthsArePutBackAndSaved()
    {
        QFETCH(QString, before);
        QFETCH(bool, mismatch);
        QFETCH(QString, widths);
        auto f = loadWith(before.split(' '));
        QCOMPARE(::widths(*f->w), widths);
        QCOMPARE(f->w->lvMain->header()->sectionSize(1), qRound(widths.section(' ', 0, 0).toDouble() / 15));
        QCOMPARE(f->ui.prompts(), mismatch ? QStringList {"MAIN1 - Type mismatch"} : QStringList());
        // The rest of the load went on; a click reloads the rows, not the columns.
        QCOMPARE(f->w->lblTitle->text(), u"Category - QSM"_s);
        f->clickCategory(u"Procedures"_s);
        QCOMPARE(::widths(*f->w), widths);
        f->w->close();
        QCOMPARE(storedWidths(), widths);
    }

    void aClosedColumnOpensWhenDraggedAndWidthsFollowTheNumberFormat()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        auto f = loadWith({"1234,5", "0", "1440", "1000"});
        QCOMPARE(widths(*f->w), u"1234.5 0 1440 1000"_s);
        QCOMPARE(f->w->lvMain->header()->sectionSize(2), 0);
        f->w->lvMain->header()->resizeSection(2, 90);
        f->w->close();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(storedWidths(), u"1234,5 1350 1440 1000"_s);
        QVERIFY(f->ui.boxes.isEmpty());
    }

    // As tabled, parents before children; a key is the number without its dots, a parent the number
    // without its last level; only the root is bold and unfolded, and nothing is selected.
    void treeHoldsTheClausesAsTabled()
    {
        MainWindowFixture f;
        QCOMPARE(f.w->tvISO->topLevelItemCount(), 1);
        QTreeWidgetItem* root = f.w->tvISO->topLevelItem(0);
        QList<int> perLevel(4, 0);
        int i = 0;
        for (QTreeWidgetItemIterator it(f.w->tvISO); *it; ++it, ++i) {
            QTreeWidgetItem* node = *it;
            const ClauseNode& tabled = ClauseTable().at(std::size_t(i)); // 68 nodes at most
            const QString number = node->text(0);
            QCOMPARE(number + ' ' + NodeTree::Key(node) + ' ' + NodeTree::Key(node->parent()),
                     QString::fromLatin1(tabled.text) + ' ' + tabled.key + ' ' + tabled.parentKey);
            QVERIFY(!node->icon(0).isNull());
            QCOMPARE(node->font(0).bold(), node == root);
            QCOMPARE(node->isExpanded(), node == root);
            if (node == root)
                continue;
            QCOMPARE(NodeTree::Key(node), "iso" + QString(number).remove('.'));
            QCOMPARE(node->parent() == root ? QString() : node->parent()->text(0), number.section('.', 0, -2));
            ++perLevel[(number.size() + 1) / 2];
        }
        QCOMPARE(perLevel, (QList<int> {0, 5, 23, 39})); // and the root: 68
        QVERIFY(!f.w->tvISO->currentItem() && f.w->tvISO->selectedItems().isEmpty());
    }

    void clauseMatchListsUnderTheNodesThatBeginItsElements_data()
    {
        QTest::addColumn<Variant>("isoref");
        QTest::addColumn<QString>("listedUnder");
        QTest::newRow("three clauses") << Variant("4.2.1,5.4.1,8.1") << "Sections 4 4.2 4.2.1 5 5.4 5.4.1 8 8.1";
        QTest::newRow("second level") << Variant("4.2") << "Sections 4 4.2";
        QTest::newRow("4.1 is not under 4.2") << Variant("4.1") << "Sections 4 4.1";
        QTest::newRow("main clause alone") << Variant("4") << "Sections 4";
        QTest::newRow("blank after the comma") << Variant("4.2.1, 5.4.1") << "Sections 4 4.2 4.2.1";
        QTest::newRow("blank after the number") << Variant("5.4.1 ") << "Sections 5 5.4 5.4.1";
        QTest::newRow("semicolon") << Variant("4.2.1;5.4.1") << "Sections 4 4.2 4.2.1";
        QTest::newRow("not a clause") << Variant("ISO") << "Sections";
        QTest::newRow("clause outside the tree") << Variant("9.1") << "Sections";
        QTest::newRow("leading blank") << Variant(" 4.1") << "Sections";
        QTest::newRow("empty elements") << Variant(",,7.5,") << "Sections 7 7.5";
        QTest::newRow("two under one node") << Variant("4.2.1,4.2.2") << "Sections 4 4.2 4.2.1 4.2.2";
        QTest::newRow("prefix on characters") << Variant("7.5.10") << "Sections 7 7.5 7.5.1";
        QTest::newRow("stored as a number") << Variant(qint64(4)) << "Sections 4";
        QTest::newRow("empty list") << Variant("") << "";
        QTest::newRow("null") << Variant::null() << "";
    }

    void clauseMatchListsUnderTheNodesThatBeginItsElements()
    {
        QFETCH(Variant, isoref);
        QStringList found;
        for (const ClauseNode& node : ClauseTable())
            if (ClauseMatch(QString::fromLatin1(node.text), isoref))
                found << QString::fromLatin1(node.text);
        QTEST(found.join(' '), "listedUnder");
    }

    // Each document once, whatever its category, in reference order; the root lists every document
    // with a clause list. The category tree keeps its selection for the commands that act on it. The
    // list's model stays sound through every reload, also an empty one.
    void clauseClickListsItsDocuments()
    {
        MainWindowFixture f({"UPDATE tbldocument SET isoref=NULL WHERE docref='QP04'",
                             "UPDATE tbldocument SET isoref='' WHERE docref='CA01'"});
        QAbstractItemModelTester tester(f.w->lvModel, QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.clickClause(u"Sections"_s);
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - Sections"_s);
        QCOMPARE(f.listed().size(), 27);
        QCOMPARE(f.listed().join(','),
                 f.sql("SELECT group_concat(docref) FROM (SELECT docref FROM tbldocument "
                       "WHERE isoref<>'' ORDER BY docref)"));
        f.clickClause(u"4.2"_s);
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - 4.2"_s);
        QCOMPARE(f.listed(), (QStringList {"DT01", "DT02", "F01", "F02", "QM01", "QP01", "QP02"}));
        QCOMPARE(f.enabledButtons(), kClauseState);
        QCOMPARE(f.w->tvMain->currentItem()->text(0), u"QSM"_s);
        f.clickClause(u"7.5.1"_s);
        QCOMPARE(f.listed(), QStringList {"WI01"});
        f.clickClause(u"8.3"_s); // named only by the two emptied
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - 8.3"_s);
        QVERIFY(f.listed().isEmpty() && f.ui.boxes.isEmpty());
        QCOMPARE(f.enabledButtons(), QStringList {"EXIT"}); // no row to act on

        DirectExec(f.folder.dbPath(), u"ALTER TABLE tbldocument RENAME TO tblgone"_s);
        f.clickClause(u"5"_s);
        QCOMPARE(f.ui.prompts(),
                 (QStringList {"no such table: tbldocument", "There is no field 'isoref' in the collection",
                               "MAIN7 - Object variable not set: no field 'isoref'"}));
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - 5"_s);
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), kClauseState);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
