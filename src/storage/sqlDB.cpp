#include "storage/sqlDB.h"

#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/ProgramFolder.h"
#include "storage/Statements.h"
#include "storage/modSQLite.h"
#include <QDir>
#include <QStringList>
#include <sqlite3.h>

bool sqlDB::OpenDatabase(const QString& path, bool changeFolder, const QString& advice)
{
    bool opened = false;
    TrapBare([&] {
        if (changeFolder && !QDir::setCurrent(DataFolder()))
            throw AppError(QStringLiteral("Path not found: ") + DataFolder());
        QString errorText;
        m_handle = PSSQLITE3_OpenDB(path, errorText);
        if (m_handle != 0) {
            m_open = true;
            opened = true;
            return;
        }
        MsgBox(QStringLiteral("Cannot open '") + path + QStringLiteral("'\r\n") + errorText
                   + (advice.isEmpty() ? QString() : QStringLiteral("\r\n\r\n") + advice),
               MsgStyle::Critical, QString());
    });
    return opened;
}

bool sqlDB::Execute(const QString& sql)
{
    bool ran = false;
    TrapBare([&] {
        int32_t rows = 0;
        int32_t columns = 0;
        ResultTable table;
        QString errorText;
        if (PSSQLITE3_ExecuteDB(m_handle, sql.toUtf8(), rows, columns, table, errorText) != 0) {
            MsgBox(errorText, MsgStyle::Critical);
            return;
        }
        ran = true;
    });
    return ran;
}

bool sqlDB::ExecuteBound(const QString& sql, const QStringList& values)
{
    bool ran = false;
    TrapBare([&] {
        QString errorText;
        int32_t statement = m_prepared.value(sql);
        if (statement == 0) {
            statement = PSSQLITE3_PrepareDB(m_handle, sql.toUtf8(), errorText);
            if (statement != 0)
                m_prepared.insert(sql, statement);
        }
        if (statement == 0 || PSSQLITE3_RunPreparedDB(statement, values, errorText) != 0) {
            MsgBox(errorText, MsgStyle::Critical);
            return;
        }
        ran = true;
    });
    return ran;
}

int sqlDB::Changes() const
{
    sqlite3* connection = SQLiteConnection(m_handle);
    return connection ? sqlite3_changes(connection) : 0;
}

bool sqlDB::ExecuteAll(const QStringList& statements)
{
    if (!Execute(Sql::BeginTransaction()))
        return false;
    for (const QString& statement : statements) {
        if (!Execute(statement)) {
            RollBack();
            return false;
        }
    }
    if (Execute(Sql::CommitTransaction()))
        return true;
    RollBack();
    return false;
}

void sqlDB::RollBack()
{
    // A full disk or an I/O error makes the engine roll the transaction back itself; a second
    // ROLLBACK would only add a message that nothing could be undone.
    sqlite3* connection = SQLiteConnection(m_handle);
    if (connection && !sqlite3_get_autocommit(connection))
        Execute(Sql::RollbackTransaction());
}

void sqlDB::CloseDatabase()
{
    if (!m_open)
        return;
    PSSQLITE3_CloseDB(m_handle); // with the prepared statements
    m_prepared.clear();
    m_open = false;
}
