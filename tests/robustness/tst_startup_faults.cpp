// Start-up and the windows over catalogues, folders and settings in bad states: the user sees what
// went wrong, every window that can open does, nothing hangs, and no file is changed by a failure.

#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "mainwindow/MainWindowFixture.h"
#include "platform/ShellOpenCode.h"
#include "startup/frmSplash.h"
#include "support/FileSnapshot.h"
#include "support/OrdinaryUserWrites.h"
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>

namespace {

void press(frmMain* w, const char* key)
{
    QAction* button = w->Button(QString::fromLatin1(key));
    QVERIFY2(button && button->isEnabled(), key);
    button->trigger();
}

// A program folder, the scripted user and the splash the program starts from. Continue makes the
// program folder the current folder, which goes away with the test: closing goes back.
struct Program
{
    const QString startFolder = QDir::currentPath();
    TestFolder folder;
    ScriptedUi ui;
    frmSplash splash;
    frmMain* w = nullptr;

    ~Program() { close(); }
    QString sql(const QString& query) const { return DirectValue(folder.dbPath(), query); }
    // Presses Continue as the user does; the main window it shows, or none.
    frmMain* start()
    {
        splash.show();
        QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<frmMain*>(widget); window && window->isVisible())
                w = window;
        }
        return w;
    }
    // As the close box does: the connection goes and the widths are saved.
    void close()
    {
        if (w)
            w->close();
        delete std::exchange(w, nullptr);
        QDir::setCurrent(startFolder);
    }
};

} // namespace

