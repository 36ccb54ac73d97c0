#include "mainwindow/frmMain.h"

#include "mainwindow/ColumnWidthSettings.h"
#include "mainwindow/CompactToolbarStyle.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/ImageLists.h"
#include "mainwindow/NodeTree.h"
#include "mainwindow/WindowPlaceSettings.h"
#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/Twips.h"
#include "storage/Catalogue.h"
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

namespace {

// The client area as designed, in twips.
constexpr double kDesignWidth = 11460;
constexpr double kDesignHeight = 7305;

// Design widths of the list's columns, in twips; the file check's problem column last.
constexpr double kColumnTwips[] = {360, 1500, 1000, 1440, 1000, 600, 1200, 1500, 1500};
static_assert(std::size(kColumnTwips) == DocumentListModel::ColumnCount, "a width for every column");

struct ToolbarButton
{
    const char* caption;
    const char* key;
    const char* toolTip;
};

// Left to right; an empty key is a separator.
constexpr ToolbarButton kButtons[] = {
    {"New", "NEWCAT", "Add new category"},
    {"Rename", "RENAMECAT", "Rename category"},
    {"Arrange", "MOVECAT", "Arrange categories"},
    {"Delete", "DELETECAT", "Delete category"},
    {"", "", ""},
    {"Open", "OPEN", "Open file"},
    {"Add", "ADD", "Add document to category"},
    {"Edit", "EDIT", "Edit document details"},
    {"Remove", "REMOVE", "Remove document details"},
    {"", "", ""},
    {"Exit", "EXIT", "Exit application"},
    {"", "", ""},
    {"Control", "CONTROL", "Document control: revision, status, approval and review"},
    {"History", "HISTORY", "History of the document"},
};

double leftOf(const QWidget* w)
{
    return PixelsToTwips(w->x());
}
double topOf(const QWidget* w)
{
    return PixelsToTwips(w->y());
}
double heightOf(const QWidget* w)
{
    return PixelsToTwips(w->height());
}

// A control refuses a negative size or place and keeps what it had.
void setWidth(QWidget* w, float twips)
{
    if (twips >= 0)
        w->resize(TwipsToPixels(twips), w->height());
}
void setHeight(QWidget* w, float twips)
{
    if (twips >= 0)
        w->resize(w->width(), TwipsToPixels(twips));
}
void setTop(QWidget* w, float twips)
{
    if (twips >= 0)
        w->move(w->x(), TwipsToPixels(twips));
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ISO9001:2000 Cadrelle"));
    buildControls();
    buildToolbar();
    buildMenus();
    buildLists();
    buildFindingControls();
    buildRegisterMenus();
    buildKeyboard();
    connectControls();
    resize(TwipsToPixels(kDesignWidth), TwipsToPixels(kDesignHeight) + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

// The client area is the central widget: its origin is the origin of every design position, the
// toolbar included, so controls stand exactly where the design puts them.
void frmMain::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);

    picBar = new QFrame(client);
    picBar->setObjectName(QStringLiteral("picBar"));
    picBar->setGeometry(TwipsRect(3255, 840, 6630, 60));
    picBar->setAutoFillBackground(true);
    QPalette bar = picBar->palette();
    bar.setColor(QPalette::Window, QColor(0x1F, 0x4E, 0x79));
    picBar->setPalette(bar);

    lblTitle = new QLabel(client);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    // The title shows category names as typed: never as markup, which could load files.
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setGeometry(TwipsRect(3360, 945, 6525, 330));
    QFont title(QStringLiteral("MS Sans Serif"));
    title.setStyleHint(QFont::SansSerif);
    title.setPointSize(12);
    title.setBold(true);
    lblTitle->setFont(title);
    QPalette blue = lblTitle->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    lblTitle->setPalette(blue);
}

void frmMain::buildToolbar()
{
    tlbCategories = new QToolBar(centralWidget());
    tlbCategories->setObjectName(QStringLiteral("tlbCategories"));
    tlbCategories->setGeometry(TwipsRect(0, 0, kDesignWidth, 780));
    tlbCategories->setMovable(false);
    tlbCategories->setFloatable(false);
    tlbCategories->setIconSize(kImageList1Size);
    tlbCategories->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolbarButton& b : kButtons) {
        if (!*b.key) {
            tlbCategories->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(b.key);
        QAction* action = tlbCategories->addAction(ImageList1(key), QString::fromLatin1(b.caption));
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(QString::fromLatin1(b.toolTip));
    }
    auto* style = new CompactToolbarStyle;
    style->setParent(tlbCategories);
    tlbCategories->setStyle(style);
    for (QAction* action : tlbCategories->actions()) {
        if (QWidget* button = tlbCategories->widgetForAction(action))
            button->setStyle(style);
    }
    // Until a category is chosen nothing is selected that these buttons could act on.
    SetButtonsEnabled({QStringLiteral("RENAMECAT"), QStringLiteral("DELETECAT"), QStringLiteral("OPEN"),
                       QStringLiteral("ADD"), QStringLiteral("EDIT"), QStringLiteral("REMOVE")},
                      false);
}

void frmMain::buildMenus()
{
    auto addMenu = [this](const char* name, const char* caption) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(caption));
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [](QMenu* menu, const char* name, const char* caption) {
        QAction* item = menu->addAction(QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    // The ampersands give the keyboard its access keys; they are not shown as text.
    QMenu* file = addMenu("mnuFile", "&File");
    mnuFileExit = addItem(file, "mnuFileExit", "E&xit");
    QMenu* report = addMenu("mnuReport", "&Report");
    mnuReportHTML = addItem(report, "mnuReportHTML", "&HTML");
    QMenu* database = addMenu("mnuDatabase", "&Database");
    mnuDatabaseBackup = addItem(database, "mnuDatabaseBackup", "&Backup");
    QMenu* help = addMenu("mnuHelp", "&Help");
    mnuHelpContents = addItem(help, "mnuHelpContents", "&Contents");
    mnuHelpAbout = addItem(help, "mnuHelpAbout", "&About");
    buildControlMenus();
}

void frmMain::buildLists()
{
    auto* categories = new NodeTree(centralWidget());
    categories->setObjectName(QStringLiteral("tvMain"));
    categories->setGeometry(TwipsRect(0, 840, 3270, 2640));
    categories->setRootIsDecorated(false);
    categories->AcceptDrops(DocumentListModel::kMimeType);
    tvMain = categories;

    auto* clauses = new NodeTree(centralWidget());
    clauses->setObjectName(QStringLiteral("tvISO"));
    clauses->setGeometry(TwipsRect(0, 3465, 3270, 2955));
    tvISO = clauses;

    lvModel = new DocumentListModel(this);
    lvModel->setObjectName(QStringLiteral("lvModel"));
    lvMain = new DocumentListView(centralWidget());
    lvMain->setObjectName(QStringLiteral("lvMain"));
    lvMain->setGeometry(TwipsRect(3255, 1260, 6630, 5685));
    lvMain->setModel(lvModel);
    for (int column = 0; column < DocumentListModel::ColumnCount; ++column)
        lvMain->SetColumnWidthTwips(column, kColumnTwips[column]);
    buildColumnMenu();
}

void frmMain::connectControls()
{
    connect(tlbCategories, &QToolBar::actionTriggered, this,
            [this](QAction* button) { tlbCategories_ButtonClick(button->data().toString()); });
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuReportHTML, &QAction::triggered, this, &frmMain::mnuReportHTML_Click);
    connect(mnuDatabaseBackup, &QAction::triggered, this, &frmMain::mnuDatabaseBackup_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);

    auto* categories = static_cast<NodeTree*>(tvMain);
    connect(categories, &NodeTree::NodeClick, this, &frmMain::tvMain_NodeClick);
    // The drop is handled once the drag has ended, so a message it shows is not caught in the drag.
    connect(categories, &NodeTree::Dropped, this, &frmMain::tvMain_OLEDragDrop, Qt::QueuedConnection);
    connect(static_cast<NodeTree*>(tvISO), &NodeTree::NodeClick, this, &frmMain::tvISO_NodeClick);
    connect(lvMain, &DocumentListView::MouseDown, this, &frmMain::lvMain_MouseDown);
    connect(lvMain, &DocumentListView::MouseUp, this, &frmMain::lvMain_MouseUp);
    connect(lvMain, &DocumentListView::DblClick, this, &frmMain::lvMain_DblClick);
    // The drag loop swallows the release; the row is forgotten when the drag ends however it ends.
    connect(lvMain, &DocumentListView::DragEnded, this, [this] { mDragItem = QPersistentModelIndex(); });
    centralWidget()->installEventFilter(this);
}

void frmMain::Form_Load()
{
    LoadCategories();
    LoadISOTree();
    RefreshCoverage();
    RestoreWindowPlace();
    Trap("MAIN1", [&] { RestoreColumnWidths(); });
}

// Put back before the window shows, and only onto a screen that is there now.
void frmMain::RestoreWindowPlace()
{
    const WindowPlaceSettings::Place saved = WindowPlaceSettings::Saved();
    if (!saved.geometry.isValid())
        return;
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    }
    setGeometry(WindowPlaceSettings::OnScreen(saved.geometry, areas));
    if (saved.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// A maximised or minimised window keeps the size it comes back to.
void frmMain::SaveWindowPlace()
{
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    WindowPlaceSettings::Save({normal ? geometry() : normalGeometry(), isMaximized()});
}

// Only "C2Width" is looked for; the other three are taken to be there whenever it is. A width that
// cannot be read ends the restore: the columns before it keep their saved widths, the rest their
// design widths.
void frmMain::RestoreColumnWidths()
{
    for (int column : ColumnWidthSettings::HiddenColumns())
        lvMain->setColumnHidden(column, true);
    for (int column = ColumnWidthSettings::kLastColumn + 1; column <= ColumnWidthSettings::kLastControlColumn;
         ++column) {
        if (ColumnWidthSettings::Saved(column))
            lvMain->SetColumnWidthTwips(column, ColumnWidthSettings::Width(column));
    }
    if (!ColumnWidthSettings::Saved())
        return;
    for (int column = ColumnWidthSettings::kFirstColumn; column <= ColumnWidthSettings::kLastColumn; ++column)
        lvMain->SetColumnWidthTwips(column, ColumnWidthSettings::Width(column));
}

// A hidden column keeps the width it had when shown. The last column shown fills the list to its
// right edge: that width is the window's, not one the user gave, and is not kept.
void frmMain::SaveColumnWidths()
{
    const QHeaderView* header = lvMain->header();
    int stretched = -1;
    for (int place = header->count() - 1; place >= 0 && stretched < 0; --place) {
        if (!header->isSectionHidden(header->logicalIndex(place)))
            stretched = header->logicalIndex(place);
    }
    QList<int> hidden;
    for (int column = ColumnWidthSettings::kFirstColumn; column <= ColumnWidthSettings::kLastControlColumn; ++column) {
        if (lvMain->isColumnHidden(column)) {
            hidden << column;
            continue;
        }
        if (column != stretched)
            ColumnWidthSettings::Save(column, lvMain->ColumnWidthTwips(column));
    }
    ColumnWidthSettings::SaveHiddenColumns(hidden);
}

QAction* frmMain::Button(const QString& key) const
{
    if (key.isEmpty())
        return nullptr;
    for (QAction* action : tlbCategories->actions()) {
        if (action->data().toString() == key)
            return action;
    }
    return nullptr;
}

void frmMain::SetButtonsEnabled(const QStringList& keys, bool enabled)
{
    for (const QString& key : keys) {
        QAction* button = Button(key);
        if (!button)
            throw AppError(QStringLiteral("Element not found: button '%1'").arg(key));
        button->setEnabled(enabled);
    }
}

void frmMain::EnableAllButtons()
{
    Trap("MAIN11", [&] {
        for (QAction* button : tlbCategories->actions())
            button->setEnabled(true);
    });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtSearch && event->type() == QEvent::FocusIn && Catalogue::IsOpen())
        Catalogue::Current().PrepareSearch();
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

// The list and the title fill the right-hand area, the two trees share the left column below the
// toolbar; a rule whose result is negative (a window made very small or minimised) is skipped.
void frmMain::Form_Resize()
{
    const float W = float(PixelsToTwips(centralWidget()->width()));
    const float H = float(PixelsToTwips(centralWidget()->height()));
    setWidth(lvMain, W - float(leftOf(lvMain)));
    setHeight(lvMain, H - float(topOf(lvMain)));
    setHeight(tvMain, (H - float(topOf(tvMain))) / 2);
    setTop(tvISO, float(topOf(tvMain) + heightOf(tvMain)));
    setHeight(tvISO, H - float(topOf(tvISO)));
    setWidth(lblTitle, W - float(leftOf(lblTitle)));
    setWidth(picBar, W - float(leftOf(picBar)));
    // The toolbar spans the window as the menu bar does.
    setWidth(tlbCategories, W);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

// Closing never fails to end the program: a failure is reported and the remaining steps skipped.
void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Trap("MAIN4", [&] {
        Catalogue::Close();
        SaveColumnWidths();
        SaveWindowPlace();
    });
    QCoreApplication::quit();
}
