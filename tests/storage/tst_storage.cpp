// The storage layer: keys and quotes, the access layer over SQLite, the fetched result, the
// connection and the recordset, and what the user is told when any of it fails. That typed text
// survives the round trip through the catalogue is shown by the property test of the robustness
// suite.

#include "platform/AppError.h"
#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "storage/sqlField.h"
#include "storage/sqlFields.h"
#include "storage/sqlRecordset.h"
#include "support/DirectSql.h"
#include "support/ShownBoxes.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Statements straight through the access layer, on a copy of the catalogue.
struct Query
{
    TestFolder folder;
    QString error;
    int32_t handle = PSSQLITE3_OpenDB(folder.dbPath(), error);
    ResultTable table;
    int32_t rows = 0, columns = 0;

    ~Query() { PSSQLITE3_CloseDB(handle); }
    bool run(const QString& sql) { return PSSQLITE3_ExecuteDB(handle, sql.toUtf8(), rows, columns, table, error) == 0; }
};

QStringList readColumn(sqlRecordset& rs, const QString& column)
{
    QStringList values;
    for (; !rs.AtEOF(); rs.MoveNext())
        values << rs.Value(column).toText();
    return values;
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetGuidSource(nullptr); }

    // The digits follow the bytes as they lie in memory; the system's keys have the pattern and
    // differ; a failure is told and gives no key.
    void guids()
    {
        SetGuidSource([](GuidBytes& b) {
            b = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
            return true;
        });
        QCOMPARE(GetGUID(), u"33221100-5544-7766-8899-AABBCCDDEEFF"_s);
        SetGuidSource(nullptr);
        const QRegularExpression pattern(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
        QSet<QString> keys;
        for (int i = 0; i < 500; ++i) {
            const QString key = GetGUID();
            QVERIFY2(pattern.match(key).hasMatch() && !keys.contains(key), qPrintable(key));
            keys.insert(key);
        }
        ScriptedUi ui;
        SetGuidSource([](GuidBytes&) { return false; });
        QCOMPARE(GetGUID(), QString());
        QCOMPARE(boxes(ui), QStringList {u"0|Cadrelle|Error while creating GUID!"_s});
    }

    // Names lose both kinds of quote and nothing else; statements double the quotes of texts.
    void quotes()
    {
        QCOMPARE(StripQuotes(u"O'Brien \"Quality\" Team's"_s), u"OBrien Quality Teams"_s);
        QCOMPARE(StripQuotes(u"'\"'"_s), QString());
        QCOMPARE(StripQuotes(u"Forms ; -- % _ é ‘curly’"_s), u"Forms ; -- % _ é ‘curly’"_s);
        QCOMPARE(Sql::UpdateDocumentPath(u"/d/"_s, u"O'K"_s, u".rtf"_s),
                 u"UPDATE tbldocument SET docpath='/d/O''K.rtf' WHERE docref='O''K' AND instr(docpath,'/')=0 AND "
                   "instr(docpath,'\\')=0"_s);
        QCOMPARE(Sql::InsertDocument(u"D1"_s, u"QP01"_s, u"Bob's list"_s, u"/p.rtf"_s, u"K1"_s, u"4.2.3"_s),
                 u"INSERT INTO tbldocument SELECT 'D1','QP01','Bob''s list','/p.rtf','K1','4.2.3' WHERE "
                   "EXISTS(SELECT 1 FROM tblcategory WHERE catkey='K1')"_s);
    }

    // Statements of one text run in turn and empty ones are harmless; unknown handles fail readably.
    void accessLayerRunsEveryStatement()
    {
        Query q;
        QVERIFY(q.run(u";;UPDATE tblinit SET init=5;; UPDATE tblinit SET init=init+1;SELECT init FROM tblinit;"_s));
        QCOMPARE(q.rows, 1);
        QCOMPARE(q.table.at(0, 1).toText(), u"6"_s);
        QVERIFY(q.run(u";;"_s));
        QCOMPARE(q.rows, 0);
        for (int32_t handle : {0, 4711, -3}) {
            QString error;
            QVERIFY(PSSQLITE3_ExecuteDB(handle, "SELECT 1", q.rows, q.columns, q.table, error) != 0);
            QVERIFY2(error.contains(QString::number(handle)), qPrintable(error));
        }
        PSSQLITE3_CloseDB(4711); // harmless
    }

    // What a reader gets is exactly what was stored, however large the result; a new query replaces
    // the whole result.
    void resultKeepsTheValuesExactly()
    {
        Query q;
        constexpr qint64 lo = std::numeric_limits<qint64>::min(), hi = std::numeric_limits<qint64>::max();
        const QString odd = u"\uFEFFQualit\u00E9 \U0001F600"_s; // a leading U+FEFF is kept
        QVERIFY(q.run(u"SELECT '%1', '', NULL, x'00ff00', %2, %3, -0.125"_s.arg(odd).arg(lo).arg(hi)));
        const QList<Variant> stored {odd, u""_s, Variant::null(), QByteArray("\0\xff\0", 3), lo, hi, -0.125};
        for (int column = 0; column < stored.size(); ++column)
            QCOMPARE(q.table.at(column, 1), stored[column]);
        QCOMPARE(q.table.at(0, 1), stored[0]); // read again

        QVERIFY(q.run(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<20000) "
                      "SELECT i, 'ref-' || i AS ref, CASE WHEN i%3=0 THEN NULL "
                      "ELSE substr(replace(printf('%50s', ''), ' ', 'x'), 1, i%50) END AS pad FROM n"_s));
        QCOMPARE(q.rows, 20000);
        QCOMPARE(q.table.rows(), 20000);
        QCOMPARE(q.table.at(1, 0).toText(), u"ref"_s);
        for (int row : {1, 2, 3, 4999, 10000, 19999, 20000}) {
            QCOMPARE(q.table.at(0, row), Variant(row));
            QCOMPARE(q.table.at(1, row).toText(), u"ref-%1"_s.arg(row));
            QCOMPARE(q.table.at(2, row), row % 3 ? Variant(QString(row % 50, u'x')) : Variant::null());
        }
        // A text longer than any block stays whole between its neighbours.
        QVERIFY(q.run(u"SELECT 'a' UNION ALL SELECT replace(printf('%300000s', ''), ' ', 'y') UNION ALL SELECT 'b'"_s));
        QCOMPARE(q.table.at(0, 1).toText() + q.table.at(0, 3).toText(), u"ab"_s);
        QCOMPARE(q.table.at(0, 2).toText(), QString(300000, u'y'));
        QVERIFY(q.run(u"SELECT 'z' AS only"_s));
        QCOMPARE(q.table.columns() * 10 + q.table.rows(), 11);
        QCOMPARE(q.table.at(0, 0).toText() + q.table.at(0, 1).toText(), u"onlyz"_s);
    }

    // Execute shows the engine's text alone and goes on, and runs a query silently. Closing calls
    // the library only while open; a closed connection passes its old handle on, which is refused.
    // With changeFolder the program's folder becomes the current one, wherever the file lies.
    void connection()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        QVERIFY(!Catalogue::Current().Connection().Execute(u"UPDATE nosuchtable SET a=1"_s));
        QVERIFY(!Catalogue::Current().Connection().Execute(u"UPDTE tblinit"_s));
        QVERIFY(Catalogue::Current().Connection().Execute(u"SELECT * FROM tblcategory"_s)
                && Catalogue::Current().Connection().Execute(u"UPDATE tblinit SET init=1"_s));
        QCOMPARE(DirectValue(folder.dbPath(), u"SELECT init FROM tblinit"_s), u"1"_s);

        sqlDB never, db, moved;
        never.CloseDatabase();
        never.CloseDatabase();
        QCOMPARE(never.db(), 0);
        QVERIFY(db.OpenDatabase(folder.dbPath(), false));
        const int32_t handle = db.db();
        QVERIFY(handle > 0 && handle < 100 && SQLiteConnection(handle)); // a small number, not pointer bits
        db.CloseDatabase();
        db.CloseDatabase();
        QVERIFY(!SQLiteConnection(handle));
        QVERIFY(!db.Execute(u"SELECT 1"_s));
        QCOMPARE(
            boxes(ui),
            (QStringList {u"16|Cadrelle|no such table: nosuchtable"_s, u"16|Cadrelle|near \"UPDTE\": syntax error"_s,
                          u"16|Cadrelle|No database is open under handle %1"_s.arg(handle)}));

        const QString before = QDir::currentPath();
        QVERIFY(QDir().mkpath(folder.filePath(u"elsewhere"_s)));
        QVERIFY(QFile::copy(folder.dbPath(), folder.filePath(u"elsewhere/other.db"_s)));
        QVERIFY(moved.OpenDatabase(folder.filePath(u"elsewhere/other.db"_s), true));
        QCOMPARE(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
        moved.CloseDatabase();
        QDir::setCurrent(before);
        QCOMPARE(ui.boxes.size(), 3);
    }

    // Each row once, in order; the last row stays in the fields after the end; MoveFirst starts
    // again; closing empties the fields and keeps EOF.
    void recordsetWalksTheRows()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset empty, one, many;
        empty.OpenRecordset(u"SELECT catname FROM tblcategory WHERE 0"_s, Catalogue::Current().Connection().db());
        QVERIFY(empty.AtEOF() && empty.Fields().count() == 0);
        empty.MoveFirst();
        QVERIFY(empty.AtEOF());
        one.OpenRecordset(u"SELECT init FROM tblinit"_s, Catalogue::Current().Connection().db());
        QCOMPARE(readColumn(one, u"init"_s), QStringList {u"0"_s});
        QCOMPARE(one.Value(u"init"_s).toText(), u"0"_s);
        one.CloseRecordset();
        QVERIFY(one.AtEOF() && one.Fields().count() == 0);
        many.OpenRecordset(u"SELECT catkey,catname FROM tblcategory ORDER BY catorder;"_s,
                           Catalogue::Current().Connection().db());
        const QStringList names = readColumn(many, u"catname"_s);
        QCOMPARE(
            names.join(','),
            DirectValue(folder.dbPath(),
                        u"SELECT group_concat(catname) FROM (SELECT catname FROM tblcategory ORDER BY catorder)"_s));
        QCOMPARE(names.size(), 10);
        many.MoveFirst();
        QCOMPARE(readColumn(many, u"CATNAME"_s), names);
        QVERIFY(ui.boxes.isEmpty());
    }

    // Fields by name in any case and by 1-based position. A failed lookup, a repeated key, a refused
    // query (the engine's text alone) and a result whose names repeat are told and give nothing:
    // no field, and not at the end, so the reader's own trap reports next.
    void recordsetFailuresAreTold()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs, failed, repeated;
        rs.OpenRecordset(u"SELECT catname,catorder FROM tblcategory ORDER BY catorder"_s,
                         Catalogue::Current().Connection().db());
        sqlFields& fields = rs.Fields();
        QCOMPARE(fields.Item(u"catname"_s), fields.Item(u"CatName"_s));
        QCOMPARE(fields.Item(1)->Value().toText() + fields.Item(2)->Value().toText(), u"QSM1"_s);
        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(!fields.Item(3) && !fields.Item(0) && !fields.Item(u"dockey"_s) && !fields.Add(u"CATNAME"_s));
        QCOMPARE(fields.count(), 2);
        QVERIFY_THROWS_EXCEPTION(AppError, rs.Value(u"dockey"_s));
        failed.OpenRecordset(u"SELECT something FROM nowhere"_s, Catalogue::Current().Connection().db());
        repeated.OpenRecordset(u"SELECT catname, catname AS CATNAME FROM tblcategory"_s,
                               Catalogue::Current().Connection().db());
        for (sqlRecordset* r : {&failed, &repeated})
            QVERIFY(!r->AtEOF() && r->Fields().count() == 0);
        QVERIFY_THROWS_EXCEPTION(AppError, failed.Value(u"something"_s));
        const QString none = u"0|Cadrelle|There is no field %1 in the collection"_s;
        QCOMPARE(boxes(ui),
                 (QStringList {none.arg(u"at position 3"_s), none.arg(u"at position 0"_s), none.arg(u"'dockey'"_s),
                               u"0|Cadrelle|The field 'CATNAME' is already in the collection"_s,
                               none.arg(u"'dockey'"_s), u"0|Cadrelle|no such table: nowhere"_s,
                               u"0|Cadrelle|The query returns a column name more than once: SELECT catname, catname "
                               "AS CATNAME FROM tblcategory"_s,
                               none.arg(u"'something'"_s)}));
    }
};

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
