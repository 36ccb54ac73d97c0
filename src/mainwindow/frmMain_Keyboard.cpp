#include "mainwindow/frmMain.h"

#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/NodeTree.h"
#include "platform/ErrorTrap.h"
#include "platform/ShellOpenFile.h"
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

// Everyday use from the keyboard and the context menus: the shortcuts, shown in the toolbar's tips
// and beside the menu items; Enter and Delete on the list; the menus of the list's rows and of the
// categories; the folder of a document; and Reload.

namespace {

const QString kShowInFolder = QStringLiteral("SHOWINFOLDER");

struct MenuItem
{
    const char* caption;
    const char* key; // a toolbar button's key, or kShowInFolder; empty: a separator
};

constexpr MenuItem kRowMenu[] = {
    {"Open", "OPEN"},
    {"Edit...", "EDIT"},
    {"Document control...", "CONTROL"},
    {"History", "HISTORY"},
    {"Remove", "REMOVE"},
    {"", ""},
    {"Show in folder", "SHOWINFOLDER"},
};

constexpr MenuItem kCategoryMenu[] = {
    {"New...", "NEWCAT"}, {"Rename...", "RENAMECAT"}, {"Delete", "DELETECAT"}, {"", ""}, {"Arrange...", "MOVECAT"},
};

QString keysText(const QList<QKeySequence>& keys)
{
    QStringList texts;
    for (const QKeySequence& key : keys)
        texts << key.toString(QKeySequence::NativeText);
    return texts.join(QStringLiteral(", "));
}

} // namespace

void frmMain::buildKeyboard()
{
    Button(QStringLiteral("ADD"))->setShortcuts({QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_N)});
    Button(QStringLiteral("EDIT"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    Button(QStringLiteral("RENAMECAT"))->setShortcut(QKeySequence(Qt::Key_F2));
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("mnuView"));
    view->addSeparator();
    mnuViewReload = view->addAction(QStringLiteral("&Reload"));
    mnuViewReload->setObjectName(QStringLiteral("mnuViewReload"));
    mnuViewReload->setShortcut(QKeySequence(Qt::Key_F5));
    connect(mnuViewReload, &QAction::triggered, this, &frmMain::mnuViewReload_Click);

    for (QAction* button : tlbCategories->actions()) {
        const QString keys = KeysOf(button->data().toString());
        if (!keys.isEmpty())
            button->setToolTip(button->toolTip() + QStringLiteral(" (") + keys + QLatin1Char(')'));
    }
    // Enter and Delete act on the list's row only while the list has the focus.
    connect(lvMain, &DocumentListView::OpenKey, this, [this] { RunButton(QStringLiteral("OPEN")); });
    connect(lvMain, &DocumentListView::DeleteKey, this, [this] { RunButton(QStringLiteral("REMOVE")); });
    connect(lvMain, &DocumentListView::ContextMenu, this, &frmMain::lvMain_ContextMenu);
    connect(static_cast<NodeTree*>(tvMain), &NodeTree::ContextMenu, this, &frmMain::tvMain_ContextMenu);
}

QString frmMain::KeysOf(const QString& key) const
{
    if (key == QLatin1String("OPEN"))
        return QStringLiteral("Enter");
    if (key == QLatin1String("REMOVE"))
        return QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText);
    if (key == QLatin1String("EXIT"))
        return keysText(mnuFileExit->shortcuts());
    const QAction* button = Button(key);
    return button ? keysText(button->shortcuts()) : QString();
}

void frmMain::RunButton(const QString& key)
{
    if (QAction* button = Button(key); button && button->isEnabled())
        button->trigger();
}

// Built each time from the toolbar's state, so an item is enabled exactly when its button is.
void frmMain::lvMain_ContextMenu(const QPoint& pos)
{
    const QModelIndex index = lvMain->indexAt(pos);
    if (!index.isValid())
        return;
    lvMain->SelectRow(index.row());
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuRow"));
    for (const MenuItem& item : kRowMenu) {
        const QString key = QString::fromLatin1(item.key);
        if (key.isEmpty()) {
            menu.addSeparator();
            continue;
        }
        const QString keys = KeysOf(key);
        QAction* choice
            = menu.addAction(QString::fromLatin1(item.caption) + (keys.isEmpty() ? QString() : u'\t' + keys));
        choice->setData(key);
        const QAction* button = Button(key == kShowInFolder ? QStringLiteral("OPEN") : key);
        choice->setIcon(key == kShowInFolder ? QIcon() : button->icon());
        choice->setEnabled(button->isEnabled());
    }
    const QAction* chosen = menu.exec(lvMain->viewport()->mapToGlobal(pos));
    if (!chosen)
        return;
    if (chosen->data().toString() == kShowInFolder)
        ShowInFolder();
    else
        RunButton(chosen->data().toString());
}

// The node under the pointer is listed first, so the menu acts on what the window shows. New and
// Arrange need no category: they are offered also where the toolbar has them off.
void frmMain::tvMain_ContextMenu(const QPoint& pos)
{
    QTreeWidgetItem* node = tvMain->itemAt(pos);
    if (node && (m_listSource != ListSource::Category || m_listNode != NodeTree::Key(node))) {
        tvMain->setCurrentItem(node);
        tvMain_NodeClick(node);
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuCategory"));
    for (const MenuItem& item : kCategoryMenu) {
        const QString key = QString::fromLatin1(item.key);
        if (key.isEmpty()) {
            menu.addSeparator();
            continue;
        }
        const QString keys = KeysOf(key);
        QAction* choice = menu.addAction(
            Button(key)->icon(), QString::fromLatin1(item.caption) + (keys.isEmpty() ? QString() : u'\t' + keys));
        choice->setData(key);
        const bool needsNode = key == QLatin1String("RENAMECAT") || key == QLatin1String("DELETECAT");
        choice->setEnabled(!needsNode || (node && Button(key)->isEnabled()));
    }
    const QAction* chosen = menu.exec(tvMain->viewport()->mapToGlobal(pos));
    if (chosen)
        tlbCategories_ButtonClick(chosen->data().toString());
}

void frmMain::ShowInFolder()
{
    Trap("MAIN13", [&] { ShellOpenFile(QFileInfo(SelectedDocument().path).absolutePath()); });
}

// What another program changed shows: the categories and the list are read again, each kept where
// it was as far as it is still there.
void frmMain::mnuViewReload_Click()
{
    const ListSource source = m_listSource;
    const QString listed = m_listNode;
    const QString category = NodeTree::Key(tvMain->currentItem());
    const int row = lvMain->SelectedRow();
    const QString dockey = row >= 0 ? lvModel->ItemTag(row) : QString();
    LoadCategories();
    if (QTreeWidgetItem* node = CategoryNode(category))
        tvMain->setCurrentItem(node);
    m_listSource = source;
    m_listNode = listed;
    ReloadList(dockey);
}
