// The program against catalogues, folders, settings and texts in bad states: the user is told what
// went wrong in the engine's words, every window that can open does, nothing crashes or hangs, and
// no byte is lost or changed by a failure.

#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "mainwindow/MainWindowFixture.h"
#include "platform/ShellOpenCode.h"
#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include "support/FileSnapshot.h"
#include "support/OrdinaryUserWrites.h"
#include "support/ProgramRun.h"
#include "support/ShownBoxes.h"
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSettings>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kSeed = 20240508; // fixed, so a failing case can be run again

// The pieces the generated texts are made of (these hold no space): what breaks hand-made
// statements, scripts of every kind, and below every control character but NUL.
const char* const kWords
    = "' '' \" \\ \\' % _ ; -- /* */ # '); NULL X'00' char(0) ?1 :name @x $y || ` [tbl] BEGIN COMMIT 4.2.1,5.4.1 "
      "C:\\docs\\QP01.doc Qualitätshandbuch Ελληνικά Русский 品質マニュアル 𝔘𝔫𝔦 품질 עברית العربية हिन्दी "
      "e\u0301 \u200D \u2028 \uFEFF ‘’“” 🙂 👩‍👩‍👧 🇩🇪";

const QStringList kPieces = [] {
    QStringList p = QString::fromUtf8(kWords).split(u' ');
    p += {" ", "' OR '1'='1", "DROP TABLE tbldocument", "DELETE FROM tblcategory", "UPDATE tblinit SET init=0"};
    for (char16_t c = 1; c < 0xA0; c = c == 0x1F ? 0x7F : c + 1)
        p << QString(QChar(c));
    return p;
}();

// Mostly short texts; a few empty ones; a few of up to 100,000 characters.
QString randomText(QRandomGenerator& random)
{
    const int kind = random.bounded(100);
    const int target = kind < 3 ? 0 : kind < 96 ? random.bounded(1, 80) : random.bounded(1000, 100001);
    QString text;
    while (text.size() < target)
        text += random.bounded(4) ? kPieces[random.bounded(kPieces.size())] : QChar(random.bounded(0x20, 0x7F));
    return text;
}

QList<QStringList> allRows(const QString& db)
{
    QList<QStringList> rows;
    for (const char* table : {"tbldocument", "tblcategory", "tblinit"})
        rows += DirectQuery(db, u"SELECT * FROM %1 ORDER BY rowid"_s.arg(table));
    return rows;
}

} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT

