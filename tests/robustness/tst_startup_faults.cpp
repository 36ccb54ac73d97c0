// Start-up and the windows over catalogues, folders and settings in bad states: the user sees what
// went wrong, every window that can open does, nothing hangs, and no file is changed by a failure.

#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/frmMain.h"
#include "platform/ProgramFolder.h"
#include "platform/ShellOpenCode.h"
#include "startup/frmSplash.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/OrdinaryUserWrites.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

frmMain* shownMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<frmMain*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

const QString kUnopened = QStringLiteral("No database is open under handle 0");
const QString kNoInit = QStringLiteral("There is no field 'init' in the collection");
const QString kSplashNoInit = QStringLiteral("SPLASH1 - Object variable not set: no field 'init'");
const QString kReadOnly = QStringLiteral("attempt to write a readonly database");

} // namespace

class TestStartupFaults : public QObject
{
    Q_OBJECT

    QString m_startFolder;

    // Presses Continue as the user does; the main window it shows, or none.
    frmMain* start(frmSplash& splash)
    {
        splash.show();
        QTest::mouseClick(splash.cmdContinue, Qt::LeftButton);
        return shownMainWindow();
    }

    // Closes the main window as the close box does: the connection goes and the widths are saved.
    void closeMainWindow(frmMain* window)
    {
        window->close();
        delete window;
    }

    void press(frmMain* w, const char* key)
    {
        QAction* button = w->Button(QString::fromLatin1(key));
        QVERIFY2(button && button->isEnabled(), key);
        button->trigger();
    }

    QTreeWidgetItem* category(frmMain* w, const QString& name)
    {
        const auto found = w->tvMain->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    void clickCategory(frmMain* w, const QString& name)
    {
        QTreeWidgetItem* node = category(w, name);
        QVERIFY2(node, qPrintable(name));
        w->tvMain->setCurrentItem(node);
        w->tvMain_NodeClick(node);
    }

    void clickClause(frmMain* w, const QString& text)
    {
        const auto found = w->tvISO->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        w->tvISO->setCurrentItem(found.first());
        w->tvISO_NodeClick(found.first());
    }

private slots:
    void initTestCase() { m_startFolder = QDir::currentPath(); }
    // Continue makes the program folder the current folder; it goes away with each test.
    void cleanup() { QDir::setCurrent(m_startFolder); }

    void badCataloguesStopStartUpAndStayAsTheyWere_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("told");
        const QString cannot = QStringLiteral("Cannot open '%1'\r\n");
        QTest::newRow("text file") << "text"
                                   << QStringList {cannot + "file is not a database", kUnopened, kNoInit,
                                                   kSplashNoInit};
        QTest::newRow("empty") << "empty"
                               << QStringList {cannot + "file is not a database", kUnopened, kNoInit, kSplashNoInit};
        QTest::newRow("truncated") << "truncated"
                                   << QStringList {cannot + "database disk image is malformed", kUnopened, kNoInit,
                                                   kSplashNoInit};
        QTest::newRow("no tblinit") << "DROP TABLE tblinit"
                                    << QStringList {"no such table: tblinit", kNoInit, kSplashNoInit};
        QTest::newRow("empty tblinit") << "DELETE FROM tblinit" << QStringList {kNoInit, kSplashNoInit};
    }

