#include "ProgramSession.h"
#include "storage/Catalogue.h"
#include "storage/IsoClauses.h"

#include "EventIdle.h"
#include "mainwindow/DocumentListModel.h"
#include "mainwindow/DocumentListView.h"
#include "mainwindow/frmMain.h"
#include "platform/ScriptedUi.h"
#include "startup/frmSplash.h"
#include "storage/sqlDB.h"
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

namespace {

frmMain* shownMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<frmMain*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Paints the list now, as the screen would show it, rather than when the event loop gets to it.
void paintList(frmMain* window)
{
    QWidget* viewport = window->lvMain->viewport();
    if (viewport->isVisible())
        viewport->repaint();
    else
        viewport->grab();
}

} // namespace

ProgramSession::~ProgramSession()
{
    Close();
}

Timing ProgramSession::Fail(const QString& what)
{
    m_failure = what;
    if (!m_ui.boxes.isEmpty())
        m_failure
            += QStringLiteral(" (the program said: ") + m_ui.prompts().join(QStringLiteral(" | ")) + QLatin1Char(')');
    m_ui.boxes.clear();
    return Timing::Failed();
}

Timing ProgramSession::StartUp()
{
    Close();
    m_ui.boxes.clear();
    auto* splash = new frmSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    EventIdle::Wait();

    const Stopwatch clock;
    splash->cmdContinue->click();
    for (int tries = 0; !(m_window = shownMainWindow()) && tries < 100; ++tries)
        EventIdle::Wait();
    EventIdle::Wait();
    const Timing elapsed = clock.Elapsed();

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!m_window)
        return Fail(QStringLiteral("the main window did not open"));
    if (!m_ui.boxes.isEmpty())
        return Fail(QStringLiteral("start-up showed a message"));
    return elapsed;
}

// Closing the window the user's way would end the program; the driver only lets go of it.
void ProgramSession::Close()
{
    delete m_window;
    m_window = nullptr;
    Catalogue::Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTreeWidgetItem* ProgramSession::Category(const QString& name) const
{
    const auto found = m_window->tvMain->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

QTreeWidgetItem* ProgramSession::Clause(const QString& text) const
{
    const auto found = m_window->tvISO->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

Timing ProgramSession::ClickCategory(const QString& name)
{
    if (!m_window)
        return Fail(QStringLiteral("no main window"));
    return Click(m_window->tvMain, Category(name), QStringLiteral("Category - ") + name);
}

bool ProgramSession::ShowCategory(const QString& name)
{
    return m_window && !Click(m_window->tvMain, Category(name), QStringLiteral("Category - ") + name, false).failed();
}

Timing ProgramSession::ClickClause(const QString& text)
{
    if (!m_window)
        return Fail(QStringLiteral("no main window"));
    const QString title = IsoClauses::Title(text);
    return Click(m_window->tvISO, Clause(text),
                 QStringLiteral("ISO Reference - ") + text + (title.isEmpty() ? QString() : QLatin1Char(' ') + title));
}

// A real mouse click on the node: the tree selects it and runs its node click. The node is
// brought into view first (its parents unfolded), which is not timed.
Timing ProgramSession::Click(QTreeWidget* tree, QTreeWidgetItem* node, const QString& title, bool profiled)
{
    if (!node)
        return Fail(QStringLiteral("no node for ") + title);
    for (QTreeWidgetItem* parent = node->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->scrollToItem(node);
    EventIdle::Wait();
    m_ui.boxes.clear();
    const QPoint centre = tree->visualItemRect(node).center();

    const Stopwatch clock(profiled);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    paintList(m_window);
    EventIdle::Wait();
    const Timing elapsed = clock.Elapsed();

    if (m_window->lblTitle->text() != title)
        return Fail(QStringLiteral("the click did not show ") + title);
    if (ListedRows() == 0)
        return Fail(title + QStringLiteral(" listed nothing"));
    if (!m_ui.boxes.isEmpty())
        return Fail(title + QStringLiteral(" showed a message"));
    return elapsed;
}

Timing ProgramSession::ScrollToEndAndBack(const QString& category)
{
    if (!ShowCategory(category))
        return Fail(QStringLiteral("cannot show ") + category);
    DocumentListView* list = m_window->lvMain;
    const Stopwatch clock;
    list->scrollToBottom();
    paintList(m_window);
    EventIdle::Wait();
    QScrollBar* bar = list->verticalScrollBar();
    const bool atEnd = bar->maximum() > 0 && bar->value() == bar->maximum();
    list->scrollToTop();
    paintList(m_window);
    EventIdle::Wait();
    const Timing elapsed = clock.Elapsed();
    if (!atEnd)
        return Fail(QStringLiteral("the list did not scroll to its end"));
    if (!m_ui.boxes.isEmpty())
        return Fail(QStringLiteral("scrolling showed a message"));
    return elapsed;
}

Timing ProgramSession::Report()
{
    return OpenedPage(m_window ? m_window->mnuReportHTML : nullptr, QStringLiteral("the report"));
}

Timing ProgramSession::MasterList()
{
    return OpenedPage(m_window ? m_window->mnuReportMasterList : nullptr, QStringLiteral("the master list"));
}

// The command writes a page and opens it: timed until the program is idle again.
Timing ProgramSession::OpenedPage(QAction* command, const QString& what)
{
    if (!m_window || !command)
        return Fail(QStringLiteral("no main window"));
    m_ui.boxes.clear();
    const qsizetype opened = m_ui.shellOpened.size();

    const Stopwatch clock;
    command->trigger();
    EventIdle::Wait();
    const Timing elapsed = clock.Elapsed();

    if (m_ui.shellOpened.size() != opened + 1)
        return Fail(what + QStringLiteral(" page was not opened"));
    if (QFileInfo(m_ui.shellOpened.last()).size() == 0)
        return Fail(what + QStringLiteral(" page is empty"));
    if (!m_ui.boxes.isEmpty())
        return Fail(what + QStringLiteral(" showed a message"));
    return elapsed;
}

Timing ProgramSession::Search(const QString& text, bool profiled)
{
    if (!m_window || text.isEmpty())
        return Fail(QStringLiteral("no main window"));
    QLineEdit* box = m_window->txtSearch;
    box->blockSignals(true);
    box->setText(text.chopped(1));
    box->blockSignals(false);
    box->setCursorPosition(int(text.size()) - 1);
    EventIdle::Wait();
    m_ui.boxes.clear();

    const Stopwatch clock(profiled);
    QTest::keyClick(box, text.back().toLatin1());
    paintList(m_window);
    EventIdle::Wait();
    const Timing elapsed = clock.Elapsed();

    const QString title = QStringLiteral("Search - %1 - %2 documents").arg(text).arg(ListedRows());
    if (box->text() != text || m_window->lblTitle->text() != title)
        return Fail(QStringLiteral("the search for ") + text + QStringLiteral(" did not show its list"));
    if (ListedRows() == 0)
        return Fail(QStringLiteral("the search for ") + text + QStringLiteral(" found nothing"));
    if (!m_ui.boxes.isEmpty())
        return Fail(QStringLiteral("the search showed a message"));
    return elapsed;
}

int ProgramSession::ListedRows() const
{
    return m_window ? m_window->lvModel->rowCount() : 0;
}
