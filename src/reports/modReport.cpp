#include "reports/modReport.h"

#include "reports/HtmlText.h"

#include "platform/ErrorTrap.h"
#include "platform/ProgramFolder.h"
#include "platform/ShellOpenFile.h"
#include "storage/modDB.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QString kSpacerRow = QStringLiteral("<TR><TD colspan=6 class=stext>&nbsp;</TD></TR>");
const QString kGapCell = QStringLiteral("<TD class=stext>&nbsp;</TD>");

QString StyleRule(const QString& name, const QString& weight, const QString& size)
{
    return QLatin1Char('.') + name + QStringLiteral("{FONT-WEIGHT: ") + weight + QStringLiteral(";FONT-SIZE: ") + size
        + QStringLiteral(";COLOR: black;FONT-FAMILY: Verdana}");
}

// Everything up to the table, with the charset named so that any browser reads the UTF-8 bytes.
QString PageHead()
{
    return QStringLiteral("<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"><STYLE>")
        + StyleRule(QStringLiteral("stext"), QStringLiteral("normal"), QStringLiteral("8pt"))
        + StyleRule(QStringLiteral("btext"), QStringLiteral("bold"), QStringLiteral("8pt"))
        + StyleRule(QStringLiteral("ttext"), QStringLiteral("bold"), QStringLiteral("14pt"))
        + QStringLiteral("</STYLE></HEAD><BODY>");
}

QString HeadingCell(const QString& text)
{
    return QStringLiteral("<TD class=btext bgcolor=#f0f0f0>") + text + QStringLiteral("</TD>") + kGapCell;
}

QString TitleRows(const QString& title)
{
    return QStringLiteral("<TR><TD colspan=6 class=ttext>") + HtmlEscaped(title) + QStringLiteral("</TD></TR>")
        + kSpacerRow + QStringLiteral("<TR>") + HeadingCell(QStringLiteral("Doc Ref"))
        + HeadingCell(QStringLiteral("Title")) + HeadingCell(QStringLiteral("ISO Ref")) + QStringLiteral("</TR>")
        + kSpacerRow;
}

void AppendBoldCell(QString& page, const QString& text)
{
    page.append(QLatin1StringView("<TD class=btext valign=top>"));
    AppendEscaped(page, text);
    page.append(QLatin1StringView("</TD><TD class=stext>&nbsp;</TD>"));
}

void AppendDocumentRows(QString& page, const ReportRow& row)
{
    page.append(QLatin1StringView("<TR>"));
    AppendBoldCell(page, row.docRef);
    AppendBoldCell(page, row.title);
    AppendBoldCell(page, row.isoRef);
    page.append(QLatin1StringView("</TR><TR><TD colspan=6 class=stext valign=top>"));
    AppendEscaped(page, row.path);
    page.append(QLatin1StringView("</TD></TR><TR><TD colspan=6 class=stext>&nbsp;</TD></TR>"));
}

// The page in pieces of about this many characters, each ending after a document: a large report
// is never held whole, twice over, in memory.
constexpr qsizetype kPieceSize = 64 * 1024;

template <typename Sink> void EmitPage(const QString& title, const ReportRows& rows, Sink&& sink)
{
    QString piece = PageHead() + QStringLiteral("<TABLE cellSpacing=1 cellPadding=1 width=650 align=center border=0>")
        + TitleRows(title);
    piece.reserve(kPieceSize + 4096);
    rows([&](const ReportRow& row) {
        AppendDocumentRows(piece, row);
        if (piece.size() >= kPieceSize) {
            sink(piece);
            piece.truncate(0);
        }
    });
    piece.append(QLatin1StringView("</TABLE></BODY></HTML>"));
    sink(piece);
}

} // namespace

QString CannotWrite(const QString& path, const QSaveFile& file)
{
    return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
}

namespace {

// Written through a save file, so a failure part-way (a full disk) leaves no half page behind.
void WritePage(const QString& path, const QString& title, const ReportRows& rows)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(CannotWrite(path, file));
    EmitPage(title, rows, [&file](const QString& piece) { file.write(piece.toUtf8()); });
    if (!file.commit())
        throw AppError(CannotWrite(path, file));
}

} // namespace

ReportRows ReportRowsOf(const QList<ReportRow>& rows)
{
    return [rows](const ReportRowSink& take) {
        for (const ReportRow& row : rows)
            take(row);
    };
}

QString BuildHTMLReportPage(const QString& title, const ReportRows& rows)
{
    QString page;
    EmitPage(title, rows, [&page](const QString& piece) { page += piece; });
    return page;
}

QString NewReportPagePath()
{
    const QString folder = DataFolder() + QStringLiteral("/temp");
    ClearTempFolder(folder);
    return folder + QStringLiteral("/temp") + GetGUID() + QStringLiteral(".htm");
}

void WriteHTMLReport(const ReportRows& rows, const QString& title)
{
    Trap("MMAIN3", [&] {
        const QString path = NewReportPagePath();
        WritePage(path, title, rows);
        ShellOpenFile(path);
    });
}

// Only the report's own pages go, and only from a folder inside the data folder: temp/ may be a
// link to anywhere (the data folder itself, the user's documents), and whatever else lies there
// is not ours to delete.
void ClearTempFolder(const QString& folder)
{
    Trap("MMAIN4", [&] {
        const QString real = QFileInfo(folder).canonicalFilePath();
        const QString home = QFileInfo(DataFolder()).canonicalFilePath();
        if (real.isEmpty() || home.isEmpty() || (real != home && !real.startsWith(home + QLatin1Char('/'))))
            return;
        static const QRegularExpression page(
            QStringLiteral("^temp[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.htm$"));
        const QDir dir(real);
        for (const QString& name : dir.entryList({QStringLiteral("temp*.htm")}, QDir::Files | QDir::System)) {
            if (!page.match(name).hasMatch())
                continue;
            QFile file(dir.filePath(name));
            if (!file.remove())
                throw AppError(QStringLiteral("Cannot delete %1: %2")
                                   .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
        }
    });
}
