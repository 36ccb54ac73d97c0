#include "storage/modSQLite.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

// A writer that holds the file locked makes us wait this long before a statement gives up.
constexpr int kBusyTimeoutMs = 5000;
// At most this many KiB of the catalogue's pages stay in memory between statements.
constexpr const char* kCacheSize = "PRAGMA cache_size=-65536";
// The cache while a query is read in batches, which is also the engine's sort buffer then. With the
// engine's default of 2 MiB a sort of a million rows makes so many runs that their merge needs more
// memory than a sort of a hundred thousand; with 8 MiB the buffers are what the pass holds at any size.
constexpr int kPassCacheKiB = 8192;
constexpr int kMostSortThreads = 3;

// The open databases and their prepared statements by handle. One the program let go without
// closing it is closed when the program ends, its statements first, so the engine releases it and
// its files cleanly.
struct OpenConnections
{
    std::map<int32_t, sqlite3*> byHandle;
    std::map<int32_t, sqlite3_stmt*> statements;
    ~OpenConnections()
    {
        for (const auto& [handle, statement] : statements)
            sqlite3_finalize(statement);
        for (const auto& [handle, db] : byHandle)
            sqlite3_close_v2(db);
    }
};

OpenConnections& openDatabases()
{
    static OpenConnections connections;
    return connections;
}

std::map<int32_t, sqlite3*>& connections()
{
    return openDatabases().byHandle;
}

std::map<int32_t, sqlite3_stmt*>& preparedStatements()
{
    return openDatabases().statements;
}

template <typename Map> int32_t nextHandle(const Map& used)
{
    int32_t handle = 1;
    while (used.count(handle))
        ++handle;
    return handle;
}

// Keeps a value as the engine holds it; the table makes it a value when it is read.
void appendValue(sqlite3_stmt* statement, int column, ResultTable& table)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        table.appendInteger(qint64(sqlite3_column_int64(statement, column)));
        return;
    case SQLITE_FLOAT:
        table.appendReal(sqlite3_column_double(statement, column));
        return;
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        table.appendText(text, sqlite3_column_bytes(statement, column));
        return;
    }
    case SQLITE_BLOB: {
        const void* bytes = sqlite3_column_blob(statement, column);
        table.appendBlob(bytes, sqlite3_column_bytes(statement, column));
        return;
    }
    default:
        table.appendNull();
    }
}

// Binds the values as UTF-8, all in one buffer that the engine reads in place during the run: given
// UTF-16, the engine would convert each value into memory of its own. An empty text is stored as ''
// as in a statement's text, never as NULL.
int bindTexts(sqlite3_stmt* statement, const QStringList& values)
{
    static std::vector<char> buffer;
    std::size_t space = 1;
    for (const QString& value : values)
        space += std::size_t(value.size()) * 3;
    if (buffer.size() < space)
        buffer.resize(space);
    QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    char* out = buffer.data();
    for (int i = 0; i < values.size(); ++i) {
        char* end = utf8.appendToBuffer(out, values[i]);
        if (const int rc = sqlite3_bind_text(statement, i + 1, out, int(end - out), SQLITE_STATIC); rc != SQLITE_OK)
            return rc;
        out = end;
    }
    return SQLITE_OK;
}

int16_t failure(int code)
{
    const int primary = code & 0xff;
    return int16_t(primary == 0 ? SQLITE_ERROR : primary);
}

// The column names of a statement as row 0 of an emptied table.
void startTable(sqlite3_stmt* statement, int columns, ResultTable& table)
{
    table.reset(columns);
    for (int c = 0; c < columns; ++c) {
        const char* name = sqlite3_column_name(statement, c);
        table.appendText(name, int(std::strlen(name)));
    }
}

