#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// The document register as CSV (RFC 4180, through libcsv): the file the program writes, and any
// such file read back, whatever its encoding.
class RegisterCsv
{
public:
    // A field as RFC 4180 writes it: between double quotes, its own quotes doubled.
    static QString Quoted(const QString& text);
    // The stable column names of an exported register, in their order.
    static const QStringList& Fields();

    // A register's CSV text in pieces, for a file written as its rows are read: UTF-8 with a
    // byte-order mark so that spreadsheet programs read the accents, then one line for the header
    // and for each row, ending in CRLF.
    static QByteArray ByteOrderMark() { return QByteArrayLiteral("\xEF\xBB\xBF"); }
    static QByteArray Line(const QStringList& cells);

    struct Table
    {
        QStringList header;
        QList<QStringList> rows; // as many fields as each line had
        QList<int> lines; // the file's line number of each row
        QString error; // why the file could not be read at all
    };
    // Reads a CSV file in UTF-8 (with or without its mark), UTF-16 (with its mark) or Windows-1252.
    static Table Read(const QString& path);
    static Table Parse(const QByteArray& bytes);
};
