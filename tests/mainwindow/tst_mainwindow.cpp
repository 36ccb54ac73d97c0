// The main window's own parts: the column widths kept in the settings store and saved on closing,
// the ISO 9001:2000 clause tree and the documents of a clause.

#include "MainWindowFixture.h"
#include "mainwindow/ClauseTree.h"
#include "platform/Settings.h"
#include "storage/Catalogue.h"
#include "storage/ClauseMatch.h"
#include "storage/Variant.h"
#include "storage/sqlDB.h"
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLocale>

Q_DECLARE_METATYPE(Variant)

using namespace Qt::StringLiterals;

namespace {

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
    // Stored before, whether the load tells of a mismatch, the widths shown, then saved by Exit,
    // which closes the catalogue.
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
        f->press("EXIT");
        QVERIFY(!Catalogue::IsOpen());
        QCOMPARE(storedWidths(), widths);
    }

    void aClosedColumnOpensWhenDraggedAndWidthsFollowTheNumberFormat()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        auto f = loadWith({"1234,5", "0", "1440", "1000"});
        QCOMPARE(widths(*f->w), u"1234.5 0 1440 1000"_s);
        QCOMPARE(f->w->lvMain->header()->sectionSize(2), 0);
        f->w->lvMain->header()->resizeSection(2, 90);
        f->w->mnuFileExit->trigger();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(storedWidths(), u"1234,5 1350 1440 1000"_s);
        QVERIFY(f->ui.boxes.isEmpty());
    }

    // The clauses in number order, each under the number without its last level: 5 main clauses, 23
    // of the second level and 39 of the third.
    void treeHoldsTheClauses()
    {
        MainWindowFixture f;
        QCOMPARE(f.w->tvISO->topLevelItemCount(), 1);
        QTreeWidgetItem* root = f.w->tvISO->topLevelItem(0);
        QCOMPARE(root->text(0), u"Sections"_s);
        QStringList numbers;
        QList<int> perLevel(4, 0);
        for (QTreeWidgetItemIterator it(f.w->tvISO); *it; ++it) {
            QTreeWidgetItem* node = *it;
            if (node == root)
                continue;
            numbers << node->text(0);
            QCOMPARE(node->parent() == root ? QString() : node->parent()->text(0), numbers.last().section('.', 0, -2));
            ++perLevel[(numbers.last().size() + 1) / 2];
        }
        QStringList ordered = numbers;
        ordered.sort();
        QCOMPARE(numbers, ordered);
        QCOMPARE(perLevel, (QList<int> {0, 5, 23, 39}));
    }

    void clauseMatchListsUnderTheNodesThatBeginItsElements_data()
    {
        QTest::addColumn<Variant>("isoref");
        QTest::addColumn<QString>("listedUnder");
        QTest::newRow("three clauses") << Variant("4.2.1,5.4.1,8.1") << "Sections 4 4.2 4.2.1 5 5.4 5.4.1 8 8.1";
        QTest::newRow("4.1 is not under 4.2") << Variant("4.1") << "Sections 4 4.1";
        QTest::newRow("blank after the comma") << Variant("4.2.1, 5.4.1") << "Sections 4 4.2 4.2.1";
        QTest::newRow("blank after the number") << Variant("5.4.1 ") << "Sections 5 5.4 5.4.1";
        QTest::newRow("not a clause") << Variant("ISO") << "Sections";
        QTest::newRow("leading blank") << Variant(" 4.1") << "Sections";
        QTest::newRow("empty elements") << Variant(",,7.5,") << "Sections 7 7.5";
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
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - 4.2 Documentation requirements"_s);
        QCOMPARE(f.listed(), (QStringList {"DT01", "DT02", "F01", "F02", "QM01", "QP01", "QP02"}));
        QCOMPARE(f.enabledButtons(), kClauseState);
        QCOMPARE(f.w->tvMain->currentItem()->text(0), u"QSM"_s);
        f.clickClause(u"8.3"_s); // named only by the two emptied
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - 8.3 Control of nonconforming product"_s);
        QVERIFY(f.listed().isEmpty() && f.ui.boxes.isEmpty());
        QCOMPARE(f.enabledButtons(), QStringList {"EXIT"}); // no row to act on

        DirectExec(f.folder.dbPath(), u"ALTER TABLE tbldocument RENAME TO tblgone"_s);
        f.clickClause(u"5"_s);
        QCOMPARE(f.ui.prompts(),
                 (QStringList {"no such table: tbldocument", "There is no field 'isoref' in the collection",
                               "MAIN7 - Object variable not set: no field 'isoref'"}));
        QCOMPARE(f.w->lblTitle->text(), u"ISO Reference - 5 Management responsibility"_s);
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), QStringList {"EXIT"});
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
