#include "support/DirectSql.h"

#include <sqlite3.h>

namespace {

sqlite3* openOrDie(const QString& dbPath)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        qFatal("DirectSql: cannot open %s", qPrintable(dbPath));
    return db;
}

} // namespace

QList<QStringList> DirectQuery(const QString& dbPath, const QString& sql)
{
    sqlite3* db = openOrDie(dbPath);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        qFatal("DirectSql: %s: %s", sqlite3_errmsg(db), qPrintable(sql));
    QList<QStringList> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            row << (sqlite3_column_type(statement, c) == SQLITE_NULL
                        ? QStringLiteral("<null>")
                        : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                            sqlite3_column_bytes(statement, c)));
        rows << row;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

void DirectExec(const QString& dbPath, const QString& sql)
{
    sqlite3* db = openOrDie(dbPath);
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        qFatal("DirectSql: %s: %s", message, qPrintable(sql));
    sqlite3_close(db);
}

QString DirectValue(const QString& dbPath, const QString& sql)
{
    const QList<QStringList> rows = DirectQuery(dbPath, sql);
    return rows.isEmpty() || rows.first().isEmpty() ? QString() : rows.first().first();
}
