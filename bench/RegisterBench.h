#pragma once

#include "PairedTiming.h"
#include <QString>
#include <functional>

class BenchFolder;
class BenchTable;

// The register at one catalogue size, each set against a floor taken in turns with it:
// - the export of every document through the catalogue service to CSV, against sqlite3 writing
//   the same rows with .mode csv;
// - the import of that file into a copy of the catalogue without its documents (every row new, in
//   one transaction), against sqlite3's .import of the same file into a table of its own;
// - the master list page of every document, against the HTML report of the same rows.
class RegisterBench
{
public:
    RegisterBench(const BenchFolder& folder, int documents, int runs);
    // Call with the filled catalogue closed; returns false when a figure could not be taken.
    bool Measure(BenchTable& table, QString& error);

private:
    using Pair = PairedTiming;
    Pair Paired(const std::function<Timing()>& ours, const std::function<Timing()>& theirs) const
    {
        return TimePaired(m_runs, ours, theirs);
    }
    void Add(BenchTable& table, const QString& measure, const Pair& pair, const QString& floorWhat) const
    {
        AddPaired(table, measure, m_documents, pair, floorWhat);
    }

    const BenchFolder& m_folder;
    int m_documents;
    int m_runs;
};
