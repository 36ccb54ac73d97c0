// The main window's commands as the user meets them: the category tree and the list it fills, the
// toolbar commands and menus with their exact questions, refiling by drag and drop, and the backup
// menu. What the catalogue stores is checked at the service (tst_catalogue).

#include "MainWindowFixture.h"
#include "dialogs/DocumentControlDialog.h"
#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "platform/LoginName.h"
#include "platform/QtPlatformUi.h"
#include "support/ShownBoxes.h"
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QString addCategory(const QString& key, const QString& name, int order)
{
    return QStringLiteral("INSERT INTO tblcategory VALUES('%1','%2',%3)").arg(key, name).arg(order);
}

QString addDocument(const QString& key, const QString& ref, const QString& catkey, const QString& isoref)
{
    return QStringLiteral("INSERT INTO tbldocument VALUES('%1','%2','Title of %2','/docs/%2.rtf','%3',%4)")
        .arg(key, ref, catkey, isoref);
}

// Points the record at a real file and returns the file.
QString fileFor(MainWindowFixture& f, const QString& docref)
{
    const QString file = f.folder.writeFile("documents/" + docref + ".rtf");
    DirectExec(f.folder.dbPath(), "UPDATE tbldocument SET docpath='" + file + "' WHERE docref='" + docref + "'");
    return file;
}

// A shown main window, with the row under the pointer pressed and dropped on a category (none:
// the empty part of the tree below the last one).
struct Shown : MainWindowFixture
{
    Shown() { QVERIFY(show()); }
    QString catkeyOf(const QString& ref) const
    {
        return sql("SELECT catkey FROM tbldocument WHERE docref='" + ref + "'");
    }
    QPoint rowPoint(int row) const { return w->lvMain->visualRect(w->lvModel->index(row, 1)).center(); }
    QPoint nodePoint(const QString& name) const
    {
        return name.isEmpty() ? QPoint(10, w->tvMain->viewport()->height() - 3)
                              : w->tvMain->visualItemRect(category(name)).center();
    }
    QByteArray keyOf(int row) const { return w->lvModel->ItemTag(row).toUtf8(); }
    void drag(int row, const QString& onto) const
    {
        w->lvMain_MouseDown(rowPoint(row));
        w->tvMain_OLEDragDrop(nodePoint(onto), keyOf(row));
    }
};

