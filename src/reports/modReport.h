#pragma once

#include "reports/HtmlText.h"
#include "reports/ReportRow.h"
#include <QList>
#include <QString>
#include <functional>

// The rows of a report, handed one at a time in order to the page as it is written: a long list
// is never held whole for it.
using ReportRowSink = std::function<void(const ReportRow&)>;
using ReportRows = std::function<void(const ReportRowSink&)>;
ReportRows ReportRowsOf(const QList<ReportRow>& rows);

// The HTML report of the documents the main window shows.

// The whole page as one line: the title row, the column headings, then two table rows and a
// spacer for every document, in the order given. Every text is HTML-escaped.
QString BuildHTMLReportPage(const QString& title, const ReportRows& rows);

// Empties the temp folder, writes the page there as "temp" + a new key + ".htm" (UTF-8) and opens
// it in the desktop's browser. A failure is shown with "MMAIN3" and ends the report unopened.
void WriteHTMLReport(const ReportRows& rows, const QString& title);

// Clears the earlier report pages of the temp folder and names the next one ("temp" + key + ".htm").
QString NewReportPagePath();
class QSaveFile;
QString CannotWrite(const QString& path, const QSaveFile& file);

// Deletes the report pages ("temp" + key + ".htm") of the folder when it lies inside the program
// folder, stopping at the first that cannot be deleted; that failure is shown with "MMAIN4".
// Nothing else is ever deleted.
void ClearTempFolder(const QString& folder);
