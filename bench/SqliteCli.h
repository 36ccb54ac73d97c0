#pragma once

#include "Stopwatch.h"
#include <QString>
#include <QStringList>

// The floor: the sqlite3 command-line program running a query on the catalogue file and writing
// its rows to /dev/null, as `sqlite3 file.db "<query>" > /dev/null` does, timed around the whole
// process (RunTool).
class SqliteCli
{
public:
    // Whether the program can be found on the PATH.
    static bool Available();

    // One run of `sqlite3 [options] db sql`: its wall-clock time and the processor time sqlite3
    // used; failed when it did not end well.
    static Timing Run(const QString& db, const QString& sql, const QStringList& options = {});
    // The same with the statements read from a file on standard input (statements too long to
    // be one argument).
    static Timing RunScript(const QString& db, const QString& scriptFile);
};
