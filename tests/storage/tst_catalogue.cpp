// The catalogue service on a copy of the delivered catalogue: what it reads, what each write does
// when its record or category is there or gone, transactions, legacy text, and the backup.

#include "platform/AppError.h"
#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/TestFolder.h"
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using Write = Catalogue::Write;

namespace {

QStringList refs(const std::vector<Document>& documents)
{
    QStringList list;
    for (const Document& d : documents)
        list << d.ref;
    return list;
}

struct Open
{
    TestFolder folder;
    ScriptedUi ui;
    Catalogue& c;
    explicit Open(const QStringList& prepare = {})
        : c((prepareAll(folder, prepare), folder.openCatalogue(), Catalogue::Current()))
    {
    }
    static void prepareAll(const TestFolder& folder, const QStringList& prepare)
    {
        for (const QString& sql : prepare)
            DirectExec(folder.dbPath(), sql);
    }
    QString sql(const QString& query) const { return DirectValue(folder.dbPath(), query); }
    QString key(const QString& catname) const
    {
        return sql("SELECT catkey FROM tblcategory WHERE catname='" + catname + "'");
    }
    QString doc(const QString& docref) const
    {
        return sql("SELECT dockey FROM tbldocument WHERE docref='" + docref + "'");
    }
};

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    // Categories in their order; documents by reference, with every field, by category and clause.
    void readsInTheWindowsOrder()
    {
        Open o({u"UPDATE tbldocument SET isoref=NULL WHERE docref='F02'"_s});
        QCOMPARE(o.c.Categories().front().name, u"QSM"_s);
        const std::vector<Document> forms = o.c.CategoryDocuments(o.key(u"Forms"_s));
        QCOMPARE(refs(forms), (QStringList {"F01", "F02", "F03", "F04", "F05"}));
        QCOMPARE(forms[1].clauses, QString());
        QCOMPARE(forms[0].key, o.doc(u"F01"_s));
        QCOMPARE(refs(o.c.ClauseDocuments(u"7.5"_s)), QStringList {"WI01"});
        QCOMPARE(o.c.ClauseDocuments(u"Sections"_s).size(), size_t(28)); // all but the one without clauses
        const std::vector<Document> all = o.c.AllDocuments();
        QCOMPARE(all.size(), size_t(29));
        QCOMPARE(all.front().ref + '|' + all.front().category, u"CA01|Corrective Action"_s);
        QVERIFY(o.ui.boxes.isEmpty());
    }

    // Each write tells whether it changed what it meant to: Unchanged when its record or category is
    // gone (another program removed it), nothing stored under a missing category.
    void writesSayWhetherTheyChangedAnything()
    {
        Open o;
        const QString forms = o.key(u"Forms"_s), f01 = o.doc(u"F01"_s);
        Document added {QString(), u"F06"_s, u"New form"_s, u"7.4"_s, u"/f/F06.rtf"_s};
        QCOMPARE(o.c.AddDocument(forms, added), Write::Done);
        QCOMPARE(o.sql("SELECT docref||catkey FROM tbldocument WHERE dockey='" + added.key + "'"), "F06" + forms);
        added.title = u"Renamed form"_s;
        QCOMPARE(o.c.UpdateDocument(added), Write::Done);
        QCOMPARE(o.c.RefileDocument(f01, o.key(u"QSM"_s)), Write::Done);
        QCOMPARE(o.c.RefileDocument(u"not-a-key"_s, forms), Write::Unchanged);
        QCOMPARE(o.c.RefileDocument(f01, u"gone"_s), Write::Unchanged);
        QCOMPARE(o.c.RemoveDocument(added.key), Write::Done);
        QCOMPARE(o.c.RemoveDocument(added.key), Write::Unchanged);
        QCOMPARE(o.c.UpdateDocument({QString(), u"X"_s, u"T"_s, QString(), u"/p"_s}), Write::Unchanged);
        QCOMPARE(o.c.RenameCategory(u"gone"_s, u"X"_s), Write::Unchanged);
        Document orphan {QString(), u"Z1"_s, u"T"_s, QString(), u"/p"_s};
        QCOMPARE(o.c.AddDocument(u"gone"_s, orphan), Write::Unchanged);
        QCOMPARE(o.sql(u"SELECT count(*) FROM tbldocument WHERE catkey NOT IN (SELECT catkey FROM tblcategory)"_s),
                 u"0"_s);
        QCOMPARE(o.c.CategoryDocuments(o.key(u"QSM"_s)).size(), size_t(2));
        QVERIFY(o.ui.boxes.isEmpty());
    }

