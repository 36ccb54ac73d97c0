#pragma once

#include "Stopwatch.h"
#include <QString>
#include <QStringList>

// One run of a command-line program, as a floor: standard input from a file, standard output to
// /dev/null, timed around the whole process. The process is spawned without copying the driver's
// memory, so the figure holds only what the program itself costs; its processor time counts the
// programs it starts and waits for (xargs's sha256sum runs, say).
// Failed when the program cannot be started or does not end with status 0.
Timing RunTool(const QString& program, const QStringList& arguments,
               const QString& input = QStringLiteral("/dev/null"));
