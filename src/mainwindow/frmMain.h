#pragma once

#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QStringList>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class DocumentListModel;
class DocumentListView;
struct Document;

// The main window: the toolbar, the category tree above the clause tree, and the title label
// above the document list of the node clicked last. Controls carry their names as objectName.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs the load: fills both trees and puts back the saved column widths and the window's place.
    void Form_Load();

    // The toolbar button (an action) under its key: "NEWCAT", "RENAMECAT", "MOVECAT", "DELETECAT",
    // "OPEN", "ADD", "EDIT", "REMOVE", "EXIT".
    QAction* Button(const QString& key) const;
    // The buttons that act on the selected row.
    static QStringList RowButtonKeys();

    // Procedures and handlers, public so that other windows and tests can run them as the
    // program does.
    void EnableAllButtons();
    void LoadCategories();
    void tvMain_NodeClick(QTreeWidgetItem* node);
    void LoadISOTree();
    void tvISO_NodeClick(QTreeWidgetItem* node);
    void lvMain_MouseDown(const QPoint& pos);
    void lvMain_MouseUp(const QPoint& pos);
    // A drop at pos (the tree's viewport coordinates) of a drag that carries a record key.
    void tvMain_OLEDragDrop(const QPoint& pos, const QByteArray& dragged);
    void SelectDocument(const QString& dockey);
    void tlbCategories_ButtonClick(const QString& key);
    void lvMain_DblClick();
    void mnuFileExit_Click();
    void mnuReportHTML_Click();
    void mnuDatabaseBackup_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    // Document control, on the selected row.
    void mnuDocumentControl_Click();
    void mnuDocumentApprove_Click();
    void mnuDocumentNewRevision_Click();
    void mnuDocumentReviewDone_Click();
    void mnuDocumentWithdraw_Click();
    void mnuDocumentHistory_Click();
    void mnuDocumentCategoryInterval_Click();
    void mnuViewShowObsolete_Toggled(bool show);
    // Lists the documents whose review is overdue or due within 30 days.
    void mnuViewDue_Click();
    // Says in the status bar, once after the start, how many reviews are overdue.
    void ShowOverdueNotice();
    // Finding and checking.
    void txtSearch_Change(const QString& text);
    void mnuReportCoverage_Click();
    void mnuDatabaseCheck_Click();
    void mnuDatabaseRelink_Click();
    // Puts the current documents' count beside each clause node, with its title as tooltip.
    void RefreshCoverage();
    void ExcludeClause(const QString& clause, bool exclude);
    // The register.
    void mnuReportMasterList_Click();
    void mnuFileExport_Click();
    void mnuFileImport_Click();
    // Shows the list again as it came: the category, clause, due, search or check list it showed,
    // with the row of select selected, or else the row that was.
    void ReloadList(const QString& select = QString());
    // Selects the category and lists it; false when it is not in the tree.
    bool SelectCategory(const QString& catkey);
    // Everyday use: the context menus of the list's rows and of the categories, the folder of the
    // selected row's file opened on the desktop, and F5 (the categories and the list read again).
    void lvMain_ContextMenu(const QPoint& pos);
    void tvMain_ContextMenu(const QPoint& pos);
    void ShowInFolder();
    void mnuViewReload_Click();

    // Controls.
    QToolBar* tlbCategories = nullptr;
    QTreeWidget* tvMain = nullptr;
    QTreeWidget* tvISO = nullptr;
    QFrame* picBar = nullptr;
    QLabel* lblTitle = nullptr;
    DocumentListView* lvMain = nullptr;
    DocumentListModel* lvModel = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuReportHTML = nullptr;
    QAction* mnuDatabaseBackup = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* mnuDocumentControl = nullptr;
    QAction* mnuDocumentApprove = nullptr;
    QAction* mnuDocumentNewRevision = nullptr;
    QAction* mnuDocumentReviewDone = nullptr;
    QAction* mnuDocumentWithdraw = nullptr;
    QAction* mnuDocumentHistory = nullptr;
    QAction* mnuDocumentCategoryInterval = nullptr;
    QAction* mnuViewShowObsolete = nullptr;
    QAction* mnuViewDue = nullptr;
    QAction* mnuViewReload = nullptr;
    QAction* mnuReportCoverage = nullptr;
    QAction* mnuDatabaseCheck = nullptr;
    QAction* mnuDatabaseRelink = nullptr;
    QLineEdit* txtSearch = nullptr;
    QAction* mnuFileExport = nullptr;
    QAction* mnuFileImport = nullptr;
    QAction* mnuReportMasterList = nullptr;

    // The list row under the last mouse press on the list, or an invalid index; forgotten when a
    // drag ends.
    QPersistentModelIndex mDragItem;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Lays the controls out whenever the client area (the central widget) changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Resize();
    void Form_Unload();
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void buildLists();
    void connectControls();
    void RestoreColumnWidths();
    void SaveColumnWidths();
    void RestoreWindowPlace();
    void SaveWindowPlace();
    void buildKeyboard();
    // Greys the selection of the tree that did not fill the list (both, for the other lists).
    void MarkListedTree();
    void SetButtonsEnabled(const QStringList& keys, bool enabled);
    void ShowNoCategory();
    void buildControlMenus();
    void buildColumnMenu();
    // The document of the selected row, its key, reference and file.
    Document SelectedDocument() const;

    enum class ListSource
    {
        Category,
        Clause,
        Due,
        Search,
        Check
    };
    ListSource m_listSource = ListSource::Category;
    // The key of the category or the clause whose documents the list shows, or showed before a due,
    // search or check list: clearing the search goes back to it.
    QString m_listNode;
    ListSource m_searchedFrom = ListSource::Category;
    void buildFindingControls();
    void buildRegisterMenus();
    void tvISO_ContextMenu(const QPoint& pos);
    // A toolbar command as its button runs it, when the button is enabled.
    void RunButton(const QString& key);
    // The keys that run a toolbar button's command, as the user reads them ("Ins, Ctrl+N").
    QString KeysOf(const QString& key) const;
    QTreeWidgetItem* CategoryNode(const QString& catkey) const;
    // Shows a list that is not a category's, titled before + its row count + after.
    void ShowList(ListSource source, std::vector<Document> rows, const QString& before, const QString& after);

    bool m_unloaded = false;
};
