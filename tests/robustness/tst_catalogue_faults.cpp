// The catalogue file in every bad state the disk or another program can leave it in: the user is
// told what went wrong in the engine's words, nothing crashes or hangs, and no byte is lost.

#include "platform/ScriptedUi.h"
#include "startup/frmSplash.h"
#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <sqlite3.h>

class TestCatalogueFaults : public QObject
{
    Q_OBJECT

    QString m_startFolder;

private slots:
    void initTestCase() { m_startFolder = QDir::currentPath(); }
    // Continue makes the program folder the current folder; it goes away with each test.
    void cleanup() { QDir::setCurrent(m_startFolder); }

    void damagedCataloguesStopStartUpAndStayAsTheyWere_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("told"); // %1: the catalogue's path
        TestFolder real;
        const QByteArray whole = readAll(real.dbPath());
        DirectExec(real.dbPath(), QStringLiteral("DROP TABLE tblinit"));
        const QString advice = QStringLiteral("\r\n\r\nRestore a backup copy of the catalogue to this place, or start "
                                              "afresh with a new catalogue made by the catalogue tool.");
        const QStringList notADatabase {"Cannot open '%1'\r\nfile is not a database" + advice};
        const QStringList malformed {"Cannot open '%1'\r\ndatabase disk image is malformed" + advice};
        QTest::newRow("text file") << QByteArray("Quality manual, draft 3.\r\n").repeated(300) << notADatabase;
        QTest::newRow("empty") << QByteArray() << notADatabase;
        QTest::newRow("header cut") << whole.left(60) << malformed;
        QTest::newRow("first page only") << whole.left(4096) << malformed;
        QTest::newRow("cut in the middle") << whole.left(16384 + 1000) << malformed;
        QTest::newRow("last page missing") << whole.chopped(4096) << malformed;
        QTest::newRow("header then noise")
            << QByteArray("SQLite format 3", 16) + QByteArray(8192, '\xA5') << notADatabase;
        QTest::newRow("no tblinit") << readAll(
            real.dbPath()) << QStringList {"'%1' is not a Cadrelle catalogue: it has no table tblinit." + advice};
    }

    // Continue tells once what is wrong, in the engine's words, and what to do; no query follows the
    // failed open, and the splash stays up to try again; nothing is written, not even a journal.
    void damagedCataloguesStopStartUpAndStayAsTheyWere()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, told);
        TestFolder folder;
        ScriptedUi ui;
        folder.writeFile(QStringLiteral("cadrelle.db"), content);
        const QStringList files = listing(folder.path());
        frmSplash splash;
        splash.show();
        QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
        QCOMPARE(ui.prompts(), told.replaceInStrings(QStringLiteral("%1"), folder.dbPath()));
        QVERIFY(ui.boxes[0].style == 16 && ui.boxes[0].title == "Cadrelle");
        QVERIFY(splash.isVisible());
        QCOMPARE(readAll(folder.dbPath()), content);
        QCOMPARE(listing(folder.path()), files);
    }

    // 4,000 characters: deeper than the engine opens, though the system allows it.
    void tooDeepAPathIsToldWithItsLength()
    {
        TestFolder folder;
        ScriptedUi ui;
        QString deep = folder.path();
        while (deep.size() < 3980)
            deep += QLatin1Char('/') + QString(std::min<qsizetype>(200, 3980 - deep.size()), QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        deep += QStringLiteral("/cadrelle.db");
        QVERIFY(QFile::copy(folder.dbPath(), deep));
        QVERIFY(!sqlDB().OpenDatabase(deep, false));
        QCOMPARE(ui.prompts(),
                 QStringList {QStringLiteral("Cannot open '%1'\r\nunable to open database file (the path is %2 bytes "
                                             "long; at most %3 can be opened)")
                                  .arg(deep)
                                  .arg(deep.toUtf8().size())
                                  .arg(sqlite3_vfs_find(nullptr)->mxPathname)});
        QCOMPARE(readAll(deep), readAll(folder.dbPath()));
    }

    // Another program is in the middle of a change: a change of ours waits the busy timeout (5 s)
    // and is refused with the engine's text, undone whole; both programs' data come out whole, and
    // once the other is done the same change goes through.
    void writeWaitsForAnotherProgramThenFails()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString dockey = DirectValue(folder.dbPath(), QStringLiteral("SELECT dockey FROM tbldocument"));
        const QString title = "SELECT doctitle FROM tbldocument WHERE dockey='" + dockey + "'";
        const QStringList change {Sql::UpdateDocument(dockey, "R", "Mine", "P", "I"), Sql::DeleteDocument(GetGUID())};
        const QString before = DirectValue(folder.dbPath(), title);
        folder.openCatalogue();
        QProcess other;
        other.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), folder.dbPath()});
        other.write("BEGIN IMMEDIATE; UPDATE tblinit SET init=42; SELECT 'holding';\n");
        QVERIFY(other.waitForReadyRead(5000));

        QVERIFY(Catalogue::Current().Connection().Execute(Sql::SelectCategories())); // reading goes on
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!Catalogue::Current().Connection().ExecuteAll(change));
        QVERIFY2(clock.elapsed() >= 4750 && clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(ui.prompts(), QStringList {"database is locked"});
        QCOMPARE(ui.boxes[0].style, 16);

        other.write("COMMIT;\n");
        other.closeWriteChannel();
        QVERIFY(other.waitForFinished());
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("42"));
        QCOMPARE(DirectValue(folder.dbPath(), title), before);
        QVERIFY(Catalogue::Current().Connection().ExecuteAll(change));
        QCOMPARE(DirectValue(folder.dbPath(), title), QStringLiteral("Mine"));
        QCOMPARE(ui.boxes.size(), 1);
    }

    // A full disk: a change of several statements is undone as a whole and told once; a single
    // statement is refused; what was there stays, and a change that fits still goes through.
    void fullDiskLeavesNothingHalfWritten()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QList<QStringList> before = DirectQuery(folder.dbPath(), QStringLiteral("SELECT * FROM tbldocument"));
        const QString pages = DirectValue(folder.dbPath(), QStringLiteral("PRAGMA page_count"));
        QVERIFY(Catalogue::Current().Connection().Execute(QStringLiteral("PRAGMA max_page_count=") + pages));
        const QString catkey = DirectValue(folder.dbPath(), QStringLiteral("SELECT catkey FROM tblcategory"));
        const QString big(20000, QLatin1Char('x'));
        QVERIFY(!Catalogue::Current().Connection().ExecuteAll(
            {Sql::DeleteDocument(before[0][0]), Sql::InsertDocument(GetGUID(), "QP98", big, "/p", catkey, "4.1")}));
        QVERIFY(!Catalogue::Current().Connection().Execute(Sql::InsertDocument(GetGUID(), "QP99", big, "/p", catkey, "4.1")));
        QCOMPARE(ui.prompts(), QStringList(2, "database or disk is full"));
        QCOMPARE(DirectQuery(folder.dbPath(), QStringLiteral("SELECT * FROM tbldocument")), before);
        QVERIFY(Catalogue::Current().Connection().Execute(Sql::RenameCategory(catkey, QStringLiteral("Kept"))));
        QCOMPARE(ui.boxes.size(), 2);
    }
};

QTEST_MAIN(TestCatalogueFaults)
#include "tst_catalogue_faults.moc"
