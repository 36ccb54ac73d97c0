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

// Control data for the document with the reference, written straight into a catalogue the tool
// has already upgraded.
void setControl(const TestFolder& folder, const QString& docref, const QString& columns, const QString& values)
{
    DirectExec(folder.dbPath(),
               QStringLiteral("INSERT OR REPLACE INTO tblcontrol (dockey,%1) SELECT dockey,%2 FROM "
                              "tbldocument WHERE docref='%3'")
                   .arg(columns, values, docref));
}

QJsonArray jsonRows(const TestFolder& folder, QStringList args)
{
    return QJsonDocument::fromJson(cli(folder,
                                       args << "--format"
                                            << "json")
                                       .out.toUtf8())
        .array();
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
        QTest::newRow("nothing due") << QStringList {"due"} << 0 << "Doc Ref"
                                     << "";
        QTest::newRow("within, not a number") << QStringList {"due", "--within", "2w"} << 2 << ""
                                              << "--within takes a whole number of days from 0 to 3650, not '2w'";
        QTest::newRow("within, too far") << QStringList {"due", "--within=3651"} << 2 << ""
                                         << "not '3651'";
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
        QCOMPARE(rows[0].toObject().keys(),
                 (QStringList {"approved_by", "approved_on", "category", "clauses", "key", "kind", "next_review",
                               "owner", "path", "ref", "revision", "status", "title"}));
    }

    // Each way of listing carries the control fields; obsolete documents only when asked for.
    void listControlFields()
    {
        TestFolder folder;
        cli(folder, {"categories"}); // the first open upgrades the catalogue
        setControl(folder, "F01", "kind,revision,status,owner,approvedby,approvedon,nextreview",
                   "'Record','B','Approved','QA','Ann','2025-01-31','2026-01-31'");
        setControl(folder, "F02", "status", "'Obsolete'");
        const auto fields = [](const QJsonValue& row) {
            QStringList values;
            for (const char* field :
                 {"ref", "revision", "status", "kind", "owner", "approved_by", "approved_on", "next_review"})
                values << row.toObject().value(field).toString();
            return values.join('|');
        };
        for (const QStringList& args :
             {QStringList {"list"}, {"list", "--category", "Forms"}, {"list", "--clause", "4.2"}}) {
            QStringList rows;
            for (const QJsonValue& row : jsonRows(folder, args))
                rows << fields(row);
            QVERIFY2(rows.contains("F01|B|Approved|Record|QA|Ann|2025-01-31|2026-01-31"), qPrintable(args.join(' ')));
            QVERIFY2(!rows.join(' ').contains("F02"), qPrintable(args.join(' ')));
        }
        const QJsonArray all = jsonRows(folder, {"list", "--category", "Forms", "--obsolete"});
        QCOMPARE(all.size(), 5);
        QCOMPARE(fields(all[1]), QStringLiteral("F02||Obsolete|Document||||"));
        QCOMPARE(fields(all[2]), QStringLiteral("F03||Approved|Document||||")); // no control data
    }

    // Ordered by next review; exit status 1 only once a review is overdue.
    void dueForReview()
    {
        TestFolder folder;
        cli(folder, {"categories"});
        const QDate today = QDate::currentDate();
        const auto date = [&today](int days) { return "'" + today.addDays(days).toString(Qt::ISODate) + "'"; };
        setControl(folder, "F01", "revision,nextreview", "'C'," + date(10));
        setControl(folder, "F03", "nextreview", date(31));
        Run due = cli(folder, {"due", "--format", "csv"});
        QCOMPARE(due.status, 0);
        QCOMPARE(due.out.count("\r\n"), 2);
        QVERIFY2(due.out.contains("\"F01\",\"Document Change Request\",\"Forms\",\"C\",\"Approved\","
                                  + date(10).replace('\'', '"') + ",\"0\""),
                 qPrintable(due.out));
        setControl(folder, "F02", "status,nextreview", "'Draft'," + date(-3));
        due = cli(folder, {"due", "--format", "csv"});
        QCOMPARE(due.status, 1);
        QVERIFY2(due.out.section("\r\n", 1, 1).startsWith("\"F02\"")
                     && due.out.section("\r\n", 1, 1).endsWith(",\"3\""),
                 qPrintable(due.out));
        QCOMPARE(cli(folder, {"due", "--within", "0"}).out.count('\n'), 2);
    }

    // Two documents share a reference: both histories, told apart by key, and no other document's.
    void historyOfAReference()
    {
        TestFolder folder;
        cli(folder, {"categories"});
        DirectExec(folder.dbPath(),
                   "INSERT INTO tbldocument SELECT 'K2',docref,'Copy',docpath,catkey,isoref "
                   "FROM tbldocument WHERE docref='F01'");
        DirectExec(folder.dbPath(),
                   "INSERT INTO tblhistory (happened,who,dockey,action,oldvalue,newvalue) SELECT "
                   "'2026-01-02T10:00:00Z','ann',dockey,'New revision '||docref,'A','B' FROM tbldocument "
                   "WHERE docref IN ('F01','F02')");
        const QString key
            = DirectValue(folder.dbPath(), "SELECT dockey FROM tbldocument WHERE docref='F01' AND dockey<>'K2'");
        const QJsonArray rows = jsonRows(folder, {"history", "F01"});
        QCOMPARE(rows.size(), 2);
        QStringList seen;
        for (const QJsonValue& row : rows) {
            const QJsonObject o = row.toObject();
            seen << o["key"].toString() + ' ' + o["action"].toString() + ' ' + o["old"].toString() + o["new"].toString()
                    + ' ' + o["happened"].toString() + ' ' + o["who"].toString();
        }
        seen.sort();
        QCOMPARE(seen,
                 (QStringList {key + " New revision F01 AB 2026-01-02T10:00:00Z ann",
                               "K2 New revision F01 AB 2026-01-02T10:00:00Z ann"}));
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
