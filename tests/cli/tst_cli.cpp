// cadrelle-cli, run as a user runs it, on a copy of the delivered catalogue: what each command
// prints, in each format, and its exit status.

#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/TestFolder.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run cli(const TestFolder& folder, QStringList args)
{
    if (!args.contains(QStringLiteral("--catalogue")))
        args.prepend(folder.dbPath()), args.prepend(QStringLiteral("--catalogue"));
    QProcess process;
    process.start(QStringLiteral(CADRELLE_CLI), args);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Control data for a document, straight into a catalogue the tool has already upgraded.
void setControl(const TestFolder& folder, const QString& docref, const QString& columns, const QString& values)
{
    DirectExec(folder.dbPath(),
               QStringLiteral("INSERT OR REPLACE INTO tblcontrol (dockey,%1) SELECT dockey,%2 "
                              "FROM tbldocument WHERE docref='%3'")
                   .arg(columns, values, docref));
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); // a line the output holds
        QTest::addColumn<QString>("err"); // what standard error holds
        QTest::newRow("help") << QStringList {"--help"} << 0
                              << "  backup      copy the catalogue to FILE, whole and consistent"
                              << "";
        QTest::newRow("no command") << QStringList {} << 2 << ""
                                    << "Usage: cadrelle-cli";
        QTest::newRow("unknown command") << QStringList {"frobnicate"} << 2 << ""
                                         << "unknown command 'frobnicate'";
        QTest::newRow("unknown format") << QStringList {"--format", "xml", "list"} << 2 << ""
                                        << "unknown format 'xml'";
        QTest::newRow("unknown option") << QStringList {"list", "--colour"} << 2 << ""
                                        << "unknown option '--colour' for list";
        QTest::newRow("text table") << QStringList {"list", "--clause", "7.5"} << 0
                                    << "WI01     Work Instruction Template  7.5.1    WI01.rtf  Work Instructions"
                                    << "";
        QTest::newRow("no such clause") << QStringList {"list", "--clause", "9.1"} << 2 << ""
                                        << "is not a clause";
        QTest::newRow("no such category") << QStringList {"list", "--category", "Nope"} << 2 << ""
                                          << "no category is named 'Nope'";
        QTest::newRow("categories") << QStringList {"--format", "csv", "categories"} << 0 << "\"Forms\",\"5\","
                                    << "";
        QTest::newRow("nothing due") << QStringList {"due"} << 0 << "Doc Ref" << QString();
        QTest::newRow("within, not a number") << QStringList {"due", "--within", "2w"} << 2 << ""
                                              << "--within takes a whole number of days from 0 to 3650, not '2w'";
        QTest::newRow("within, too far") << QStringList {"due", "--within=3651"} << 2 << QString() << "not '3651'";
        QTest::newRow("no such reference") << QStringList {"history", "NOPE"} << 2 << ""
                                           << "cadrelle-cli: no document has the reference 'NOPE'\n";
        QTest::newRow("missing catalogue")
            << QStringList {"--catalogue", "/nonexistent/c.db", "list"} << 2 << ""
            << "cadrelle-cli: Cannot open '/nonexistent/c.db': unable to open database file\n";
    }

    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        TestFolder folder;
        const Run run = cli(folder, args);
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err), qPrintable(run.err));
    }

    // Every record, in reference order, quoted as RFC 4180 asks; JSON with stable field names.
    void listFormats()
    {
        TestFolder folder;
        DirectExec(folder.dbPath(),
                   "UPDATE tbldocument SET doctitle='He said \"yes\", then' || char(10) || 'left' "
                   "WHERE docref='F02'");
        const Run csv = cli(folder, {"list", "--format", "csv"});
        QCOMPARE(csv.status, 0);
        const QStringList lines = csv.out.split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 29); // records end in CRLF; the line break inside a field is a bare LF
        QCOMPARE(lines[0],
                 QStringLiteral("\"ref\",\"title\",\"clauses\",\"path\",\"category\",\"key\",\"revision\","
                                "\"status\",\"kind\",\"owner\",\"approved_by\",\"approved_on\",\"next_review\""));
        QVERIFY(csv.out.contains("\"F02\",\"He said \"\"yes\"\", then\nleft\","));
        QVERIFY(lines[1].startsWith("\"CA01\"") && lines.last().startsWith("\"WI01\""));

        const Run json = cli(folder, {"list", "--category", "Forms", "--format", "json"});
        const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[1].toObject().value("title").toString(), QStringLiteral("He said \"yes\", then\nleft"));
        QCOMPARE(rows[4].toObject().value("ref").toString(), QStringLiteral("F05"));
        QCOMPARE(rows[0].toObject().value("category").toString(), QStringLiteral("Forms"));
        QCOMPARE(rows[0].toObject().keys().size(), 13); // the names are the header's
    }

    // Each way of listing carries the control fields; obsolete documents only when asked for.
    void listControlFields()
    {
        TestFolder folder;
        cli(folder, {"categories"}); // the first open upgrades the catalogue
        setControl(folder, "F01", "kind,revision,status,owner,approvedby,approvedon,nextreview",
                   "'Record','B','Approved','QA','Ann','2025-01-31','2026-01-31'");
        setControl(folder, "F02", "status", "'Obsolete'");
        for (const QStringList& o :
             {QStringList(), {"--category=Forms"}, {"--clause=4.2"}, {"--obsolete", "--category=Forms"}}) {
            const QString out = cli(folder, QStringList {"list", "--format", "csv"} + o).out;
            QVERIFY(out.contains(",\"B\",\"Approved\",\"Record\",\"QA\",\"Ann\",\"2025-01-31\",\"2026-01-31\"\r\n"));
            QVERIFY(out.contains(",\"\",\"Approved\",\"Document\",\"\",\"\",\"\",\"\"\r\n")); // no control data
            QCOMPARE(out.contains(",\"\",\"Obsolete\",\"Document\",\"\",\"\",\"\",\"\"\r\n"), o.contains("--obsolete"));
        }
    }

    // Ordered by next review; exit status 1 only once a review is overdue.
    void dueForReview()
    {
        TestFolder folder;
        cli(folder, {"categories"});
        const auto on = [](int days) { return QDate::currentDate().addDays(days).toString(Qt::ISODate); };
        setControl(folder, "F01", "revision,nextreview", "'C','" + on(10) + "'");
        setControl(folder, "F03", "nextreview", "'" + on(31) + "'");
        const Run soon = cli(folder, {"due", "--format", "csv"});
        QCOMPARE(soon.status, 0);
        QCOMPARE(soon.out.section("\r\n", 1),
                 "\"F01\",\"Document Change Request\",\"Forms\",\"C\",\"Approved\",\"" + on(10) + "\",\"0\"\r\n");
        setControl(folder, "F02", "status,nextreview", "'Draft','" + on(-3) + "'");
        const Run late = cli(folder, {"due", "--format", "csv"});
        QCOMPARE(late.status, 1);
        QCOMPARE(late.out.section("\r\n", 1, 1),
                 "\"F02\",\"Master List of Documents\",\"Forms\",\"\",\"Draft\",\"" + on(-3) + "\",\"3\"");
        QCOMPARE(cli(folder, {"due", "--within", "0"}).out.count('\n'), 2);
    }

    // Two documents share a reference: both histories, told apart by key, and no other document's.
    void historyOfAReference()
    {
        TestFolder folder;
        cli(folder, {"categories"});
        DirectExec(folder.dbPath(),
                   "INSERT INTO tbldocument SELECT 'K2',docref,'Copy',docpath,catkey,isoref FROM "
                   "tbldocument WHERE docref='F01'; INSERT INTO tblhistory (happened,who,dockey,action,"
                   "oldvalue,newvalue) SELECT 'T','ann',dockey,'Edit '||docref,'A','B' FROM tbldocument");
        const QString out = cli(folder, {"history", "F01", "--format", "csv"}).out;
        QCOMPARE(out.count("\"T\",\"ann\",\"Edit F01\",\"A\",\"B\","), 2);
        QVERIFY2(out.contains(",\"K2\"\r\n") && out.count("K2") == 1 && !out.contains("Edit F02"), qPrintable(out));
    }

    // export writes the register, import reads it back as unchanged; a refused row stops --apply
    // unless --partial, and the master list page is written.
    void registerOutAndIn()
    {
        TestFolder folder;
        const QString csv = folder.filePath("register.csv");
        QCOMPARE(cli(folder, {"export", csv}).out, "Exported 29 documents to " + csv + "\n");
        const Run same = cli(folder, {"--format", "csv", "import", csv});
        QCOMPARE(same.status, 0);
        QCOMPARE(same.out.count("\"unchanged\""), 29);
        const QString bad
            = folder.writeFile("bad.csv", "ref,title,category,path\r\nNEW1,T,Forms,/p\r\nNEW2,,Forms,/p\r\n");
        const Run refused = cli(folder, {"import", bad, "--apply"});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.out.contains("no title") && refused.err.contains("nothing was imported"));
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT count(*) FROM tbldocument"), QStringLiteral("29"));
        QCOMPARE(cli(folder, {"import", bad, "--apply", "--partial"}).status, 1);
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT count(*) FROM tbldocument"), QStringLiteral("30"));
        QCOMPARE(cli(folder, {"masterlist", "--html", folder.filePath("ml.htm")}).status, 0);
        QVERIFY(readAll(folder.filePath("ml.htm")).contains("Master List of Documents"));
    }

    // masterlist's json, written a row at a time, is the text Qt's writer gives the whole array,
    // escapes and all; with no documents, the empty array. Its text is aligned as a kept table's.
    void masterListJsonAsTheWholeArray()
    {
        TestFolder folder;
        DirectExec(folder.dbPath(),
                   "UPDATE tbldocument SET doctitle='Q \"x\"'||char(10,9,1)||'\\ é 中' WHERE docref='QP01'");
        for (const int documents : {29, 0}) {
            const Run run = cli(folder, {"--format", "json", "masterlist", "--obsolete"});
            const QByteArray out = run.out.toUtf8();
            QCOMPARE(run.status, 0);
            QCOMPARE(out, QJsonDocument::fromJson(out).toJson(QJsonDocument::Indented));
            QCOMPARE(QJsonDocument::fromJson(out).array().size(), documents);
            // The text, measured in a first pass and then written a row at a time, stays one aligned
            // line a document.
            const QStringList lines = cli(folder, {"masterlist", "--obsolete"}).out.split('\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), documents + 1);
            for (const char16_t* heading : {u"Title", u"Category"}) {
                const qsizetype at = lines[0].indexOf(heading);
                for (const QString& line : lines)
                    QVERIFY2(line.mid(at - 2, 2) == u"  " && line[at] != u' ', qPrintable(line));
            }
            DirectExec(folder.dbPath(), "DELETE FROM tbldocument");
        }
    }

    // On a catalogue changed by SQL ($DIR: the test folder): each file a record then points into the
    // folder is written, the others are missing; moved/ holds QP01.rtf once and F01.rtf twice.
    void findingAndChecking_data()
    {
        for (const char* column : {"setup", "args", "holds", "lacks", "paths"})
            QTest::addColumn<QString>(column); // args split at '|'; holds: lines of output or error
        QTest::addColumn<int>("status");
        const auto row = [](const char* name, QString setup, QString args, int status, QString holds,
                            QString lacks = "", QString paths = "F01.rtf|QP01.rtf") {
            QTest::newRow(name) << setup << args << holds << lacks << paths << status;
        };
        row("search, every word, any case and accent", "", "search|RÉPORT audit", 0,
            "\"IA02\",\"Internal Audit Report\",\"8.2.2\"", "IA01");
        row("search, % is a character", "UPDATE tbldocument SET doctitle='Yield 100% checked' WHERE docref='F05'",
            "search|0%", 0, "\"F05\",\"Yield 100% checked\"", "QP01");
        row("coverage, the six served", "", "coverage", 0,
            "\"8.3\",\"Control of nonconforming product\",\"2\",\"covered\"", "missing");
        row("coverage, 8.3 only in an obsolete and a moved document",
            "UPDATE tbldocument SET isoref='8.2' WHERE docref='CA01'; INSERT INTO tblcontrol (dockey,status) "
            "SELECT dockey,'Obsolete' FROM tbldocument WHERE docref='QP04'",
            "coverage", 1, "\"8.3\",\"Control of nonconforming product\",\"0\",\"missing procedure\"");
        row("check, no file delivered", "", "check", 1, "\"QP01\",\"Control of Documents\",\"QP01.rtf\",\"Missing\"");
        row("check, files written, one changed since approval",
            "UPDATE tbldocument SET docpath='$DIR/'||docpath WHERE docref<>'F05'; INSERT INTO tblcontrol "
            "(dockey,approvedhash) SELECT dockey,iif(docref='QP01','2d711642b726b04401627ca9fbac32f5c8530fb1903cc4db"
            "02258717921a4881','0') FROM tbldocument WHERE docref IN ('QP01','QP02')",
            "check", 1, "\"QP02\",\"Control of Records\",\"$DIR/QP02.rtf\",\"Changed since approval\"", "QP01",
            "$DIR/F01.rtf|$DIR/QP01.rtf");
        row("relink, dry run", "", "relink|$DIR/moved", 0, "\"QP01.rtf\",\"$DIR/moved/QP01.rtf\",\"would relink\"");
        row("relink, dry run, a name found twice", "", "relink|$DIR/moved", 0, "\"F01.rtf\",\"$DIR/moved/a/F01.rtf;");
        row("relink, applied to the one found once", "", "relink|$DIR/moved|--apply", 0,
            "\"$DIR/moved/QP01.rtf\",\"relinked\"", "", "F01.rtf|$DIR/moved/QP01.rtf");
        row("relink, a file for a folder", "", "relink|$DIR/cadrelle.db", 2,
            "cadrelle-cli: '$DIR/cadrelle.db' is not a folder");
    }

    void findingAndChecking()
    {
        QFETCH(QString, setup);
        QFETCH(QString, args);
        QFETCH(QString, holds);
        QFETCH(QString, lacks);
        QFETCH(QString, paths);
        QFETCH(int, status);
        TestFolder folder;
        cli(folder, {"categories"}); // upgraded, so that control data can be stored
        if (!setup.isEmpty())
            DirectExec(folder.dbPath(), setup.replace("$DIR", folder.path()));
        for (const QStringList& record : DirectQuery(folder.dbPath(), "SELECT docpath FROM tbldocument"))
            if (record[0].startsWith(folder.path()))
                TestFolder::write(record[0]);
        for (const char* file : {"moved/QP01.rtf", "moved/a/F01.rtf", "moved/b/F01.rtf"})
            folder.writeFile(file);
        const Run run = cli(folder, args.replace("$DIR", folder.path()).split('|') << "--format=csv");
        QCOMPARE(run.status, status);
        QVERIFY2((run.out + run.err).contains(holds.replace("$DIR", folder.path())), qPrintable(run.out + run.err));
        QVERIFY2(lacks.isEmpty() || !run.out.contains(lacks), qPrintable(run.out));
        QCOMPARE(DirectValue(folder.dbPath(),
                             "SELECT group_concat(docpath,'|') FROM (SELECT docpath FROM "
                             "tbldocument WHERE docref IN ('F01','QP01') ORDER BY docref)"),
                 paths.replace("$DIR", folder.path()));
    }

    void backupWritesAWholeCopyAndRefusesTheCatalogue()
    {
        TestFolder folder;
        const QString copy = folder.filePath("copy.db");
        QCOMPARE(cli(folder, {"backup", copy}).status, 0);
        QCOMPARE(DirectValue(copy, "SELECT count(*) FROM tbldocument"), QStringLiteral("29"));
        for (const QString& target : {folder.dbPath(), folder.dbPath() + "-journal"}) {
            const Run refused = cli(folder, {"backup", target});
            QCOMPARE(refused.status, 2);
            QVERIFY2(refused.err.startsWith("cadrelle-cli: cannot write the backup"), qPrintable(refused.err));
        }
        QVERIFY(!QFile::exists(folder.dbPath() + "-journal"));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
