#pragma once

#include <QDate>
#include <QStringList>
#include <QTextStream>

// Writes a table of texts in one of the tool's formats: "text", columns aligned under a heading;
// "csv", RFC 4180 with a header row; "json", an array of objects whose keys are the field names.
class TableWriter
{
public:
    static bool IsFormat(const QString& format);
    // A date as every format writes it: yyyy-MM-dd, empty when there is none.
    static QString Date(const QDate& date) { return date.isValid() ? date.toString(Qt::ISODate) : QString(); }

    TableWriter(QStringList fields, QStringList headings);
    // Before the first row: the rows then go to out as they are added, where the format allows it,
    // instead of being kept. csv and json do, in the same text Write would give them; text does once
    // every row has been measured, for its columns are as wide as their longest value, and keeps
    // them otherwise. Write then ends the table.
    void StreamTo(QTextStream& out, const QString& format);
    // Widens the text columns for a row that will be added: a table too large to keep is read twice,
    // once to measure it and once to write it.
    void Measure(const QStringList& row);
    void AddRow(QStringList row);
    void Write(QTextStream& out, const QString& format) const;

private:
    void writeText(QTextStream& out) const;
    void textLine(QTextStream& out, const QStringList& cells) const;
    void writeCsv(QTextStream& out) const;
    void writeJson(QTextStream& out) const;
    QByteArray jsonObject(const QStringList& row) const;

    QStringList m_fields;
    QStringList m_headings;
    QList<QStringList> m_rows;
    QList<qsizetype> m_widths; // of the text columns, the headings' and then the measured rows'
    bool m_measured = false;
    QTextStream* m_stream = nullptr;
    enum class Format
    {
        Text,
        Csv,
        Json
    } m_format
        = Format::Text;
    int m_streamed = 0;
};
