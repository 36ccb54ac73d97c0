// Document control on a copy of the delivered catalogue: the upgrade that adds its tables, each
// transition with its history row, the archive of approved copies and its refusals, review dates,
// hidden obsolete documents, and catalogues that cannot take control data.

#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/OrdinaryUserWrites.h"
#include "support/TestFolder.h"
#include <QCryptographicHash>
#include <QTest>

using namespace Qt::StringLiterals;
using Write = Catalogue::Write;
using Status = DocumentControl::Status;

namespace {

QStringList actions(const std::vector<HistoryEntry>& history)
{
    QStringList list;
    for (const HistoryEntry& entry : history)
        list << entry.action + '|' + entry.oldValue + '|' + entry.newValue.left(12);
    return list;
}

Document qp01(const TestFolder& folder)
{
    const QString key = DirectValue(folder.dbPath(), u"SELECT dockey FROM tbldocument WHERE docref='QP01'"_s);
    return {key, u"QP01"_s, u"Control of Documents"_s, u"4.2.3"_s, folder.filePath(u"documents/QP01.rtf"_s)};
}

} // namespace

class TestDocumentControl : public QObject
{
    Q_OBJECT

private slots:
    // The three first tables come through byte for byte; a second open changes nothing at all; a
    // catalogue from a newer program is only read.
    void upgradeAddsTablesAndLeavesTheRestAsItWas()
    {
        TestFolder folder;
        ScriptedUi ui;
        QList<QList<QStringList>> before;
        for (const char* table : {"tblcategory", "tbldocument", "tblinit"})
            before << DirectQuery(folder.dbPath(), u"SELECT *, hex(rowid) FROM "_s + table);
        folder.openCatalogue();
        QVERIFY(Catalogue::Current().ControlAvailable());
        Catalogue::Close();
        QCOMPARE(DirectValue(folder.dbPath(), u"PRAGMA user_version"_s), u"4"_s);
        QList<QList<QStringList>> after;
        for (const char* table : {"tblcategory", "tbldocument", "tblinit"})
            after << DirectQuery(folder.dbPath(), u"SELECT *, hex(rowid) FROM "_s + table);
        QCOMPARE(after, before);
        const QByteArray upgraded = readAll(folder.dbPath());
        folder.openCatalogue();
        Catalogue::Close();
        QCOMPARE(readAll(folder.dbPath()), upgraded);

        DirectExec(folder.dbPath(), u"PRAGMA user_version=7"_s);
        folder.openCatalogue();
        QCOMPARE(ui.prompts(),
                 QStringList {"'" + folder.dbPath()
                              + "' was written by a newer version of Cadrelle. It is opened read-only: "
                                "changes to it are refused."});
        QCOMPARE(Catalogue::Current().Withdraw(qp01(folder).key, u"old"_s), Write::Refused);
        QCOMPARE(ui.prompts().size(), 2); // the engine's refusal, once
    }

