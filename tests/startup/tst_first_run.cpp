// Continue on a real copy of the delivered catalogue: the first-run fix-up of document paths, the
// flag that keeps it from running twice, and the failures the user is told about, in order.

#include "SplashTestHelpers.h"
#include "platform/ProgramFolder.h"
#include "storage/Catalogue.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

namespace {

QStringList docpaths(const TestFolder& folder, QStringList docrefs)
{
    for (QString& ref : docrefs)
        ref = DirectValue(folder.dbPath(),
                          "SELECT docpath FROM tbldocument WHERE docref='" + ref.replace("'", "''") + "'");
    return docrefs;
}

int shownMainWindows()
{
    int shown = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        shown += qobject_cast<frmMain*>(widget) && widget->isVisible();
    return shown;
}

// Every box shown, as "style|title|prompt".
QStringList boxes(const ScriptedUi& ui)
{
    QStringList shown;
    for (const ShownBox& box : ui.boxes)
        shown << QStringLiteral("%1|%2|%3").arg(box.style).arg(box.title, box.prompt);
    return shown;
}

// A start that went through: nothing told, the first run done, the main window up, the splash gone.
void verifyStarted(const SplashRun& run)
{
    QCOMPARE(run.ui.prompts(), QStringList());
    QCOMPARE(DirectValue(run.folder.dbPath(), "SELECT init FROM tblinit"), QStringLiteral("1"));
    QCOMPARE(shownMainWindows(), 1);
    QVERIFY(!run.splash.isVisible());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!run.splash.Timer1->isActive());
}

} // namespace

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { Catalogue::Close(); }

    void fixUpPointsMatchingRecordsAtTheirFiles()
    {
        SplashRun run;
        DirectExec(run.folder.dbPath(),
                   "INSERT INTO tbldocument SELECT 'K-' || ref, ref, 'Extra', 'old', catkey, '4.1' "
                   "FROM tblcategory, (SELECT 'O''K1' AS ref UNION SELECT '.H1') WHERE catorder=1");
        // Matching is exact in case; a four-letter extension, a sub-folder, a hidden file and a name
        // too short for a reference match nothing.
        for (const char* name :
             {"QP01.doc", "F05.xls", "O'K1.rtf", "qp02.rtf", "QM01.docx", "sub/QP03.rtf", ".H1.rtf", "ab", "F04.csv"})
            run.folder.writeFile(QStringLiteral("documents/") + name);
        clickContinue(run.splash);
        verifyStarted(run);
        const QString docs = run.folder.path() + "/documents/";
        QCOMPARE(docpaths(run.folder, {"QP01", "F05", "O'K1", "F04", "QP02", "QM01", "QP03", ".H1"}),
                 QStringList({docs + "QP01.doc", docs + "F05.xls", docs + "O'K1.rtf", docs + "F04.csv", "QP02.rtf",
                              "QM01.rtf", "QP03.rtf", "old"}));
    }

    // A fix-up the catalogue refuses is told once, leaves every path and the flag as they were,
    // and runs again at the next start.
    void refusedFixUpIsAllOrNothingAndRunsAgain()
    {
        SplashRun run;
        for (const char* name : {"QP01.rtf", "QP02.rtf", "QP03.rtf"})
            run.folder.writeFile(QStringLiteral("documents/") + name);
        DirectExec(run.folder.dbPath(),
                   "CREATE TRIGGER full BEFORE UPDATE ON tbldocument WHEN NEW.docref='QP02' "
                   "BEGIN SELECT RAISE(ABORT,'disk full'); END");
        clickContinue(run.splash);
        QCOMPARE(run.ui.prompts(), QStringList {"disk full"});
        QCOMPARE(DirectValue(run.folder.dbPath(), "SELECT init FROM tblinit"), QStringLiteral("0"));
        QCOMPARE(docpaths(run.folder, {"QP01", "QP02", "QP03"}), QStringList({"QP01.rtf", "QP02.rtf", "QP03.rtf"}));
        DirectExec(run.folder.dbPath(), "DROP TRIGGER full");
        // The user points a record elsewhere before the next start: the retried fix-up keeps that.
        DirectExec(run.folder.dbPath(), "UPDATE tbldocument SET docpath='/srv/qms/QP03 rev B.rtf' WHERE docref='QP03'");
        run.ui.boxes.clear();
        TestSplash again;
        clickContinue(again);
        QCOMPARE(run.ui.prompts(), QStringList());
        QCOMPARE(DirectValue(run.folder.dbPath(), "SELECT init FROM tblinit"), QStringLiteral("1"));
        QCOMPARE(docpaths(run.folder, {"QP02", "QP03"}),
                 QStringList({run.folder.path() + "/documents/QP02.rtf", "/srv/qms/QP03 rev B.rtf"}));
    }

    // A folder name that is not UTF-8 is named once; nothing is opened.
    void programFolderNotInUtf8IsNamed()
    {
        SplashRun run;
        const QString folder = run.folder.path() + QStringLiteral("/Qualit") + QChar::ReplacementCharacter;
        SetProgramFolder(folder);
        clickContinue(run.splash);
        SetProgramFolder(run.folder.path());
        QCOMPARE(boxes(run.ui),
                 QStringList {"16|Cadrelle|The program's folder '" + folder
                              + "' has a name that is not valid UTF-8, so its catalogue cannot be "
                                "found. Rename the folder, or move the program into another folder."});
        QVERIFY(!Catalogue::IsOpen() && run.splash.isVisible());
    }

    // While the delivered records are pointed at the installed documents, the label blinks under
    // the hourglass and Continue, Exit and closing are ignored; the next start leaves them alone.
    void deliveredRecordsPointAtTheInstalledDocumentsOnce()
    {
        SplashRun run;
        TestSplash& splash = run.splash;
        const QDir source(QStringLiteral(CADRELLE_SOURCE_DIR "/install/documents"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), run.folder.filePath("documents/" + name));
        for (const char* name : {"a", "ab", "abc"}) // too short for a reference; the fix-up goes on after them
            run.folder.writeFile(QStringLiteral("documents/") + name);
        bool ran = false;
        QTimer::singleShot(0, &splash, [&] { // at the fix-up's first pause for the event loop
            ran = true;
            QVERIFY(splash.Timer1->isActive());
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QVERIFY(splash.lblInit->isHidden());
            QTest::qWait(400);
            QVERIFY(!splash.lblInit->isHidden());
            QTest::mouseClick(splash.cmdExit, Qt::LeftButton);
            QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
            splash.close();
            QVERIFY(splash.isVisible() && shownMainWindows() == 0);
        });
        clickContinue(splash);
        QVERIFY(ran);
        QCOMPARE(splash.ended, 0);
        verifyStarted(run);
        const QList<QStringList> records = DirectQuery(run.folder.dbPath(), "SELECT docref, docpath FROM tbldocument");
        QVERIFY(records.size() >= 24);
        for (const QStringList& record : records) {
            QVERIFY2(record[1].startsWith(run.folder.path() + "/documents/" + record[0] + '.'), qPrintable(record[1]));
            QVERIFY2(QFile::exists(record[1]), qPrintable(record[1]));
        }
        QDir(run.folder.filePath("documents")).removeRecursively();
        run.folder.writeFile("documents/QP01.doc");
        TestSplash again;
        clickContinue(again);
        QVERIFY(!again.isVisible());
        QCOMPARE(run.ui.prompts(), QStringList());
        QCOMPARE(docpaths(run.folder, {"QP01"}), QStringList(run.folder.path() + "/documents/QP01.rtf"));
    }

    // A missing catalogue, then an empty tblinit, each stops the start with its messages in order;
    // Continue runs the whole sequence again and goes through once the catalogue is sound, also with
    // no documents folder.
    void failuresAreToldInOrderAndContinueCanBePressedAgain()
    {
        SplashRun run;
        const QString db = run.folder.dbPath();
        QFile::rename(db, db + ".away");
        clickContinue(run.splash);
        QCOMPARE(boxes(run.ui),
                 QStringList({"16|Cadrelle|Cannot open '" + db
                              + "'\r\nunable to open database file\r\n\r\nRestore a backup copy of the catalogue to "
                                "this place, or start afresh with a new catalogue made by the catalogue tool."}));
        QVERIFY(!Catalogue::IsOpen());
        QVERIFY(!QFile::exists(db));
        QVERIFY(run.splash.isVisible() && shownMainWindows() == 0);

        QFile::rename(db + ".away", db);
        DirectExec(db, "DELETE FROM tblinit");
        run.folder.writeFile("documents/QP01.doc");
        clickContinue(run.splash);
        QCOMPARE(boxes(run.ui).mid(1),
                 QStringList({"0|Cadrelle|SPLASH1 - The catalogue has lost its first-run state: the table tblinit "
                              "is empty"}));
        QCOMPARE(DirectValue(db, "SELECT count(*) FROM tblinit"), QStringLiteral("0"));
        QVERIFY(run.splash.isVisible() && shownMainWindows() == 0);

        DirectExec(db, "INSERT INTO tblinit VALUES (0)");
        QDir(run.folder.filePath("documents")).removeRecursively();
        run.ui.boxes.clear();
        clickContinue(run.splash);
        verifyStarted(run);
        QCOMPARE(docpaths(run.folder, {"QP01"}), QStringList("QP01.rtf"));
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_first_run.moc"