private slots:
    void unusableCataloguesStopStartUpAndStayAsTheyWere_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QStringList>("told"); // %1: the catalogue's path
        TestFolder real;
        const QByteArray whole = readAll(real.dbPath());
        const QString advice = u"\r\n\r\nRestore a backup copy of the catalogue to this place, or start afresh with a "
                               "new catalogue made by the catalogue tool."_s;
        const QStringList noInit {
            "0|Cadrelle|SPLASH1 - The catalogue has lost its first-run state: the table tblinit is empty"};
        const auto refused
            = [&](const QString& why) { return QStringList {"16|Cadrelle|Cannot open '%1'\r\n" + why + advice}; };
        const QStringList notADatabase = refused(u"file is not a database"_s);
        const QStringList malformed = refused(u"database disk image is malformed"_s);
        QTest::newRow("missing") << QByteArray() << refused(u"unable to open database file"_s);
        QTest::newRow("text file") << QByteArray("Quality manual, draft 3.\r\n").repeated(300) << notADatabase;
        QTest::newRow("empty") << QByteArray("") << notADatabase;
        QTest::newRow("header cut") << whole.left(60) << malformed;
        QTest::newRow("last page missing") << whole.chopped(4096) << malformed;
        DirectExec(real.dbPath(), u"DELETE FROM tblinit"_s);
        QTest::newRow("no row in tblinit") << readAll(real.dbPath()) << noInit;
        DirectExec(real.dbPath(), u"DROP TABLE tblinit"_s);
        QTest::newRow("no tblinit") << readAll(real.dbPath())
                                    << QStringList {"16|Cadrelle|'%1' is not a Cadrelle catalogue: it has no table "
                                                    "tblinit."
                                                    + advice};
    }

    // Continue tells what is wrong, the engine's words first, and leaves the splash up; nothing is
    // written, not even a journal. Continue goes through once the catalogue is sound.
    void unusableCataloguesStopStartUpAndStayAsTheyWere()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, told);
        ProgramRun run;
        if (content.isNull())
            QVERIFY(QFile::remove(run.folder.dbPath()));
        else
            run.folder.writeFile(u"cadrelle.db"_s, content);
        const QStringList files = listing(run.folder.path());
        QVERIFY(!run.start());
        QCOMPARE(boxes(run.ui), told.replaceInStrings(u"%1"_s, run.folder.dbPath()));
        QVERIFY(run.splash.isVisible());
        QCOMPARE(readAll(run.folder.dbPath()), content);
        QCOMPARE(listing(run.folder.path()), files);
        run.folder.writeFile(u"cadrelle.db"_s, readAll(CADRELLE_TEST_CATALOGUE));
        run.ui.boxes.clear();
        QVERIFY(run.start());
        QVERIFY(run.ui.boxes.isEmpty() && !run.splash.isVisible());
    }

    // Deeper than the engine opens, though the system allows it; the desktop cannot find a document
    // of 4,000 characters either.
    void tooDeepAPathIsToldWithItsLength()
    {
        QCOMPARE(ShellOpenCode('/' + QString(3999, u'x')), ShellCode::PathNotFound);
        TestFolder folder;
        ScriptedUi ui;
        QString deep = folder.path() + (u"/"_s + QString(200, u'd')).repeated(19);
        QVERIFY(QDir().mkpath(deep));
        deep += u"/cadrelle.db"_s;
        QVERIFY(QFile::copy(folder.dbPath(), deep));
        QVERIFY(!sqlDB().OpenDatabase(deep, false));
        QCOMPARE(boxes(ui),
                 QStringList {u"16|Cadrelle|Cannot open '%1'\r\nunable to open database file (the path is %2 bytes "
                              "long; at most %3 can be opened)"_s.arg(deep)
                                  .arg(deep.toUtf8().size())
                                  .arg(sqlite3_vfs_find(nullptr)->mxPathname)});
        QCOMPARE(readAll(deep), readAll(folder.dbPath()));
    }

    // Another program is in the middle of a change: ours waits for it, then is refused with the
    // engine's text and undone whole, and both programs' data come out whole. Released while ours
    // waits, the same change goes through.
    void writeWaitsForAnotherProgram()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString dockey = DirectValue(folder.dbPath(), u"SELECT dockey FROM tbldocument"_s);
        const QString title = "SELECT doctitle FROM tbldocument WHERE dockey='" + dockey + "'";
        const QStringList change {Sql::UpdateDocument(dockey, "R", "Mine", "P", "I"), Sql::DeleteDocument(GetGUID())};
        const QString before = DirectValue(folder.dbPath(), title);
        folder.openCatalogue();
        QProcess other;
        other.start(u"sqlite3"_s, {u"-batch"_s, folder.dbPath()});
        other.write(".timeout 5000\nBEGIN IMMEDIATE; UPDATE tblinit SET init=42; SELECT 'holding';\n");
        QVERIFY(other.waitForReadyRead(5000));
        QCOMPARE(other.readAll(), QByteArray("holding\n"));
        QVERIFY(Catalogue::Current().Connection().Execute(Sql::SelectCategories())); // reading goes on
        QVERIFY(!Catalogue::Current().Connection().ExecuteAll(change));
        QCOMPARE(boxes(ui), QStringList {u"16|Cadrelle|database is locked"_s});
        other.write("COMMIT; BEGIN IMMEDIATE; SELECT 'again';\n.shell sleep 1\nCOMMIT;\n");
        QVERIFY(other.waitForReadyRead(5000));
        QCOMPARE(DirectValue(folder.dbPath(), u"SELECT init FROM tblinit"_s), u"42"_s);
        QCOMPARE(DirectValue(folder.dbPath(), title), before);
        QVERIFY(Catalogue::Current().Connection().ExecuteAll(change));
        QCOMPARE(DirectValue(folder.dbPath(), title), u"Mine"_s);
        other.closeWriteChannel();
        QVERIFY(other.waitForFinished());
        QCOMPARE(ui.boxes.size(), 1);
    }

    // A read-only catalogue in a folder the user may write: the program starts and shows it; writes are refused
    // in the engine's words, and no byte changes. (A program folder the user may not write is an installed copy:
    // the first-run tests show its data going to the data folder.)
    void readOnlyCatalogueStartsAndRefusesWrites()
    {
        ProgramRun p;
        p.folder.writeFile(u"documents/QM01.rtf"_s, "{\\rtf1 manual}");
        const QByteArray content = readAll(p.folder.dbPath());
        const QStringList files = listing(p.folder.path());
        const QString target = p.folder.dbPath();
        const auto mode = QFile::permissions(target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(target, mode); });
        OrdinaryUserWrites ordinary;
        QVERIFY2(!QFile(target).open(QIODevice::ReadWrite),
                 "This process writes through file modes: it runs as root and cannot give up CAP_DAC_OVERRIDE, "
                 "so it cannot meet the refusals an ordinary user meets");
        frmMain* w = p.start();
        QVERIFY(w && w->lvModel->rowCount() > 0);
        p.ui.inputAnswers = {u"Supplier Audits"_s, u"Renamed"_s};
        for (const char* key : {"NEWCAT", "RENAMECAT", "DELETECAT"}) // on the first category; the box answers Yes
            w->Button(QString::fromLatin1(key))->trigger();
        const QString ro = u"16|Cadrelle|attempt to write a readonly database"_s;
        // First the refused first-run fix-up, told once (it runs again at the next start).
        QCOMPARE(boxes(p.ui),
                 (QStringList {ro, ro, ro,
                               u"276|Delete Category|Deleting a category will also delete all related document "
                               "records.(Not the files)\r\nDo you want to delete category - QSM?"_s,
                               ro}));
        QCOMPARE(w->tvMain->topLevelItemCount(), 10);
        QCOMPARE(w->tvMain->topLevelItem(0)->text(0), u"QSM"_s);
        ProgramRun::close();
        QCOMPARE(readAll(p.folder.dbPath()), content);
        QCOMPARE(listing(p.folder.path()), files);
    }

    // Without its documents, help and temp folders the program starts, its first run done with every
    // path kept; an unreadable settings store gives the design widths, and closing, which saves them,
    // ends cleanly. (The shell and the report tests show what needs a missing folder says so.)
    void startsWithoutItsFoldersOrReadableSettings()
    {
        ProgramRun p;
        for (const char* name : {"documents", "help", "temp"})
            QVERIFY(QDir(p.folder.filePath(QString::fromLatin1(name))).removeRecursively());
        const QString store = QSettings(u"Cadrelle"_s, u"Cadrelle"_s).fileName();
        QVERIFY(store.startsWith(p.folder.path()));
        QVERIFY(QDir().mkpath(store)); // a folder: unreadable whoever runs the test
        frmMain* w = p.start();
        QVERIFY(w);
        QCOMPARE(p.sql(u"SELECT init || ' ' || docpath FROM tblinit, tbldocument WHERE docref='QP01'"_s),
                 u"1 QP01.rtf"_s);
        QList<double> widths;
        for (int column = 1; column <= 4; ++column)
            widths << w->lvMain->ColumnWidthTwips(column);
        QCOMPARE(widths, (QList<double> {1500, 1000, 1440, 1000}));
        ProgramRun::close();
        QVERIFY(p.ui.boxes.isEmpty());
    }

    // Categories without a name, a record of nulls, a thousand categories, a title of 100,000
    // characters: every window opens and shows what there is, and the long title is stored back whole.
    void oddCatalogueContentsOpenEveryWindow()
    {
        MainWindowFixture f(
            {"INSERT INTO tblcategory VALUES('EMPTY-NAME','',0), ('NULL-NAME',NULL,NULL);"
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
             "INSERT INTO tblcategory SELECT 'MANY-'||i, 'Category '||i, 100+i FROM n;"
             "INSERT INTO tbldocument SELECT 'NULL-DOC',NULL,NULL,NULL,catkey,NULL FROM tblcategory "
             "WHERE catname='QSM';"
             "UPDATE tbldocument SET doctitle=replace(hex(zeroblob(50000)),'0','T')||docref WHERE docref='QM01'"});
        const QString longTitle = QString(100000, u'T') + u"QM01"_s;
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 1012);
        f.clickCategory(u"QSM"_s);
        QStringList titles;
        for (int row = 0; row < f.w->lvModel->rowCount(); ++row)
            titles << f.w->lvModel->SubItemText(row, 2);
        QVERIFY(titles.contains(longTitle) && titles.contains(QString()));
        qsizetype shown = -1, arranged = -1;
        f.ui.modalHandlers.push_back([&](QDialog& d) {
            shown = dynamic_cast<frmEditDocument&>(d).txtTitle->text().size();
            return dynamic_cast<frmEditDocument&>(d).cmdOK->click(), d.result();
        });
        f.ui.modalHandlers.push_back(
            [&](QDialog& d) { return arranged = dynamic_cast<frmArrangeCats&>(d).List1->count(), 0; });
        f.w->lvMain->SelectRow(titles.indexOf(longTitle));
        f.press("EDIT");
        f.press("MOVECAT");
        QCOMPARE(shown, longTitle.size());
        QCOMPARE(arranged, 1012);
        QCOMPARE(f.sql(u"SELECT doctitle FROM tbldocument WHERE docref='QM01'"_s), longTitle);
        f.clickCategory(u"QSM"_s);
        f.w->mnuReportHTML->trigger();
        QCOMPARE(f.ui.shellOpened.size(), 1);
        QVERIFY(readAll(f.ui.shellOpened[0]).contains(longTitle.toUtf8()));
        QCOMPARE(f.ui.prompts(), QStringList());
    }

    // Each of thousands of texts goes into every column of a document (the keys behind a unique
    // prefix), is read back through the query the document list uses, and goes in as a category
    // name, added and renamed: stored exactly as typed, touching no other row.
    void everyTextIsStoredAsTypedAndTouchesNoOtherRow()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlDB& db = Catalogue::Current().Connection();
        QVERIFY(db.Execute(u"PRAGMA synchronous=OFF"_s)); // thousands of writes in a second
        const QList<QStringList> before = allRows(folder.dbPath());
        QRandomGenerator random(kSeed);
        for (int i = 0; i < 3000; ++i) {
            const QString text = randomText(random), dockey = u"D%1-"_s.arg(i) + text;
            const QString catkey = GetGUID(), name = StripQuotes(text), rename = StripQuotes(randomText(random));
            const QByteArray failure = u"case %1 of seed %2"_s.arg(i).arg(kSeed).toUtf8();
            const QString stored = "SELECT hex(catname) FROM tblcategory WHERE catkey='" + catkey + "'";
            QVERIFY2(db.Execute(Sql::InsertCategory(catkey, name)), failure);
            QVERIFY2(DirectValue(folder.dbPath(), stored) == name.toUtf8().toHex().toUpper(), failure);
            QVERIFY2(db.Execute(Sql::InsertDocument(dockey, text, text, text, catkey, text)), failure);
            sqlRecordset rs;
            rs.OpenRecordset(Sql::SelectCategoryDocuments(catkey), db.db());
            QVERIFY2(!rs.AtEOF() && rs.Value(u"dockey"_s).toText() == dockey, failure);
            for (const char* column : {"docref", "doctitle", "docpath", "isoref"})
                QVERIFY2(rs.Value(QString::fromLatin1(column)) == Variant(text), failure);
            rs.MoveNext();
            QVERIFY2(rs.AtEOF() && db.Execute(Sql::DeleteDocument(dockey)), failure);
            QVERIFY2(db.Execute(Sql::RenameCategory(catkey, rename)), failure);
            QVERIFY2(DirectValue(folder.dbPath(), stored) == rename.toUtf8().toHex().toUpper(), failure);
            QVERIFY2(db.Execute(Sql::DeleteCategory(catkey)), failure);
        }
        QCOMPARE(allRows(folder.dbPath()), before);

        // The engine stops reading at a NUL: such a text is refused whole, never cut short, and a
        // statement that goes on after one does not hang the program.
        const QString nul = u"before"_s + QChar(u'\0') + u"after"_s;
        QVERIFY(!Catalogue::Current().Connection().Execute(Sql::InsertDocument("N-" + nul, nul, nul, nul, nul, nul)));
        QVERIFY(!Catalogue::Current().Connection().Execute("UPDATE tblinit SET init=7;" + QString(QChar(u'\0'))
                                                           + "UPDATE tblinit SET init=8"));
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCategoryDocuments(nul), Catalogue::Current().Connection().db());
        const QString told = u"|Cadrelle|The statement holds a NUL character"_s;
        QCOMPARE(boxes(ui), (QStringList {"16" + told, "16" + told, "0" + told})); // the recordset's own style
        QCOMPARE(allRows(folder.dbPath()), before);
    }
};

QTEST_MAIN(TestRobustness)
#include "tst_robustness.moc"
