// Finding and checking on a copy of the delivered catalogue: search by words, coverage of the
// standard's clauses with exclusions and obsolete documents, the file check on real files, relinking.

#include "mainwindow/DocumentListModel.h"
#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "support/DirectSql.h"
#include "support/OrdinaryUserWrites.h"
#include "support/TestFolder.h"
#include <QCryptographicHash>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList refs(const std::vector<Document>& documents)
{
    QStringList list;
    for (const Document& d : documents)
        list << d.ref + (d.problem.isEmpty() ? QString() : ':' + d.problem);
    return list;
}

void exec(const TestFolder& folder, const QString& sql)
{
    DirectExec(folder.dbPath(), sql);
}

} // namespace

class TestFinding : public QObject
{
    Q_OBJECT

private slots:
    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("every word, any case") << u"AUDIT int"_s << QStringList {"IA01", "IA02", "QP03"};
        QTest::newRow("accents folded") << u"qualitätshandbüch"_s << QStringList {"QM01"};
        QTest::newRow("clause list and path") << u"8.5.2 ca02.rtf"_s << QStringList {"CA02"};
        QTest::newRow("percent is literal") << u"100%"_s << QStringList {"F03"};
        QTest::newRow("underscore is literal") << u"a_b"_s << QStringList();
        QTest::newRow("quotes and keywords") << u"' OR 1=1 --"_s << QStringList();
        QTest::newRow("backslash") << u"C:\\QMS"_s << QStringList {"F03"};
        QTest::newRow("very long") << QString(10000, u'x') << QStringList();
    }

    void search()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        TestFolder folder;
        ScriptedUi ui;
        exec(folder,
             u"UPDATE tbldocument SET doctitle='Qualitatshandbuch' WHERE docref='QM01';"
             "UPDATE tbldocument SET doctitle='Supplier list 100%', docpath='C:\\QMS\\F03.csv' "
             "WHERE docref='F03'"_s);
        folder.openCatalogue();
        QCOMPARE(refs(Catalogue::Current().Search(text)), found);
        QVERIFY(ui.boxes.isEmpty());
    }

    // Another program's change is found at the next search; an obsolete document only on request.
    void searchSeesOtherProgramsAndObsolete()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        QCOMPARE(refs(c.Search(u"gauges"_s)), QStringList());
        exec(folder, u"UPDATE tbldocument SET doctitle='Gauges' WHERE docref='QP11'"_s);
        QCOMPARE(refs(c.Search(u"gauges"_s)), QStringList {"QP11"});
        c.Withdraw(DirectValue(folder.dbPath(), u"SELECT dockey FROM tbldocument WHERE docref='QP11'"_s), u"x"_s);
        QCOMPARE(refs(c.Search(u"gauges"_s)), QStringList());
        c.SetIncludeObsolete(true);
        QCOMPARE(refs(c.Search(u"gauges"_s)), QStringList {"QP11"});
    }

    // References in natural order, dates as dates, the reference breaking ties.
    void sortByMeaning()
    {
        DocumentListModel model;
        std::vector<Document> rows(4);
        const char* refs[] = {"QP10", "QP2", "qp3", "QP1"};
        const QDate dates[] = {QDate(2025, 1, 2), QDate(2024, 12, 31), QDate(), QDate(2025, 1, 2)};
        for (int i = 0; i < 4; ++i) {
            rows[std::size_t(i)].ref = QString::fromLatin1(refs[i]);
            rows[std::size_t(i)].nextReview = dates[i];
        }
        model.SetRows(rows);
        auto order = [&model] {
            QStringList list;
            for (int row = 0; row < model.rowCount(); ++row)
                list << model.SubItemText(row, 1);
            return list;
        };
        model.sort(DocumentListModel::RefColumn);
        QCOMPARE(order(), QStringList({"QP1", "QP2", "qp3", "QP10"}));
        model.sort(DocumentListModel::RefColumn, Qt::DescendingOrder);
        QCOMPARE(order(), QStringList({"QP10", "qp3", "QP2", "QP1"}));
        model.sort(DocumentListModel::NextReviewColumn);
        QCOMPARE(order(), QStringList({"qp3", "QP2", "QP1", "QP10"}));
    }

    // Counts of current documents per clause and its parents, each document once; obsolete documents
    // do not count; excluded clauses show so; only clauses of 7 may be excluded.
    void coverageCountsAndExclusions()
    {
        TestFolder folder;
        ScriptedUi ui;
        exec(folder,
             u"UPDATE tbldocument SET isoref='7.5.1,7.5.2' WHERE docref='WI01';"
             "UPDATE tbldocument SET isoref='8.3' WHERE docref='CA01'"_s);
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        c.Withdraw(DirectValue(folder.dbPath(), u"SELECT dockey FROM tbldocument WHERE docref='QP04'"_s), u"x"_s);
        QCOMPARE(c.ExcludeClause(u"7.3"_s, u"We design nothing"_s), Catalogue::Write::Done);
        QCOMPARE(c.ExcludeClause(u"8.3"_s, u"No products"_s), Catalogue::Write::Refused);
        QHash<QString, ClauseCoverage> by;
        for (const ClauseCoverage& clause : c.Coverage())
            by.insert(clause.clause, clause);
        QCOMPARE(by.size(), 67);
        QCOMPARE(by[u"7.5"_s].documents, 1); // WI01 once, for both of its sub-clauses
        QCOMPARE(by[u"7.5.2"_s].documents, 1);
        QCOMPARE(by[u"8.3"_s].documents, 1); // CA01; QP04 is obsolete
        QVERIFY(by[u"7.3"_s].excluded && by[u"7.3"_s].justification == u"We design nothing"_s);
        QCOMPARE(by[u"7.5.1"_s].title, u"Control of production and service provision"_s);
        exec(folder, u"UPDATE tbldocument SET isoref='' WHERE docref='CA01'"_s);
        for (const ClauseCoverage& clause : c.Coverage())
            QCOMPARE(clause.MissingProcedure(), clause.clause == u"8.3"_s);
        QCOMPARE(ui.prompts(),
                 QStringList {u"Only clauses within 7 may be excluded under ISO 9001:2000; 8.3 applies to "
                              "every quality management system."_s});
    }

    // Missing, a folder, unreadable, a link loop, changed since approval; the rest is fine.
    void checkFindsWhatIsWrongWithFiles()
    {
        TestFolder folder;
        ScriptedUi ui;
        for (const char* name : {"QP01.rtf", "QP02.rtf", "QP03.rtf", "QP05.rtf"})
            folder.writeFile(u"documents/"_s + name, "text");
        QDir(folder.path()).mkpath(u"documents/QP06.rtf"_s);
        QFile::link(folder.filePath(u"documents/loop.rtf"_s), folder.filePath(u"documents/loop.rtf"_s));
        QFile::setPermissions(folder.filePath(u"documents/QP03.rtf"_s), QFile::WriteOwner);
        exec(folder,
             "UPDATE tbldocument SET docpath='" + folder.path()
                 + "/documents/' || docref || '.rtf';"
                   "UPDATE tbldocument SET docpath='"
                 + folder.path() + "/documents/loop.rtf' WHERE docref='QP07'");
        folder.openCatalogue();
        const QString hash
            = QString::fromLatin1(QCryptographicHash::hash("old text", QCryptographicHash::Sha256).toHex());
        exec(folder,
             "INSERT INTO tblcontrol (dockey,approvedhash) SELECT dockey,'" + hash
                 + "' FROM tbldocument WHERE docref='QP05'");
        OrdinaryUserWrites ordinary;
        int calls = 0;
        const QStringList found = refs(Catalogue::Current().CheckFiles([&calls](int, int) { return ++calls < 1000; }));
        QCOMPARE(calls, 29);
        QVERIFY(!found.contains(u"QP01"_s) && !found.contains(u"QP02"_s));
        for (const QString& expected : {u"QP03:Cannot be read"_s, u"QP04:Missing"_s, u"QP05:Changed since approval"_s,
                                        u"QP06:A folder, not a file"_s, u"QP07:Link loop"_s})
            QVERIFY2(found.contains(expected), qPrintable(found.join(',')));
        QCOMPARE(refs(Catalogue::Current().CheckFiles([](int, int) { return false; })), QStringList {"CA01:Missing"});
    }

    // Checked a few documents at a time, every current document is looked at once and in the order
    // of one whole read, across equal, missing and non-UTF-8 references; the progress counts on to
    // the total, and a stop ends the check at that document.
    void checkReadsPagesInOrder()
    {
        TestFolder folder;
        ScriptedUi ui;
        exec(folder,
             u"UPDATE tbldocument SET docref='QP01' WHERE docref IN ('QP02','QP03','QP04');"
             "UPDATE tbldocument SET docref=NULL WHERE docref IN ('F01','F02','F03');"
             "UPDATE tbldocument SET docref=CAST(X'E9' AS TEXT) WHERE docref='WI01';"
             "UPDATE tbldocument SET docref=X'01' WHERE docref='CA01'"_s);
        folder.openCatalogue();
        const auto keys = [](const std::vector<Document>& documents) {
            QStringList list;
            for (const Document& d : documents)
                list << d.key + ':' + d.problem;
            return list;
        };
        const QStringList whole = keys(Catalogue::Current().CheckFiles());
        QCOMPARE(whole.size(), 29); // no file is there
        for (const int page : {1, 2, 3}) {
            QList<int> done, totals;
            const auto progress = [&](int d, int total) { return done << d, totals << total, true; };
            QCOMPARE(keys(Catalogue::Current().CheckFiles(progress, page)), whole);
            QCOMPARE(done.size(), 29);
            QCOMPARE(done.last(), 29);
            QCOMPARE(totals.count(29), 29);
        }
        const auto stopAtFive = [](int done, int) { return done < 5; };
        QCOMPARE(keys(Catalogue::Current().CheckFiles(stopAtFive, 2)), whole.mid(0, 5));
        QVERIFY(ui.boxes.isEmpty());
    }

    // One file of the name is proposed, several are listed for the user, none leaves the record;
    // only the accepted changes are written, in one transaction.
    void relinkProposesAndAppliesOnlyWhatIsAccepted()
    {
        TestFolder folder;
        ScriptedUi ui;
        for (const char* name : {"moved/QP01.rtf", "moved/a/QP02.rtf", "moved/b/QP02.rtf"})
            folder.writeFile(QString::fromLatin1(name));
        QFile::link(folder.filePath(u"moved"_s), folder.filePath(u"moved/a/loop"_s));
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        std::vector<Document> missing;
        for (const Document& d : c.AllDocuments()) {
            if (d.ref == u"QP01"_s || d.ref == u"QP02"_s || d.ref == u"QP03"_s)
                missing.push_back(d);
        }
        const std::vector<RelinkCandidate> plan = Catalogue::PlanRelink(missing, folder.filePath(u"moved"_s));
        QCOMPARE(plan[0].found, QStringList {folder.filePath(u"moved/QP01.rtf"_s)});
        QCOMPARE(plan[1].found.size(), 2);
        QCOMPARE(plan[2].found, QStringList());
        DirectExec(folder.dbPath(),
                   u"CREATE TRIGGER no BEFORE UPDATE ON tbldocument WHEN NEW.docref='QP03' "
                   "BEGIN SELECT RAISE(ABORT,'refused'); END"_s);
        QCOMPARE(c.Relink({{plan[0].document.key, plan[0].found[0]}, {plan[2].document.key, u"/x"_s}}),
                 Catalogue::Write::Refused);
        QCOMPARE(DirectValue(folder.dbPath(), u"SELECT docpath FROM tbldocument WHERE docref='QP01'"_s), u"QP01.rtf"_s);
        QCOMPARE(c.Relink({{plan[0].document.key, plan[0].found[0]}}), Catalogue::Write::Done);
        QCOMPARE(DirectValue(folder.dbPath(), u"SELECT docpath FROM tbldocument WHERE docref='QP01'"_s),
                 plan[0].found[0]);
        QCOMPARE(c.History(plan[0].document.key).back().action, u"File relinked"_s);
    }
};

QTEST_MAIN(TestFinding)
#include "tst_finding.moc"
