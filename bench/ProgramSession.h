#pragma once

#include "Stopwatch.h"
#include <QString>

class QAction;
class frmMain;
class QTreeWidget;
class QTreeWidgetItem;
class ScriptedUi;

// Drives the program in this process as a user would: the splash's Continue, clicks on tree
// nodes, Report, HTML. Each timed step returns its timing, failed when it did not do what the
// user would have seen (an error message, the wrong list) so that no wrong figure is kept.
class ProgramSession
{
public:
    explicit ProgramSession(ScriptedUi& ui) : m_ui(ui) { }
    ~ProgramSession();

    // From the click on Continue until the main window is shown and the program idle. The
    // catalogue of the current program folder must not need its first-run fix-up.
    Timing StartUp();
    // Closes the main window and the catalogue without ending the program.
    void Close();

    // A click on a category node or a clause node, until the list is filled, painted and the
    // program idle. The list must then show at least one row.
    Timing ClickCategory(const QString& name);
    // The same click, untimed, to bring the list to a known state before a timed step.
    bool ShowCategory(const QString& name);
    Timing ClickClause(const QString& text);
    // Report, HTML over the list shown.
    Timing Report();
    // Report > Master list, written and opened.
    Timing MasterList();
    // Shows the category afresh (not timed), then scrolls its list to the last row and back to the
    // first, each painted as the screen shows it.
    Timing ScrollToEndAndBack(const QString& category);
    // The last letter of text typed into the search box, the rest of it already there: until the
    // list shows what the search found, painted, and the program is idle. It must find something.
    Timing Search(const QString& text, bool profiled = true);

    int ListedRows() const;
    frmMain* window() const { return m_window; }
    // The last thing that went wrong, for the driver's output.
    const QString& failure() const { return m_failure; }

private:
    Timing Click(QTreeWidget* tree, QTreeWidgetItem* node, const QString& title, bool profiled = true);
    QTreeWidgetItem* Category(const QString& name) const;
    QTreeWidgetItem* Clause(const QString& text) const;
    // Notes what went wrong and gives the failed figure.
    Timing Fail(const QString& what);
    Timing OpenedPage(QAction* command, const QString& what);

    ScriptedUi& m_ui;
    frmMain* m_window = nullptr;
    QString m_failure;
};
