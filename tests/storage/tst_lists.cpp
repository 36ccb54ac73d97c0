// The lists read a page at a time, set against the same lists read whole, on a generated catalogue
// changed between reads by the program and by another writer.

#include "mainwindow/DocumentListModel.h"
#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/DocumentWindow.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using Write = Catalogue::Write;

namespace {

const QStringList kClauseLists
    = {u""_s, u"4.2.3"_s, u"7.5.1,8.2"_s, u"5.1,6.2.2,7.5"_s, u"42, 4.2"_s, u"7.5.5,7.5.1,7.5.2"_s, u","_s, u"8"_s};
const QStringList kNodes = {u"Sections"_s, u"4"_s, u"4.2"_s, u"4.2.3"_s, u"7.5"_s, u"7.5.1"_s, u"8"_s, u"6.2.2"_s};

QStringList keys(const std::vector<Document>& documents)
{
    QStringList list;
    for (const Document& d : documents)
        list << d.key;
    return list;
}

// Every row of a window, its pages read in a random order by several windows in turn: from a
// neighbour on either side, and by counting from either end.
QStringList pagedKeys(const std::function<std::unique_ptr<DocumentWindow>()>& open, QRandomGenerator& random)
{
    std::unique_ptr<DocumentWindow> window = open();
    if (!window)
        return {u"no window"_s};
    QStringList list(window->Count());
    std::vector<int> rows(std::size_t(window->Count()));
    std::iota(rows.begin(), rows.end(), 0);
    std::shuffle(rows.begin(), rows.end(), random);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i % 250 == 0)
            window = open();
        list[rows[i]] = window->At(rows[i]).key;
    }
    return list;
}

// Documents with awkward and repeated references spread over three categories.
void generate(const TestFolder& folder, int count)
{
    QRandomGenerator random(7);
    QStringList sql = {u"BEGIN"_s};
    for (int i = 0; i < count; ++i) {
        const int n = int(random.bounded(count / 3));
        const QString ref = i % 17 == 0 ? u"Dup'é"_s : i % 29 == 0 ? QString() : u"R-%1"_s.arg(n, 5, 10, QChar(u'0'));
        sql << u"INSERT INTO tbldocument VALUES('G%1','%2','Title %1','/d/%1.rtf','%3','%4')"_s.arg(i).arg(
            QString(ref).replace(u"'"_s, u"''"_s), u"cat%1"_s.arg(i % 3),
            kClauseLists[int(random.bounded(kClauseLists.size()))]);
    }
    for (int c = 0; c < 3; ++c)
        sql << u"INSERT INTO tblcategory VALUES('cat%1','Generated %1',%2)"_s.arg(c).arg(100 + c);
    sql << u"COMMIT"_s;
    DirectExec(folder.dbPath(), sql.join(u';'));
}

} // namespace

class TestLists : public QObject
{
    Q_OBJECT

private slots:
    // Every category and clause node, with and without obsolete documents, after the upgrade, after
    // the program's own writes and after another program's.
    void pagedListsAreTheWholeLists()
    {
        TestFolder folder;
        ScriptedUi ui;
        generate(folder, 1500);
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        QRandomGenerator random(11);
        auto compareAll = [&](const char* when) {
            for (bool obsolete : {false, true}) {
                c.SetIncludeObsolete(obsolete);
                for (const Category& category : c.Categories()) {
                    const QStringList whole = keys(c.CategoryDocuments(category.key));
                    if (pagedKeys([&] { return c.CategoryWindow(category.key); }, random) != whole)
                        QFAIL(qPrintable(u"%1: category %2"_s.arg(QLatin1String(when), category.name)));
                }
                for (const QString& node : kNodes) {
                    const QStringList whole = keys(c.ClauseDocuments(node));
                    if (pagedKeys([&] { return c.ClauseWindow(node); }, random) != whole)
                        QFAIL(qPrintable(u"%1: clause %2"_s.arg(QLatin1String(when), node)));
                }
            }
        };
        compareAll("upgraded");

        for (int i = 0; i < 40; ++i) {
            Document added {QString(), u"R-%1"_s.arg(i * 37, 5, 10, QChar(u'0')), u"Added"_s, kClauseLists[i % 8],
                            u"/a"_s};
            QCOMPARE(c.AddDocument(u"cat%1"_s.arg(i % 3), added), Write::Done);
            QVERIFY(c.RefileDocument(u"G%1"_s.arg(i * 3), u"cat%1"_s.arg((i + 1) % 3)) != Write::Refused);
            QVERIFY(c.RemoveDocument(u"G%1"_s.arg(i * 5 + 1)) != Write::Refused);
            QVERIFY(c.Withdraw(u"G%1"_s.arg(i * 7 + 2), u"old"_s) != Write::Refused);
            Document edited = c.DocumentsWithReference(u"R-%1"_s.arg(i * 37, 5, 10, QChar(u'0'))).front();
            edited.clauses = kClauseLists[(i + 3) % 8];
            edited.ref = u"Q-%1"_s.arg(i);
            QCOMPARE(c.UpdateDocument(edited), Write::Done);
        }
        compareAll("after the program's changes");

        DirectExec(folder.dbPath(),
                   u"UPDATE tbldocument SET isoref='7.5.3' WHERE rowid % 11 = 0;"
                   "UPDATE tbldocument SET catkey='cat2' WHERE rowid % 13 = 0;"
                   "DELETE FROM tbldocument WHERE rowid % 19 = 0;"
                   "INSERT INTO tbldocument VALUES('F1','A-1','Foreign','/f','cat0','7.5.1');"
                   "UPDATE tblcontrol SET status='Approved' WHERE rowid % 2 = 0"_s);
        compareAll("after another program's changes");
        QVERIFY(ui.prompts().isEmpty());
    }

