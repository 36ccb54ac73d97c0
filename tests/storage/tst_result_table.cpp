// The fetched result keeps the engine's bytes and makes a value of a cell only when it is read;
// what a reader gets must be exactly what was stored, however large the result.

#include "storage/modSQLite.h"
#include "support/TestFolder.h"
#include <QTest>
#include <limits>

namespace {

struct Query
{
    TestFolder folder;
    int32_t handle = 0;
    ResultTable table;
    int32_t rows = 0;
    int32_t columns = 0;

    Query()
    {
        QString error;
        handle = PSSQLITE3_OpenDB(folder.dbPath(), error);
    }
    ~Query() { PSSQLITE3_CloseDB(handle); }
    bool run(const QString& sql)
    {
        QString error;
        return PSSQLITE3_ExecuteDB(handle, sql.toUtf8(), rows, columns, table, error) == 0;
    }
};

} // namespace

class TestResultTable : public QObject
{
    Q_OBJECT

private slots:
    void valuesComeBackExactlyAsStored()
    {
        Query q;
        const QString odd = QStringLiteral("\uFEFFQualit\u00E9 \U0001F600 'x'");
        QVERIFY(q.run(QStringLiteral("SELECT '%1' AS t, '' AS e, NULL AS n, x'00ff00' AS b, %2 AS lo, %3 AS hi, "
                                     "-0.125 AS r")
                          .arg(QString(odd).replace(QLatin1Char('\''), QStringLiteral("''")))
                          .arg(std::numeric_limits<qint64>::min())
                          .arg(std::numeric_limits<qint64>::max())));
        QCOMPARE(q.table.at(0, 1).toText(), odd); // a leading U+FEFF is kept
        QCOMPARE(q.table.at(1, 1).type(), Variant::Type::Text);
        QVERIFY(q.table.at(1, 1).toText().isEmpty());
        QVERIFY(q.table.at(2, 1).isNull());
        QCOMPARE(q.table.at(3, 1), Variant(QByteArray("\x00\xff\x00", 3)));
        QCOMPARE(q.table.at(4, 1), Variant(std::numeric_limits<qint64>::min()));
        QCOMPARE(q.table.at(5, 1), Variant(std::numeric_limits<qint64>::max()));
        QCOMPARE(q.table.at(6, 1), Variant(-0.125));
        // Reading a cell again gives the same value.
        QCOMPARE(q.table.at(0, 1), q.table.at(0, 1));
    }

    void everyCellOfALargeResultIsItsOwn()
    {
        Query q;
        QVERIFY(q.run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<20000) "
                                     "SELECT i, 'ref-' || i AS ref, CASE WHEN i%3=0 THEN NULL "
                                     "ELSE substr(replace(printf('%50s', ''), ' ', 'x'), 1, i%50) END AS pad FROM n")));
        QCOMPARE(q.rows, 20000);
        QCOMPARE(q.table.rows(), 20000);
        QCOMPARE(q.table.at(1, 0).toText(), QStringLiteral("ref"));
        for (int row : {1, 2, 3, 4999, 10000, 19999, 20000}) {
            QCOMPARE(q.table.at(0, row), Variant(qint64(row)));
            QCOMPARE(q.table.at(1, row).toText(), QStringLiteral("ref-%1").arg(row));
            if (row % 3 == 0)
                QVERIFY(q.table.at(2, row).isNull());
            else
                QCOMPARE(q.table.at(2, row).toText(), QString(row % 50, QLatin1Char('x')));
        }
        // A text longer than any block stays whole between its neighbours.
        QVERIFY(q.run(QStringLiteral("SELECT 'a' AS x UNION ALL SELECT replace(printf('%300000s', ''), ' ', 'y') "
                                     "UNION ALL SELECT 'b'")));
        QCOMPARE(q.table.at(0, 1).toText(), QStringLiteral("a"));
        QCOMPARE(q.table.at(0, 2).toText(), QString(300000, QLatin1Char('y')));
        QCOMPARE(q.table.at(0, 3).toText(), QStringLiteral("b"));
    }

    void aNewQueryReplacesTheWholeResult()
    {
        Query q;
        QVERIFY(q.run(QStringLiteral("SELECT 'long text that fills the buffer' AS a, 2 AS b")));
        QVERIFY(q.run(QStringLiteral("SELECT 'z' AS only")));
        QCOMPARE(q.table.columns(), 1);
        QCOMPARE(q.table.rows(), 1);
        QCOMPARE(q.table.at(0, 0).toText(), QStringLiteral("only"));
        QCOMPARE(q.table.at(0, 1).toText(), QStringLiteral("z"));
    }
};

QTEST_MAIN(TestResultTable)
#include "tst_result_table.moc"
