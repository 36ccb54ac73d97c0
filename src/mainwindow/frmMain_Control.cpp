#include "mainwindow/frmMain.h"

#include "dialogs/DocumentControlDialog.h"
#include "dialogs/HistoryDialog.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/NodeTree.h"
#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/LoginName.h"
#include "storage/Catalogue.h"
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

// Document control from the window: the Document and View menus, the control columns of the list,
// and the due list.

namespace {

// Days ahead that the due list looks.
constexpr int kDueWithinDays = 30;

QDate askDate(const QString& prompt, const QString& title)
{
    const QString text = InputBox(prompt, title, QDate::currentDate().toString(Qt::ISODate));
    if (text.isEmpty())
        return QDate();
    const QDate date = QDate::fromString(text.trimmed(), Qt::ISODate);
    if (!date.isValid())
        MsgBox(QStringLiteral("'") + text + QStringLiteral("' is not a date. Type it as year-month-day, e.g. ")
                   + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('.'),
               MsgStyle::Critical);
    return date;
}

void tellUnchanged(Catalogue::Write result)
{
    if (result == Catalogue::Write::Unchanged)
        MsgBox(QStringLiteral("This document is no longer in the catalogue: nothing was changed."), MsgStyle::Critical);
}

} // namespace

QStringList frmMain::RowButtonKeys()
{
    return {QStringLiteral("OPEN"), QStringLiteral("EDIT"), QStringLiteral("REMOVE"), QStringLiteral("CONTROL"),
            QStringLiteral("HISTORY")};
}

void frmMain::buildControlMenus()
{
    auto addItem = [](QMenu* menu, const char* name, const char* caption) {
        QAction* item = menu->addAction(QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    QMenu* document = menuBar()->addMenu(QStringLiteral("D&ocument"));
    document->setObjectName(QStringLiteral("mnuDocument"));
    mnuDocumentControl = addItem(document, "mnuDocumentControl", "&Document control...");
    mnuDocumentApprove = addItem(document, "mnuDocumentApprove", "&Approve...");
    mnuDocumentNewRevision = addItem(document, "mnuDocumentNewRevision", "&New revision...");
    mnuDocumentReviewDone = addItem(document, "mnuDocumentReviewDone", "&Review done...");
    mnuDocumentWithdraw = addItem(document, "mnuDocumentWithdraw", "&Withdraw...");
    mnuDocumentHistory = addItem(document, "mnuDocumentHistory", "&History");
    document->addSeparator();
    mnuDocumentCategoryInterval = addItem(document, "mnuDocumentCategoryInterval", "Category review &interval...");
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuViewShowObsolete = addItem(view, "mnuViewShowObsolete", "Show &obsolete");
    mnuViewShowObsolete->setCheckable(true);
    mnuViewDue = addItem(view, "mnuViewDue", "&Due for review");

    connect(mnuDocumentControl, &QAction::triggered, this, &frmMain::mnuDocumentControl_Click);
    connect(mnuDocumentApprove, &QAction::triggered, this, &frmMain::mnuDocumentApprove_Click);
    connect(mnuDocumentNewRevision, &QAction::triggered, this, &frmMain::mnuDocumentNewRevision_Click);
    connect(mnuDocumentReviewDone, &QAction::triggered, this, &frmMain::mnuDocumentReviewDone_Click);
    connect(mnuDocumentWithdraw, &QAction::triggered, this, &frmMain::mnuDocumentWithdraw_Click);
    connect(mnuDocumentHistory, &QAction::triggered, this, &frmMain::mnuDocumentHistory_Click);
    connect(mnuDocumentCategoryInterval, &QAction::triggered, this, &frmMain::mnuDocumentCategoryInterval_Click);
    connect(mnuViewShowObsolete, &QAction::toggled, this, &frmMain::mnuViewShowObsolete_Toggled);
    connect(mnuViewDue, &QAction::triggered, this, &frmMain::mnuViewDue_Click);
}

// The columns after the file can be hidden from the header's menu; the choice is kept on exit.
void frmMain::buildColumnMenu()
{
    QHeaderView* header = lvMain->header();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& pos) {
        QMenu menu;
        for (int column = DocumentListModel::TitleColumn; column < DocumentListModel::ColumnCount; ++column) {
            QAction* shown = menu.addAction(lvModel->headerData(column, Qt::Horizontal).toString());
            shown->setCheckable(true);
            shown->setChecked(!lvMain->isColumnHidden(column));
            connect(shown, &QAction::toggled, this, [this, column](bool on) { lvMain->setColumnHidden(column, !on); });
        }
        menu.exec(header->mapToGlobal(pos));
    });
}

Document frmMain::SelectedDocument() const
{
    const int row = lvMain->SelectedRow();
    if (row < 0)
        throw AppError(QStringLiteral("Object variable not set: no document is selected"));
    return lvModel->Row(row);
}

void frmMain::ReloadList(const QString& select)
{
    const int row = lvMain->SelectedRow();
    const QString dockey = !select.isEmpty() ? select : row >= 0 ? lvModel->ItemTag(row) : QString();
    switch (m_listSource) {
    case ListSource::Due:
        mnuViewDue_Click();
        break;
    case ListSource::Search:
        txtSearch_Change(txtSearch->text());
        break;
    case ListSource::Check:
        mnuDatabaseCheck_Click();
        break;
    case ListSource::Clause:
        if (QTreeWidgetItem* node
            = tvISO->findItems(m_listNode, Qt::MatchExactly | Qt::MatchRecursive).value(0, tvISO->currentItem())) {
            tvISO->setCurrentItem(node);
            tvISO_NodeClick(node);
        }
        break;
    case ListSource::Category:
        // A category another program deleted leaves the first one listed, as a load does.
        if (!SelectCategory(m_listNode))
            LoadCategories();
        break;
    }
    SelectDocument(dockey);
    RefreshCoverage();
}

