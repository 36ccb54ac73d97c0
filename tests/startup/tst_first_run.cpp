// Continue on a real copy of the delivered catalogue: the splash as the user sees it, the first-run
// fix-up of document paths, and the flag that keeps it from running twice. Catalogues that stop the
// start are in the robustness suite.

#include "platform/ProgramFolder.h"
#include "storage/Catalogue.h"
#include "support/ProgramRun.h"
#include "support/ShownBoxes.h"
#include <QLabel>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QStringList docpaths(const ProgramRun& run, QStringList docrefs)
{
    for (QString& ref : docrefs)
        ref = run.sql("SELECT docpath FROM tbldocument WHERE docref='" + ref.replace('\'', "''") + '\'');
    return docrefs;
}

// A start that went through: nothing told, the first run done, the main window up, the splash gone.
void verifyStarted(const ProgramRun& run, const frmSplash& splash)
{
    QCOMPARE(run.ui.prompts(), QStringList());
    QCOMPARE(run.sql(u"SELECT init FROM tblinit"_s), u"1"_s);
    QCOMPARE(ProgramRun::shown().size(), 1);
    QVERIFY(!splash.isVisible() && !splash.Timer1->isActive() && !QApplication::overrideCursor());
}

} // namespace

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { Catalogue::Close(); }

    // A frameless window in the middle of the screen with the focus on Continue; Exit ends the
    // program without opening the catalogue.
    void splashShowsItsTextsAndExitOpensNothing()
    {
        ProgramRun run;
        TestSplash& splash = run.splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowActive(&splash));
        QCOMPARE(splash.windowType(), Qt::Dialog);
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint)
                && !splash.windowFlags().testFlag(Qt::X11BypassWindowManagerHint));
        QCOMPARE(splash.frameGeometry().center(), splash.screen()->availableGeometry().center());
        QStringList texts;
        for (QWidget* control : std::initializer_list<QWidget*> {splash.lblCompanyProduct, splash.lblProductName,
                                                                 splash.lblInit, splash.cmdContinue, splash.cmdExit})
            texts << control->property("text").toString();
        QCOMPARE(texts.join('|'), u"ISO 9001:2000 Product|Cadrelle|Initialising database...|Continue|Exit"_s);
        QVERIFY(splash.lblInit->isHidden() && !splash.Timer1->isActive());
        QCOMPARE(QApplication::focusWidget(), splash.cmdContinue);
        QTest::keyClick(&splash, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), splash.cmdExit);
        QTest::keyClick(splash.cmdExit, Qt::Key_Return);
        QVERIFY(splash.ended == 1 && !splash.isVisible() && !Catalogue::IsOpen() && run.ui.boxes.isEmpty());
        QCOMPARE(run.sql(u"SELECT init FROM tblinit"_s), u"0"_s);
    }

    // Matching is exact in case; a four-letter extension, a sub-folder, a hidden file and a name too
    // short for a reference match nothing; records without a file keep their paths.
    void fixUpPointsMatchingRecordsAtTheirFiles()
    {
        ProgramRun run;
        DirectExec(run.folder.dbPath(),
                   u"INSERT INTO tbldocument SELECT 'K-' || ref, ref, 'Extra', 'old', catkey, '4.1' "
                   "FROM tblcategory, (SELECT 'O''K1' AS ref UNION SELECT '.H1') WHERE catorder=1"_s);
        for (const char* name :
             {"QP01.doc", "F05.xls", "O'K1.rtf", "qp02.rtf", "QM01.docx", "sub/QP03.rtf", ".H1.rtf", "ab", "F04.csv"})
            run.folder.writeFile(u"documents/"_s + name);
        QVERIFY(run.start());
        verifyStarted(run, run.splash);
        const QString docs = run.folder.path() + "/documents/";
        QCOMPARE(docpaths(run, {"QP01", "F05", "O'K1", "F04", "QP02", "QM01", "QP03", ".H1"}),
                 QStringList({docs + "QP01.doc", docs + "F05.xls", docs + "O'K1.rtf", docs + "F04.csv", "QP02.rtf",
                              "QM01.rtf", "QP03.rtf", "old"}));
    }

    // A fix-up the catalogue refuses is told once, leaves every path and the flag as they were, and
    // runs again at the next start.
    void refusedFixUpIsAllOrNothingAndRunsAgain()
    {
        ProgramRun run;
        for (const char* name : {"QP01.rtf", "QP02.rtf", "QP03.rtf"})
            run.folder.writeFile(u"documents/"_s + name);
        DirectExec(run.folder.dbPath(),
                   u"CREATE TRIGGER full BEFORE UPDATE ON tbldocument WHEN NEW.docref='QP02' "
                   "BEGIN SELECT RAISE(ABORT,'disk full'); END"_s);
        run.start();
        QCOMPARE(run.ui.prompts(), QStringList {u"disk full"_s});
        QCOMPARE(run.sql(u"SELECT init FROM tblinit"_s), u"0"_s);
        QCOMPARE(docpaths(run, {"QP01", "QP02", "QP03"}), QStringList({"QP01.rtf", "QP02.rtf", "QP03.rtf"}));
        DirectExec(run.folder.dbPath(), u"DROP TRIGGER full"_s);
        // The user points a record elsewhere before the next start: the retried fix-up keeps that.
        DirectExec(run.folder.dbPath(),
                   u"UPDATE tbldocument SET docpath='/srv/qms/QP03 rev B.rtf' WHERE docref='QP03'"_s);
        ProgramRun::close();
        run.ui.boxes.clear();
        TestSplash again;
        QVERIFY(run.start(again));
        verifyStarted(run, again);
        QCOMPARE(docpaths(run, {"QP02", "QP03"}),
                 QStringList({run.folder.path() + "/documents/QP02.rtf", "/srv/qms/QP03 rev B.rtf"}));
    }

    // A folder name that is not UTF-8 is named once; nothing is opened.
    void programFolderNotInUtf8IsNamed()
    {
        ProgramRun run;
        const QString folder = run.folder.path() + QStringLiteral("/Qualit") + QChar::ReplacementCharacter;
        SetProgramFolder(folder);
        QVERIFY(!run.start());
        SetProgramFolder(run.folder.path());
        QCOMPARE(boxes(run.ui),
                 QStringList {"16|Cadrelle|The program's folder '" + folder
                              + "' has a name that is not valid UTF-8, so its catalogue cannot be "
                                "found. Rename the folder, or move the program into another folder."});
        QVERIFY(!Catalogue::IsOpen() && run.splash.isVisible());
    }

    // While the delivered records are pointed at the installed documents, the label blinks under the
    // hourglass and Continue, Exit and closing are ignored; the next start leaves the records alone.
    void deliveredRecordsPointAtTheInstalledDocumentsOnce()
    {
        ProgramRun run;
        TestSplash& splash = run.splash;
        const QDir source(QStringLiteral(CADRELLE_SOURCE_DIR "/install/documents"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), run.folder.filePath("documents/" + name));
        for (const char* name : {"a", "ab", "abc"}) // too short for a reference; the fix-up goes on after them
            run.folder.writeFile(u"documents/"_s + name);
        bool ran = false;
        QTimer::singleShot(0, &splash, [&] { // at the fix-up's first pause for the event loop
            ran = true;
            QVERIFY(splash.Timer1->isActive() && splash.lblInit->isHidden());
            QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor,
                     Qt::WaitCursor);
            QTRY_VERIFY(!splash.lblInit->isHidden());
            QTest::mouseClick(splash.cmdExit, Qt::LeftButton);
            QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
            splash.close();
            QVERIFY(splash.isVisible() && ProgramRun::shown().isEmpty());
        });
        run.start();
        QVERIFY(ran);
        QCOMPARE(splash.ended, 0);
        verifyStarted(run, splash);
        const QList<QStringList> records
            = DirectQuery(run.folder.dbPath(), u"SELECT docref, docpath FROM tbldocument"_s);
        QVERIFY(records.size() >= 24);
        for (const QStringList& record : records)
            QVERIFY2(record[1].startsWith(run.folder.path() + "/documents/" + record[0] + '.')
                         && QFile::exists(record[1]),
                     qPrintable(record[1]));
        QDir(run.folder.filePath(u"documents"_s)).removeRecursively();
        run.folder.writeFile(u"documents/QP01.doc"_s);
        ProgramRun::close();
        TestSplash again;
        QVERIFY(run.start(again));
        verifyStarted(run, again);
        QCOMPARE(docpaths(run, {"QP01"}), QStringList {run.folder.path() + "/documents/QP01.rtf"});
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_first_run.moc"