    // The lists are brought up to date where they can be written, and a catalogue that cannot
    // be written, or has lost a table, is read whole as before.
    void listsFallBackWhereTheyCannotBeKept()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        const QStringList before = keys(c.ClauseDocuments(u"7.5"_s));
        const Document qp01 = c.DocumentsWithReference(u"QP01"_s).front();
        QCOMPARE(c.Withdraw(qp01.key, u"old"_s), Write::Done);
        c.Connection().Execute(u"PRAGMA query_only=ON"_s);
        // Without a table of their own, the obsolete documents are left out by their numbers.
        const QString procedures = c.CategoryOf(qp01.key);
        QRandomGenerator random(3);
        QCOMPARE(pagedKeys([&] { return c.CategoryWindow(procedures); }, random),
                 keys(c.CategoryDocuments(procedures)));
        QVERIFY(!keys(c.CategoryDocuments(procedures)).contains(qp01.key));
        // Another program's change waits: the lists cannot be brought up to date, so they are read whole.
        DirectExec(folder.dbPath(), u"UPDATE tbldocument SET isoref='7.5.2' WHERE docref='QM01'"_s);
        QVERIFY(c.ClauseWindow(u"7.5"_s) == nullptr && c.CategoryWindow(procedures) == nullptr);
        QVERIFY(keys(c.ClauseDocuments(u"7.5"_s))
                    .contains(DirectValue(folder.dbPath(), u"SELECT dockey FROM tbldocument WHERE docref='QM01'"_s)));
        c.Connection().Execute(u"PRAGMA query_only=OFF"_s);
        auto window = Catalogue::Current().ClauseWindow(u"7.5"_s);
        QVERIFY(window && window->Count() == int(before.size()) + 1);
        QCOMPARE(DirectValue(folder.dbPath(), u"SELECT count(*) FROM tbllistpending"_s), u"0"_s);
        DirectExec(folder.dbPath(), u"DROP TABLE tblclauselist"_s);
        QVERIFY(Catalogue::Current().ClauseWindow(u"7.5"_s) == nullptr);
        QVERIFY(ui.prompts().isEmpty());
    }

    // The list model over a window: the model tester's checks, the row of a record, the rows
    // streamed for a report, a sort that reads the whole list.
    void modelReadsThroughTheWindow()
    {
        TestFolder folder;
        ScriptedUi ui;
        generate(folder, 4500); // a category of more than one batch
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        DocumentListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetWindow(c.CategoryWindow(u"cat1"_s));
        const std::vector<Document> whole = c.CategoryDocuments(u"cat1"_s);
        QCOMPARE(model.rowCount(), int(whole.size()));
        QCOMPARE(model.ItemTag(int(whole.size()) - 1), whole.back().key);
        QCOMPARE(model.SubItemText(150, 1), whole[150].ref);
        QCOMPARE(model.RowOf(whole[123].key), 123);
        QCOMPARE(model.RowOf(u"not there"_s), -1);
        QVERIFY_THROWS_EXCEPTION(std::exception, model.ItemTag(int(whole.size())));
        std::vector<Document> streamed; // in batches, as a report reads it
        model.ForEachRow([&](const Document& d) { streamed.push_back(d); });
        QCOMPARE(keys(streamed), keys(whole));
        model.sort(DocumentListModel::TitleColumn, Qt::DescendingOrder);
        QCOMPARE(model.rowCount(), int(whole.size()));
        QCOMPARE(model.SubItemText(0, 2), u"Title 4498"_s); // numbers in natural order, reversed
        model.SetWindow(c.ClauseWindow(u"7"_s));
        QCOMPARE(model.rowCount(), int(c.ClauseDocuments(u"7"_s).size()));
    }
};

QTEST_MAIN(TestLists)
#include "tst_lists.moc"
