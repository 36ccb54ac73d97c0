#pragma once

#include "Stopwatch.h"
#include <QString>

class BenchFolder;
class BenchTable;
class ScriptedUi;

// The upgrade of a catalogue from version 0, as the first start of this version meets it: a copy
// of the filled catalogue without the control tables, opened by the catalogue service, set against
// sqlite3 running the same statements in one transaction. Each run starts from the same untouched
// copy, for the program and for the floor alike.
class UpgradeBench
{
public:
    UpgradeBench(const BenchFolder& folder, ScriptedUi& ui) : m_folder(folder), m_ui(ui) { }

    // Call with the filled catalogue closed.
    bool Prepare(QString& error);
    // Returns false when a run did not leave an upgraded catalogue or showed a message.
    bool Measure(int runs, int documents, BenchTable& table);

private:
    Timing RunProgram();
    Timing RunFloor();
    // Whether the file is a catalogue of the version this program writes.
    static bool Upgraded(const QString& dbPath);

    const BenchFolder& m_folder;
    ScriptedUi& m_ui;
};
