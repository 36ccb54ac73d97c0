// The access layer and the connection: opening, running statements, closing, and what the user
// is shown when any of it fails.

#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QFile>
#include <QTest>

class TestSqliteLayer : public QObject
{
    Q_OBJECT

private slots:
    void openRefusesMissingFileWithoutCreatingIt()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString missing = folder.filePath(QStringLiteral("nothing-here.db"));
        sqlDB db;
        QVERIFY(!db.OpenDatabase(missing, false));
        QCOMPARE(db.db(), 0);
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(ui.boxes.size(), 1);
        QVERIFY(ui.boxes[0].prompt.startsWith(QStringLiteral("Cannot open '") + missing + QStringLiteral("'\r\n")));
        QVERIFY(ui.boxes[0].prompt.size() > QStringLiteral("Cannot open ''\r\n").size() + missing.size());
        QCOMPARE(ui.boxes[0].style, 16);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
    }

    void openRefusesFilesThatAreNoDatabaseAndLeavesThemAlone()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QByteArray text = "This is a letter, not a catalogue.\n";
        const QString path = folder.writeFile(QStringLiteral("letter.db"), text.repeated(200));
        QString error;
        QCOMPARE(PSSQLITE3_OpenDB(path, error), 0);
        QVERIFY(!error.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.repeated(200));
    }

    void severalStatementsRunAndEmptyOnesAreHarmless()
    {
        TestFolder folder;
        QString error;
        const int32_t handle = PSSQLITE3_OpenDB(folder.dbPath(), error);
        int32_t rows = 0, columns = 0;
        ResultTable table;
        const QByteArray sql = ";;UPDATE tblinit SET init=5;; UPDATE tblinit SET init=init+1;SELECT init FROM tblinit;";
        QCOMPARE(PSSQLITE3_ExecuteDB(handle, sql, rows, columns, table, error), int16_t(0));
        QCOMPARE(rows, 1);
        QCOMPARE(table.at(0, 1).toText(), QStringLiteral("6"));
        QCOMPARE(PSSQLITE3_ExecuteDB(handle, ";;", rows, columns, table, error), int16_t(0));
        QCOMPARE(rows, 0);
        PSSQLITE3_CloseDB(handle);
    }

    void unknownHandlesFailReadably()
    {
        int32_t rows = 0, columns = 0;
        ResultTable table;
        for (int32_t handle : {0, 4711, -3}) {
            QString error;
            QVERIFY(PSSQLITE3_ExecuteDB(handle, "SELECT 1", rows, columns, table, error) != 0);
            QVERIFY(error.contains(QString::number(handle)));
        }
        PSSQLITE3_CloseDB(4711); // harmless
    }

    void executeShowsOnlyTheEngineTextAndGoesOn()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        QVERIFY(!Catalogue::Current().Connection().Execute(QStringLiteral("UPDATE nosuchtable SET a=1")));
        QVERIFY(!Catalogue::Current().Connection().Execute(QStringLiteral("UPDTE tblinit")));
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[0].prompt, QStringLiteral("no such table: nosuchtable"));
        QCOMPARE(ui.boxes[0].style, 16);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
        QVERIFY(ui.boxes[1].prompt.contains(QStringLiteral("syntax error")));
        // A query sent through Execute runs silently and its rows are dropped.
        QVERIFY(Catalogue::Current().Connection().Execute(QStringLiteral("SELECT * FROM tblcategory")));
        QVERIFY(Catalogue::Current().Connection().Execute(QStringLiteral("UPDATE tblinit SET init=1")));
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("1"));
    }

    void executeAllIsAllOrNothing()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        QVERIFY(!Catalogue::Current().Connection().ExecuteAll(
            {QStringLiteral("DELETE FROM tbldocument"), QStringLiteral("DELETE FROM nosuch")}));
        QVERIFY(DirectValue(folder.dbPath(), QStringLiteral("SELECT count(*) FROM tbldocument")).toInt() > 0);
        QVERIFY(Catalogue::Current().Connection().ExecuteAll(
            {QStringLiteral("DELETE FROM tbldocument"), QStringLiteral("DELETE FROM tblinit")}));
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT count(*) FROM tbldocument")), QStringLiteral("0"));
        QCOMPARE(ui.boxes.size(), 1);
    }

    void closeCallsTheLibraryOnlyWhileOpen()
    {
        TestFolder folder;
        ScriptedUi ui;
        sqlDB never;
        never.CloseDatabase();
        never.CloseDatabase();
        QCOMPARE(never.db(), 0);

        sqlDB db;
        QVERIFY(db.OpenDatabase(folder.dbPath(), false));
        const int32_t handle = db.db();
        QVERIFY(handle > 0 && handle < 100); // a small number, not pointer bits
        QVERIFY(SQLiteConnection(handle));
        db.CloseDatabase();
        QVERIFY(!SQLiteConnection(handle));
        db.CloseDatabase();
        // A closed connection still passes its old handle on, which the library refuses.
        QVERIFY(!db.Execute(QStringLiteral("SELECT 1")));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].style, 16);
    }

    void changeFolderUsesTheProgramFolder()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString elsewhere = folder.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(elsewhere);
        QFile::copy(folder.dbPath(), elsewhere + QStringLiteral("/other.db"));
        const QString before = QDir::currentPath();
        sqlDB db;
        QVERIFY(db.OpenDatabase(elsewhere + QStringLiteral("/other.db"), true));
        QCOMPARE(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
        db.CloseDatabase();
        QDir::setCurrent(before);
        QVERIFY(ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestSqliteLayer)
#include "tst_sqlite_layer.moc"
