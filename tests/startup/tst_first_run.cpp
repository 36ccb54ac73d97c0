// Continue on a real copy of the delivered catalogue: the first-run fix-up of document paths, the
// flag that keeps it from running twice, and the failures the user is told about, in order.

#include "SplashTestHelpers.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

namespace {

QString quotedText(const QString& text)
{
    return QStringLiteral("'") + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString docpath(const TestFolder& folder, const QString& docref)
{
    return DirectValue(folder.dbPath(),
                       QStringLiteral("SELECT docpath FROM tbldocument WHERE docref=") + quotedText(docref));
}

QString init(const TestFolder& folder)
{
    return DirectValue(folder.dbPath(), QStringLiteral("SELECT init FROM tblinit"));
}

void addRecord(const TestFolder& folder, const QString& docref)
{
    DirectExec(folder.dbPath(),
               QStringLiteral("INSERT INTO tbldocument SELECT 'K-' || %1, %1, 'Extra', 'old', catkey, "
                              "'4.1' FROM tblcategory WHERE catorder=1")
                   .arg(quotedText(docref)));
}

void copyDeliveredDocuments(const TestFolder& folder)
{
    const QDir source(QStringLiteral(CADRELLE_SOURCE_DIR "/install/documents"));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), folder.filePath(QStringLiteral("documents/") + name));
}

} // namespace

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { gDB.reset(); }

    void fixUpPointsMatchingRecordsAtTheirFiles()
    {
        TestFolder folder;
        MainWindowsCleanup cleanup;
        ScriptedUi ui;
        addRecord(folder, QStringLiteral("O'K1"));
        addRecord(folder, QStringLiteral(".H1"));
        const QString documents = folder.path() + QStringLiteral("/documents/");
        folder.writeFile(QStringLiteral("documents/QP01.doc"));
        folder.writeFile(QStringLiteral("documents/F05.xls"));
        folder.writeFile(QStringLiteral("documents/O'K1.rtf"));
        folder.writeFile(QStringLiteral("documents/qp02.rtf")); // matching is exact
        folder.writeFile(QStringLiteral("documents/QM01.docx")); // stem "QM01." matches nothing
        folder.writeFile(QStringLiteral("documents/sub/QP03.rtf"));
        folder.writeFile(QStringLiteral("documents/.H1.rtf")); // hidden
        folder.writeFile(QStringLiteral("documents/ab")); // too short for a reference
        folder.writeFile(QStringLiteral("documents/F04.csv"));

        TestSplash splash;
        splash.show();
        clickContinue(splash);

        QCOMPARE(ui.prompts(), QStringList());
        QCOMPARE(docpath(folder, "QP01"), documents + QStringLiteral("QP01.doc"));
        QCOMPARE(docpath(folder, "F05"), documents + QStringLiteral("F05.xls"));
        QCOMPARE(docpath(folder, "O'K1"), documents + QStringLiteral("O'K1.rtf"));
        QCOMPARE(docpath(folder, "F04"), documents + QStringLiteral("F04.csv"));
        QCOMPARE(docpath(folder, "QP02"), QStringLiteral("QP02.rtf"));
        QCOMPARE(docpath(folder, "QM01"), QStringLiteral("QM01.rtf"));
        QCOMPARE(docpath(folder, "QP03"), QStringLiteral("QP03.rtf"));
        QCOMPARE(docpath(folder, ".H1"), QStringLiteral("old"));
        QCOMPARE(::init(folder), QStringLiteral("1"));
        QCOMPARE(shownMainWindows().size(), 1);
        QVERIFY(!splash.isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!splash.Timer1->isActive());
    }

    void deliveredRecordsPointAtTheInstalledDocumentsOnce()
    {
        TestFolder folder;
        MainWindowsCleanup cleanup;
        ScriptedUi ui;
        copyDeliveredDocuments(folder);
        {
            TestSplash splash;
            splash.show();
            clickContinue(splash);
            QCOMPARE(shownMainWindows().size(), 1);
        }
        const QList<QStringList> records
            = DirectQuery(folder.dbPath(), QStringLiteral("SELECT docref, docpath FROM tbldocument"));
        QVERIFY(records.size() >= 24);
        for (const QStringList& record : records) {
            QVERIFY2(record[1].startsWith(folder.path() + QStringLiteral("/documents/") + record[0] + '.'),
                     qPrintable(record[1]));
            QVERIFY2(QFile::exists(record[1]), qPrintable(record[1]));
        }
        QCOMPARE(ui.prompts(), QStringList());

        // The next start finds init 1 and leaves the paths alone, whatever lies in the folder.
        QDir(folder.filePath(QStringLiteral("documents"))).removeRecursively();
        folder.writeFile(QStringLiteral("documents/QP01.doc"));
        TestSplash again;
        again.show();
        clickContinue(again);
        QCOMPARE(docpath(folder, "QP01"), folder.path() + QStringLiteral("/documents/QP01.rtf"));
        QVERIFY(!again.isVisible());
        QCOMPARE(ui.prompts(), QStringList());
    }

    void missingOrEmptyDocumentsFolderStillEndsTheFirstRun()
    {
        for (const bool removeFolder : {false, true}) {
            TestFolder folder;
            MainWindowsCleanup cleanup;
            ScriptedUi ui;
            if (removeFolder)
                QDir(folder.filePath(QStringLiteral("documents"))).removeRecursively();
            TestSplash splash;
            splash.show();
            clickContinue(splash);
            QCOMPARE(ui.prompts(), QStringList());
            QCOMPARE(::init(folder), QStringLiteral("1"));
            QCOMPARE(docpath(folder, "QP01"), QStringLiteral("QP01.rtf"));
            QCOMPARE(shownMainWindows().size(), 1);
        }
    }

    void whileTheFixUpRunsTheLabelBlinksAndTheButtonsAreIgnored()
    {
        TestFolder folder;
        MainWindowsCleanup cleanup;
        ScriptedUi ui;
        copyDeliveredDocuments(folder);
        TestSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));

        bool ran = false;
        // Runs at the first pause the fix-up makes for the event loop.
        QTimer::singleShot(0, &splash, [&] {
            ran = true;
            QVERIFY(splash.Timer1->isActive());
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QVERIFY(splash.lblInit->isHidden());
            QTest::qWait(400);
            QVERIFY(!splash.lblInit->isHidden());
            QTest::mouseClick(splash.cmdExit, Qt::LeftButton);
            QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
            splash.close();
            QVERIFY(splash.isVisible());
            QCOMPARE(splash.ended, 0);
            QVERIFY(shownMainWindows().isEmpty());
        });
        clickContinue(splash);

        QVERIFY(ran);
        QCOMPARE(splash.ended, 0);
        QCOMPARE(shownMainWindows().size(), 1);
        QVERIFY(!splash.isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(ui.prompts(), QStringList());
    }

    void missingCatalogueIsToldInOrderAndContinueCanBePressedAgain()
    {
        TestFolder folder;
        MainWindowsCleanup cleanup;
        ScriptedUi ui;
        QFile::rename(folder.dbPath(), folder.filePath(QStringLiteral("away.db")));
        TestSplash splash;
        splash.show();
        clickContinue(splash);

        QCOMPARE(ui.prompts(),
                 QStringList({QStringLiteral("Cannot open '%1'\r\nunable to open database file")
                                  .arg(folder.path() + QStringLiteral("/cadrelle.db")),
                              "No database is open under handle 0", "There is no field 'init' in the collection",
                              "SPLASH1 - Object variable not set: no field 'init'"}));
        QCOMPARE(ui.boxes[0].style, 16);
        for (const ShownBox& box : ui.boxes.mid(1))
            QCOMPARE(box.style, 0);
        for (const ShownBox& box : ui.boxes)
            QCOMPARE(box.title, QStringLiteral("Cadrelle"));
        QVERIFY(!QFile::exists(folder.dbPath()));
        QVERIFY(splash.isVisible());
        QVERIFY(shownMainWindows().isEmpty());

        // With the catalogue back, the whole sequence runs from the start.
        ui.boxes.clear();
        QFile::rename(folder.filePath(QStringLiteral("away.db")), folder.dbPath());
        clickContinue(splash);
        QCOMPARE(ui.prompts(), QStringList());
        QCOMPARE(::init(folder), QStringLiteral("1"));
        QCOMPARE(shownMainWindows().size(), 1);
        QVERIFY(!splash.isVisible());
    }

    void emptyInitTableEndsTheStartWithItsMessages()
    {
        TestFolder folder;
        MainWindowsCleanup cleanup;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), QStringLiteral("DELETE FROM tblinit"));
        folder.writeFile(QStringLiteral("documents/QP01.doc"));
        TestSplash splash;
        splash.show();
        clickContinue(splash);
        QCOMPARE(ui.prompts(),
                 QStringList({"There is no field 'init' in the collection",
                              "SPLASH1 - Object variable not set: no field 'init'"}));
        QCOMPARE(docpath(folder, "QP01"), QStringLiteral("QP01.rtf"));
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT count(*) FROM tblinit")), QStringLiteral("0"));
        QVERIFY(splash.isVisible());
        QVERIFY(shownMainWindows().isEmpty());
    }

    void initTextZeroCountsAsPending()
    {
        TestFolder folder;
        MainWindowsCleanup cleanup;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), QStringLiteral("UPDATE tblinit SET init='0'"));
        folder.writeFile(QStringLiteral("documents/QP01.doc"));
        TestSplash splash;
        splash.show();
        clickContinue(splash);
        QCOMPARE(docpath(folder, "QP01"), folder.path() + QStringLiteral("/documents/QP01.doc"));
        QCOMPARE(::init(folder), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_first_run.moc"
