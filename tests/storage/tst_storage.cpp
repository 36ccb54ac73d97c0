// The storage layer: keys and quotes, the fetched result, the folder change on open. The robustness
// suite shows how failures reach the user and that typed text survives the round trip through the
// catalogue; the category list test, the recordset's rows in order.

#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "support/FileSnapshot.h"
#include "support/ShownBoxes.h"
#include "support/TestFolder.h"
#include <QTest>

using namespace Qt::StringLiterals;

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    // Names lose both kinds of quote and nothing else; statements double the quotes of texts. A key
    // that cannot be made is told and is no key.
    void quotesAndKeys()
    {
        QCOMPARE(StripQuotes(u"O'Brien \"Quality\" ; -- % _ é ‘curly’"_s), u"OBrien Quality ; -- % _ é ‘curly’"_s);
        QCOMPARE(Sql::UpdateDocumentPath(u"/d/"_s, u"O'K"_s, u".rtf"_s),
                 u"UPDATE tbldocument SET docpath='/d/O''K.rtf' WHERE docref='O''K' AND instr(docpath,'/')=0 AND "
                 "instr(docpath,'\\')=0"_s);
        QCOMPARE(Sql::InsertDocument(u"D1"_s, u"QP01"_s, u"Bob's list"_s, u"/p.rtf"_s, u"K1"_s, u"4.2.3"_s),
                 u"INSERT INTO tbldocument SELECT 'D1','QP01','Bob''s list','/p.rtf','K1','4.2.3' WHERE "
                 "EXISTS(SELECT 1 FROM tblcategory WHERE catkey='K1')"_s);
        ScriptedUi ui;
        SetGuidSource([](GuidBytes&) { return false; });
        QCOMPARE(GetGUID(), QString());
        SetGuidSource(nullptr);
        QCOMPARE(boxes(ui), QStringList {u"0|Cadrelle|Error while creating GUID!"_s});
        // Many keys come in the order of their texts, each once.
        const QStringList keys = GetGUIDs(5000);
        QCOMPARE(keys.size(), 5000);
        for (qsizetype i = 1; i < keys.size(); ++i)
            QVERIFY2(keys[i - 1] < keys[i], qPrintable(keys[i - 1] + u" >= "_s + keys[i]));
    }

    // What a reader gets is exactly what was stored, however large the result; a new query replaces
    // the whole result.
    void resultKeepsTheValuesExactly()
    {
        TestFolder folder;
        QString error;
        const int32_t handle = PSSQLITE3_OpenDB(folder.dbPath(), error);
        ResultTable table;
        int32_t rows = 0, columns = 0;
        const auto run = [&](const QString& sql) {
            return PSSQLITE3_ExecuteDB(handle, sql.toUtf8(), rows, columns, table, error) == 0;
        };
        const QString odd = u"\uFEFFQualit\u00E9 \U0001F600"_s; // a leading U+FEFF is kept
        QVERIFY(run(u"SELECT '%1', '', NULL, 7"_s.arg(odd)));
        const QList<Variant> stored {odd, u""_s, Variant::null(), 7};
        for (int column = 0; column < stored.size(); ++column)
            QCOMPARE(table.at(column, 1), stored[column]);
        QCOMPARE(table.at(0, 1), stored[0]); // read again

        QVERIFY(run(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<20000) SELECT i, 'ref-' "
                    "|| i AS ref, CASE WHEN i%3 THEN substr(printf('%50s', ''), 1, i%50) END AS pad FROM n"_s));
        QCOMPARE(table.rows(), 20000);
        QCOMPARE(table.at(1, 0).toText(), u"ref"_s);
        for (int row : {1, 2, 3, 4999, 10000, 19999, 20000}) {
            QCOMPARE(table.at(0, row), Variant(row));
            QCOMPARE(table.at(1, row).toText(), u"ref-%1"_s.arg(row));
            QCOMPARE(table.at(2, row), row % 3 ? Variant(QString(row % 50, u' ')) : Variant::null());
        }
        // A text longer than any block stays whole between its neighbours.
        QVERIFY(run(u"SELECT 'a' UNION ALL SELECT printf('%300000s', '') UNION ALL SELECT 'b'"_s));
        QCOMPARE(table.at(0, 1).toText() + table.at(0, 2).toText() + table.at(0, 3).toText(),
                 'a' + QString(300000, u' ') + 'b');
        QVERIFY(run(u"SELECT 'z' AS only"_s));
        QCOMPARE(table.columns() * 10 + table.rows(), 11);
        QCOMPARE(table.at(0, 0).toText() + table.at(0, 1).toText(), u"onlyz"_s);
        PSSQLITE3_CloseDB(handle);
    }

    // With changeFolder the program's folder becomes the current one, wherever the catalogue lies, so
    // that paths the first run has not pointed anywhere open from there.
    void openMakesTheProgramFolderCurrent()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString before = QDir::currentPath();
        sqlDB moved;
        QVERIFY(moved.OpenDatabase(folder.writeFile(u"elsewhere/other.db"_s, readAll(folder.dbPath())), true));
        QCOMPARE(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
        moved.CloseDatabase();
        QDir::setCurrent(before);
        QVERIFY(ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
