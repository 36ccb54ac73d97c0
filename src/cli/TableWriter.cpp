#include "cli/TableWriter.h"

#include "storage/RegisterCsv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Line breaks inside a value would break a text table's lines: they show as spaces.
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

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
    for (const QString& heading : m_headings)
        m_widths << heading.size();
}

void TableWriter::StreamTo(QTextStream& out, const QString& format)
{
    const bool text = format != QLatin1String("csv") && format != QLatin1String("json");
    if (text && !m_measured)
        return;
    m_stream = &out;
    m_format = text ? Format::Text : format == QLatin1String("json") ? Format::Json : Format::Csv;
    if (m_format == Format::Json)
        out << "[\n";
    else if (m_format == Format::Csv)
        csvLine(out, m_fields);
    else
        textLine(out, m_headings);
}

void TableWriter::Measure(const QStringList& row)
{
    m_measured = true;
    for (int c = 0; c < row.size() && c < m_widths.size(); ++c)
        m_widths[c] = std::max(m_widths[c], oneLine(row[c]).size());
}

void TableWriter::AddRow(QStringList row)
{
    if (!m_stream)
        m_rows.append(std::move(row));
    else if (m_format == Format::Json)
        *m_stream << (m_streamed > 0 ? ",\n" : "") << jsonObject(row);
    else if (m_format == Format::Csv)
        csvLine(*m_stream, row);
    else
        textLine(*m_stream, row);
    ++m_streamed;
}

void TableWriter::Write(QTextStream& out, const QString& format) const
{
    if (m_stream) {
        if (m_format == Format::Json)
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

void TableWriter::writeText(QTextStream& out) const
{
    TableWriter measured(m_fields, m_headings);
    for (const QStringList& row : m_rows)
        measured.Measure(row);
    measured.textLine(out, m_headings);
    for (const QStringList& row : m_rows)
        measured.textLine(out, row);
}

void TableWriter::textLine(QTextStream& out, const QStringList& cells) const
{
    QString text;
    for (int c = 0; c < cells.size(); ++c) {
        const qsizetype width = c < m_widths.size() ? m_widths[c] : 0;
        text += c + 1 < cells.size() ? oneLine(cells[c]).leftJustified(width + 2) : oneLine(cells[c]);
    }
    out << text << '\n';
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