// Runs one prepared statement to its end; a statement with columns replaces the table.
int runStatement(sqlite3_stmt* statement, int32_t& rowCount, int32_t& columnCount, ResultTable& table)
{
    const int columns = sqlite3_column_count(statement);
    if (columns > 0) {
        startTable(statement, columns, table);
        columnCount = columns;
        rowCount = 0;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            appendValue(statement, c, table);
        ++rowCount;
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Runs one prepared statement to its end, or until read stops it (stopped is set then), handing
// its rows over a batch at a time.
int streamStatement(sqlite3_stmt* statement, int32_t batchRows, ResultTable& table, const BatchReader& read,
                    bool& stopped)
{
    const int columns = sqlite3_column_count(statement);
    startTable(statement, columns, table);
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            appendValue(statement, c, table);
        if (++rows < batchRows)
            continue;
        stopped = !read(table);
        if (stopped)
            return SQLITE_OK;
        table.clearRows();
        rows = 0;
    }
    if (rc == SQLITE_DONE && rows > 0 && columns > 0)
        stopped = !read(table);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// A setting's value as the engine reports it (the cache: pages, or KiB when negative); 0 when unknown.
int pragmaValue(sqlite3* db, const QByteArray& name)
{
    sqlite3_stmt* statement = nullptr;
    int value = 0;
    if (sqlite3_prepare_v2(db, ("PRAGMA " + name).constData(), -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

void setPragma(sqlite3* db, const QByteArray& name, int value)
{
    sqlite3_exec(db, ("PRAGMA " + name + '=' + QByteArray::number(value)).constData(), nullptr, nullptr, nullptr);
}

// Helper threads the engine may sort with: one fewer than the processors, and few, as each holds
// a sort buffer of the cache's size.
int sortThreads()
{
    return std::clamp(QThread::idealThreadCount() - 1, 0, kMostSortThreads);
}

struct FinalizeStatement
{
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// Prepares and runs each statement of sql in turn with run, which returns the engine's status;
// stops early once stopped is set. Statements are finalised also when run throws.
int16_t eachStatement(int32_t handle, const QByteArray& sql, QString& errorText,
                      const std::function<int(sqlite3_stmt*)>& run, const bool& stopped)
{
    sqlite3* db = SQLiteConnection(handle);
    if (!db) {
        errorText = QStringLiteral("No database is open under handle %1").arg(handle);
        return failure(SQLITE_MISUSE);
    }
    // The engine reads a statement only up to a NUL: the rest would be lost, or never consumed.
    if (sql.contains('\0')) {
        errorText = QStringLiteral("The statement holds a NUL character");
        return failure(SQLITE_ERROR);
    }
    const char* next = sql.constData();
    const char* end = next + sql.size();
    while (next < end && !stopped) {
        sqlite3_stmt* prepared = nullptr;
        const char* start = next;
        // The text ends in a NUL (a QByteArray's does, and none is inside it): with a length the
        // engine would copy all that follows each statement, which for a text of many statements
        // is the whole rest of it every time.
        int rc = sqlite3_prepare_v2(db, next, -1, &prepared, &next);
        const Statement statement(prepared);
        if (rc == SQLITE_OK && !statement && next == start)
            break; // nothing the engine can read is left
        if (rc == SQLITE_OK && statement)
            rc = run(statement.get());
        if (rc != SQLITE_OK) {
            errorText = QString::fromUtf8(sqlite3_errmsg(db));
            return failure(rc);
        }
    }
    return 0;
}

// The engine's text for a path it cannot take says only that it cannot open the file.
QString pathTooLong(const QString& path)
{
    const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    const qsizetype length = QFileInfo(path).absoluteFilePath().toUtf8().size();
    if (!vfs || length <= vfs->mxPathname)
        return QString();
    return QStringLiteral(" (the path is %1 bytes long; at most %2 can be opened)").arg(length).arg(vfs->mxPathname);
}

} // namespace

int32_t PSSQLITE3_OpenDB(const QString& path, QString& errorText)
{
    // The engine takes an empty file for an empty database and would write a new one into it at
    // the first change; an empty file holds no catalogue.
    if (const QFileInfo file(path); file.isFile() && file.size() == 0) {
        errorText = QString::fromUtf8(sqlite3_errstr(SQLITE_NOTADB));
        return 0;
    }
    sqlite3* db = nullptr;
    // The program uses a connection on its one thread only: the engine need not lock it per call.
    const int rc
        = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        errorText = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + pathTooLong(path);
        sqlite3_close(db);
        return 0;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Every clause click reads the whole catalogue; with the engine's default cache of 2 MiB a large
    // catalogue would be read from the file again on every click.
    sqlite3_exec(db, kCacheSize, nullptr, nullptr, nullptr);
    // The engine reads the file lazily; reading its schema now tells a database from any other file.
    char* message = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) != SQLITE_OK) {
        errorText = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        sqlite3_close(db);
        return 0;
    }
    const int32_t handle = nextHandle(connections());
    connections()[handle] = db;
    return handle;
}

int16_t PSSQLITE3_ExecuteDB(int32_t handle, const QByteArray& sql, int32_t& rowCount, int32_t& columnCount,
                            ResultTable& table, QString& errorText)
{
    rowCount = 0;
    columnCount = 0;
    table.reset(0);
    const bool runsToTheEnd = false;
    return eachStatement(
        handle, sql, errorText,
        [&](sqlite3_stmt* statement) { return runStatement(statement, rowCount, columnCount, table); }, runsToTheEnd);
}

// A query read in batches passes over its rows once: the pages it reads are not wanted again, and
// the engine sorts rows in memory up to the cache's size before it sorts in a temporary file.
// With the usual cache both would grow with the rows, up to 64 MiB each; the cache is held small
// while the query runs, and set back after. A large sort then goes to temporary files, and helper
// threads sort one part while the engine reads the next.
int16_t PSSQLITE3_ExecuteDBInBatches(int32_t handle, const QByteArray& sql, int32_t batchRows, ResultTable& table,
                                     const BatchReader& read, QString& errorText)
{
    table.reset(0);
    sqlite3* db = SQLiteConnection(handle);
    const int usualCache = db ? pragmaValue(db, "cache_size") : 0;
    const int usualThreads = db ? pragmaValue(db, "threads") : 0;
    if (usualCache != 0) {
        setPragma(db, "cache_size", -kPassCacheKiB);
        setPragma(db, "threads", sortThreads());
    }
    const auto restore = qScopeGuard([&] {
        if (usualCache != 0) {
            setPragma(db, "cache_size", usualCache);
            setPragma(db, "threads", usualThreads);
        }
    });
    bool stopped = false;
    return eachStatement(
        handle, sql, errorText,
        [&](sqlite3_stmt* statement) {
            return streamStatement(statement, std::max<int32_t>(1, batchRows), table, read, stopped);
        },
        stopped);
}

int32_t PSSQLITE3_PrepareDB(int32_t handle, const QByteArray& sql, QString& errorText)
{
    sqlite3* db = SQLiteConnection(handle);
    if (!db) {
        errorText = QStringLiteral("No database is open under handle %1").arg(handle);
        return 0;
    }
    sqlite3_stmt* statement = nullptr;
    // Kept for many runs: the engine may plan it for that rather than for one.
    if (sqlite3_prepare_v3(db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
            != SQLITE_OK
        || !statement) {
        errorText = statement ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("The statement is empty");
        sqlite3_finalize(statement);
        return 0;
    }
    const int32_t prepared = nextHandle(preparedStatements());
    preparedStatements()[prepared] = statement;
    return prepared;
}

int16_t PSSQLITE3_RunPreparedDB(int32_t statement, const QStringList& values, QString& errorText)
{
    const auto it = preparedStatements().find(statement);
    if (it == preparedStatements().end()) {
        errorText = QStringLiteral("No statement is prepared under handle %1").arg(statement);
        return failure(SQLITE_MISUSE);
    }
    sqlite3_stmt* s = it->second;
    // Every parameter is bound on every run, so nothing of an earlier run is left.
    if (values.size() != sqlite3_bind_parameter_count(s)) {
        errorText = QStringLiteral("The statement takes %1 values, not %2")
                        .arg(sqlite3_bind_parameter_count(s))
                        .arg(values.size());
        return failure(SQLITE_RANGE);
    }
    int rc = bindTexts(s, values);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(s);
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(s);
        rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
    }
    if (rc != SQLITE_OK)
        errorText = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(s)));
    sqlite3_reset(s);
    return rc == SQLITE_OK ? 0 : failure(rc);
}

void PSSQLITE3_CloseDB(int32_t handle)
{
    auto it = connections().find(handle);
    if (it == connections().end())
        return;
    // A statement left open would keep the connection alive after its close.
    for (auto s = preparedStatements().begin(); s != preparedStatements().end();) {
        if (sqlite3_db_handle(s->second) == it->second) {
            sqlite3_finalize(s->second);
            s = preparedStatements().erase(s);
        } else {
            ++s;
        }
    }
    sqlite3_close_v2(it->second);
    connections().erase(it);
}

sqlite3* SQLiteConnection(int32_t handle)
{
    auto it = connections().find(handle);
    return it == connections().end() ? nullptr : it->second;
}
