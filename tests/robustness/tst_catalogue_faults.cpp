// The catalogue file in every bad state the disk or another program can leave it in: the user is
// told what went wrong in the engine's words, nothing crashes or hangs, and no byte is lost.

#include "platform/AppError.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include "support/DirectSql.h"
#include "support/OrdinaryUserWrites.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <sqlite3.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool refusedWriting(const QString& path)
{
    QFile file(path);
    return !file.open(QIODevice::ReadWrite | QIODevice::Append);
}

// Another program working on the catalogue: the sqlite3 shell, holding a transaction open until
// it is told to end it.
class OtherProgram
{
public:
    OtherProgram(const QString& dbPath, const QByteArray& begin) : m_dbPath(dbPath)
    {
        m_shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), dbPath});
        m_shell.waitForStarted();
        m_shell.write(begin + "\n");
    }
    ~OtherProgram()
    {
        m_shell.closeWriteChannel();
        m_shell.waitForFinished();
    }
    // Until the shell has the lock, a direct attempt to take it succeeds.
    bool holdsTheLock()
    {
        for (int attempt = 0; attempt < 200; ++attempt) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(m_dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            if (rc == SQLITE_BUSY)
                return true;
            QTest::qWait(25);
        }
        return false;
    }
    void finish(const QByteArray& end)
    {
        m_shell.write(end + "\n.quit\n");
        m_shell.closeWriteChannel();
        m_shell.waitForFinished();
    }

private:
    QString m_dbPath;
    QProcess m_shell;
};

constexpr qint64 kBusyTimeoutMs = 5000;

} // namespace

class TestCatalogueFaults : public QObject
{
    Q_OBJECT

    QString firstValue(const QString& sql, const QString& column)
    {
        sqlRecordset rs;
        rs.OpenRecordset(sql, gDB->db());
        const QString value = rs.Value(column).toText();
        rs.CloseRecordset();
        return value;
    }

    int rowCount(const QString& sql)
    {
        int rows = 0;
        sqlRecordset rs;
        rs.OpenRecordset(sql, gDB->db());
        for (; !rs.AtEOF(); rs.MoveNext())
            ++rows;
        return rows;
    }

    // Every statement the program writes with, on rows that exist.
    QStringList writes(const QString& dbPath)
    {
        const QString catkey = DirectValue(dbPath, QStringLiteral("SELECT catkey FROM tblcategory ORDER BY catorder"));
        const QString dockey = DirectValue(dbPath, QStringLiteral("SELECT dockey FROM tbldocument ORDER BY docref"));
        const QString docref = DirectValue(dbPath, QStringLiteral("SELECT docref FROM tbldocument ORDER BY docref"));
        return {
            Sql::UpdateInitDone(),
            Sql::UpdateDocumentPath(QStringLiteral("/x/documents/"), docref, QStringLiteral(".rtf")),
            Sql::InsertCategory(GetGUID(), QStringLiteral("Supplier Audits")),
            Sql::RenameCategory(catkey, QStringLiteral("Renamed")),
            Sql::UpdateCategoryOrder(7, catkey),
            Sql::InsertDocument(GetGUID(), QStringLiteral("QP99"), QStringLiteral("T"), QStringLiteral("/p.rtf"),
                                catkey, QStringLiteral("4.1")),
            Sql::UpdateDocument(dockey, QStringLiteral("R"), QStringLiteral("T"), QStringLiteral("P"),
                                QStringLiteral("I")),
            Sql::UpdateDocumentCategory(GetGUID(), dockey),
            Sql::DeleteDocument(dockey),
            Sql::DeleteCategoryDocuments(catkey),
            Sql::DeleteCategory(catkey),
        };
    }

private slots:
    void damagedFilesAreRefusedAndLeftAsTheyWere_data()
    {
        QTest::addColumn<int>("keep");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QString>("reason");
        const QString notADatabase = QStringLiteral("file is not a database");
        const QString malformed = QStringLiteral("database disk image is malformed");
        QTest::newRow("text file") << -1 << QByteArray("Quality manual, draft 3.\r\n").repeated(300) << notADatabase;
        QTest::newRow("empty") << 0 << QByteArray() << notADatabase;
        QTest::newRow("header cut") << 60 << QByteArray() << malformed;
        QTest::newRow("first page only") << 4096 << QByteArray() << malformed;
        QTest::newRow("cut in the middle") << 16384 + 1000 << QByteArray() << malformed;
        QTest::newRow("last page missing") << -4096 << QByteArray() << malformed;
        QTest::newRow("header then noise")
            << -1 << QByteArray("SQLite format 3", 16) + QByteArray(8192, '\xA5') << notADatabase;
    }

