#include "storage/modSQLite.h"

#include <map>
#include <sqlite3.h>

namespace {

// A writer that holds the file locked makes us wait this long before a statement gives up.
constexpr int kBusyTimeoutMs = 5000;

std::map<int32_t, sqlite3*>& connections()
{
    static std::map<int32_t, sqlite3*> map;
    return map;
}

int32_t nextHandle()
{
    int32_t handle = 1;
    while (connections().count(handle))
        ++handle;
    return handle;
}

Variant columnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return Variant(qint64(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return Variant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return Variant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return Variant(QByteArray(bytes, sqlite3_column_bytes(statement, column)));
    }
    default:
        return Variant::null();
    }
}

int16_t failure(int code)
{
    const int primary = code & 0xff;
    return int16_t(primary == 0 ? SQLITE_ERROR : primary);
}

// Runs one prepared statement to its end; a statement with columns replaces the table.
int runStatement(sqlite3_stmt* statement, int32_t& rowCount, int32_t& columnCount, ResultTable& table)
{
    const int columns = sqlite3_column_count(statement);
    if (columns > 0) {
        table.reset(columns);
        for (int c = 0; c < columns; ++c)
            table.append(Variant(QString::fromUtf8(sqlite3_column_name(statement, c))));
        columnCount = columns;
        rowCount = 0;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            table.append(columnValue(statement, c));
        ++rowCount;
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

} // namespace

int32_t PSSQLITE3_OpenDB(const QString& path, QString& errorText)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        errorText = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return 0;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // The engine reads the file lazily; reading its schema now tells a database from any other file.
    char* message = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) != SQLITE_OK) {
        errorText = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        sqlite3_close(db);
        return 0;
    }
    const int32_t handle = nextHandle();
    connections()[handle] = db;
    return handle;
}

int16_t PSSQLITE3_ExecuteDB(int32_t handle, const QByteArray& sql, int32_t& rowCount, int32_t& columnCount,
                            ResultTable& table, QString& errorText)
{
    rowCount = 0;
    columnCount = 0;
    table.reset(0);
    sqlite3* db = SQLiteConnection(handle);
    if (!db) {
        errorText = QStringLiteral("No database is open under handle %1").arg(handle);
        return failure(SQLITE_MISUSE);
    }
    const char* next = sql.constData();
    const char* end = next + sql.size();
    while (next < end) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(db, next, int(end - next), &statement, &next);
        if (rc == SQLITE_OK && statement)
            rc = runStatement(statement, rowCount, columnCount, table);
        if (rc != SQLITE_OK) {
            errorText = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_finalize(statement);
            return failure(rc);
        }
        sqlite3_finalize(statement);
    }
    return 0;
}

void PSSQLITE3_CloseDB(int32_t handle)
{
    auto it = connections().find(handle);
    if (it == connections().end())
        return;
    sqlite3_close_v2(it->second);
    connections().erase(it);
}

sqlite3* SQLiteConnection(int32_t handle)
{
    auto it = connections().find(handle);
    return it == connections().end() ? nullptr : it->second;
}
