// The register in and out on copies of the delivered catalogue: export then import gives the same
// catalogue back, whatever the texts hold; bad files and rows are refused with their reasons and
// nothing of a refused import is written; the master list's page; the register read in batches.

#include "platform/ScriptedUi.h"
#include "reports/MasterListPage.h"
#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/TestFolder.h"
#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using Action = ImportRow::Action;

namespace {

const QByteArray kHeader = "ref,title,category,clauses,path,status,next_review\r\n";

QList<QStringList> stored(const TestFolder& folder)
{
    return DirectQuery(folder.dbPath(),
                       u"SELECT docref,doctitle,catname,isoref,docpath,IFNULL(status,''),"
                       "IFNULL(nextreview,'') FROM tbldocument JOIN tblcategory USING(catkey) "
                       "LEFT JOIN tblcontrol USING(dockey) ORDER BY docref,catname"_s);
}

// Texts with what breaks hand-made CSV and markup: quotes, commas, line breaks, accents, markup.
QString awkward(QRandomGenerator& random)
{
    static const QStringList pieces = {"a", "Ü", "\"", ",", "\n", "\r\n", "'", "<b>", "&", "€", " ", "中", ";", "\t"};
    QString text = u"x"_s;
    for (int i = random.bounded(1, 12); i > 0; --i)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

} // namespace

class TestRegister : public QObject
{
    Q_OBJECT

private slots:
    // Generated documents with awkward texts and control data, exported and imported into a fresh
    // catalogue's copy, come back field for field.
    void exportThenImportGivesTheCatalogueBack()
    {
        QRandomGenerator random(20261206);
        DocumentControl dated;
        dated.approvedOn = QDate(999, 1, 2);
        dated.nextReview = QDate(2024, 11, 30);
        QCOMPARE(dated.Texts().mid(5, 4), (QStringList {u"0999-01-02"_s, QString(), u"0"_s, u"2024-11-30"_s}));
        for (int round = 0; round < 5; ++round) {
            TestFolder from;
            ScriptedUi ui;
            from.openCatalogue();
            Catalogue& c = Catalogue::Current();
            const QString forms = DirectValue(from.dbPath(), u"SELECT catkey FROM tblcategory WHERE catname='Forms'"_s);
            for (int i = 0; i < 20; ++i) {
                Document d {QString(), u"R%1-"_s.arg(i) + awkward(random), awkward(random), u"7.5.1,8.2"_s,
                            awkward(random)};
                QCOMPARE(c.AddDocument(forms, d), Catalogue::Write::Done);
                DocumentControl control;
                control.revision = awkward(random);
                control.status = i % 3 ? DocumentControl::Status::Approved : DocumentControl::Status::Draft;
                control.nextReview = QDate(2025, 1, 1).addDays(i * 17);
                control.approvedOn = QDate(999 + i * 450, 12, 31); // years of three and four digits
                QCOMPARE(c.SaveControl(d.key, control), Catalogue::Write::Done);
            }
            QBuffer csv;
            int written = 0;
            QVERIFY(csv.open(QIODevice::WriteOnly) && c.WriteRegister(csv, written) && written == 20 + 29);
            const QList<QStringList> expected = stored(from);
            Catalogue::Close();
            TestFolder to;
            to.openCatalogue();
            const RegisterCsv::Table table = RegisterCsv::Parse(csv.data());
            const ImportPlan plan = Catalogue::Current().PlanImport(table, Catalogue::MappingOf(table.header));
            QCOMPARE(plan.Count(Action::Refused), 0);
            QCOMPARE(plan.Count(Action::New), 20);
            QCOMPARE(Catalogue::Current().ApplyImport(plan), Catalogue::Write::Done);
            QCOMPARE(stored(to), expected);
            // Saved one by one or imported, control rows name their documents' rows.
            for (const TestFolder* folder : {&from, &to})
                QCOMPARE(DirectValue(folder->dbPath(), Sql::ControlLinksHold()), u"1"_s);
            QVERIFY(ui.boxes.isEmpty());
        }
    }

