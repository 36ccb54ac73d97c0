#pragma once

#include "Stopwatch.h"
#include <QString>

class BenchFolder;
class BenchTable;
class ScriptedUi;

// The first-run fix-up over a thousand files: one file in documents/ for every record of a
// thousand-document catalogue whose fix-up is still pending. Each run starts from the same
// untouched copy, for the program and for the floor alike: an update that changes nothing costs
// the engine less.
class FixupBench
{
public:
    FixupBench(const BenchFolder& folder, ScriptedUi& ui) : m_folder(folder), m_ui(ui) { }

    // Call with the catalogue filled and closed, before its first run is marked done.
    bool Prepare(QString& error);
    // Returns false when a run did not fix every record or showed a message.
    bool Measure(int runs, BenchTable& table);

private:
    Timing RunProgram();
    Timing RunFloor();
    // How many records of the catalogue file point into the documents folder.
    int FixedRecords(const QString& dbPath) const;
    QString DocumentsFolder() const;
    bool WriteScript(QString& error);

    const BenchFolder& m_folder;
    ScriptedUi& m_ui;
    int m_files = 0;
};
