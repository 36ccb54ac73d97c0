// The toolbar commands and the menus: the exact questions, what each stores, and the reloads after.

#include "MainWindowFixture.h"
#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "platform/QtPlatformUi.h"
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Points the record at a real file and returns the file.
QString fileFor(MainWindowFixture& f, const QString& docref)
{
    const QString file = f.folder.writeFile("documents/" + docref + ".rtf");
    DirectExec(f.folder.dbPath(), "UPDATE tbldocument SET docpath='" + file + "' WHERE docref='" + docref + "'");
    return file;
}

// A message box as title|style|prompt.
QString shown(const ShownBox& box)
{
    return box.title + '|' + QString::number(box.style) + '|' + box.prompt;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void newAndRenameStoreNamesCleanedOfQuotesAndNothingLeftChangesNothing()
    {
        MainWindowFixture f;
        f.ui.inputAnswers = {"Tom's \"Audit\" Files", "Forms & 'Records'", "'\"''", "\"'"};
        f.press("NEWCAT");
        QCOMPARE(f.w->tvMain->topLevelItem(10)->text(0), QStringLiteral("Toms Audit Files"));
        QCOMPARE(f.sql("SELECT catorder FROM tblcategory WHERE catname='Toms Audit Files'"), QStringLiteral("11"));
        f.clickCategory("Forms");
        f.press("RENAMECAT");
        QCOMPARE(f.ui.inputsShown,
                 QList<QStringList>(
                     {{"Enter name for new category", "New Category"}, {"Enter new name", "Rename Category - Forms"}}));
        QCOMPARE(f.w->tvMain->topLevelItem(3)->text(0), QStringLiteral("Forms & Records"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms & Records"));
        QCOMPARE(f.listed(), QStringList({"F01", "F02", "F03", "F04", "F05"}));
        // Only quotes typed, then cancelled (no answer queued).
        const QString before = f.sql("SELECT group_concat(catkey||catname||catorder) FROM tblcategory");
        for (const char* key : {"NEWCAT", "RENAMECAT", "NEWCAT", "RENAMECAT"})
            f.press(key);
        QCOMPARE(f.ui.inputsShown.size(), 6);
        QCOMPARE(f.sql("SELECT group_concat(catkey||catname||catorder) FROM tblcategory"), before);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void removeAndDeleteAskFirstAndKeepTheFiles()
    {
        MainWindowFixture f;
        const QString files[] = {fileFor(f, "QP03"), fileFor(f, "F01")};
        f.clickCategory("Procedures");
        f.selectRow("QP03");
        f.ui.msgAnswers = {MsgAnswer::Cancel, MsgAnswer::Ok, MsgAnswer::No}; // then Yes, the first button
        f.press("REMOVE");
        QCOMPARE(f.listed().size(), 11);
        f.press("REMOVE");
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE docref='QP03'"), QStringLiteral("0"));
        QCOMPARE(f.listed().size(), 10);
        f.clickCategory("Forms");
        f.press("DELETECAT");
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument"), QStringLiteral("28"));
        QCOMPARE(f.ui.boxes.size(), 3);
        QCOMPARE(shown(f.ui.boxes[0]),
                 "Delete document details|1|"
                 "Do you want to delete - QP03?\r\n(Only the record will be deleted, not the file itself)");
        QCOMPARE(shown(f.ui.boxes[2]),
                 "Delete Category|276|Deleting a category will also delete all related document records.(Not the "
                 "files)\r\nDo you want to delete category - Forms?");
        // All or nothing: a refused deletion of the category keeps its documents.
        DirectExec(f.folder.dbPath(),
                   "CREATE TRIGGER keep BEFORE DELETE ON tblcategory "
                   "BEGIN SELECT RAISE(ABORT, 'category is in use'); END");
        f.press("DELETECAT");
        QCOMPARE(f.ui.prompts().last(), QStringLiteral("category is in use"));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument"), QStringLiteral("28"));
        DirectExec(f.folder.dbPath(), "DROP TRIGGER keep");
        f.clickCategory("Forms");
        f.press("DELETECAT");
        QCOMPARE(f.category("Forms"), nullptr);
        QCOMPARE(f.sql("SELECT count(*)||'/'||sum(docref NOT LIKE 'F0%') FROM tbldocument"), QStringLiteral("23/23"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QVERIFY(QFile::exists(files[0]) && QFile::exists(files[1]));
    }

    void addAndEditReloadTheCategoryAlsoWhenCancelledOrStartedFromAClause()
    {
        MainWindowFixture f({QStringLiteral("UPDATE tbldocument SET isoref=NULL WHERE docref='F02'")});
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
        f.ui.modalHandlers.push_back([&](QDialog&) {
            DirectExec(f.folder.dbPath(),
                       "INSERT INTO tbldocument SELECT 'K','F00','t','/p',catkey,NULL "
                       "FROM tblcategory WHERE catname='Forms'");
            return int(QDialog::Rejected);
        });
        f.press("ADD");
        QCOMPARE(f.listed(), QStringList({"F01", "F02", "F03", "F03a", "F04", "F05"}));
        f.press("ADD");
        QCOMPARE(f.listed().first(), QStringLiteral("F00"));
        QCOMPARE(f.ui.dialogsShown, QStringList(2, QStringLiteral("Add document to Forms")));

        QStringList passed;
        auto edit = [&passed](QDialog& d) {
            auto& edit = dynamic_cast<frmEditDocument&>(d);
            passed << edit.txtDocRef->text() << edit.txtPath->text() << edit.txtISORefs->text();
            edit.txtTitle->setText(QStringLiteral("Audit report (v2)"));
            edit.cmdOK->click();
            return edit.result();
        };
        f.ui.modalHandlers = {edit, edit};
        f.clickClause("8.2.2");
        f.selectRow("IA02");
        f.press("EDIT");
        QCOMPARE(f.sql("SELECT doctitle FROM tbldocument WHERE docref='IA02'"), QStringLiteral("Audit report (v2)"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms"));
        QCOMPARE(f.enabledButtons(), kCategoryState);
        f.selectRow("F02"); // a record without clauses passes an empty list
        f.press("EDIT");
        const QString path = QStringLiteral("SELECT docpath FROM tbldocument WHERE docref='%1'");
        QCOMPARE(passed, QStringList({"IA02", f.sql(path.arg("IA02")), "8.2.2", "F02", f.sql(path.arg("F02")), ""}));
    }

    void arrangeReloadsTheTreeFromTheFirstCategoryAlsoWhenCancelled()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        f.press("MOVECAT");
        QCOMPARE(f.ui.dialogsShown, QStringList {QStringLiteral("Arrange Categories")});
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        f.ui.modalHandlers.push_back([](QDialog& d) {
            auto& arrange = dynamic_cast<frmArrangeCats&>(d);
            arrange.List1->setCurrentRow(3);
            arrange.cmdUp->click();
            arrange.cmdOK->click();
            return arrange.result();
        });
        f.press("MOVECAT");
        QCOMPARE(f.w->tvMain->topLevelItem(2)->text(0), QStringLiteral("Forms"));
    }

    void openHelpAboutAndCommandsWithoutTheirSelection()
    {
        MainWindowFixture f;
        f.clickCategory("Forms");
        f.selectRow("F02");
        f.ui.shellCodes = {2, 3, 5, 11, 27, 31, 0, 8, 33};
        for (int i = 0; i < 9; ++i)
            f.press("OPEN");
        QCOMPARE(f.ui.shellOpened, QStringList(9, f.sql("SELECT docpath FROM tbldocument WHERE docref='F02'")));
        f.w->lvMain->clearSelection();
        f.press("EDIT");
        f.press("REMOVE");
        f.w->lvMain_DblClick();
        const QString noRow = QStringLiteral("Object variable not set: no document is selected");
        QCOMPARE(f.ui.prompts(),
                 QStringList({"File not found", "Path not found", "Access denied", "Bad file format",
                              "Filename association is invalid or incomplete",
                              "No application associated with filename extension", "MAIN6 - " + noRow,
                              "MAIN6 - " + noRow, "MAIN9 - " + noRow}));
        for (const ShownBox& box : f.ui.boxes)
            QVERIFY(box.style == 0 && box.title == QStringLiteral("Cadrelle"));
        f.w->mnuHelpContents->trigger();
        QCOMPARE(f.ui.shellOpened.last(), f.folder.path() + QStringLiteral("/help/index.htm"));
        f.w->mnuHelpAbout->trigger();
        QCOMPARE(f.ui.dialogsShown, QStringList {QStringLiteral("About Cadrelle")});

        MainWindowFixture empty({QStringLiteral("DELETE FROM tblcategory")});
        QCOMPARE(empty.enabledButtons(), (QStringList {"NEWCAT", "MOVECAT", "EXIT"}));
        QVERIFY(empty.w->lblTitle->text().isEmpty() && empty.listed().isEmpty() && empty.ui.boxes.isEmpty());
        for (const char* key : {"RENAMECAT", "DELETECAT", "ADD"})
            empty.w->tlbCategories_ButtonClick(QString::fromLatin1(key));
        empty.w->lvMain_DblClick(); // an empty list opens nothing and says nothing
        QCOMPARE(empty.ui.prompts(), QStringList(3, "MAIN6 - Object variable not set: no category is selected"));
        QVERIFY(empty.ui.shellOpened.isEmpty());
    }

    // A write that finds nothing to change says so and keeps the dialog open: the record lost its
    // key, or another program removed the record or the category since the list was filled.
    void writesThatChangeNothingAreToldAndKeepTheDialogOpen()
    {
        MainWindowFixture f({QStringLiteral("UPDATE tbldocument SET dockey=NULL WHERE docref='F02'")});
        f.clickCategory("Forms");
        int result = -1;
        auto pressOK = [&result](QDialog& d) {
            auto& details = dynamic_cast<DocumentDetailsDialog&>(d);
            details.txtTitle->setText(QStringLiteral("Changed"));
            details.txtDocRef->setText(details.txtDocRef->text() + QStringLiteral("x"));
            details.txtPath->setText(QStringLiteral("/p"));
            details.cmdOK->click();
            return result = details.result();
        };
        f.ui.modalHandlers = {pressOK};
        f.selectRow("F02");
        f.press("EDIT");
        const QString gone = QStringLiteral("This document is no longer in the catalogue: the changes were not saved.");
        QCOMPARE(f.ui.prompts(), QStringList {gone});
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE doctitle='Changed'"), QStringLiteral("0"));

        f.selectRow("F03");
        DirectExec(f.folder.dbPath(), "DELETE FROM tbldocument WHERE docref='F03'");
        f.ui.msgAnswers = {MsgAnswer::Ok};
        f.press("REMOVE");
        QCOMPARE(f.ui.prompts().last(),
                 QStringLiteral("This document is no longer in the catalogue: nothing was removed."));

        // The category goes while the add dialog is open; then every category and record goes.
        f.ui.modalHandlers = {[&](QDialog& d) {
            DirectExec(f.folder.dbPath(), "DELETE FROM tblcategory WHERE catname='Forms'");
            return pressOK(d);
        }};
        f.press("ADD");
        QCOMPARE(f.ui.prompts().last(),
                 QStringLiteral("The category 'Forms' is no longer in the catalogue: the document was not added."));
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE catkey NOT IN (SELECT catkey FROM tblcategory)"),
                 QStringLiteral("4"));
        f.clickCategory("QSM");
        DirectExec(f.folder.dbPath(), "DELETE FROM tbldocument; DELETE FROM tblcategory");
        f.ui.modalHandlers = {pressOK};
        f.press("EDIT");
        QCOMPARE(f.ui.prompts().last(), gone);
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument"), QStringLiteral("0"));
    }

    // Deleting the last category leaves nothing of it on show, and only the commands that need no
    // category; a filled list always has a row selected for the row commands.
    void listsKeepARowSelectedAndTheLastCategoryLeavesNothingBehind()
    {
        MainWindowFixture f({QStringLiteral("DELETE FROM tblcategory WHERE catname NOT IN ('Forms','QSM')")});
        f.clickCategory("Forms");
        QCOMPARE(f.w->lvMain->SelectedRow(), 0);
        QString edited;
        f.ui.modalHandlers
            = {[&edited](QDialog& d) { return edited = dynamic_cast<frmEditDocument&>(d).txtDocRef->text(), 0; }};
        f.press("EDIT");
        QCOMPARE(edited, QStringLiteral("F01"));
        f.clickClause("8.2.2");
        QCOMPARE(f.w->lvMain->SelectedRow(), 0);
        f.selectRow("IA02");
        f.ui.modalHandlers = {[](QDialog& d) { return dynamic_cast<frmEditDocument&>(d).cmdOK->click(), 1; }};
        f.clickCategory("Forms");
        f.selectRow("F04");
        f.press("EDIT"); // the edited record stays selected
        QCOMPARE(f.w->lvModel->SubItemText(f.w->lvMain->SelectedRow(), 1), QStringLiteral("F04"));

        f.press("DELETECAT");
        f.press("DELETECAT");
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 0);
        QVERIFY(f.w->lblTitle->text().isEmpty() && f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), (QStringList {"NEWCAT", "MOVECAT", "EXIT"}));
        QCOMPARE(f.ui.boxes.size(), 2);
    }

    // Enter on the question that deletes a category and its records answers No.
    void deleteCategoryQuestionDefaultsToNo()
    {
        QtPlatformUi qt;
        QString defaultButton;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        const int answer
            = qt.MsgBox(QStringLiteral("Delete?"), MsgStyle::YesNo + MsgStyle::Critical + MsgStyle::DefaultButton2,
                        QStringLiteral("Delete Category"));
        QCOMPARE(answer, MsgAnswer::No);
        QCOMPARE(defaultButton.remove('&'), QStringLiteral("No"));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