    // keep: how many bytes of the real catalogue stay (negative: all but that many); -1 writes the
    // replacement instead.
    void damagedFilesAreRefusedAndLeftAsTheyWere()
    {
        QFETCH(int, keep);
        QFETCH(QByteArray, replacement);
        QFETCH(QString, reason);
        TestFolder folder;
        ScriptedUi ui;
        const QByteArray whole = readAll(folder.dbPath());
        const QByteArray content = keep == -1 ? replacement
            : keep < 0                        ? whole.left(whole.size() + keep)
                                              : whole.left(keep);
        folder.writeFile(QStringLiteral("cadrelle.db"), content);
        const QStringList before = listing(folder.path());

        gDB = std::make_unique<sqlDB>();
        QVERIFY(!gDB->OpenDatabase(folder.dbPath(), false));
        QCOMPARE(gDB->db(), 0);
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].prompt,
                 QStringLiteral("Cannot open '") + folder.dbPath() + QStringLiteral("'\r\n") + reason);
        QCOMPARE(ui.boxes[0].style, 16);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
        // What start-up sends next is refused, not run on some other file.
        QVERIFY(!gDB->Execute(Sql::UpdateInitDone()));
        QCOMPARE(readAll(folder.dbPath()), content);
        QCOMPARE(listing(folder.path()), before);
    }

    void catalogueThatIsAFolderOrTooDeepIsRefused()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString asFolder = folder.filePath(QStringLiteral("folder.db"));
        QDir().mkpath(asFolder);
        // A 4,000-character path: deeper than the engine opens, though the system allows it.
        QString deep = folder.path();
        while (deep.size() < 3980)
            deep += QLatin1Char('/') + QString(std::min<qsizetype>(200, 3980 - deep.size()), QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        const QString deepDb = deep + QStringLiteral("/cadrelle.db");
        QVERIFY(QFile::copy(folder.dbPath(), deepDb));
        const QByteArray deepContent = readAll(deepDb);

        sqlDB db;
        QVERIFY(!db.OpenDatabase(asFolder, false));
        QVERIFY(!db.OpenDatabase(deepDb, false));
        QCOMPARE(db.db(), 0);
        QCOMPARE(ui.prompts(),
                 (QStringList {QStringLiteral("Cannot open '%1'\r\nunable to open database file").arg(asFolder),
                               QStringLiteral("Cannot open '%1'\r\nunable to open database file (the path is %2 bytes "
                                              "long; at most %3 can be opened)")
                                   .arg(deepDb)
                                   .arg(deepDb.toUtf8().size())
                                   .arg(sqlite3_vfs_find(nullptr)->mxPathname)}));
        QVERIFY(QFileInfo(asFolder).isDir());
        QCOMPARE(readAll(deepDb), deepContent);
    }

    // The catalogue opens, but the table start-up reads first is gone: that query alone fails, with
    // the engine's text and then the failed lookup that ends start-up; nothing is written.
    void missingTableFailsOnlyTheQueriesThatNeedIt()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), QStringLiteral("DROP TABLE tblinit"));
        const QByteArray content = readAll(folder.dbPath());
        folder.openCatalogue();
        QVERIFY_THROWS_EXCEPTION(AppError, firstValue(Sql::SelectInit(), QStringLiteral("init")));
        QCOMPARE(ui.prompts(),
                 (QStringList {QStringLiteral("no such table: tblinit"),
                               QStringLiteral("There is no field 'init' in the collection")}));
        QCOMPARE(rowCount(Sql::SelectCategories()), 10);
        QCOMPARE(rowCount(Sql::SelectAllDocuments()),
                 DirectValue(folder.dbPath(), QStringLiteral("SELECT count(*) FROM tbldocument")).toInt());
        gDB->CloseDatabase();
        QCOMPARE(readAll(folder.dbPath()), content);
    }

    void readOnlyCatalogueShowsEverythingAndRefusesEveryWrite_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::newRow("file mode") << false;
        QTest::newRow("folder the user may not write") << true;
    }

    void readOnlyCatalogueShowsEverythingAndRefusesEveryWrite()
    {
        QFETCH(bool, folderReadOnly);
        TestFolder folder;
        ScriptedUi ui;
        const QStringList statements = writes(folder.dbPath());
        const QByteArray content = readAll(folder.dbPath());
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const auto folderMode = QFile::permissions(folder.path());
        if (folderReadOnly)
            QFile::setPermissions(folder.path(), readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        else
            QFile::setPermissions(folder.dbPath(), readOnly);
        {
            OrdinaryUserWrites ordinary;
            const QString probe = folderReadOnly ? folder.filePath(QStringLiteral("probe")) : folder.dbPath();
            if (!refusedWriting(probe)) {
                QFile::setPermissions(folder.path(), folderMode);
                QSKIP("This process writes through file modes (root that cannot give up CAP_DAC_OVERRIDE)");
            }
            folder.openCatalogue();
            QCOMPARE(rowCount(Sql::SelectCategories()), 10);
            QVERIFY(rowCount(Sql::SelectAllDocuments()) > 0);
            QVERIFY(ui.boxes.isEmpty());
            for (const QString& statement : statements)
                QVERIFY2(!gDB->Execute(statement), qPrintable(statement));
            QVERIFY(!gDB->ExecuteAll(statements));
            QCOMPARE(ui.boxes.size(), statements.size() + 1);
            for (const ShownBox& box : std::as_const(ui.boxes)) {
                QCOMPARE(box.prompt, QStringLiteral("attempt to write a readonly database"));
                QCOMPARE(box.style, 16);
            }
            gDB->CloseDatabase();
        }
        QFile::setPermissions(folder.path(), folderMode);
        QCOMPARE(readAll(folder.dbPath()), content);
        QCOMPARE(listing(folder.path()), (QStringList {"cadrelle.db", "documents", "help", "settings", "temp"}));
    }

    // Another program is in the middle of a change: reading goes on, a write waits the busy timeout
    // and is refused with the engine's text, and both programs' data come out whole.
    void writeWaitsForAnotherProgramThenFails()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString dockey = DirectValue(folder.dbPath(), QStringLiteral("SELECT dockey FROM tbldocument"));
        const QString title
            = DirectValue(folder.dbPath(), "SELECT doctitle FROM tbldocument WHERE dockey='" + dockey + "'");
        folder.openCatalogue();
        OtherProgram other(folder.dbPath(), "BEGIN IMMEDIATE; UPDATE tblinit SET init=42;");
        QVERIFY(other.holdsTheLock());

        QCOMPARE(rowCount(Sql::SelectCategories()), 10);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!gDB->Execute(Sql::UpdateDocument(dockey, "R", "Mine", "P", "I")));
        const qint64 single = clock.restart();
        QVERIFY(!gDB->ExecuteAll({Sql::RenameCategory(GetGUID(), "A"), Sql::DeleteDocument(dockey)}));
        const qint64 together = clock.elapsed();
        for (qint64 waited : {single, together}) {
            QVERIFY2(waited >= kBusyTimeoutMs - 250 && waited < 3 * kBusyTimeoutMs,
                     qPrintable(QString::number(waited)));
        }
        QCOMPARE(ui.prompts(), (QStringList {"database is locked", "database is locked"}));
        QCOMPARE(ui.boxes[0].style, 16);

        other.finish("COMMIT;");
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("42"));
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT doctitle FROM tbldocument WHERE dockey='" + dockey + "'"), title);
        // Once the other program is done, the same write goes through.
        QVERIFY(gDB->Execute(Sql::UpdateDocument(dockey, "R", "Mine", "P", "I")));
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT doctitle FROM tbldocument WHERE dockey='" + dockey + "'"),
                 QStringLiteral("Mine"));
        QCOMPARE(ui.boxes.size(), 2);
    }

    // A program that holds the whole file (it is writing it out) keeps the catalogue from opening
    // for the busy timeout; then the user is told, and the file is left to that program.
    void openWaitsForAWritingProgramThenFails()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QByteArray content = readAll(folder.dbPath());
        OtherProgram other(folder.dbPath(), "BEGIN EXCLUSIVE;");
        QVERIFY(other.holdsTheLock());
        QElapsedTimer clock;
        clock.start();
        sqlDB db;
        QVERIFY(!db.OpenDatabase(folder.dbPath(), false));
        QVERIFY(clock.elapsed() >= kBusyTimeoutMs - 250);
        QCOMPARE(ui.prompts(), QStringList {"Cannot open '" + folder.dbPath() + "'\r\ndatabase is locked"});
        other.finish("ROLLBACK;");
        QCOMPARE(readAll(folder.dbPath()), content);
    }

    // A full disk: a change of several statements is undone as a whole and told once; a single
    // statement is refused; what was there stays.
    void fullDiskLeavesNothingHalfWritten()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QList<QStringList> before = DirectQuery(folder.dbPath(), QStringLiteral("SELECT * FROM tbldocument"));
        const QString pages = firstValue(QStringLiteral("PRAGMA page_count"), QStringLiteral("page_count"));
        QVERIFY(gDB->Execute(QStringLiteral("PRAGMA max_page_count=") + pages));
        const QString catkey = DirectValue(folder.dbPath(), QStringLiteral("SELECT catkey FROM tblcategory"));
        const QString big(20000, QLatin1Char('x'));
        QVERIFY(!gDB->ExecuteAll(
            {Sql::DeleteDocument(before[0][0]), Sql::InsertDocument(GetGUID(), "QP98", big, "/p", catkey, "4.1")}));
        QCOMPARE(ui.prompts(), QStringList {"database or disk is full"});
        QVERIFY(!gDB->Execute(Sql::InsertDocument(GetGUID(), "QP99", big, "/p", catkey, "4.1")));
        QCOMPARE(ui.prompts().size(), 2);
        QCOMPARE(ui.boxes[1].prompt, QStringLiteral("database or disk is full"));
        QCOMPARE(DirectQuery(folder.dbPath(), QStringLiteral("SELECT * FROM tbldocument")), before);
        // A change that fits still goes through.
        QVERIFY(gDB->Execute(Sql::RenameCategory(catkey, QStringLiteral("Kept"))));
        QCOMPARE(ui.boxes.size(), 2);
    }
};

QTEST_MAIN(TestCatalogueFaults)
#include "tst_catalogue_faults.moc"
