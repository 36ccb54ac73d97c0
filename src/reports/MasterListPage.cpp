#include "reports/MasterListPage.h"

#include "reports/HtmlText.h"
#include "storage/RegisterCsv.h"
#include <QIODevice>

namespace {

const char* kStyle
    = "<style>body{font-family:Verdana,Arial,sans-serif;font-size:9pt;color:#000}"
      "h1{font-size:15pt;margin:0 0 4px}h2{font-size:11pt;margin:18px 0 4px}p.produced{margin:0 0 10px;color:#333}"
      "table{border-collapse:collapse;width:100%;table-layout:fixed}th:nth-child(1){width:8%}"
      "th:nth-child(2){width:20%}th:nth-child(3){width:5%}th:nth-child(4){width:8%}th:nth-child(5){width:10%}"
      "th:nth-child(6){width:9%}th:nth-child(7){width:11%}th:nth-child(8){width:12%}th:nth-child(9){width:17%}td{"
      "overflow-wrap:anywhere}th,td{"
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

bool isObsolete(const QStringList& r)
{
    return r.value(column("status")) == QLatin1String("Obsolete");
}

} // namespace

MasterListPage::MasterListPage(Sink sink, const QString& catalogue, const QDateTime& produced, bool withObsolete)
    : m_sink(std::move(sink)), m_today(produced.date()), m_withObsolete(withObsolete)
{
    m_sink(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Master List of "
                          "Documents</title>")
           + QLatin1String(kStyle) + QStringLiteral("</head><body><h1>Master List of Documents</h1><p class=produced>")
           + HtmlEscaped(catalogue) + QStringLiteral(" - produced ")
           + produced.toString(QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral("</p>"));
}

void MasterListPage::endTable()
{
    if (m_tableOpen)
        m_sink(QStringLiteral("</tbody></table>"));
    m_tableOpen = false;
}

// The obsolete documents have a heading of their own, and their categories' tables start afresh.
void MasterListPage::startObsolete()
{
    endTable();
    m_sink(QStringLiteral("<h1 style=\"margin-top:24px\">Obsolete documents</h1>"));
    m_inObsolete = true;
}

// One table per category, in the order the rows come.
void MasterListPage::Add(const QStringList& row)
{
    const bool obsolete = isObsolete(row);
    if (obsolete && !m_withObsolete)
        return;
    if (obsolete && !m_inObsolete)
        startObsolete();
    const QString category = row.value(column("category"));
    QString html;
    if (!m_tableOpen || category != m_category) {
        endTable();
        m_category = category;
        html += QStringLiteral("<h2>") + HtmlEscaped(category) + QStringLiteral("</h2>") + tableHead();
        m_tableOpen = true;
    }
    m_sink(html + rowHtml(row, m_today));
}

// The obsolete documents' heading stands when they were asked for, even when there are none.
void MasterListPage::Finish()
{
    if (m_withObsolete && !m_inObsolete)
        startObsolete();
    endTable();
    m_sink(QStringLiteral("<footer>") + QLatin1String(kFooter) + QStringLiteral("</footer></body></html>"));
}

QString BuildMasterListPage(const QList<QStringList>& rows, const QString& catalogue, const QDateTime& produced,
                            bool withObsolete)
{
    QString html;
    MasterListPage page([&html](const QString& piece) { html += piece; }, catalogue, produced, withObsolete);
    for (const bool obsolete : {false, true}) {
        for (const QStringList& row : rows) {
            if (isObsolete(row) == obsolete)
                page.Add(row);
        }
    }
    page.Finish();
    return html;
}

bool WriteMasterListPage(QIODevice& file, const RegisterRowSource& rows, const QString& catalogue,
                         const QDateTime& produced, bool withObsolete)
{
    MasterListPage page([&file](const QString& piece) { file.write(piece.toUtf8()); }, catalogue, produced,
                        withObsolete);
    if (!rows([&page](const QStringList& row) { page.Add(row); }))
        return false;
    page.Finish();
    return true;
}