void frmMain::mnuDocumentControl_Click()
{
    Trap("CONTROL1", [&] {
        const Document document = SelectedDocument();
        DocumentControlDialog dialog(this);
        dialog.Init(document);
        if (Ui().ShowModal(dialog) == QDialog::Accepted)
            ReloadList();
    });
}

void frmMain::mnuDocumentApprove_Click()
{
    Trap("CONTROL2", [&] {
        const Document document = SelectedDocument();
        const QString title = QStringLiteral("Approve - ") + document.ref;
        const QString approver = InputBox(QStringLiteral("Approved by"), title, LoginName()).trimmed();
        if (approver.isEmpty())
            return;
        const QDate on = askDate(QStringLiteral("Approved on (year-month-day)"), title);
        if (!on.isValid())
            return;
        HourGlass wait; // the file is read whole for its checksum and copied to the archive
        tellUnchanged(Catalogue::Current().Approve(document, approver, on));
        ReloadList();
    });
}

void frmMain::mnuDocumentNewRevision_Click()
{
    Trap("CONTROL3", [&] {
        const Document document = SelectedDocument();
        const DocumentControl control = Catalogue::Current().Control(document.key);
        if (control.status == DocumentControl::Status::Draft) {
            MsgBox(document.ref + QStringLiteral(" is already a draft (revision ") + control.revision
                   + QStringLiteral("): approve it first."));
            return;
        }
        const QString revision = InputBox(QStringLiteral("The new revision of ") + document.ref
                                              + QStringLiteral(" (it starts as a draft)"),
                                          QStringLiteral("New revision - ") + document.ref,
                                          DocumentControl::NextRevision(control.revision))
                                     .trimmed();
        if (revision.isEmpty())
            return;
        tellUnchanged(Catalogue::Current().NewRevision(document.key, revision));
        ReloadList();
    });
}

void frmMain::mnuDocumentReviewDone_Click()
{
    Trap("CONTROL4", [&] {
        const Document document = SelectedDocument();
        const QString title = QStringLiteral("Review done - ") + document.ref;
        const QString reviewer = InputBox(QStringLiteral("Reviewed by"), title, LoginName()).trimmed();
        if (reviewer.isEmpty())
            return;
        const QDate on = askDate(QStringLiteral("Reviewed on (year-month-day)"), title);
        if (!on.isValid())
            return;
        tellUnchanged(Catalogue::Current().ReviewDone(document.key, reviewer, on));
        ReloadList();
    });
}

void frmMain::mnuDocumentWithdraw_Click()
{
    Trap("CONTROL5", [&] {
        const Document document = SelectedDocument();
        const QString reason
            = InputBox(QStringLiteral("Why is ") + document.ref
                           + QStringLiteral(" withdrawn? It is then obsolete and hidden from the lists."),
                       QStringLiteral("Withdraw - ") + document.ref)
                  .trimmed();
        if (reason.isEmpty())
            return;
        tellUnchanged(Catalogue::Current().Withdraw(document.key, reason));
        ReloadList();
    });
}

void frmMain::mnuDocumentHistory_Click()
{
    Trap("CONTROL6", [&] {
        const Document document = SelectedDocument();
        HistoryDialog dialog(this);
        dialog.Init(document.ref, Catalogue::Current().History(document.key));
        Ui().ShowModal(dialog);
    });
}

void frmMain::mnuDocumentCategoryInterval_Click()
{
    Trap("CONTROL7", [&] {
        QTreeWidgetItem* node = tvMain->currentItem();
        if (!node)
            throw AppError(QStringLiteral("Object variable not set: no category is selected"));
        Catalogue& catalogue = Catalogue::Current();
        const QString text = InputBox(QStringLiteral("Months between reviews of the documents of ") + node->text(0)
                                          + QStringLiteral(" (1 to 120)"),
                                      QStringLiteral("Category review interval"),
                                      QString::number(catalogue.CategoryReviewMonths(NodeTree::Key(node))));
        if (text.isEmpty())
            return;
        bool ok = false;
        const int months = text.trimmed().toInt(&ok);
        if (!ok || months < 1 || months > 120) {
            MsgBox(QStringLiteral("The interval is a whole number of months from 1 to 120."), MsgStyle::Critical);
            return;
        }
        catalogue.SetCategoryReviewMonths(NodeTree::Key(node), months);
    });
}

void frmMain::mnuViewShowObsolete_Toggled(bool show)
{
    Trap("CONTROL8", [&] {
        Catalogue::Current().SetIncludeObsolete(show);
        ReloadList();
    });
}

void frmMain::mnuViewDue_Click()
{
    HourGlass hourGlass;
    Trap("CONTROL9", [&] {
        ShowList(ListSource::Due, Catalogue::Current().DueForReview(QDate::currentDate(), kDueWithinDays),
                 QStringLiteral("Due for review - "), QStringLiteral(" documents"));
    });
}

void frmMain::ShowOverdueNotice()
{
    Trap("CONTROL10", [&] {
        const int overdue = Catalogue::Current().OverdueCount(QDate::currentDate());
        if (overdue == 1)
            statusBar()->showMessage(
                QStringLiteral("1 document is overdue for review: View > Due for review lists it."));
        else if (overdue > 1)
            statusBar()->showMessage(
                QStringLiteral("%1 documents are overdue for review: View > Due for review lists them.").arg(overdue));
    });
}
