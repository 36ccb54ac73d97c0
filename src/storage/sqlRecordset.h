#pragma once

#include "storage/ResultTable.h"
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class sqlFields;

// A forward-only, read-only view of one query's result: the whole result is fetched at once and
// held; the fields show one row at a time.
class sqlRecordset
{
public:
    sqlRecordset();
    ~sqlRecordset();
    sqlRecordset(const sqlRecordset&) = delete;
    sqlRecordset& operator=(const sqlRecordset&) = delete;

    // Runs the query (";" appended) and loads its first row. A failure is told to the user and
    // leaves the recordset without fields and not at its end.
    void OpenRecordset(const QString& sql, int32_t db);
    void MoveFirst();
    void MoveNext();
    // EOF is a C macro, hence the prefix.
    bool AtBOF() const { return false; }
    bool AtEOF() const { return m_eof; }
    sqlFields& Fields();
    void CloseRecordset();

    // The value of a column of the current row. A lookup that finds no field is told by the
    // fields collection; this then fails, so the caller's trap reports it with its tag.
    Variant Value(const QString& column);
    // The whole result as fetched, for readers that walk it without the fields.
    const ResultTable& Table() const { return m_table; }

    // Runs the query and hands its rows to read a batch at a time (row 0 of each batch the column
    // names) instead of holding them all; read returns false to stop. A failure is told as by
    // OpenRecordset, and false returned; what read throws goes to the caller.
    bool ReadInBatches(const QString& sql, int32_t db, const std::function<bool(const ResultTable&)>& read,
                       int batchRows = kBatchRows);
    // Enough rows that a batch costs little beyond its rows, few enough that one of the register's
    // is held in a megabyte or two.
    static constexpr int kBatchRows = 2000;

private:
    bool namesRepeat() const;
    std::unique_ptr<sqlFields> m_fields;
    QString m_errorText;
    int32_t m_rowCount = 0;
    int32_t m_currentRow = 0;
    int32_t m_columnCount = 0;
    ResultTable m_table;
    bool m_eof = false;
};