void dropOn(QWidget* viewport, const QPoint& pos, const QString& mimeType, const QByteArray& key)
{
    QMimeData data;
    data.setData(mimeType, key);
    QDragEnterEvent enter(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &move);
    if (!move.isAccepted())
        return;
    QDropEvent drop(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    // Equal positions keep the order the database gives them; rows sort by the references' character
    // codes, each with its key, path and texts in place; the buttons follow each kind of click.
    void loadListsTheCategoriesAndClicksListTheirRows()
    {
        MainWindowFixture f({addCategory("K-A", "Same order A", 0), addCategory("K-B", "Same order B", 0),
                             addCategory("K-MIX", "Mixed", 11), addDocument("D1", "QP2", "K-MIX", "NULL"),
                             addDocument("D2", "ap1", "K-MIX", "''"),
                             addDocument("D3", "QP10", "K-MIX", "'4.1,8.2.2'")});
        QStringList names;
        for (int i = 0; i < f.w->tvMain->topLevelItemCount(); ++i) {
            QTreeWidgetItem* node = f.w->tvMain->topLevelItem(i);
            names << node->text(0);
            QVERIFY(node->font(0).bold() && !node->icon(0).isNull() && node->childCount() == 0);
            QCOMPARE(NodeTree::Key(node), f.sql("SELECT catkey FROM tblcategory WHERE catname='" + names.last() + "'"));
        }
        QCOMPARE(names,
                 (QStringList {"Same order A", "Same order B", "QSM", "Policies", "Procedures", "Forms",
                               "Work Instructions", "Management Reviews", "Internal Audits", "Customer Complaints",
                               "Corrective Action", "Document Templates", "Mixed"}));
        for (int load = 0; load < 2; ++load) { // a load shows the first, whatever was selected
            QCOMPARE(f.w->tvMain->currentItem(), f.w->tvMain->topLevelItem(0));
            QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Same order A"));
            QVERIFY(f.listed().isEmpty());
            QCOMPARE(f.enabledButtons(), kEmptyCategoryState);
            f.clickCategory("Mixed");
            QCOMPARE(f.enabledButtons(), kCategoryState);
            f.clickClause("8.3");
            QCOMPARE(f.enabledButtons(), kClauseState);
            f.clickCategory("Mixed");
            f.w->LoadCategories();
        }
        f.clickCategory("Mixed");
        QCOMPARE(f.listed(), (QStringList {"QP10", "QP2", "ap1"}));
        const DocumentListModel& m = *f.w->lvModel;
        QCOMPARE(QStringList({m.ItemTag(0), m.SubItemTag(0, 1), m.SubItemText(0, 2), m.SubItemText(0, 3),
                              m.SubItemText(0, 4), m.SubItemText(1, 3) + m.SubItemText(2, 3)}),
                 QStringList({"D3", "/docs/QP10.rtf", "Title of QP10", "4.1,8.2.2", "/docs/QP10.rtf", ""}));
        // What the view draws: no text and the small picture first, the reference in bold.
        QVERIFY(m.data(m.index(0, 0)).toString().isEmpty());
        QVERIFY(!m.data(m.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(m.data(m.index(0, 1), Qt::FontRole).value<QFont>().bold());
        QVERIFY(f.ui.boxes.isEmpty());
    }

    // Also a click on the node already selected reloads; the keyboard chooses as a click does.
    void mouseAndKeyboardListTheCategoryAndDoubleClickOpensTheRow()
    {
        MainWindowFixture f;
        QVERIFY(f.show());
        auto clickNode = [&](const QString& name) {
            QTest::mouseClick(f.w->tvMain->viewport(), Qt::LeftButton, {},
                              f.w->tvMain->visualItemRect(f.category(name)).center());
        };
        clickNode("Forms");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms"));
        QCOMPARE(f.listed(), (QStringList {"F01", "F02", "F03", "F04", "F05"}));
        DirectExec(f.folder.dbPath(), addDocument("D-NEW", "F00", NodeTree::Key(f.category("Forms")), "NULL"));
        clickNode("Forms");
        QCOMPARE(f.listed().first(), QStringLiteral("F00"));
        QTest::mouseDClick(f.w->lvMain->viewport(), Qt::LeftButton, {},
                           f.w->lvMain->visualRect(f.w->lvModel->index(2, 2)).center());
        QCOMPARE(f.w->lvMain->SelectedRow(), 2);
        QCOMPARE(f.ui.shellOpened, QStringList {f.sql("SELECT docpath FROM tbldocument WHERE docref='F02'")});
        f.w->tvMain->setFocus();
        QTest::keyClick(f.w->tvMain, Qt::Key_Down);
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Work Instructions"));
        QCOMPARE(f.listed(), QStringList {"WI01"});
    }

    void refusedQueriesAreToldAndLeaveNothingListed()
    {
        MainWindowFixture f;
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tbldocument RENAME TO tblgone"));
        f.clickCategory("Procedures");
        QCOMPARE(f.ui.prompts(),
                 (QStringList {"no such table: tbldocument", "There is no field 'dockey' in the collection",
                               "MAIN8 - Object variable not set: no field 'dockey'"}));
        QVERIFY(f.ui.boxes.last().style == 0 && f.ui.boxes.last().title == QStringLiteral("Cadrelle"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Procedures"));
        QVERIFY(f.listed().isEmpty());
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tblcategory RENAME TO tblgone2"));
        f.w->LoadCategories();
        QCOMPARE(f.ui.prompts().last(), QStringLiteral("MAIN3 - Object variable not set: no field 'catkey'"));
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 0);
    }

    // Names show as typed: markup in them is never rendered, so nothing it names is read.
    void namesShowAsPlainText()
    {
        MainWindowFixture f;
        const QString picture = f.folder.filePath(QStringLiteral("big.png"));
        QVERIFY(QImage(1600, 1600, QImage::Format_RGB32).save(picture));
        const QString name = "Archive <b>bold</b> <img src=" + picture + "> &amp;";
        f.ui.inputAnswers = {name};
        f.press("NEWCAT");
        f.clickCategory(name);
        QCOMPARE(f.w->lblTitle->text(), "Category - " + name);
        QCOMPARE(f.w->lblTitle->textFormat(), Qt::PlainText);
        QVERIFY(f.w->lblTitle->sizeHint().height() < 100); // no picture laid out
    }

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
        QCOMPARE(boxes(f.ui)[0],
                 "1|Delete document details|Do you want to delete - QP03?\r\n(Only the record will "
                 "be deleted, not the file itself)");
        QCOMPARE(boxes(f.ui)[2],
                 "276|Delete Category|Deleting a category will also delete all related document "
                 "records.(Not the files)\r\nDo you want to delete category - Forms?");
        f.press("DELETECAT");
        QCOMPARE(f.category("Forms"), nullptr);
        QCOMPARE(f.sql("SELECT count(*)||'/'||sum(docref NOT LIKE 'F0%') FROM tbldocument"), QStringLiteral("23/23"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QVERIFY(QFile::exists(files[0]) && QFile::exists(files[1]));
    }

    // The list comes back as it was, also the clause list an edit started from, with the record selected.
    void addAndEditReloadTheirListAlsoWhenCancelled()
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
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - 8.2.2 Internal audit"));
        QCOMPARE(f.w->lvMain->SelectedRow(), f.rowOf("IA02"));
        QCOMPARE(f.enabledButtons(), kClauseState);
        f.clickCategory("Forms");
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

        // The category goes while the add dialog is open.
        f.ui.modalHandlers = {[&](QDialog& d) {
            DirectExec(f.folder.dbPath(), "DELETE FROM tblcategory WHERE catname='Forms'");
            return pressOK(d);
        }};
        f.press("ADD");
        QCOMPARE(f.ui.prompts().last(),
                 QStringLiteral("The category 'Forms' is no longer in the catalogue: the document was not added."));
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE catkey NOT IN (SELECT catkey FROM tblcategory)"),
                 QStringLiteral("5"));
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

    // The mouse on the list remembers a row (any button) and forgets it; the tree takes only rows
    // of the list, and only on a node.
    void realMouseAndDropEvents()
    {
        Shown f;
        f.clickCategory("Forms");
        QWidget* list = f.w->lvMain->viewport();
        QTest::mousePress(list, Qt::LeftButton, {}, f.rowPoint(2));
        QCOMPARE(f.w->mDragItem.row(), 2);
        QTest::mouseRelease(list, Qt::LeftButton, {}, f.rowPoint(2));
        QVERIFY(!f.w->mDragItem.isValid());
        QTest::mousePress(list, Qt::RightButton, {}, f.rowPoint(4));
        QCOMPARE(f.w->mDragItem.row(), 4);
        QTest::mousePress(list, Qt::LeftButton, {}, QPoint(20, list->height() - 3)); // below the rows
        QVERIFY(!f.w->mDragItem.isValid());

        // A drag that ended (here: cancelled) forgets the row it started from.
        emit f.w->lvMain->DragEnded();
        QVERIFY(!f.w->mDragItem.isValid());

        const QString forms = f.catkeyOf("F01");
        const QByteArray f01 = f.keyOf(0);
        f.w->lvMain_MouseDown(f.rowPoint(2)); // pressed, then dragged away and cancelled
        QWidget* tree = f.w->tvMain->viewport();
        dropOn(tree, f.nodePoint("QSM"), QStringLiteral("text/uri-list"), f01);
        dropOn(tree, f.nodePoint(QString()), DocumentListModel::kMimeType, f01);
        QCoreApplication::processEvents();
        QCOMPARE(f.catkeyOf("F01"), forms);
        // Another window's drag names a record this catalogue does not hold: nothing is refiled.
        dropOn(tree, f.nodePoint("QSM"), DocumentListModel::kMimeType, "9B1DEB4D-3B7D-4BAD-9BDD-2B0D7B3DCB6D");
        QTRY_COMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(f.ui.boxes[0].prompt,
                 QStringLiteral("This document is not in the catalogue, or the category is "
                                "gone: nothing was refiled."));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE catkey=(SELECT catkey FROM tblcategory WHERE "
                       "catname='QSM')"),
                 QStringLiteral("1"));
        // The record the drag carries is refiled, not the row pressed last, and stays selected.
        f.clickCategory("Forms");
        dropOn(tree, f.nodePoint("QSM"), DocumentListModel::kMimeType, f01);
        QTRY_COMPARE(f.catkeyOf("F01"), f.catkeyOf("QM01"));
        QCOMPARE(f.catkeyOf("F03"), forms);
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f.w->lvModel->ItemTag(f.w->lvMain->SelectedRow()).toUtf8(), f01);
    }

    void dropRefilesTheRowOnlyOntoAnotherCategoryAndShowsTheTarget()
    {
        Shown f;
        f.clickCategory("Policies");
        const QString policies = NodeTree::Key(f.category("Policies"));
        f.drag(0, QString());
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Policies"));
        f.drag(1, "Policies");
        QCOMPARE(f.catkeyOf("POL01") + f.catkeyOf("POL02"), policies + policies);
        QCOMPARE(f.listed(), (QStringList {"POL01", "POL02"}));
        QVERIFY(!f.w->mDragItem.isValid());

        f.clickCategory("Forms");
        f.drag(f.rowOf("F03"), "Procedures");
        QCOMPARE(f.catkeyOf("F03"), f.catkeyOf("QP01"));
        QCOMPARE(f.w->tvMain->currentItem(), f.category("Procedures"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Procedures"));
        QCOMPARE(f.listed().first(), QStringLiteral("F03"));
        QVERIFY(!f.w->mDragItem.isValid());
        f.clickCategory("Forms");
        QCOMPARE(f.listed(), (QStringList {"F01", "F02", "F04", "F05"}));
        f.clickClause("7.5.1"); // a row listed by clause
        f.drag(0, "QSM");
        QCOMPARE(f.catkeyOf("WI01"), f.catkeyOf("QM01"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f.listed(), (QStringList {"QM01", "WI01"}));
        QCOMPARE(f.enabledButtons(), kCategoryState);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    // The menu's answers: a cancelled dialog writes nothing; the catalogue, its journal files and a
    // copy that fails are each told, and the window goes on; a copy made says where it went. The
    // dialog offers a dated name in the documents folder. (The copy itself: tst_catalogue.)
    void backupMenuTellsRefusalsAndFailures()
    {
        MainWindowFixture f;
        QTemporaryDir away;
        f.w->mnuDatabaseBackup_Click();
        QCOMPARE(f.ui.filtersShown, QStringList {QStringLiteral("Catalogue|*.db")});
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(f.ui.suggestedNames[0],
                 (QDir(documents).exists() ? documents : QDir::homePath()) + "/cadrelle-"
                     + QDate::currentDate().toString(Qt::ISODate) + ".db");
        f.ui.fileAnswers = {f.folder.dbPath(), f.folder.dbPath() + "-wal", away.path(), away.filePath("copy.db")};
        for (int i = 0; i < 4; ++i)
            f.w->mnuDatabaseBackup_Click();
        QCOMPARE(f.ui.prompts(),
                 QStringList({"The catalogue cannot be backed up onto itself. Choose another file.",
                              "The catalogue's journal files cannot hold a backup: the database engine deletes them. "
                              "Choose another file.",
                              "Cannot write the backup '" + away.path() + "'\r\n'" + away.path() + "' is a folder",
                              "The catalogue was backed up to '" + away.filePath("copy.db") + "'."}));
        for (const ShownBox& box : f.ui.boxes.mid(0, 3))
            QVERIFY(box.style == 16 && box.title == QStringLiteral("Cadrelle"));
        QCOMPARE(DirectValue(away.filePath("copy.db"), "SELECT count(*) FROM tbldocument"), QStringLiteral("29"));
        QVERIFY(!QFile::exists(f.folder.dbPath() + "-wal"));
    }

    // The program's own save dialog: No to its question leaves it open, Yes chooses the file. The
    // dialog's state is kept in the program's settings file, and Qt's shared one is not written.
    void saveDialogAsksBeforeAnExistingFileIsChosen()
    {
        TestFolder settings; // the dialog remembers its state in the settings store
        QTemporaryDir away;
        const QString existing = TestFolder::write(away.filePath("backup.db"));
        QStringList met; // what the user meets, in order
        QList<QWidget*> dialogs;
        QTimer user; // answers each modal window once it shows, after the handler that opened it returns
        connect(&user, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                met << box->text();
                QTimer::singleShot(0, box->button(met.size() < 3 ? QMessageBox::No : QMessageBox::Yes),
                                   &QAbstractButton::click);
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                met << "dialog";
                dialogs << dialog;
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(existing); // typed
                const bool lost = met.size() > 3; // a dialog that does not behave is closed, and the test fails
                QTimer::singleShot(0, dialog,
                                   [d = static_cast<QDialog*>(dialog), lost] { lost ? d->reject() : d->accept(); });
            }
        });
        user.start(10);
        const QString chosen = QtPlatformUi().SaveFileName(QStringLiteral("*.*|*.*"), QString());
        const QString question = QStringLiteral("backup.db already exists.\nDo you want to replace it?");
        QCOMPARE(met, (QStringList {"dialog", question, "dialog", question}));
        QCOMPARE(dialogs[0], dialogs[1]);
        QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
        QCOMPARE(QDir(settings.filePath("settings")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList {"Cadrelle"});
        QCOMPARE(QSettings("Cadrelle", "Cadrelle").value("FileDialog/qtVersion").toString(), QString(QT_VERSION_STR));
    }

    // The Document menu on the selected row: a new revision, its approval with the approver and date
    // asked (the login name and today offered), the list's control columns after it, a typed date
    // the control dialog refuses, the history shown, the due list, and obsolete rows on request.
    void documentControlFromTheMenus()
    {
        MainWindowFixture f;
        fileFor(f, "QP01");
        f.clickCategory("Procedures");
        f.ui.inputAnswers = {"A", "Anna", QDate::currentDate().toString(Qt::ISODate)};
        f.w->mnuDocumentNewRevision->trigger();
        f.w->mnuDocumentApprove->trigger();
        QCOMPARE(f.ui.inputDefaults.mid(0, 2), QStringList({"1", LoginName()}));
        const QModelIndex row = f.w->lvModel->index(f.w->lvMain->SelectedRow(), 0);
        auto cell = [&](int column) { return row.siblingAtColumn(column).data().toString(); };
        QCOMPARE(cell(DocumentListModel::RefColumn) + '|' + cell(DocumentListModel::RevisionColumn) + '|'
                     + cell(DocumentListModel::StatusColumn) + '|' + cell(DocumentListModel::NextReviewColumn),
                 "QP01|A|Approved|" + QDate::currentDate().addMonths(12).toString(Qt::ISODate));
        f.ui.modalHandlers = {[](QDialog& d) {
                                  auto& control = dynamic_cast<DocumentControlDialog&>(d);
                                  control.txtNextReview->setText(u"2025-02-30"_s);
                                  control.buttons->button(QDialogButtonBox::Ok)->click();
                                  return control.result();
                              },
                              [](QDialog&) { return 0; }};
        f.press("CONTROL");
        f.press("HISTORY");
        QCOMPARE(f.ui.dialogsShown, QStringList({"Document control - QP01", "History - QP01"}));
        QVERIFY(f.ui.prompts().last().startsWith(u"Next review: '2025-02-30' is not a date."_s));
        f.ui.inputAnswers = {"merged"};
        f.w->mnuDocumentWithdraw->trigger();
        QCOMPARE(f.listed().first(), u"QP02"_s);
        f.w->mnuViewShowObsolete->trigger();
        QCOMPARE(f.listed().first(), u"QP01"_s);
        QCOMPARE(f.w->lvModel->index(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
        DirectExec(f.folder.dbPath(), u"UPDATE tblcontrol SET status='Approved', nextreview='2020-01-01'"_s);
        f.w->mnuViewDue->trigger();
        QCOMPARE(f.w->lblTitle->text(), u"Due for review - 1 documents"_s);
        QCOMPARE(f.w->lvModel->index(0, DocumentListModel::NextReviewColumn).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::red));
        QCOMPARE(f.enabledButtons(), kClauseState);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
