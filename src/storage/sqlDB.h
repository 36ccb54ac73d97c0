#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

// The program's connection to its catalogue. Failures are told to the user here, through the
// platform's message box; callers only learn whether a statement ran.
class sqlDB
{
public:
    // Opens an existing database file; with changeFolder the data folder becomes the
    // current folder first. Shows "Cannot open '<path>'" and the reason on failure, followed by
    // advice on what to do when the caller gives some.
    bool OpenDatabase(const QString& path, bool changeFolder, const QString& advice = QString());
    // Runs the statements of sql and throws their rows away; shows the engine's message on failure.
    bool Execute(const QString& sql);
    // Runs one statement with the values bound to its parameters ?1, ?2, ...; shows the engine's
    // message on failure. The statement is prepared at its first run and kept until the database is
    // closed: a write repeated for many rows is parsed once.
    bool ExecuteBound(const QString& sql, const QStringList& values);
    // The rows that the last statement run inserted, updated or deleted: a write that ran but
    // changed nothing found nothing to change.
    int Changes() const;
    // Runs statements as one transaction: all of them are applied or none is.
    bool ExecuteAll(const QStringList& statements);
    // Undoes the open transaction, if the engine has not already done so.
    void RollBack();
    void CloseDatabase();
    int32_t db() const { return m_handle; }

private:
    int32_t m_handle = 0;
    bool m_open = false;
    QHash<QString, int32_t> m_prepared; // by the statement's text
};
