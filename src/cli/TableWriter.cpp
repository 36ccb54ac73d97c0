#include "cli/TableWriter.h"

#include "storage/RegisterCsv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

void csvLine(QTextStream& out, const QStringList& cells)
{
    QStringList fields;
    for (const QString& cell : cells)
        fields << RegisterCsv::Quoted(cell);
    out << fields.join(QLatin1Char(',')) << "\r\n";
}

} // namespace

bool TableWriter::IsFormat(const QString& format)
{
    return format == QLatin1String("text") || format == QLatin1String("csv") || format == QLatin1String("json");
}

TableWriter::TableWriter(QStringList fields, QStringList headings)
    : m_fields(std::move(fields)), m_headings(std::move(headings))
{
}

void TableWriter::StreamTo(QTextStream& out, const QString& format)
{
    if (format != QLatin1String("csv") && format != QLatin1String("json"))
        return;
    m_stream = &out;
    m_streamJson = format == QLatin1String("json");
    if (m_streamJson)
        out << "[\n";
    else
        csvLine(out, m_fields);
}

void TableWriter::AddRow(QStringList row)
{
    if (!m_stream)
        m_rows.append(std::move(row));
    else if (m_streamJson)
        *m_stream << (m_streamed > 0 ? ",\n" : "") << jsonObject(row);
    else
        csvLine(*m_stream, row);
    ++m_streamed;
}

void TableWriter::Write(QTextStream& out, const QString& format) const
{
    if (m_stream) {
        if (m_streamJson)
            out << (m_streamed > 0 ? "\n]\n" : "]\n");
        return;
    }
    if (format == QLatin1String("csv"))
        writeCsv(out);
    else if (format == QLatin1String("json"))
        writeJson(out);
    else
        writeText(out);
}

// One element of the array as the whole document indents it: its lines four spaces in, the
// newlines within values being escaped.
QByteArray TableWriter::jsonObject(const QStringList& row) const
{
    QJsonObject object;
    for (int c = 0; c < m_fields.size() && c < row.size(); ++c)
        object.insert(m_fields[c], row[c]);
    QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    text.chop(1);
    return "    " + text.replace("\n", "\n    ");
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
    csvLine(out, m_fields);
    for (const QStringList& row : m_rows)
        csvLine(out, row);
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
