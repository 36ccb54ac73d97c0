#include "mainwindow/DocumentListModel.h"
#include "mainwindow/frmMain.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "reports/modReport.h"
#include <QLabel>

namespace {

// The four texts of every row the list shows, in the list's order, read as the page is written.
ReportRows ShownRows(const DocumentListModel& list)
{
    return [&list](const ReportRowSink& take) {
        list.ForEachRow([&take](const Document& d) { take({d.ref, d.title, d.clauses, d.path}); });
    };
}

} // namespace

// Report, HTML: the documents shown, under the title shown above them.
void frmMain::mnuReportHTML_Click()
{
    Trap("MAIN5", [&] {
        const HourGlass wait;
        WriteHTMLReport(ShownRows(*lvModel), lblTitle->text());
    });
}
