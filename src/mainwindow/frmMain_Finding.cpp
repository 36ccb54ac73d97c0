#include "mainwindow/frmMain.h"

#include "dialogs/RelinkDialog.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/NodeTree.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "reports/CoverageReport.h"
#include "storage/Catalogue.h"
#include "storage/IsoClauses.h"
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QShortcut>
#include <QToolBar>

// Finding and checking from the window: the search box, sorting by a column, the clause tree's
// titles and coverage, the coverage report, the file check and relinking.

namespace {

constexpr int kCoverageColumn = 1;

// The category commands, off while a list that is not a category's shows.
const QStringList kCategoryOnlyButtons
    = {QStringLiteral("NEWCAT"), QStringLiteral("DELETECAT"), QStringLiteral("RENAMECAT"), QStringLiteral("MOVECAT"),
       QStringLiteral("ADD")};

} // namespace

void frmMain::buildFindingControls()
{
    auto* spacer = new QWidget(tlbCategories);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tlbCategories->addWidget(spacer);
    txtSearch = new QLineEdit(tlbCategories);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Search (Ctrl+F)"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->setFixedWidth(190);
    tlbCategories->addWidget(txtSearch);
    connect(txtSearch, &QLineEdit::textChanged, this, &frmMain::txtSearch_Change);
    txtSearch->installEventFilter(this);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        txtSearch->setFocus(Qt::ShortcutFocusReason);
        txtSearch->selectAll();
    });
    auto* leave = new QShortcut(Qt::Key_Escape, txtSearch, nullptr, nullptr, Qt::WidgetShortcut);
    connect(leave, &QShortcut::activated, txtSearch, &QLineEdit::clear);

    // A click on a heading sorts by it, again the other way; a new list comes in reference order. A
    // long list is read whole to be sorted, under the hourglass.
    QHeaderView* header = lvMain->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sortIndicatorChanged, lvModel, [this](int column, Qt::SortOrder order) {
        const HourGlass wait;
        lvModel->sort(column, order);
    });
    connect(lvModel, &QAbstractItemModel::modelReset, header,
            [header] { header->setSortIndicator(-1, Qt::AscendingOrder); });
    lvMain->setColumnHidden(DocumentListModel::ProblemColumn, true);

    auto addItem = [this](const char* menuName, const char* name, const char* caption) {
        QMenu* menu = menuBar()->findChild<QMenu*>(QString::fromLatin1(menuName));
        QAction* item = menu->addAction(QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    mnuReportCoverage = addItem("mnuReport", "mnuReportCoverage", "&Clause coverage");
    mnuDatabaseCheck = addItem("mnuDatabase", "mnuDatabaseCheck", "&Check files");
    mnuDatabaseRelink = addItem("mnuDatabase", "mnuDatabaseRelink", "&Relink...");
    mnuDatabaseRelink->setEnabled(false);
    connect(mnuReportCoverage, &QAction::triggered, this, &frmMain::mnuReportCoverage_Click);
    connect(mnuDatabaseCheck, &QAction::triggered, this, &frmMain::mnuDatabaseCheck_Click);
    connect(mnuDatabaseRelink, &QAction::triggered, this, &frmMain::mnuDatabaseRelink_Click);

    connect(static_cast<NodeTree*>(tvISO), &NodeTree::ContextMenu, this, &frmMain::tvISO_ContextMenu);
}

// A list that is not a category's: the row commands act on its rows, the category commands wait.
void frmMain::ShowList(ListSource source, std::vector<Document> rows, const QString& before, const QString& after)
{
    EnableAllButtons();
    SetButtonsEnabled(kCategoryOnlyButtons, false);
    m_listSource = source;
    MarkListedTree();
    lvMain->setColumnHidden(DocumentListModel::ProblemColumn, source != ListSource::Check);
    mnuDatabaseRelink->setEnabled(source == ListSource::Check);
    lvModel->SetRows(std::move(rows));
    lblTitle->setText(before + QString::number(lvModel->rowCount()) + after);
    SelectDocument(QString());
    SetButtonsEnabled(RowButtonKeys(), lvModel->rowCount() > 0);
}

// Typing filters at once; clearing the box returns to the node clicked last.
void frmMain::txtSearch_Change(const QString& text)
{
    Trap("FIND1", [&] {
        if (text.trimmed().isEmpty()) {
            if (m_listSource == ListSource::Search) {
                m_listSource = m_searchedFrom;
                ReloadList();
            }
            return;
        }
        if (m_listSource != ListSource::Search)
            m_searchedFrom = m_listSource;
        ShowList(ListSource::Search, Catalogue::Current().Search(text),
                 QStringLiteral("Search - ") + text.simplified() + QStringLiteral(" - "), QStringLiteral(" documents"));
    });
}

// Each clause node carries its title and the number of current documents that serve it; a clause
// served by none is marked, a required procedure missing more so, an excluded clause shows so.
void frmMain::RefreshCoverage()
{
    const std::vector<ClauseCoverage> coverage = Catalogue::Current().Coverage();
    QHash<QString, const ClauseCoverage*> byClause;
    for (const ClauseCoverage& c : coverage)
        byClause.insert(c.clause, &c);
    QList<QTreeWidgetItem*> nodes;
    for (int i = 0; i < tvISO->topLevelItemCount(); ++i)
        nodes << tvISO->topLevelItem(i);
    while (!nodes.isEmpty()) {
        QTreeWidgetItem* node = nodes.takeFirst();
        for (int i = 0; i < node->childCount(); ++i)
            nodes << node->child(i);
        const ClauseCoverage* c = byClause.value(node->text(0));
        if (!c)
            continue;
        QString count = QString::number(c->documents);
        QString tip = c->clause + QLatin1Char(' ') + c->title;
        QColor colour = palette().color(QPalette::Text);
        if (c->excluded) {
            count = QStringLiteral("n/a");
            colour = Qt::gray;
            tip += QStringLiteral("\nNot applicable: ") + c->justification;
        } else if (c->MissingProcedure()) {
            count = QStringLiteral("0 !");
            colour = Qt::red;
            tip += QStringLiteral("\nNo current document: the standard requires a documented procedure.");
        } else if (c->documents == 0) {
            colour = QColor(0xB0, 0x60, 0x00);
            tip += QStringLiteral("\nNo current document serves this clause.");
        }
        node->setText(kCoverageColumn, count);
        node->setForeground(kCoverageColumn, colour);
        QFont font = node->font(kCoverageColumn);
        font.setBold(c->MissingProcedure());
        node->setFont(kCoverageColumn, font);
        node->setToolTip(0, tip);
        node->setToolTip(kCoverageColumn, tip);
    }
}

void frmMain::tvISO_ContextMenu(const QPoint& pos)
{
    QTreeWidgetItem* node = tvISO->itemAt(pos);
    if (!node || !IsoClauses::MayBeExcluded(node->text(0)))
        return;
    const QString clause = node->text(0);
    const bool excluded = node->text(kCoverageColumn) == QLatin1String("n/a");
    QMenu menu;
    QAction* change
        = menu.addAction(excluded ? QStringLiteral("Applicable again") : QStringLiteral("Not applicable..."));
    if (menu.exec(tvISO->viewport()->mapToGlobal(pos)) == change)
        ExcludeClause(clause, !excluded);
}

void frmMain::ExcludeClause(const QString& clause, bool exclude)
{
    Trap("FIND2", [&] {
        QString justification;
        if (exclude) {
            justification
                = InputBox(QStringLiteral("Why does clause ") + clause + QLatin1Char(' ') + IsoClauses::Title(clause)
                               + QStringLiteral(" not apply to your organisation? (ISO 9001:2000, 1.2)"),
                           QStringLiteral("Not applicable - ") + clause)
                      .trimmed();
            if (justification.isEmpty())
                return;
        }
        Catalogue::Current().ExcludeClause(clause, justification);
        RefreshCoverage();
    });
}

void frmMain::mnuReportCoverage_Click()
{
    Trap("FIND3", [&] {
        const HourGlass wait;
        Catalogue& catalogue = Catalogue::Current();
        QHash<QString, std::vector<Document>> serving;
        const std::vector<ClauseCoverage> coverage = catalogue.Coverage(&serving);
        WriteCoverageReport(coverage, serving, catalogue.FilePath());
    });
}

// The check reads every file and, where a revision was approved, its checksum; the window keeps
// answering, and Cancel ends the check with what it found so far.
void frmMain::mnuDatabaseCheck_Click()
{
    Trap("FIND4", [&] {
        QProgressDialog progress(QStringLiteral("Checking the documents' files..."), QStringLiteral("Cancel"), 0, 100,
                                 this);
        progress.setObjectName(QStringLiteral("dlgCheckProgress"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(400);
        std::vector<Document> problems = Catalogue::Current().CheckFiles([&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
        progress.reset();
        ShowList(ListSource::Check, std::move(problems), QStringLiteral("Check files - "), QStringLiteral(" problems"));
    });
}

// Only the documents the check found missing are looked for; the user sees every change first.
void frmMain::mnuDatabaseRelink_Click()
{
    Trap("FIND5", [&] {
        std::vector<Document> missing;
        for (int row = 0; row < lvModel->rowCount(); ++row) {
            if (lvModel->Row(row).problem == QLatin1String("Missing"))
                missing.push_back(lvModel->Row(row));
        }
        if (missing.empty()) {
            MsgBox(QStringLiteral("The check found no missing file to look for."));
            return;
        }
        const QString folder = Ui().FolderName(QStringLiteral("Folder to look for the missing files in"));
        if (folder.isEmpty())
            return;
        std::vector<RelinkCandidate> candidates;
        {
            const HourGlass wait;
            candidates = Catalogue::PlanRelink(missing, folder);
        }
        RelinkDialog dialog(this);
        dialog.Init(candidates);
        if (Ui().ShowModal(dialog) != QDialog::Accepted || dialog.Accepted().empty())
            return;
        Catalogue::Current().Relink(dialog.Accepted());
        mnuDatabaseCheck_Click();
        RefreshCoverage();
    });
}