    // Continue tells what is wrong and leaves the splash up to try again; each try tells it again.
    void badCataloguesStopStartUpAndStayAsTheyWere()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, told);
        TestFolder folder;
        ScriptedUi ui;
        const QByteArray whole = readAll(folder.dbPath());
        if (damage == QLatin1String("text"))
            folder.writeFile(QStringLiteral("cadrelle.db"), "ISO 9001 audit notes\n");
        else if (damage == QLatin1String("empty"))
            folder.writeFile(QStringLiteral("cadrelle.db"), QByteArray());
        else if (damage == QLatin1String("truncated"))
            folder.writeFile(QStringLiteral("cadrelle.db"), whole.left(whole.size() / 2 + 100));
        else
            DirectExec(folder.dbPath(), damage);
        const QByteArray content = readAll(folder.dbPath());
        const QStringList files = listing(folder.path());
        if (told[0].contains(QLatin1String("%1")))
            told[0] = told[0].arg(folder.dbPath());

        frmSplash splash;
        QVERIFY(!start(splash));
        QCOMPARE(ui.prompts(), told);
        QVERIFY(!start(splash));
        QCOMPARE(ui.prompts(), told + told);
        QVERIFY(splash.isVisible());
        QCOMPARE(readAll(folder.dbPath()), content);
        QCOMPARE(listing(folder.path()), files);
    }

    // Installed under a path deeper than the engine opens: start-up says so, and the file stays.
    void programFolderOf4000CharactersIsTold()
    {
        TestFolder folder;
        ScriptedUi ui;
        QString deep = folder.path();
        while (deep.size() < 4000)
            deep += QLatin1Char('/') + QString(std::min<qsizetype>(200, 4000 - deep.size() - 1), QLatin1Char('p'));
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(QFile::copy(folder.dbPath(), deep + QStringLiteral("/cadrelle.db")));
        SetProgramFolder(deep);
        frmSplash splash;
        QVERIFY(!start(splash));
        QCOMPARE(ui.prompts().size(), 4);
        QVERIFY(ui.prompts()[0].startsWith("Cannot open '" + deep
                                           + "/cadrelle.db'\r\nunable to open database file (the path is"));
        QCOMPARE(ui.prompts().last(), kSplashNoInit);
        QCOMPARE(readAll(deep + QStringLiteral("/cadrelle.db")), readAll(folder.dbPath()));
    }

    // A table the windows read is gone: the window opens all the same and tells, in its own words,
    // what it cannot show.
    void catalogueMissingATableStillOpensTheWindow_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("atLoad");
        QTest::addColumn<QStringList>("atClause");
        QTest::addColumn<int>("clauseRows");
        QTest::newRow("tblcategory") << "tblcategory"
                                     << QStringList {"no such table: tblcategory",
                                                     "There is no field 'catkey' in the collection",
                                                     "MAIN3 - Object variable not set: no field 'catkey'"}
                                     << QStringList {} << 29;
        QTest::newRow("tbldocument") << "tbldocument"
                                     << QStringList {"no such table: tbldocument",
                                                     "There is no field 'dockey' in the collection",
                                                     "MAIN8 - Object variable not set: no field 'dockey'"}
                                     << QStringList {"no such table: tbldocument",
                                                     "There is no field 'isoref' in the collection",
                                                     "MAIN7 - Object variable not set: no field 'isoref'"}
                                     << 0;
    }

    void catalogueMissingATableStillOpensTheWindow()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, atLoad);
        QFETCH(QStringList, atClause);
        QFETCH(int, clauseRows);
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), "UPDATE tblinit SET init=1; DROP TABLE " + table);
        frmSplash splash;
        frmMain* w = start(splash);
        QVERIFY(w);
        QVERIFY(!splash.isVisible());
        QCOMPARE(ui.prompts(), atLoad);
        ui.boxes.clear();
        clickClause(w, QStringLiteral("Sections"));
        QCOMPARE(ui.prompts(), atClause);
        QCOMPARE(w->lvModel->rowCount(), clauseRows);
        closeMainWindow(w);
    }

    // Read-only by file mode: the program starts and shows the catalogue; every command that
    // writes is refused with the engine's text, and the file keeps every byte.
    void readOnlyCatalogueStartsAndRefusesEveryCommand()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.writeFile(QStringLiteral("documents/QM01.rtf"), "{\\rtf1 manual}");
        QFile::setPermissions(folder.dbPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const QByteArray content = readAll(folder.dbPath());
        OrdinaryUserWrites ordinary;
        if (QFile(folder.dbPath()).open(QIODevice::ReadWrite))
            QSKIP("This process writes through file modes (root that cannot give up CAP_DAC_OVERRIDE)");

        frmSplash splash;
        frmMain* w = start(splash);
        QVERIFY(w);
        // The first-run fix-up of the one document file, then marking it done, are refused.
        QCOMPARE(ui.prompts(), QStringList(2, kReadOnly));
        QCOMPARE(w->tvMain->topLevelItemCount(), 10);
        QVERIFY(w->lvModel->rowCount() > 0);
        ui.boxes.clear();

        ui.inputAnswers = {QStringLiteral("Supplier Audits"), QStringLiteral("Renamed")};
        press(w, "NEWCAT");
        press(w, "RENAMECAT");
        ui.msgAnswers = {MsgAnswer::Ok};
        w->lvMain->SelectRow(0);
        press(w, "REMOVE");
        ui.modalHandlers.push_back([](QDialog& d) {
            auto& edit = dynamic_cast<frmEditDocument&>(d);
            edit.txtTitle->setText(QStringLiteral("Changed"));
            edit.cmdOK->click();
            return d.result();
        });
        w->lvMain->SelectRow(0);
        press(w, "EDIT");
        ui.modalHandlers.push_back([](QDialog& d) {
            auto& add = dynamic_cast<frmAddDocument&>(d);
            add.txtDocRef->setText(QStringLiteral("F99"));
            add.txtTitle->setText(QStringLiteral("Supplier list"));
            add.txtPath->setText(QStringLiteral("/docs/F99.csv"));
            add.cmdOK->click();
            return d.result();
        });
        press(w, "ADD");
        // Dragging the first row onto another category, which the drop then shows.
        w->mDragItem = QPersistentModelIndex(w->lvModel->index(0, 0));
        w->tvMain_OLEDragDrop(w->tvMain->visualItemRect(category(w, QStringLiteral("Forms"))).center());
        ui.msgAnswers = {MsgAnswer::Yes};
        press(w, "DELETECAT");
        const QString removeQuestion
            = QStringLiteral("Do you want to delete - QM01?\r\n(Only the record will be deleted, not the file itself)");
        const QString deleteQuestion
            = QStringLiteral("Deleting a category will also delete all related document records.(Not the files)\r\n"
                             "Do you want to delete category - Forms?");
        QCOMPARE(ui.prompts(),
                 (QStringList {kReadOnly, kReadOnly, removeQuestion, kReadOnly, kReadOnly, kReadOnly, kReadOnly,
                               deleteQuestion, kReadOnly}));
        QCOMPARE(ui.boxes[0].style, 16);
        QCOMPARE(w->tvMain->topLevelItemCount(), 10);
        closeMainWindow(w);
        QCOMPARE(readAll(folder.dbPath()), content);
    }

    // Without documents, help or temp folders the program starts; what needs them says so.
    void missingFoldersAndOddDocumentPaths()
    {
        TestFolder folder;
        ScriptedUi ui;
        for (const char* name : {"documents", "help", "temp"})
            QVERIFY(QDir(folder.filePath(QString::fromLatin1(name))).removeRecursively());
        const QString deepPath = QStringLiteral("/") + QString(3999, QLatin1Char('x'));
        DirectExec(folder.dbPath(), "UPDATE tbldocument SET docpath='" + deepPath + "' WHERE docref='QM01'");
        frmSplash splash;
        frmMain* w = start(splash);
        QVERIFY(w);
        QVERIFY(ui.boxes.isEmpty());
        QCOMPARE(DirectValue(folder.dbPath(), QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("1"));

        // What the desktop answers for these paths, told in words.
        const QString help = folder.filePath(QStringLiteral("help/index.htm"));
        QCOMPARE(ShellOpenCode(help), ShellCode::PathNotFound);
        QCOMPARE(ShellOpenCode(deepPath), ShellCode::PathNotFound);
        ui.shellCodes = {ShellOpenCode(help), ShellOpenCode(deepPath)};
        w->mnuHelpContents->trigger();
        clickCategory(w, QStringLiteral("QSM"));
        w->lvMain->SelectRow(0);
        w->lvMain_DblClick();
        QCOMPARE(ui.shellOpened, (QStringList {help, deepPath}));
        QCOMPARE(ui.prompts(), QStringList(2, QStringLiteral("Path not found")));
        ui.boxes.clear();

        // The report needs its temp folder; it is told when that is missing, and nothing is opened.
        w->mnuReportHTML->trigger();
        QCOMPARE(ui.shellOpened.size(), 2);
        QCOMPARE(ui.boxes.size(), 1);
        QVERIFY2(ui.boxes[0].prompt.startsWith(QStringLiteral("MMAIN3 - ")), qPrintable(ui.boxes[0].prompt));
        closeMainWindow(w);
    }

    // A folder named like a document is no document file: the first run leaves its record alone.
    void documentThatIsAFolderIsNotTakenForAFile()
    {
        TestFolder folder;
        ScriptedUi ui;
        QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("documents/QM01.rtf"))));
        folder.writeFile(QStringLiteral("documents/QP01.rtf"));
        frmSplash splash;
        frmMain* w = start(splash);
        QVERIFY(w);
        QVERIFY(ui.boxes.isEmpty());
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT docpath FROM tbldocument WHERE docref='QM01'"),
                 QStringLiteral("QM01.rtf"));
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT docpath FROM tbldocument WHERE docref='QP01'"),
                 folder.path() + QStringLiteral("/documents/QP01.rtf"));
        closeMainWindow(w);
    }

    void unreadableSettingsGiveTheDesignWidths_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("garbage") << false;
        QTest::newRow("unreadable") << true;
    }

    // Nothing readable in the settings store: the columns take their design widths, and closing
    // the window, which saves them, still ends cleanly.
    void unreadableSettingsGiveTheDesignWidths()
    {
        QFETCH(bool, asFolder);
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), QStringLiteral("UPDATE tblinit SET init=1"));
        const QString store = QSettings(QStringLiteral("Cadrelle"), QStringLiteral("Cadrelle")).fileName();
        QVERIFY(store.startsWith(folder.path()));
        if (asFolder) {
            // A folder where the file should be: unreadable whoever runs the test.
            QVERIFY(QDir().mkpath(store));
        } else {
            QByteArray garbage;
            QRandomGenerator random(8);
            for (int i = 0; i < 4096; ++i)
                garbage += char(random.bounded(256));
            folder.writeFile(store.mid(folder.path().size() + 1), "[Settings\n\xff\xfe=C2Width\n" + garbage);
        }
        frmSplash splash;
        frmMain* w = start(splash);
        QVERIFY(w);
        QCOMPARE(w->lvMain->ColumnWidthTwips(1), 1500.0);
        QCOMPARE(w->lvMain->ColumnWidthTwips(2), 1000.0);
        QCOMPARE(w->lvMain->ColumnWidthTwips(3), 1440.0);
        QCOMPARE(w->lvMain->ColumnWidthTwips(4), 1000.0);
        closeMainWindow(w);
        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(!gDB);
    }

    // Odd rows and sizes: categories without a name, a record of nulls, a thousand categories,
    // titles of 100,000 characters. Every window opens and shows what there is.
    void oddCatalogueContentsOpenEveryWindow()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString qsm = DirectValue(folder.dbPath(), "SELECT catkey FROM tblcategory WHERE catname='QSM'");
        DirectExec(folder.dbPath(),
                   "UPDATE tblinit SET init=1;"
                   "INSERT INTO tblcategory VALUES('EMPTY-NAME','',0);"
                   "INSERT INTO tblcategory VALUES('NULL-NAME',NULL,NULL);"
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
                   "INSERT INTO tblcategory SELECT 'MANY-'||i, 'Category '||i, 100+i FROM n;"
                   "INSERT INTO tbldocument VALUES('NULL-DOC',NULL,NULL,NULL,'"
                       + qsm
                       + "',NULL);"
                         "UPDATE tbldocument SET doctitle=replace(hex(zeroblob(50000)),'0','T')||docref "
                         "WHERE docref='QM01'");
        const QString longTitle = QString(100000, QLatin1Char('T')) + QStringLiteral("QM01");
        frmSplash splash;
        frmMain* w = start(splash);
        QVERIFY(w);
        QCOMPARE(w->tvMain->topLevelItemCount(), 1012);
        QCOMPARE(ui.prompts(), QStringList());

        clickCategory(w, QStringLiteral("QSM"));
        QStringList titles;
        for (int row = 0; row < w->lvModel->rowCount(); ++row)
            titles << w->lvModel->SubItemText(row, 2);
        QVERIFY(titles.contains(longTitle));
        QVERIFY(titles.contains(QString()));
        clickClause(w, QStringLiteral("Sections"));
        clickClause(w, QStringLiteral("4.2.1"));
        QVERIFY(w->lvModel->rowCount() > 0);

        // The edit dialog shows the whole long title, and OK stores it back whole.
        clickCategory(w, QStringLiteral("QSM"));
        int shownLength = -1;
        ui.modalHandlers.push_back([&](QDialog& d) {
            auto& edit = dynamic_cast<frmEditDocument&>(d);
            shownLength = int(edit.txtTitle->text().size());
            edit.cmdOK->click();
            return d.result();
        });
        w->lvMain->SelectRow(titles.indexOf(longTitle));
        press(w, "EDIT");
        QCOMPARE(shownLength, int(longTitle.size()));

        int arranged = -1;
        ui.modalHandlers.push_back([&](QDialog& d) {
            auto& arrange = dynamic_cast<frmArrangeCats&>(d);
            arranged = arrange.List1->count();
            arrange.cmdCancel->click();
            return d.result();
        });
        press(w, "MOVECAT");
        QCOMPARE(arranged, 1012);

        ui.modalHandlers.push_back([](QDialog& d) { return d.result(); });
        w->mnuHelpAbout->trigger();
        clickCategory(w, QStringLiteral("QSM"));
        w->mnuReportHTML->trigger();
        QCOMPARE(ui.dialogsShown.size(), 3);
        QCOMPARE(ui.shellOpened.size(), 1);
        QVERIFY(readAll(ui.shellOpened[0]).contains(longTitle.toUtf8()));
        QCOMPARE(ui.prompts(), QStringList());
        closeMainWindow(w);
        QCOMPARE(DirectValue(folder.dbPath(), "SELECT doctitle FROM tbldocument WHERE docref='QM01'"), longTitle);
    }
};

QTEST_MAIN(TestStartupFaults)
#include "tst_startup_faults.moc"
