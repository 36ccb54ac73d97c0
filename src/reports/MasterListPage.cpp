#include "reports/MasterListPage.h"

#include "reports/HtmlText.h"
#include "storage/RegisterCsv.h"
#include <QDate>

namespace {

const char* kStyle
    = "<style>body{font-family:Verdana,Arial,sans-serif;font-size:9pt;color:#000}"
      "h1{font-size:15pt;margin:0 0 4px}h2{font-size:11pt;margin:18px 0 4px}p.produced{margin:0 0 10px;color:#333}"
      "table{border-collapse:collapse;width:100%;table-layout:fixed}th:nth-child(1){width:8%}"
      "th:nth-child(2){width:20%}th:nth-child(3){width:5%}th:nth-child(4){width:8%}th:nth-child(5){width:10%}"
      "th:nth-child(6){width:9%}th:nth-child(7){width:11%}th:nth-child(8){width:12%}th:nth-child(9){width:17%}td{overflow-wrap:anywhere}th,td{"
      "border:1px solid #999;padding:2px 5px;text-align:left;"
      "vertical-align:top}th{background:#e8e8e8}td.overdue{color:#b00000;font-weight:bold}"
      "tr.obsolete td{color:#777}footer{margin-top:14px;font-size:8pt;color:#333}"
      "@page{size:A4 landscape;margin:12mm 12mm 16mm;@bottom-center{content:\"Uncontrolled when printed - check the "
      "current revision in the catalogue\";font-size:8pt}}@media print{thead{display:table-header-group}"
      "tr{page-break-inside:avoid}"
      "footer{display:none}}</style>";

const char* kFooter = "Uncontrolled when printed - check the current revision in the catalogue";

int column(const char* field)
{
    return int(RegisterCsv::Fields().indexOf(QLatin1String(field)));
}

QString tableHead()
{
    QString html = QStringLiteral("<table><thead><tr>");
    for (const char* heading :
         {"Ref", "Title", "Rev", "Status", "Approved by", "Approved on", "Next review", "Clauses", "File"})
        html += QStringLiteral("<th>") + QLatin1String(heading) + QStringLiteral("</th>");
    return html + QStringLiteral("</tr></thead><tbody>");
}

QString rowHtml(const QStringList& r, const QDate& today)
{
    const QString next = r.value(column("next_review"));
    const bool overdue = !next.isEmpty() && QDate::fromString(next, Qt::ISODate) < today
        && r.value(column("status")) != QLatin1String("Obsolete");
    QString html = r.value(column("status")) == QLatin1String("Obsolete") ? QStringLiteral("<tr class=obsolete>")
                                                                          : QStringLiteral("<tr>");
    for (const char* field : {"ref", "title", "revision", "status", "approved_by", "approved_on"})
        html += QStringLiteral("<td>") + HtmlEscaped(r.value(column(field))) + QStringLiteral("</td>");
    html += (overdue ? QStringLiteral("<td class=overdue>") : QStringLiteral("<td>")) + HtmlEscaped(next)
        + (overdue ? QStringLiteral(" (overdue)") : QString()) + QStringLiteral("</td>");
    for (const char* field : {"clauses", "path"})
        html += QStringLiteral("<td>") + HtmlEscaped(r.value(column(field))) + QStringLiteral("</td>");
    return html + QStringLiteral("</tr>");
}

// The rows of one kind, one table per category, categories in the register's order.
QString section(const QList<QStringList>& rows, bool obsolete, const QDate& today)
{
    QString html;
    QString category;
    bool open = false;
    for (const QStringList& r : rows) {
        if ((r.value(column("status")) == QLatin1String("Obsolete")) != obsolete)
            continue;
        if (!open || r.value(column("category")) != category) {
            if (open)
                html += QStringLiteral("</tbody></table>");
            category = r.value(column("category"));
            html += QStringLiteral("<h2>") + HtmlEscaped(category) + QStringLiteral("</h2>") + tableHead();
            open = true;
        }
        html += rowHtml(r, today);
    }
    if (open)
        html += QStringLiteral("</tbody></table>");
    return html;
}

} // namespace

QString BuildMasterListPage(const QList<QStringList>& rows, const QString& catalogue, const QDateTime& produced,
                            bool withObsolete)
{
    const QDate today = produced.date();
    QString html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Master List of "
                                  "Documents</title>")
        + QLatin1String(kStyle) + QStringLiteral("</head><body><h1>Master List of Documents</h1><p class=produced>")
        + HtmlEscaped(catalogue) + QStringLiteral(" - produced ")
        + produced.toString(QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral("</p>") + section(rows, false, today);
    if (withObsolete)
        html += QStringLiteral("<h1 style=\"margin-top:24px\">Obsolete documents</h1>") + section(rows, true, today);
    return html + QStringLiteral("<footer>") + QLatin1String(kFooter) + QStringLiteral("</footer></body></html>");
}