class TestStartupFaults : public QObject
{
    Q_OBJECT

private slots:
    void readOnlyCatalogueStartsAndRefusesWrites_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::newRow("file mode") << false;
        QTest::newRow("folder the user may not write") << true;
    }

    // The program starts and shows it; writes are refused in the engine's words, and no byte changes.
    void readOnlyCatalogueStartsAndRefusesWrites()
    {
        QFETCH(bool, folderReadOnly);
        Program p;
        p.folder.writeFile(QStringLiteral("documents/QM01.rtf"), "{\\rtf1 manual}");
        const QByteArray content = readAll(p.folder.dbPath());
        const QStringList files = listing(p.folder.path());
        const QString target = folderReadOnly ? p.folder.path() : p.folder.dbPath();
        const auto mode = QFile::permissions(target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(target, mode); });
        OrdinaryUserWrites ordinary;
        if (QFile(folderReadOnly ? p.folder.filePath(QStringLiteral("probe")) : target).open(QIODevice::ReadWrite))
            QSKIP("This process writes through file modes (root that cannot give up CAP_DAC_OVERRIDE)");
        QVERIFY(p.start());
        QVERIFY(p.w->lvModel->rowCount() > 0);
        p.ui.inputAnswers = {QStringLiteral("Supplier Audits"), QStringLiteral("Renamed")};
        press(p.w, "NEWCAT");
        press(p.w, "RENAMECAT");
        press(p.w, "DELETECAT"); // on the first category; the scripted box answers Yes
        const QString ro = QStringLiteral("attempt to write a readonly database");
        // First the refused first-run fix-up, told once (it runs again at the next start).
        QCOMPARE(p.ui.prompts(),
                 (QStringList {ro, ro, ro,
                               "Deleting a category will also delete all related document records.(Not the files)\r\n"
                               "Do you want to delete category - QSM?",
                               ro}));
        QCOMPARE(p.ui.boxes[0].style, 16);
        QCOMPARE(p.w->tvMain->topLevelItemCount(), 10);
        QCOMPARE(p.w->tvMain->topLevelItem(0)->text(0), QStringLiteral("QSM"));
        p.close();
        QCOMPARE(readAll(p.folder.dbPath()), content);
        QCOMPARE(listing(p.folder.path()), files);
    }

    void missingFoldersAndOddPathsAreTold_data()
    {
        QTest::addColumn<bool>("documents");
        QTest::newRow("no documents, help or temp folder") << false;
        QTest::newRow("a document that is a folder") << true;
    }

    // The program starts without its folders, and its first run takes a folder named like a
    // document for no file; what needs a missing folder, or a path of 4,000 characters, says so.
    void missingFoldersAndOddPathsAreTold()
    {
        QFETCH(bool, documents);
        Program p;
        for (const char* name : {"documents", "help", "temp"})
            QVERIFY(QDir(p.folder.filePath(QString::fromLatin1(name))).removeRecursively());
        if (documents) {
            QVERIFY(QDir().mkpath(p.folder.filePath(QStringLiteral("documents/QM01.rtf"))));
            p.folder.writeFile(QStringLiteral("documents/QP01.rtf"));
        }
        const QString deepPath = QStringLiteral("/") + QString(3999, QLatin1Char('x'));
        DirectExec(p.folder.dbPath(), "UPDATE tbldocument SET docpath='" + deepPath + "' WHERE docref='QM01'");
        QVERIFY(p.start());
        QCOMPARE(p.sql(QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("1"));
        QCOMPARE(p.sql(QStringLiteral("SELECT docpath FROM tbldocument WHERE docref='QP01'")),
                 documents ? p.folder.filePath(QStringLiteral("documents/QP01.rtf")) : QStringLiteral("QP01.rtf"));

        // What the desktop answers for help and for QM01, which kept its path, told in words.
        const QString help = p.folder.filePath(QStringLiteral("help/index.htm"));
        p.ui.shellCodes = {ShellOpenCode(help), ShellOpenCode(deepPath)};
        p.w->mnuHelpContents->trigger();
        p.w->lvMain->SelectRow(0);
        p.w->lvMain_DblClick();
        // The report needs the temp folder: it is told, and nothing is opened.
        p.w->mnuReportHTML->trigger();
        QCOMPARE(p.ui.shellOpened, (QStringList {help, deepPath}));
        QCOMPARE(p.ui.prompts().mid(0, 2), QStringList(2, QStringLiteral("Path not found")));
        QCOMPARE(p.ui.boxes.size(), 3);
        QVERIFY2(p.ui.boxes[2].prompt.startsWith(QStringLiteral("MMAIN3 - ")), qPrintable(p.ui.boxes[2].prompt));
    }

    void unreadableSettingsGiveTheDesignWidths_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("garbage") << false;
        QTest::newRow("a folder, unreadable whoever runs the test") << true;
    }

    // The columns take their design widths, and closing the window, which saves them, ends cleanly.
    void unreadableSettingsGiveTheDesignWidths()
    {
        QFETCH(bool, asFolder);
        Program p;
        DirectExec(p.folder.dbPath(), QStringLiteral("UPDATE tblinit SET init=1"));
        const QString store = QSettings(QStringLiteral("Cadrelle"), QStringLiteral("Cadrelle")).fileName();
        QVERIFY(store.startsWith(p.folder.path()));
        if (asFolder)
            QVERIFY(QDir().mkpath(store));
        else
            p.folder.writeFile(store.mid(p.folder.path().size() + 1),
                               QByteArray("[Settings\n\xff\xfe=C2Width\n\0\x01=[\x80]\n=\n", 27).repeated(150));
        QVERIFY(p.start());
        for (int column = 1; column <= 4; ++column)
            QCOMPARE(p.w->lvMain->ColumnWidthTwips(column), (QList<double> {1500, 1000, 1440, 1000})[column - 1]);
        p.close();
        QVERIFY(p.ui.boxes.isEmpty());
    }

    // Categories without a name, a record of nulls, a thousand categories, a title of 100,000
    // characters: every window opens and shows what there is.
    void oddCatalogueContentsOpenEveryWindow()
    {
        MainWindowFixture f(
            {"INSERT INTO tblcategory VALUES('EMPTY-NAME','',0), ('NULL-NAME',NULL,NULL);"
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
             "INSERT INTO tblcategory SELECT 'MANY-'||i, 'Category '||i, 100+i FROM n;"
             "INSERT INTO tbldocument SELECT 'NULL-DOC',NULL,NULL,NULL,catkey,NULL FROM tblcategory "
             "WHERE catname='QSM';"
             "UPDATE tbldocument SET doctitle=replace(hex(zeroblob(50000)),'0','T')||docref WHERE docref='QM01'"});
        const QString longTitle = QString(100000, QLatin1Char('T')) + QStringLiteral("QM01");
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 1012);
        f.clickClause(QStringLiteral("4.2.1"));
        QVERIFY(f.w->lvModel->rowCount() > 0);
        f.clickCategory(QStringLiteral("QSM"));
        QStringList titles;
        for (int row = 0; row < f.w->lvModel->rowCount(); ++row)
            titles << f.w->lvModel->SubItemText(row, 2);
        QVERIFY(titles.contains(longTitle) && titles.contains(QString()));

        // The edit dialog shows the whole long title, and OK stores it back whole.
        qsizetype shown = -1, arranged = -1;
        f.ui.modalHandlers.push_back([&](QDialog& d) {
            auto& edit = dynamic_cast<frmEditDocument&>(d);
            shown = edit.txtTitle->text().size();
            edit.cmdOK->click();
            return d.result();
        });
        f.w->lvMain->SelectRow(titles.indexOf(longTitle));
        press(f.w.get(), "EDIT");
        QCOMPARE(shown, longTitle.size());
        QCOMPARE(f.sql("SELECT doctitle FROM tbldocument WHERE docref='QM01'"), longTitle);
        f.ui.modalHandlers.push_back([&](QDialog& d) {
            arranged = dynamic_cast<frmArrangeCats&>(d).List1->count();
            return 0;
        });
        press(f.w.get(), "MOVECAT");
        QCOMPARE(arranged, 1012);
        f.clickCategory(QStringLiteral("QSM"));
        f.w->mnuReportHTML->trigger();
        QCOMPARE(f.ui.shellOpened.size(), 1);
        QVERIFY(readAll(f.ui.shellOpened[0]).contains(longTitle.toUtf8()));
        QCOMPARE(f.ui.prompts(), QStringList());
    }
};

QTEST_MAIN(TestStartupFaults)
#include "tst_startup_faults.moc"