    // A catalogue of the version before control rows named their documents' rows gets the links;
    // the rows a removal once left behind, whose documents are gone, go.
    void upgradeLinksControlRowsToTheirDocuments()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        Catalogue::Close();
        DirectExec(folder.dbPath(),
                   u"DROP TRIGGER tblcontrol_link_insert; DROP TRIGGER tblcontrol_link_update; "
                   "DROP INDEX idxcontroldoc; ALTER TABLE tblcontrol DROP COLUMN docrowid; "
                   "INSERT INTO tblcontrol (dockey,status) SELECT dockey,'Draft' FROM tbldocument WHERE docref='QP01'; "
                   "INSERT INTO tblcontrol (dockey,status) VALUES ('removed','Draft'); PRAGMA user_version=3"_s);
        folder.openCatalogue();
        Catalogue::Close();
        QCOMPARE(DirectValue(folder.dbPath(), u"PRAGMA user_version"_s), u"4"_s);
        QCOMPARE(DirectQuery(folder.dbPath(),
                             u"SELECT c.status FROM tblcontrol c JOIN tbldocument d "
                             "ON d.rowid=c.docrowid AND d.dockey=c.dockey"_s),
                 QList<QStringList> {{u"Draft"_s}});
        QCOMPARE(DirectValue(folder.dbPath(), u"SELECT count(*) FROM tblcontrol"_s), u"1"_s);
    }

    // Draft, approved with an archived read-only copy and its checksum, reviewed, revised,
    // withdrawn: each step recorded in the history, which outlives the record and cannot be changed.
    void transitionsAreRecorded()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        Document doc = qp01(folder);
        const QDate on(2024, 1, 31);
        QCOMPARE(c.NewRevision(doc.key, u"A"_s), Write::Done);
        QCOMPARE(c.Approve(doc, u"Anna"_s, on), Write::Refused); // no file yet
        const QByteArray text = "{\\rtf1 the procedure}";
        folder.writeFile(u"documents/QP01.rtf"_s, text);
        QCOMPARE(c.Approve(doc, u"Anna"_s, on), Write::Done);
        const DocumentControl approved = c.Control(doc.key);
        QCOMPARE(approved.status, Status::Approved);
        QCOMPARE(approved.approvedBy + '|' + approved.approvedOn.toString(Qt::ISODate), u"Anna|2024-01-31"_s);
        QCOMPARE(approved.nextReview, QDate(2025, 1, 31)); // the category's twelve months
        QCOMPARE(approved.approvedHash, QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
        const QString copy = folder.filePath(u"archive/QP01/QP01 rev A.rtf"_s);
        QCOMPARE(readAll(copy), text);
        QVERIFY(!(QFile::permissions(copy) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
        QCOMPARE(c.Approve(doc, u"Anna"_s, on), Write::Refused); // not a draft
        QCOMPARE(c.ReviewDone(doc.key, u"Ben"_s, QDate(2024, 2, 29)), Write::Done);
        QCOMPARE(c.Control(doc.key).nextReview, QDate(2025, 2, 28));
        QCOMPARE(c.NewRevision(doc.key, u"B"_s), Write::Done);
        QCOMPARE(c.Control(doc.key).approvedBy, QString());
        QVERIFY(QFile::exists(copy));
        QCOMPARE(c.Withdraw(doc.key, u"merged into QP02"_s), Write::Done);
        const QString procedures
            = DirectValue(folder.dbPath(), u"SELECT catkey FROM tblcategory WHERE catname='Procedures'"_s);
        QCOMPARE(c.CategoryDocuments(procedures).front().ref, u"QP02"_s); // obsolete: left out
        c.SetIncludeObsolete(true);
        QCOMPARE(c.CategoryDocuments(procedures).front().status, Status::Obsolete);
        QCOMPARE(c.RemoveDocument(doc.key), Write::Done);
        QCOMPARE(actions(c.History(doc.key)),
                 QStringList({"New revision||A", "Approved||rev A by Ann", "Reviewed|2025-01-31|by Ben on 20",
                              "New revision|A|B", "Withdrawn|Draft|merged into ", "Removed||"}));
        QCOMPARE(ui.prompts(),
                 QStringList({"QP01 was not approved: its file '" + doc.path
                                  + "' is missing or cannot be read, so no approved copy can be kept.",
                              "QP01 was not approved: only a draft can be approved. Start a new "
                              "revision first."}));
        QVERIFY(!c.Connection().Execute(u"DELETE FROM tblhistory"_s));
        QVERIFY(!c.Connection().Execute(u"UPDATE tblhistory SET who='x'"_s));
        QCOMPARE(ui.prompts().mid(2), QStringList(2, u"The history cannot be changed"_s));
    }

    // An archived revision is never overwritten; an archive that cannot be written refuses the
    // approval, and nothing is recorded.
    void archiveRefusalsRecordNothing()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        const Document doc = qp01(folder);
        folder.writeFile(u"documents/QP01.rtf"_s, "new text");
        folder.writeFile(u"archive/QP01/QP01 rev A.rtf"_s, "approved text");
        c.NewRevision(doc.key, u"A"_s);
        const DocumentControl draft = c.Control(doc.key);
        QCOMPARE(c.Approve(doc, u"Anna"_s, QDate(2024, 5, 1)), Write::Refused);
        QCOMPARE(readAll(folder.filePath(u"archive/QP01/QP01 rev A.rtf"_s)), QByteArray("approved text"));
        c.NewRevision(doc.key, u"B"_s);
        QDir(folder.filePath(u"archive"_s)).removeRecursively();
        folder.writeFile(u"archive"_s, "a file where the folder should be");
        QCOMPARE(c.Approve(doc, u"Anna"_s, QDate(2024, 5, 1)), Write::Refused);
        QCOMPARE(c.Control(doc.key).status, Status::Draft);
        QCOMPARE(c.Control(doc.key).approvedHash, draft.approvedHash);
        QCOMPARE(ui.prompts().size(), 2);
        QVERIFY(ui.prompts()[1].startsWith(u"QP01 was not approved: the archive cannot be written"_s));
    }

    // Review dates across month ends and leap years; the due list takes the past and the next days.
    void reviewDatesAndTheDueList()
    {
        QCOMPARE(DocumentControl::MonthsAfter(QDate(2023, 1, 31), 1), QDate(2023, 2, 28));
        QCOMPARE(DocumentControl::MonthsAfter(QDate(2024, 1, 31), 1), QDate(2024, 2, 29));
        QCOMPARE(DocumentControl::MonthsAfter(QDate(2024, 2, 29), 12), QDate(2025, 2, 28));
        QCOMPARE(DocumentControl::MonthsAfter(QDate(2024, 8, 31), 6), QDate(2025, 2, 28));
        for (const auto& [from, to] :
             {std::pair {"", "1"}, {"A", "B"}, {"3.1", "3.2"}, {"Z", "Z1"}, {"rev 9", "rev 10"}})
            QCOMPARE(DocumentControl::NextRevision(QString::fromLatin1(from)), QString::fromLatin1(to));
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QDate today(2024, 12, 31);
        for (const auto& [ref, next, status] : {std::tuple {"QP01", "2024-01-01", "Approved"},
                                                {"QP02", "2025-01-30", "Draft"},
                                                {"QP03", "2025-01-31", "Approved"},
                                                {"QP04", "2023-06-01", "Obsolete"}})
            DirectExec(folder.dbPath(),
                       u"INSERT INTO tblcontrol (dockey,status,nextreview) SELECT dockey,'%1','%2' "
                       "FROM tbldocument WHERE docref='%3'"_s.arg(status, next, ref));
        QStringList due;
        for (const Document& d : Catalogue::Current().DueForReview(today, 30))
            due << d.ref;
        QCOMPARE(due, QStringList({"QP01", "QP02"}));
        // The overdue count is of documents: one removed, alone or with its category, no longer counts.
        DirectExec(folder.dbPath(), u"UPDATE tblcontrol SET nextreview='2024-02-01' WHERE status='Draft'"_s);
        QCOMPARE(Catalogue::Current().OverdueCount(today), 2);
        const auto keyOf = [&](const char* column, const char* ref) {
            return DirectValue(
                folder.dbPath(),
                u"SELECT %1 FROM tbldocument WHERE docref='%2'"_s.arg(QLatin1String(column), QLatin1String(ref)));
        };
        QCOMPARE(Catalogue::Current().RemoveDocument(keyOf("dockey", "QP01")), Catalogue::Write::Done);
        QCOMPARE(Catalogue::Current().OverdueCount(today), 1);
        QCOMPARE(Catalogue::Current().DeleteCategory(keyOf("catkey", "QP02")), Catalogue::Write::Done);
        QCOMPARE(Catalogue::Current().OverdueCount(today), 0);
    }

    // A catalogue that could not be prepared (read-only when opened) refuses control changes with
    // one message, and reads as before.
    void readOnlyCatalogueRefusesControlOnce()
    {
        TestFolder folder;
        ScriptedUi ui;
        QFile::setPermissions(folder.dbPath(), QFile::ReadOwner);
        OrdinaryUserWrites ordinary;
        folder.openCatalogue();
        Catalogue& c = Catalogue::Current();
        QVERIFY(!c.ControlAvailable());
        QCOMPARE(c.AllDocuments().size(), size_t(29));
        QCOMPARE(c.Withdraw(qp01(folder).key, u"x"_s), Write::Refused);
        QCOMPARE(ui.prompts().size(), 1);
        QVERIFY(ui.prompts()[0].contains(u"could not be prepared for document control"_s));
        QCOMPARE(DirectValue(folder.dbPath(), u"PRAGMA user_version"_s), u"0"_s);
    }
};

QTEST_MAIN(TestDocumentControl)
#include "tst_document_control.moc"