    void badInputIsRefusedWithItsReason_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("told"); // the file's error, or the first refused row's reason
        const QByteArray ok = "QP90,Title,Forms,7.5,/p,,\r\n";
        QTest::newRow("binary") << QByteArray("PK\x03\x04\0\0", 6) << "it is not a text file";
        QTest::newRow("empty") << QByteArray() << "it holds no header row";
        QTest::newRow("unclosed quote") << kHeader + "QP90,\"Title,Forms"
                                        << "it is not valid CSV near line 2";
        QTest::newRow("too few fields") << kHeader + "QP90,Title\r\n"
                                        << "it has 2 fields, the header 7";
        QTest::newRow("too many fields") << kHeader + ok.chopped(2) + ",x\r\n"
                                         << "it has 8 fields, the header 7";
        QTest::newRow("no clause such") << kHeader + "QP90,T,Forms,9.9,/p,,\r\n"
                                        << "'9.9' is not a clause of ISO 9001:2000";
        QTest::newRow("date not ISO") << kHeader + "QP90,T,Forms,,/p,,31/12/2024\r\n"
                                      << "next_review '31/12/2024' is not a date (year-month-day, e.g. 2024-03-31)";
        QTest::newRow("status unknown") << kHeader + "QP90,T,Forms,,/p,Final,\r\n"
                                        << "status 'Final' is not Draft, Approved or Obsolete";
        QTest::newRow("repeated in file") << kHeader + ok + ok << "reference QP90 in Forms is already in line 2";
        // A refused row is no first; every repetition names the first row taken.
        QTest::newRow("repeated after a refusal")
            << kHeader + "QP90,,Forms,,/p,,\r\nQP91,T,Forms,,/p,,\r\n" + ok + "QP90,T,Other,,/p,,\r\n" + ok + ok
            << "reference QP90 in Forms is already in line 4";
        QTest::newRow("no title") << kHeader + "QP90,,Forms,,/p,,\r\n"
                                  << "no title";
    }

