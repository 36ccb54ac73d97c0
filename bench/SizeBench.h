#pragma once

#include "CatalogueFiller.h"
#include "PairedTiming.h"
#include "UpgradeBench.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class BenchFolder;
class BenchTable;
class FixupBench;
class ScriptedUi;

// Every figure for one catalogue size: the catalogue is made, its floors taken with sqlite3, then
// the program is started and clicked through, the due list read, finding and checking timed
// (FindingBench), the upgrade from version 0 timed through the catalogue service, and the peak
// memory of the largest list, its report and the master list taken in child processes. Above
// kEveryMeasureUpTo documents only the window's figures and the peaks are taken: the others have
// their targets at 100,000 and would take most of an hour at a million.
class SizeBench
{
public:
    static constexpr int kEveryMeasureUpTo = 100000;

    SizeBench(const BenchFolder& folder, ScriptedUi& ui, int documents, int runs, bool shuffled);
    ~SizeBench();

    // Makes the catalogue; with fixup set, also lays out the first-run fix-up over it.
    bool Prepare(bool fixup, QString& error);
    // Returns false when a figure could not be taken (the reason in error).
    bool Measure(BenchTable& table, QString& error);
    qint64 DbFileSize() const;
    const CatalogueFiller::Result& catalogue() const { return m_catalogue; }

private:
    using Pair = PairedTiming;
    bool MeasureProgram(BenchTable& table, QString& error);
    bool MeasureDue(BenchTable& table, QString& error);
    bool MeasureRest(BenchTable& table, QString& error);
    bool MeasurePeaks(BenchTable& table, QString& error);
    Pair Paired(const std::function<Timing()>& step, const QString& floorSql, const QStringList& options = {}) const;
    QString FirstCategory(QString& name) const;
    void Add(BenchTable& table, const QString& measure, const Pair& pair, const QString& floorWhat)
    {
        AddPaired(table, measure, m_documents, pair, floorWhat);
    }

    const BenchFolder& m_folder;
    ScriptedUi& m_ui;
    int m_documents;
    int m_runs;
    bool m_shuffled;
    CatalogueFiller::Result m_catalogue;
    QString m_firstKey;
    QString m_firstName;
    UpgradeBench m_upgrade;
    std::unique_ptr<FixupBench> m_fixup;
};
