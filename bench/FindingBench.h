#pragma once

#include "PairedTiming.h"
#include <QString>
#include <functional>

class BenchFolder;
class BenchTable;
class ScriptedUi;

// Finding and checking at one catalogue size, each set against a floor taken in turns with it:
// - a keystroke in the window's search box, the first of a session (which folds every document's
//   texts) and one after it, against sqlite3 running the window's all-documents query with the
//   word's LIKE;
// - the clause coverage counts through the catalogue service, against sqlite3 testing every clause
//   list for each clause number in one pass over the same rows;
// - the file check through the service over a folder of small real files, one for each current
//   document, against find reading their sizes and times; and with the files' SHA-256 stored as
//   approved, against sha256sum hashing the same files.
// The files are removed after their figures unless the folders are kept.
class FindingBench
{
public:
    FindingBench(const BenchFolder& folder, ScriptedUi& ui, int documents, int runs);

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
    bool MeasureSearch(BenchTable& table, QString& error);
    bool MeasureCoverage(BenchTable& table, QString& error);
    bool MeasureCheck(BenchTable& table, QString& error);
    // The files of the current documents and two copies of the catalogue pointing at them, one
    // with their SHA-256 stored as approved.
    bool PrepareFiles(QString& error);
    // The catalogue's file check on a copy, as cadrelle-cli check runs it: every file must be fine.
    Timing CheckFiles(const QString& dbPath);

    const BenchFolder& m_folder;
    ScriptedUi& m_ui;
    int m_documents;
    int m_runs;
    int m_files = 0;
};
