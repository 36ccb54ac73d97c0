// cadrelle-cli, run as a user runs it, on a copy of the delivered catalogue: what each command
// prints, in each format, and its exit status.

#include "support/DirectSql.h"
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
        QCOMPARE(lines[0], QStringLiteral("\"ref\",\"title\",\"clauses\",\"path\",\"category\",\"key\""));
        QVERIFY(csv.out.contains("\"F02\",\"He said \"\"yes\"\", then\nleft\","));
        QVERIFY(lines[1].startsWith("\"CA01\"") && lines.last().startsWith("\"WI01\""));

        const Run json = cli(folder, {"list", "--category", "Forms", "--format", "json"});
        const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[1].toObject().value("title").toString(), QStringLiteral("He said \"yes\", then\nleft"));
        QCOMPARE(rows[4].toObject().value("ref").toString(), QStringLiteral("F05"));
        QCOMPARE(rows[0].toObject().value("category").toString(), QStringLiteral("Forms"));
        QCOMPARE(rows[0].toObject().keys(), (QStringList {"category", "clauses", "key", "path", "ref", "title"}));
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