    // A category and its records go together or not at all; a new one goes last.
    void categoryChangesAreAllOrNothing()
    {
        Open o({u"CREATE TRIGGER keep BEFORE DELETE ON tblcategory BEGIN SELECT RAISE(ABORT, 'in use'); END"_s});
        const QString forms = o.key(u"Forms"_s);
        QCOMPARE(o.c.DeleteCategory(forms), Write::Refused);
        QCOMPARE(o.ui.prompts(), QStringList {u"in use"_s});
        QCOMPARE(o.sql(u"SELECT count(*) FROM tbldocument"_s), u"29"_s);
        DirectExec(o.folder.dbPath(), u"DROP TRIGGER keep"_s);
        QCOMPARE(o.c.DeleteCategory(forms), Write::Done);
        QCOMPARE(o.sql(u"SELECT count(*) FROM tbldocument"_s), u"24"_s);
        QCOMPARE(o.c.Categories().back().key, o.c.AddCategory(u"Audits"_s));
    }

    // Text an older tool stored in Windows-1252 reads as written and is written back as UTF-8.
    void eightBitTextReadsAsWindows1252()
    {
        Open o({u"UPDATE tbldocument SET doctitle=CAST(X'5175616C6974E4747368616E64627563682028A7342E322980' AS TEXT) "
                "WHERE docref='QM01'"_s});
        Document qm01 = o.c.CategoryDocuments(o.key(u"QSM"_s)).front();
        QCOMPARE(qm01.title, u"Qualitätshandbuch (§4.2)€"_s);
        QCOMPARE(o.c.UpdateDocument(qm01), Write::Done);
        QCOMPARE(o.sql(u"SELECT hex(doctitle) FROM tbldocument WHERE docref='QM01'"_s),
                 QString::fromLatin1(qm01.title.toUtf8().toHex().toUpper()));
    }

    // The copy is the whole catalogue or nothing; never the catalogue or its journal files; what an
    // interrupted copy left beside the target goes with the next copy there.
    void backupIsWholeOrNothing()
    {
        Open o;
        QTemporaryDir away;
        const QString target = away.filePath(u"copy.db"_s);
        for (const QString& name : {u".copy.db.AbC123"_s, u".copy.db.x1Y2z3-journal"_s, u".copy.db.keep"_s})
            TestFolder::write(away.filePath(name));
        TestFolder::write(target, "last month's copy");
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(o.folder.dbPath().toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        QVERIFY_THROWS_EXCEPTION(AppError, o.c.Backup(target)); // locked: waits, then gives up
        QCOMPARE(readAll(target), QByteArray("last month's copy"));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(listing(away.path()), (QStringList {".copy.db.keep", "copy.db"}));
        o.c.Backup(target);
        for (const QString table : {"tblcategory", "tbldocument", "tblinit"})
            QCOMPARE(DirectQuery(target, "SELECT * FROM " + table + " ORDER BY 1"),
                     DirectQuery(o.folder.dbPath(), "SELECT * FROM " + table + " ORDER BY 1"));
        QFile::link(o.folder.dbPath(), o.folder.filePath(u"link.db"_s));
        const QByteArray before = readAll(o.folder.dbPath());
        for (const QString& self : {o.folder.dbPath(), o.folder.filePath(u"link.db"_s)})
            QVERIFY(o.c.IsCatalogueFile(self));
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            QVERIFY(o.c.IsCatalogueWorkFile(o.folder.dbPath() + QLatin1String(suffix)));
            QVERIFY_THROWS_EXCEPTION(AppError, o.c.Backup(o.folder.dbPath() + QLatin1String(suffix)));
        }
        QVERIFY(!o.c.IsCatalogueWorkFile(away.filePath(u"cadrelle.db-journal"_s)));
        QCOMPARE(readAll(o.folder.dbPath()), before);
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
