#pragma once

#include "storage/ResultTable.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

struct sqlite3;

// The access layer over SQLite 3. A database is known by a small non-zero handle, never by a pointer.

// Opens an existing database file (never creates one). Returns its handle, or 0 with a readable
// description in errorText.
int32_t PSSQLITE3_OpenDB(const QString& path, QString& errorText);

// Runs every statement of sql in turn. Returns 0 when all ran; otherwise a non-zero status with the
// description in errorText (statements before the failing one stay applied). On success the table
// holds the rows of the last statement that returned columns, row 0 being the column names.
int16_t PSSQLITE3_ExecuteDB(int32_t handle, const QByteArray& sql, int32_t& rowCount, int32_t& columnCount,
                            ResultTable& table, QString& errorText);

// Takes one batch of a query's rows; false stops the reading there.
using BatchReader = std::function<bool(const ResultTable& batch)>;

// Runs every statement of sql as PSSQLITE3_ExecuteDB does, but hands the rows of each statement
// that returns columns to read as they come, at most batchRows at a time: table is emptied and
// filled again for each batch (row 0 the column names), so no more than one batch is held. When
// read stops the reading, the rest of sql is not run and the status is 0. A failure is told as by
// PSSQLITE3_ExecuteDB; the batches handed over before it were read. While it runs the connection's
// page cache is held at 8 MiB, and set back after: one pass over many rows wants none of their
// pages again, and the engine sorts rows in memory only up to the cache's size. A larger sort goes
// to temporary files, with helper threads where there are processors for them.
int16_t PSSQLITE3_ExecuteDBInBatches(int32_t handle, const QByteArray& sql, int32_t batchRows, ResultTable& table,
                                     const BatchReader& read, QString& errorText);

// A statement prepared once and run many times with its values bound: a write repeated for many rows
// is parsed once. Known by a small non-zero handle too, and kept until its database is closed; 0 with
// the description in errorText when the engine refuses it. sql holds one statement.
int32_t PSSQLITE3_PrepareDB(int32_t handle, const QByteArray& sql, QString& errorText);
// Binds the values in turn, as text, to the statement's parameters ?1, ?2, ... (one value for each),
// runs it to its end and makes it ready for the next run. Returns 0 when it ran, else a non-zero status and errorText.
int16_t PSSQLITE3_RunPreparedDB(int32_t statement, const QStringList& values, QString& errorText);

// Closes the database behind the handle, and its prepared statements; an unknown handle is ignored.
void PSSQLITE3_CloseDB(int32_t handle);

// The engine connection behind a handle, for work the statements cannot do (the online backup).
sqlite3* SQLiteConnection(int32_t handle);
