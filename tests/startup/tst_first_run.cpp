// Continue and Exit on a real copy of the delivered catalogue: the first-run fix-up of document
// paths, and the flag that keeps it from running twice; an installed program's data folder, made and
// filled on the first start. Catalogues that stop the start are in the robustness suite.

#include "platform/ProgramFolder.h"
#include "storage/Catalogue.h"
#include "support/FileSnapshot.h"
#include "support/OrdinaryUserWrites.h"
#include "support/ProgramRun.h"
#include "support/ShownBoxes.h"
#include <QScopeGuard>
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

    // Exit ends the program without opening the catalogue or writing anything.
    void exitOpensNothing()
    {
        ProgramRun run;
        run.splash.show();
        QTest::mouseClick(run.splash.cmdExit, Qt::LeftButton);
        QVERIFY(run.splash.ended == 1 && !run.splash.isVisible() && !Catalogue::IsOpen() && run.ui.boxes.isEmpty());
        QCOMPARE(run.sql(u"SELECT init FROM tblinit"_s), u"0"_s);
    }

    // A fix-up the catalogue refuses is told once and leaves every path and the flag as they were.
    // It runs again at the next start, ignoring Continue, Exit and closing while it runs. Matching is
    // exact in case; a four-letter extension, a sub-folder, a hidden file, a folder named like a
    // document and a name too short for a reference match nothing; records without a file keep their
    // paths. Once done, it is not done again. (The end-to-end test checks every delivered record.)
    void fixUpIsAllOrNothingAndPointsMatchingRecordsAtTheirFilesOnce()
    {
        ProgramRun run;
        DirectExec(run.folder.dbPath(),
                   u"INSERT INTO tbldocument SELECT 'K-' || ref, ref, 'Extra', 'old', catkey, '4.1' FROM tblcategory, "
                   "(SELECT 'O''K1' AS ref UNION SELECT '.H1') WHERE catorder=1; CREATE TRIGGER full BEFORE UPDATE "
                   "ON tbldocument WHEN NEW.docref='QP02' BEGIN SELECT RAISE(ABORT,'disk full'); END"_s);
        for (const char* name : {"QP01.doc", "QP02.rtf", "F05.xls", "O'K1.rtf", "qp03.rtf", "QM01.docx", "sub/QP04.rtf",
                                 ".H1.rtf", "ab", "F04.csv", "F03.csv/x"})
            run.folder.writeFile(u"documents/"_s + name);
        const QStringList refs {"QP01", "QP02", "F05", "O'K1", "F04", "QP03", "QM01", "QP04", ".H1", "F03"};
        const QStringList before = docpaths(run, refs);
        run.start();
        QCOMPARE(run.ui.prompts(), QStringList {u"disk full"_s});
        QCOMPARE(run.sql(u"SELECT init FROM tblinit"_s), u"0"_s);
        QCOMPARE(docpaths(run, refs), before);

        // The user points a record elsewhere before the next start: the retried fix-up keeps that.
        DirectExec(run.folder.dbPath(),
                   u"DROP TRIGGER full; UPDATE tbldocument SET docpath='/srv/QP01 rev B.rtf' WHERE docref='QP01'"_s);
        ProgramRun::close();
        run.ui.boxes.clear();
        TestSplash again;
        bool paused = false;
        QTimer::singleShot(0, &again, [&] { // at the fix-up's first pause for the event loop
            paused = true;
            QTest::mouseClick(again.cmdExit, Qt::LeftButton);
            QTest::mouseClick(again.cmdContinue, Qt::LeftButton);
            again.close();
            QVERIFY(again.isVisible() && ProgramRun::shown().isEmpty());
        });
        QVERIFY(run.start(again) && paused && again.ended == 0);
        verifyStarted(run, again);
        const QString docs = run.folder.path() + "/documents/";
        const QStringList fixed {"/srv/QP01 rev B.rtf",
                                 docs + "QP02.rtf",
                                 docs + "F05.xls",
                                 docs + "O'K1.rtf",
                                 docs + "F04.csv",
                                 "QP03.rtf",
                                 "QM01.rtf",
                                 "QP04.rtf",
                                 "old",
                                 "F03.csv"};
        QCOMPARE(docpaths(run, refs), fixed);

        run.folder.writeFile(u"documents/QP03.rtf"_s);
        ProgramRun::close();
        TestSplash third;
        QVERIFY(run.start(third));
        verifyStarted(run, third);
        QCOMPARE(docpaths(run, refs), fixed);
    }

    // A folder name that is not UTF-8 is named once; nothing is opened.
    void programFolderNotInUtf8IsNamed()
    {
        ProgramRun run;
        const QString folder = run.folder.path() + u"/Qualit"_s + QChar::ReplacementCharacter;
        SetProgramFolder(folder);
        QVERIFY(!run.start());
        SetProgramFolder(run.folder.path());
        QCOMPARE(boxes(run.ui),
                 QStringList {"16|Cadrelle|The program's folder '" + folder
                              + "' has a name that is not valid UTF-8, so its catalogue cannot be "
                                "found. Rename the folder, or move the program into another folder."});
        QVERIFY(!Catalogue::IsOpen() && run.splash.isVisible());
    }

    void installedProgramKeepsItsDataInTheDataFolder_data()
    {
        QTest::addColumn<bool>("beside"); // the copies in share/cadrelle, else in a program folder one may not write
        QTest::addColumn<QString>("unusable"); // "file": a file where the data folder goes; else a read-only folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("share/cadrelle beside bin") << true << ""
                                                   << "";
        QTest::newRow("read-only program folder") << false << ""
                                                  << "";
        QTest::newRow("a file in the way") << true << "file"
                                           << "cannot be made: a file of that name is in the way";
        QTest::newRow("read-only parent") << true << ".."
                                          << "cannot be made: Permission denied";
        QTest::newRow("read-only data folder") << true << "."
                                               << "cannot be written: Permission denied";
    }

    // An installed program: usr/bin holds no catalogue. The first start fills XDG_DATA_HOME/Cadrelle and points
    // the records at its documents; help is the installed one. A data folder that cannot be used is named once
    // and nothing is opened. The delivered copies are only read.
    void installedProgramKeepsItsDataInTheDataFolder()
    {
        QFETCH(bool, beside);
        QFETCH(QString, unusable);
        QFETCH(QString, reason);
        ProgramRun run;
        const QString bin = run.folder.filePath(u"usr/bin"_s);
        const QString share = beside ? run.folder.filePath(u"usr/share/cadrelle"_s) : bin;
        const QString data = run.folder.filePath(u"xdg-data/Cadrelle"_s);
        TestFolder::write(share + u"/documents/QP01.rtf"_s);
        TestFolder::write(share + u"/help/index.htm"_s);
        QFile::copy(run.folder.dbPath(), share + u"/cadrelle.db"_s);
        const QByteArray delivered = readAll(share + u"/cadrelle.db"_s);
        SetProgramFolder(bin);
        if (unusable == u"file"_s)
            TestFolder::write(data);
        const QString locked = !beside ? bin : unusable.startsWith('.') ? QDir::cleanPath(data + '/' + unusable) : "";
        const auto mode = [&](QFile::Permissions p) { return locked.isEmpty() || QFile::setPermissions(locked, p); };
        QVERIFY(locked.isEmpty() || QDir().mkpath(locked));
        QVERIFY(mode(QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] { mode(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        OrdinaryUserWrites ordinary;

        frmMain* w = run.start();
        QCOMPARE(readAll(share + u"/cadrelle.db"_s), delivered);
        if (!reason.isEmpty()) {
            QVERIFY(!w && !Catalogue::IsOpen());
            QCOMPARE(run.ui.prompts(),
                     QStringList {"The data folder '" + data + "' " + reason
                                  + ".\r\n\r\nCadrelle keeps your catalogue and documents there. Make sure you "
                                    "can write that place, or set XDG_DATA_HOME to a folder you can write, and start "
                                    "again."});
            return;
        }
        QVERIFY(w);
        QCOMPARE(run.ui.prompts(), QStringList());
        const QString db = data + u"/cadrelle.db"_s;
        QCOMPARE(DirectValue(db, u"SELECT init FROM tblinit"_s), u"1"_s);
        QCOMPARE(DirectValue(db, u"SELECT docpath FROM tbldocument WHERE docref='QP01'"_s),
                 data + "/documents/QP01.rtf");
        QVERIFY(QFileInfo(data + u"/temp"_s).isDir());
        w->mnuHelpContents->trigger();
        QCOMPARE(run.ui.shellOpened, QStringList {share + u"/help/index.htm"_s});
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_first_run.moc"
