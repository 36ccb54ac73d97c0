#include "reports/CoverageReport.h"

#include "platform/ErrorTrap.h"
#include "platform/ShellOpenFile.h"
#include "reports/modReport.h"
#include <QFileInfo>
#include <QSaveFile>

namespace {

const char* kStyle = "<style>body{font-family:Verdana,sans-serif;font-size:9pt}h1{font-size:14pt}"
                     "h2{font-size:11pt;margin-top:1.5em}table{border-collapse:collapse;width:100%}"
                     "th,td{border:1px solid #bbb;padding:3px 6px;text-align:left;vertical-align:top}"
                     "th{background:#f0f0f0}.gap{color:#b00000;font-weight:bold}.none{color:#a05a00}"
                     ".na{color:#777}@media print{thead{display:table-header-group}tr{page-break-inside:avoid}}"
                     "</style>";

QString state(const ClauseCoverage& c)
{
    if (c.excluded)
        return QStringLiteral("<span class=na>Not applicable: ") + HtmlEscaped(c.justification)
            + QStringLiteral("</span>");
    if (c.MissingProcedure())
        return QStringLiteral("<span class=gap>No documented procedure (required)</span>");
    if (c.documents == 0)
        return QStringLiteral("<span class=none>No document</span>");
    return QString::number(c.documents)
        + (c.documents == 1 ? QStringLiteral(" document") : QStringLiteral(" documents"));
}

QString summary(const std::vector<ClauseCoverage>& coverage)
{
    QStringList missing, uncovered;
    for (const ClauseCoverage& c : coverage) {
        if (c.MissingProcedure())
            missing << HtmlEscaped(c.clause + QLatin1Char(' ') + c.title);
        else if (c.documents == 0 && !c.excluded)
            uncovered << HtmlEscaped(c.clause + QLatin1Char(' ') + c.title);
    }
    QString html = QStringLiteral("<h2>Gaps</h2>");
    if (missing.isEmpty() && uncovered.isEmpty())
        return html + QStringLiteral("<p>Every clause is served by a current document or excluded.</p>");
    if (!missing.isEmpty())
        html += QStringLiteral("<p class=gap>Required documented procedures missing:</p><ul><li>")
            + missing.join(QStringLiteral("</li><li>")) + QStringLiteral("</li></ul>");
    if (!uncovered.isEmpty())
        html += QStringLiteral("<p class=none>Clauses no current document serves:</p><ul><li>")
            + uncovered.join(QStringLiteral("</li><li>")) + QStringLiteral("</li></ul>");
    return html;
}

} // namespace

QString BuildCoverageReportPage(const std::vector<ClauseCoverage>& coverage,
                                const QHash<QString, std::vector<Document>>& serving, const QString& catalogue,
                                const QDateTime& produced)
{
    QString html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Clause coverage</title>")
        + QLatin1String(kStyle) + QStringLiteral("</head><body><h1>Clause coverage - ISO 9001:2000</h1><p>")
        + HtmlEscaped(catalogue) + QStringLiteral(", ") + produced.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
        + QStringLiteral("</p>") + summary(coverage)
        + QStringLiteral("<h2>Clauses</h2><table><thead><tr><th>Clause</th><th>Title</th><th>Coverage</th>"
                         "<th>Documents</th></tr></thead><tbody>");
    for (const ClauseCoverage& c : coverage) {
        QStringList documents;
        for (const Document& d : serving.value(c.clause))
            documents << HtmlEscaped(d.ref + QStringLiteral(" ") + d.title);
        html += QStringLiteral("<tr><td>") + HtmlEscaped(c.clause) + QStringLiteral("</td><td>") + HtmlEscaped(c.title)
            + QStringLiteral("</td><td>") + state(c) + QStringLiteral("</td><td>")
            + documents.join(QStringLiteral("<br>")) + QStringLiteral("</td></tr>");
    }
    return html + QStringLiteral("</tbody></table></body></html>");
}

void WriteCoverageReport(const std::vector<ClauseCoverage>& coverage,
                         const QHash<QString, std::vector<Document>>& serving, const QString& catalogue)
{
    Trap("COVER1", [&] {
        const QString path = NewReportPagePath();
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw AppError(CannotWrite(path, file));
        file.write(
            BuildCoverageReportPage(coverage, serving, QFileInfo(catalogue).fileName(), QDateTime::currentDateTime())
                .toUtf8());
        if (!file.commit())
            throw AppError(CannotWrite(path, file));
        ShellOpenFile(path);
    });
}
