#include "mainwindow/DocumentListModel.h"
#include "mainwindow/frmMain.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "reports/modReport.h"
#include <QLabel>

namespace {

// The four texts of every row the list shows, in the list's order.
QList<ReportRow> ShownRows(const DocumentListModel& list)
{
    QList<ReportRow> rows;
    for (int row = 0; row < list.rowCount(); ++row)
        rows.append(
            {list.SubItemText(row, 1), list.SubItemText(row, 2), list.SubItemText(row, 3), list.SubItemText(row, 4)});
    return rows;
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
