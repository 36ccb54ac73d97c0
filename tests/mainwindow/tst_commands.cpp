// The toolbar commands and the menus: the exact questions, what each stores, and the reloads the
// user sees afterwards.

#include "MainWindowFixture.h"
#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "mainwindow/ShellOpenFile.h"
#include "platform/ShellOpenCode.h"
#include "storage/sqlDB.h"
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kNoRow = QStringLiteral("Object variable not set: no document is selected");
const QString kNoCategory = QStringLiteral("Object variable not set: no category is selected");

// Presses a toolbar button as the user does.
void press(MainWindowFixture& f, const char* key)
{
    QAction* button = f.w->Button(QString::fromLatin1(key));
    QVERIFY2(button && button->isEnabled(), key);
    button->trigger();
}

void selectRow(MainWindowFixture& f, const QString& docref)
{
    QVERIFY2(f.rowOf(docref) >= 0, qPrintable(docref));
    f.w->lvMain->SelectRow(f.rowOf(docref));
}

QStringList categoryNames(const MainWindowFixture& f)
{
    QStringList names;
    for (int i = 0; i < f.w->tvMain->topLevelItemCount(); ++i)
        names << f.w->tvMain->topLevelItem(i)->text(0);
    return names;
}

QString fileFor(MainWindowFixture& f, const QString& docref)
{
    const QString file = f.folder.writeFile("documents/" + docref + ".rtf", "{\\rtf1 x}");
    DirectExec(f.folder.dbPath(), "UPDATE tbldocument SET docpath='" + file + "' WHERE docref='" + docref + "'");
    return file;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void newAndRenameStoreNamesCleanedOfQuotes()
    {
        MainWindowFixture f;
        f.ui.inputAnswers = {QStringLiteral("Tom's \"Audit\" Files"), QStringLiteral("Forms & 'Records'")};
        press(f, "NEWCAT");
        QCOMPARE(categoryNames(f).last(), QStringLiteral("Toms Audit Files"));
        QCOMPARE(f.sql("SELECT catorder FROM tblcategory WHERE catname='Toms Audit Files'"), QStringLiteral("11"));
        f.clickCategory("Forms");
        press(f, "RENAMECAT");
        QCOMPARE(f.ui.inputsShown,
                 QList<QStringList>(
                     {{"Enter name for new category", "New Category"}, {"Enter new name", "Rename Category - Forms"}}));
        QCOMPARE(categoryNames(f).at(3), QStringLiteral("Forms & Records"));
        // The renamed category stays the one shown.
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms & Records"));
        QCOMPARE(f.listed(), QStringList({"F01", "F02", "F03", "F04", "F05"}));
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void newOrRenameWithNothingLeftChangesNothing()
    {
        MainWindowFixture f;
        const QString before = f.sql("SELECT group_concat(catkey||catname||catorder) FROM tblcategory");
        f.clickCategory("Forms");
        // Only quotes, and cancelled (the scripted box answers nothing when its queue is empty).
        f.ui.inputAnswers = {QStringLiteral("'\"''"), QStringLiteral("\"'")};
        for (const char* key : {"NEWCAT", "RENAMECAT", "NEWCAT", "RENAMECAT"})
            press(f, key);
        QCOMPARE(f.ui.inputsShown.size(), 4);
        QCOMPARE(f.sql("SELECT group_concat(catkey||catname||catorder) FROM tblcategory"), before);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void deleteAsksWarningFirstAndRemovesTheCategoryWithItsRecordsButNoFile()
    {
        MainWindowFixture f;
        const QString file = fileFor(f, "F01");
        const int total = f.sql("SELECT count(*) FROM tbldocument").toInt();
        f.clickCategory("Forms");
        f.ui.msgAnswers = {MsgAnswer::No, MsgAnswer::Yes};
        press(f, "DELETECAT");
        QCOMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(f.ui.boxes[0].prompt,
                 QStringLiteral("Deleting a category will also delete all related document records.(Not the files)\r\n"
                                "Do you want to delete category - Forms?"));
        QCOMPARE(f.ui.boxes[0].style, 20);
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Delete Category"));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument").toInt(), total);
        press(f, "DELETECAT");
        QCOMPARE(f.ui.boxes.size(), 2);
        QVERIFY(!categoryNames(f).contains(QStringLiteral("Forms")));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument").toInt(), total - 5);
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE docref LIKE 'F0%'"), QStringLiteral("0"));
        QVERIFY(QFile::exists(file));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
    }

    void deleteIsAllOrNothing()
    {
        MainWindowFixture f({QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON tblcategory "
                                            "BEGIN SELECT RAISE(ABORT, 'category is in use'); END")});
        f.clickCategory("Forms");
        press(f, "DELETECAT"); // the scripted box answers Yes
        QCOMPARE(f.ui.prompts().last(), QStringLiteral("category is in use"));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE docref LIKE 'F0%'"), QStringLiteral("5"));
    }

    void removeAsksAndDeletesOnlyTheRecord()
    {
        MainWindowFixture f;
        const QString file = fileFor(f, "QP03");
        f.clickCategory("Procedures");
        selectRow(f, "QP03");
        f.ui.msgAnswers = {MsgAnswer::Cancel, MsgAnswer::Ok};
        press(f, "REMOVE");
        QCOMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(
            f.ui.boxes[0].prompt,
            QStringLiteral("Do you want to delete - QP03?\r\n(Only the record will be deleted, not the file itself)"));
        QCOMPARE(f.ui.boxes[0].style, 1);
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Delete document details"));
        QCOMPARE(f.listed().size(), 11);
        press(f, "REMOVE");
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE docref='QP03'"), QStringLiteral("0"));
        QCOMPARE(f.listed().size(), 10);
        QVERIFY(QFile::exists(file));
    }

    void addListsTheNewRecordInOrderAndACancelledAddStillReloads()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        f.ui.modalHandlers.push_back([](QDialog& d) {
            auto& add = dynamic_cast<frmAddDocument&>(d);
            add.txtDocRef->setText(QStringLiteral("F03a"));
            add.txtTitle->setText(QStringLiteral("Supplier approval"));
            add.txtPath->setText(QStringLiteral("/docs/F03a.csv"));
            add.cmdOK->click();
            return add.result();
        });
        // Something else changes the catalogue while the second dialog is open.
        const QString forms = f.sql("SELECT catkey FROM tblcategory WHERE catname='Forms'");
        f.ui.modalHandlers.push_back([&](QDialog&) {
            DirectExec(f.folder.dbPath(), "INSERT INTO tbldocument VALUES('K','F00','t','/p','" + forms + "',NULL)");
            return int(QDialog::Rejected);
        });
        press(f, "ADD");
        QCOMPARE(f.listed(), QStringList({"F01", "F02", "F03", "F03a", "F04", "F05"}));
        press(f, "ADD");
        QCOMPARE(f.listed().first(), QStringLiteral("F00"));
        QCOMPARE(f.ui.dialogsShown, QStringList(2, QStringLiteral("Add document to Forms")));
    }

    void editFromTheClauseViewPassesTheRowAndShowsTheCategoryAfterwards()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        f.clickClause("8.2.2");
        selectRow(f, "IA02");
        QStringList passed;
        f.ui.modalHandlers.push_back([&](QDialog& d) {
            auto& edit = dynamic_cast<frmEditDocument&>(d);
            passed << edit.txtDocRef->text() << edit.txtPath->text() << edit.txtISORefs->text();
            edit.txtTitle->setText(QStringLiteral("Audit report (v2)"));
            edit.cmdOK->click();
            return edit.result();
        });
        press(f, "EDIT");
        QCOMPARE(passed, QStringList({"IA02", f.sql("SELECT docpath FROM tbldocument WHERE docref='IA02'"), "8.2.2"}));
        QCOMPARE(f.sql("SELECT doctitle FROM tbldocument WHERE docref='IA02'"), QStringLiteral("Audit report (v2)"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms"));
        QCOMPARE(f.enabledButtons(), kCategoryState);
    }

    void editOfARecordWithoutClausesPassesAnEmptyList()
    {
        MainWindowFixture f({QStringLiteral("UPDATE tbldocument SET isoref=NULL WHERE docref='F02'")});
        f.clickCategory("Forms");
        selectRow(f, "F02");
        QString iso = QStringLiteral("not passed");
        f.ui.modalHandlers.push_back([&](QDialog& d) {
            iso = dynamic_cast<frmEditDocument&>(d).txtISORefs->text();
            return int(QDialog::Rejected);
        });
        press(f, "EDIT");
        QCOMPARE(iso, QString());
    }

    void commandsWithoutTheirSelectionAreReportedUnderMain6()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        f.w->lvMain->clearSelection();
        press(f, "EDIT");
        press(f, "REMOVE");
        QCOMPARE(f.ui.prompts(), QStringList({"MAIN6 - " + kNoRow, "MAIN6 - " + kNoRow}));
        QCOMPARE(f.ui.boxes[0].style, 0);
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Cadrelle"));

        MainWindowFixture empty({QStringLiteral("DELETE FROM tblcategory")});
        for (const char* key : {"RENAMECAT", "DELETECAT", "ADD"})
            empty.w->tlbCategories_ButtonClick(QString::fromLatin1(key));
        QCOMPARE(empty.ui.prompts(), QStringList(3, "MAIN6 - " + kNoCategory));
    }

    void arrangeReloadsTheTreeFromTheFirstCategoryAlsoWhenCancelled()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        press(f, "MOVECAT");
        QCOMPARE(f.ui.dialogsShown, QStringList {QStringLiteral("Arrange Categories")});
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        f.ui.modalHandlers.push_back([](QDialog& d) {
            auto& arrange = dynamic_cast<frmArrangeCats&>(d);
            arrange.List1->setCurrentRow(3);
            arrange.cmdUp->click();
            arrange.cmdOK->click();
            return arrange.result();
        });
        press(f, "MOVECAT");
        QCOMPARE(categoryNames(f).mid(0, 4), QStringList({"QSM", "Policies", "Forms", "Procedures"}));
    }

    void openTakesTheSelectedRowsFile()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        selectRow(f, "F02");
        f.ui.shellCodes = {ShellCode::FileNotFound};
        press(f, "OPEN");
        QCOMPARE(f.ui.shellOpened, QStringList {f.sql("SELECT docpath FROM tbldocument WHERE docref='F02'")});
        QCOMPARE(f.ui.prompts(), QStringList {QStringLiteral("File not found")});
        f.w->lvMain->clearSelection();
        f.w->lvMain_DblClick();
        QCOMPARE(f.ui.prompts().last(), "MAIN9 - " + kNoRow);

        MainWindowFixture empty({QStringLiteral("INSERT INTO tblcategory VALUES('E','Empty',0)")});
        empty.w->lvMain_DblClick();
        QVERIFY(empty.ui.boxes.isEmpty());
        QVERIFY(empty.ui.shellOpened.isEmpty());
    }

    void shellCodesAreToldInWords_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("2") << 2 << "File not found";
        QTest::newRow("3") << 3 << "Path not found";
        QTest::newRow("5") << 5 << "Access denied";
        QTest::newRow("11") << 11 << "Bad file format";
        QTest::newRow("27") << 27 << "Filename association is invalid or incomplete";
        QTest::newRow("31") << 31 << "No application associated with filename extension";
        for (int silent : {0, 8, 26, 28, 32, 33})
            QTest::newRow(qPrintable(QString::number(silent))) << silent << QString();
    }

    void shellCodesAreToldInWords()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        ScriptedUi ui;
        ui.shellCodes = {code};
        ShellOpenFile(QStringLiteral("/docs/QP01 v2.rtf"));
        QCOMPARE(ui.shellOpened, QStringList {QStringLiteral("/docs/QP01 v2.rtf")});
        QCOMPARE(ui.prompts(), message.isEmpty() ? QStringList() : QStringList {message});
        if (!message.isEmpty())
            QCOMPARE(ui.boxes[0].style, 0);
    }

    void helpOpensThePageBesideTheProgramAndAboutShowsTheBox()
    {
        MainWindowFixture f;
        f.w->mnuHelpContents->trigger();
        QCOMPARE(f.ui.shellOpened, QStringList {f.folder.path() + QStringLiteral("/help/index.htm")});
        f.w->mnuHelpAbout->trigger();
        QCOMPARE(f.ui.dialogsShown, QStringList {QStringLiteral("About Cadrelle")});
    }

    void exitClosesTheCatalogue()
    {
        for (const bool toolbar : {true, false}) {
            MainWindowFixture f;
            f.w->show();
            if (toolbar)
                press(f, "EXIT");
            else
                f.w->mnuFileExit->trigger();
            QVERIFY(!f.w->isVisible());
            QVERIFY(!gDB);
        }
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
