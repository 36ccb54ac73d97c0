#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads and writes a catalogue file straight through SQLite, beside the program's own layer, so
// tests see what really is stored. Null comes back as "<null>". Fails the test process on error.
QList<QStringList> DirectQuery(const QString& dbPath, const QString& sql);
void DirectExec(const QString& dbPath, const QString& sql);
// The first cell of the first row.
QString DirectValue(const QString& dbPath, const QString& sql);
