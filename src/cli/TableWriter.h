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
    void AddRow(QStringList row);
    void Write(QTextStream& out, const QString& format) const;

private:
    void writeText(QTextStream& out) const;
    void writeCsv(QTextStream& out) const;
    void writeJson(QTextStream& out) const;

    QStringList m_fields;
    QStringList m_headings;
    QList<QStringList> m_rows;
};
