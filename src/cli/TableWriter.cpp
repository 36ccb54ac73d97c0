#include "cli/TableWriter.h"

#include "storage/RegisterCsv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

} // namespace

bool TableWriter::IsFormat(const QString& format)
{
    return format == QLatin1String("text") || format == QLatin1String("csv") || format == QLatin1String("json");
}

TableWriter::TableWriter(QStringList fields, QStringList headings)
    : m_fields(std::move(fields)), m_headings(std::move(headings))
{
}

void TableWriter::AddRow(QStringList row)
{
    m_rows.append(std::move(row));
}

void TableWriter::Write(QTextStream& out, const QString& format) const
{
    if (format == QLatin1String("csv"))
        writeCsv(out);
    else if (format == QLatin1String("json"))
        writeJson(out);
    else
        writeText(out);
}

// Line breaks inside a value would break the table's lines: they show as spaces.
void TableWriter::writeText(QTextStream& out) const
{
    auto oneLine = [](QString text) {
        return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    QList<qsizetype> widths;
    for (const QString& heading : m_headings)
        widths << heading.size();
    for (const QStringList& row : m_rows) {
        for (int c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], oneLine(row[c]).size());
    }
    auto line = [&](const QStringList& cells) {
        QString text;
        for (int c = 0; c < cells.size(); ++c)
            text += c + 1 < cells.size() ? oneLine(cells[c]).leftJustified(widths[c] + 2) : oneLine(cells[c]);
        out << text << '\n';
    };
    line(m_headings);
    for (const QStringList& row : m_rows)
        line(row);
}

void TableWriter::writeCsv(QTextStream& out) const
{
    auto line = [&](const QStringList& cells) {
        QStringList fields;
        for (const QString& cell : cells)
            fields << RegisterCsv::Quoted(cell);
        out << fields.join(QLatin1Char(',')) << "\r\n";
    };
    line(m_fields);
    for (const QStringList& row : m_rows)
        line(row);
}

void TableWriter::writeJson(QTextStream& out) const
{
    QJsonArray array;
    for (const QStringList& row : m_rows) {
        QJsonObject object;
        for (int c = 0; c < m_fields.size() && c < row.size(); ++c)
            object.insert(m_fields[c], row[c]);
        array.append(object);
    }
    out << QJsonDocument(array).toJson(QJsonDocument::Indented);
}
