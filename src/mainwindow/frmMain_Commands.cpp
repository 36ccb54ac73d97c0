#include "mainwindow/frmMain.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/NodeTree.h"
#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/ProgramFolder.h"
#include "platform/ShellOpenFile.h"
#include "storage/Catalogue.h"
#include "storage/modDB.h"
#include <QDate>
#include <QDir>
#include <QStandardPaths>

// The toolbar commands and the menus other than the report.

namespace {

QTreeWidgetItem* selectedCategory(const frmMain& w)
{
    QTreeWidgetItem* node = w.tvMain->currentItem();
    if (!node)
        throw AppError(QStringLiteral("Object variable not set: no category is selected"));
    return node;
}

int selectedRow(const frmMain& w)
{
    const int row = w.lvMain->SelectedRow();
    if (row < 0)
        throw AppError(QStringLiteral("Object variable not set: no document is selected"));
    return row;
}

void newCategory(frmMain& w)
{
    const QString name
        = StripQuotes(InputBox(QStringLiteral("Enter name for new category"), QStringLiteral("New Category")));
    if (name.isEmpty())
        return;
    const QString catkey = Catalogue::Current().AddCategory(name);
    if (catkey.isEmpty())
        return;
    w.LoadCategories();
    w.SelectCategory(catkey);
}

// The renamed category stays the one selected, so the user goes on where they were.
void renameCategory(frmMain& w)
{
    QTreeWidgetItem* node = selectedCategory(w);
    const QString catkey = NodeTree::Key(node);
    // Stored names stay free of quotes, as new ones are.
    const QString name
        = StripQuotes(InputBox(QStringLiteral("Enter new name"), QStringLiteral("Rename Category - ") + node->text(0)));
    if (name.isEmpty())
        return;
    const Catalogue::Write renamed = Catalogue::Current().RenameCategory(catkey, name);
    if (renamed == Catalogue::Write::Refused)
        return;
    if (renamed == Catalogue::Write::Unchanged)
        MsgBox(QStringLiteral("This category is no longer in the catalogue: it was not renamed."), MsgStyle::Critical);
    w.LoadCategories();
    if (w.tvMain->currentItem() && NodeTree::Key(w.tvMain->currentItem()) != catkey)
        w.SelectCategory(catkey);
}

void arrangeCategories(frmMain& w)
{
    frmArrangeCats dialog(&w);
    Ui().ShowModal(dialog);
    w.LoadCategories();
}

// The category's documents and the category go together or not at all.
void deleteCategory(frmMain& w)
{
    QTreeWidgetItem* node = selectedCategory(w);
    const QString question
        = QStringLiteral("Deleting a category will also delete all related document records.(Not the files)\r\n"
                         "Do you want to delete category - ")
        + node->text(0) + QStringLiteral("?");
    // No is the default: Enter must not delete a category and its records, which cannot be undone.
    if (MsgBox(question, MsgStyle::YesNo + MsgStyle::Critical + MsgStyle::DefaultButton2,
               QStringLiteral("Delete Category"))
        != MsgAnswer::Yes)
        return;
    const QString catkey = NodeTree::Key(node);
    Catalogue::Current().DeleteCategory(catkey);
    w.LoadCategories();
}

void addDocument(frmMain& w)
{
    QTreeWidgetItem* node = selectedCategory(w);
    frmAddDocument dialog(&w);
    dialog.Init(NodeTree::Key(node), node->text(0));
    Ui().ShowModal(dialog);
    w.ReloadList(dialog.AddedKey());
}

// The values come from the row as the list shows it. The list it was edited from shows again, with
// the record selected where it still shows.
void editDocument(frmMain& w)
{
    const int row = selectedRow(w);
    const DocumentListModel& rows = *w.lvModel;
    frmEditDocument dialog(&w);
    const QString dockey = rows.ItemTag(row);
    dialog.Init(dockey, rows.SubItemText(row, 1), rows.SubItemText(row, 2), rows.SubItemTag(row, 1),
                rows.SubItemText(row, 3));
    Ui().ShowModal(dialog);
    w.ReloadList(dockey);
}

// The row that takes the removed one's place is selected, so Delete can go on down the list.
void removeDocument(frmMain& w)
{
    const int row = selectedRow(w);
    const int rows = w.lvModel->rowCount();
    QString next;
    if (rows > 1)
        next = w.lvModel->ItemTag(row + 1 < rows ? row + 1 : row - 1);
    const QString question = QStringLiteral("Do you want to delete - ") + w.lvModel->SubItemText(row, 1)
        + QStringLiteral("?\r\n(Only the record will be deleted, not the file itself)");
    if (MsgBox(question, MsgStyle::OkCancel, QStringLiteral("Delete document details")) != MsgAnswer::Ok)
        return;
    if (Catalogue::Current().RemoveDocument(w.lvModel->ItemTag(row)) == Catalogue::Write::Unchanged)
        MsgBox(QStringLiteral("This document is no longer in the catalogue: nothing was removed."), MsgStyle::Critical);
    w.ReloadList(next);
}

} // namespace