    // Nothing of a file with a refused row is written unless the others are asked for; the good rows
    // then go in whole, in one transaction.
    void badInputIsRefusedWithItsReason()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, told);
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const RegisterCsv::Table table = RegisterCsv::Parse(file);
        if (!table.error.isEmpty()) {
            QVERIFY2(table.error.startsWith(told), qPrintable(table.error));
            return;
        }
        const ImportPlan plan = Catalogue::Current().PlanImport(table, Catalogue::MappingOf(table.header));
        QStringList reasons;
        for (const ImportRow& row : plan.rows)
            reasons << row.reason;
        QVERIFY2(reasons.contains(told), qPrintable(reasons.join('|')));
        for (const QString& reason : reasons) {
            if (told.startsWith(u"reference ") && reason.startsWith(u"reference "))
                QCOMPARE(reason, told);
        }
    }

    // UTF-16 and Windows-1252 files read as their text; a write refused halfway leaves the catalogue
    // as it was, and the import goes in whole once the catalogue takes it.
    void encodingsAndOneTransaction()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QString text = u"ref,title,category,path\r\nQP91,Prüfplan,Neue Kategorie,/p\r\n"_s;
        QByteArray utf16("\xFF\xFE");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QByteArray cp1252 = "ref,title,category,path\r\nQP91,Pr\xFC"
                            "fplan,Neue Kategorie,/p\r\n";
        for (const QByteArray& bytes : {utf16, cp1252}) {
            const RegisterCsv::Table table = RegisterCsv::Parse(bytes);
            QCOMPARE(table.rows.value(0).value(1), u"Prüfplan"_s);
        }
        const RegisterCsv::Table table = RegisterCsv::Parse(cp1252);
        const ImportPlan plan = Catalogue::Current().PlanImport(table, Catalogue::MappingOf(table.header));
        QCOMPARE(plan.newCategories, QStringList {"Neue Kategorie"});
        const QByteArray before = readAll(folder.dbPath());
        // Refused at the document's history row, after its category and the document went in.
        DirectExec(folder.dbPath(),
                   u"CREATE TRIGGER no BEFORE INSERT ON tblhistory WHEN NEW.action='Added by import' BEGIN "
                   "SELECT RAISE(ABORT,'refused'); END"_s);
        const QString everything = u"SELECT (SELECT count(*) FROM tblcategory),(SELECT count(*) FROM tbldocument),"
                                   "(SELECT count(*) FROM tblhistory)"_s;
        const QList<QStringList> stored = DirectQuery(folder.dbPath(), everything);
        QCOMPARE(Catalogue::Current().ApplyImport(plan), Catalogue::Write::Refused);
        QCOMPARE(DirectQuery(folder.dbPath(), everything), stored);
        QCOMPARE(ui.prompts(), QStringList {u"refused"_s});
        QVERIFY(!before.isEmpty());
        // The statements kept prepared run again once the catalogue takes them.
        DirectExec(folder.dbPath(), u"DROP TRIGGER no"_s);
        QCOMPARE(Catalogue::Current().ApplyImport(plan), Catalogue::Write::Done);
        QCOMPARE(DirectValue(folder.dbPath(),
                             u"SELECT catname FROM tbldocument JOIN tblcategory USING(catkey) "
                             "WHERE docref='QP91'"_s),
                 u"Neue Kategorie"_s);
        // A category another program deleted after the plan was made: no row is left out unsaid.
        const RegisterCsv::Table forms = RegisterCsv::Parse("ref,title,category,path\r\nF91,Form,Forms,/f\r\n");
        const ImportPlan late = Catalogue::Current().PlanImport(forms, Catalogue::MappingOf(forms.header));
        DirectExec(folder.dbPath(), u"DELETE FROM tblcategory WHERE catname='Forms'"_s);
        const QList<QStringList> kept = DirectQuery(folder.dbPath(), everything);
        ui.boxes.clear();
        QCOMPARE(Catalogue::Current().ApplyImport(late), Catalogue::Write::Refused);
        QCOMPARE(DirectQuery(folder.dbPath(), everything), kept);
        QVERIFY2(ui.prompts().size() == 1 && ui.prompts().first().startsWith(u"Not every row"_s),
                 qPrintable(ui.prompts().join(u'|')));
    }

    // The page of a crafted register: grouped by category, escaped, overdue marked, obsolete left
    // out or in a section of their own, the print rules and the footer.
    void masterListPage()
    {
        auto row = [](const char* ref, const char* category, const char* status, const char* next) {
            QStringList r(RegisterCsv::Fields().size());
            r[0] = QLatin1String(ref);
            r[1] = u"Plan <\"A\"> & B"_s;
            r[2] = QLatin1String(category);
            r[7] = QLatin1String(status);
            r[11] = QLatin1String(next);
            return r;
        };
        const QList<QStringList> rows
            = {row("QP1", "Procedures", "Approved", "2024-01-01"), row("QP2", "Procedures", "Obsolete", ""),
               row("F1", "Forms", "Draft", "2030-01-01")};
        const QDateTime produced(QDate(2025, 6, 1), QTime(9, 30));
        const QString page = BuildMasterListPage(rows, u"cadrelle.db"_s, produced, false);
        QVERIFY(page.contains(u"<h1>Master List of Documents</h1><p class=produced>cadrelle.db - produced "
                              "2025-06-01 09:30</p><h2>Procedures</h2>"_s));
        QVERIFY(page.contains(u"Plan &lt;&quot;A&quot;&gt; &amp; B"_s));
        QVERIFY(page.contains(u"<td class=overdue>2024-01-01 (overdue)</td>"_s));
        QVERIFY(!page.contains(u"QP2"_s) && page.indexOf(u"Procedures"_s) < page.indexOf(u"Forms"_s));
        QVERIFY(page.contains(u"thead{display:table-header-group}tr{page-break-inside:avoid}"_s));
        QVERIFY(page.endsWith(u"<footer>Uncontrolled when printed - check the current revision in the catalogue"
                              "</footer></body></html>"_s));
        const QString withObsolete = BuildMasterListPage(rows, u"cadrelle.db"_s, produced, true);
        QVERIFY(withObsolete.indexOf(u"QP2"_s) > withObsolete.indexOf(u"Obsolete documents"_s));
    }

    // Read a few rows at a time, across batches and around values longer than the table's blocks,
    // the register gives every row once, as one read gives them; the current ones then the obsolete
    // ones for the master list, whose page written as they come is the one made of all the rows.
    void registerReadInBatches()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        DirectExec(folder.dbPath(),
                   u"UPDATE tbldocument SET doctitle=printf('%.*c',CASE docref WHEN 'QP01' THEN 100000 WHEN 'QP05' "
                   "THEN 200000 ELSE 70000 END,'x') WHERE docref IN ('QP01','QP05','F02');"
                   "UPDATE tbldocument SET docref='QP02' WHERE docref='QP03';"
                   "INSERT INTO tblcontrol (dockey,status) SELECT dockey,'Obsolete' FROM tbldocument "
                   "WHERE docref IN ('QP04','F01','WI01')"_s);
        const QList<QStringList> all = DirectQuery(folder.dbPath(), Sql::SelectRegister());
        // Control rows another program inserts are linked to their documents' rows as well.
        QCOMPARE(DirectValue(folder.dbPath(), Sql::ControlLinksHold()), u"1"_s);
        QList<QStringList> current, obsolete;
        for (const QStringList& row : all)
            (row[7] == u"Obsolete"_s ? obsolete : current) << row;
        QCOMPARE(obsolete.size(), 3);
        QList<QStringList> rows;
        const auto take = [&rows](const QStringList& row) { rows << row; };
        for (const int batch : {1, 2, 7, 0}) {
            rows.clear();
            QVERIFY(c.ForEachRegisterRow(take, Catalogue::RegisterPart::All, batch));
            QCOMPARE(rows, all);
            rows.clear();
            QVERIFY(c.ForEachRegisterRow(take, Catalogue::RegisterPart::CurrentThenObsolete, batch));
            QCOMPARE(rows, current + obsolete);
        }
        // Links another program has left wrong are not followed: no obsolete document passes for current.
        DirectExec(folder.dbPath(), u"UPDATE tblcontrol SET docrowid=docrowid+1"_s);
        QCOMPARE(DirectValue(folder.dbPath(), Sql::ControlLinksHold()), u"0"_s);
        rows.clear();
        QVERIFY(c.ForEachRegisterRow(take, Catalogue::RegisterPart::Current));
        QCOMPARE(rows, current);
        const QDateTime produced(QDate(2025, 6, 1), QTime(9, 30));
        for (const bool withObsolete : {false, true}) {
            QBuffer page;
            page.open(QIODevice::WriteOnly);
            const auto source = [&](const std::function<void(const QStringList&)>& each) {
                return c.ForEachRegisterRow(
                    each,
                    withObsolete ? Catalogue::RegisterPart::CurrentThenObsolete : Catalogue::RegisterPart::Current, 2);
            };
            QVERIFY(WriteMasterListPage(page, source, u"cadrelle.db"_s, produced, withObsolete));
            QCOMPARE(page.data(), BuildMasterListPage(all, u"cadrelle.db"_s, produced, withObsolete).toUtf8());
        }
        // A register that cannot be read says why, as a query always has, and says it was not all read.
        DirectExec(folder.dbPath(), u"ALTER TABLE tblcategory RENAME TO tblgone"_s);
        QVERIFY(!c.ForEachRegisterRow(take));
        QCOMPARE(ui.prompts(), QStringList {u"no such table: tblcategory"_s});
    }
};

QTEST_MAIN(TestRegister)
#include "tst_register.moc"