void frmMain::tlbCategories_ButtonClick(const QString& key)
{
    Trap("MAIN6", [&] {
        if (key == QLatin1String("DELETECAT"))
            deleteCategory(*this);
        else if (key == QLatin1String("EXIT"))
            close();
        else if (key == QLatin1String("NEWCAT"))
            newCategory(*this);
        else if (key == QLatin1String("RENAMECAT"))
            renameCategory(*this);
        else if (key == QLatin1String("MOVECAT"))
            arrangeCategories(*this);
        else if (key == QLatin1String("OPEN"))
            lvMain_DblClick();
        else if (key == QLatin1String("ADD"))
            addDocument(*this);
        else if (key == QLatin1String("EDIT"))
            editDocument(*this);
        else if (key == QLatin1String("REMOVE"))
            removeDocument(*this);
        else if (key == QLatin1String("CONTROL"))
            mnuDocumentControl_Click();
        else if (key == QLatin1String("HISTORY"))
            mnuDocumentHistory_Click();
        // The document commands read the coverage again with the list.
        if (key == QLatin1String("DELETECAT"))
            RefreshCoverage();
    });
}

// Opens the selected row's file, not the row under the pointer.
void frmMain::lvMain_DblClick()
{
    Trap("MAIN9", [&] {
        if (lvModel->rowCount() == 0)
            return;
        ShellOpenFile(lvModel->SubItemTag(selectedRow(*this), 1));
    });
}

void frmMain::mnuFileExit_Click()
{
    close();
}

// The copy is made through SQLite, so it is consistent while the catalogue stays open; the save
// dialog has already asked before an existing file is replaced. It offers a name with today's date
// in the user's documents folder.
void frmMain::mnuDatabaseBackup_Click()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString suggested
        = folder + QStringLiteral("/cadrelle-") + QDate::currentDate().toString(Qt::ISODate) + QStringLiteral(".db");
    const QString target = Ui().SaveFileName(QStringLiteral("Catalogue|*.db"), suggested);
    if (target.isEmpty())
        return;
    try {
        const Catalogue& catalogue = Catalogue::Current();
        if (catalogue.IsCatalogueFile(target)) {
            MsgBox(QStringLiteral("The catalogue cannot be backed up onto itself. Choose another file."),
                   MsgStyle::Critical);
            return;
        }
        if (catalogue.IsCatalogueWorkFile(target)) {
            MsgBox(QStringLiteral("The catalogue's journal files cannot hold a backup: the database engine deletes "
                                  "them. Choose another file."),
                   MsgStyle::Critical);
            return;
        }
        HourGlass wait;
        catalogue.Backup(target);
    } catch (...) {
        MsgBox(QStringLiteral("Cannot write the backup '") + target + QStringLiteral("'\r\n")
                   + DescribeCurrentException(),
               MsgStyle::Critical);
        return;
    }
    MsgBox(QStringLiteral("The catalogue was backed up to '") + QDir::toNativeSeparators(target)
           + QStringLiteral("'."));
}

void frmMain::mnuHelpContents_Click()
{
    Trap("MAIN12", [&] { ShellOpenFile(HelpFolder() + QStringLiteral("/index.htm")); });
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout dialog(this);
    Ui().ShowModal(dialog);
}
