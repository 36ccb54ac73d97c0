#include "PairedTiming.h"

#include "BenchTable.h"

PairedTiming TimePaired(int runs, const std::function<Timing()>& ours, const std::function<Timing()>& theirs)
{
    std::vector<Timing> program, floor;
    for (int i = 0; i < runs; ++i) {
        program.push_back(ours());
        floor.push_back(theirs());
        if (program.back().failed() || floor.back().failed())
            break;
    }
    return {Median(program), Median(floor)};
}

void AddPaired(BenchTable& table, const QString& measure, int documents, const PairedTiming& pair,
               const QString& floorWhat)
{
    table.Add({measure, documents, pair.program.wallMs, pair.floor.wallMs, QStringLiteral("ms"), floorWhat,
               pair.program.cpuMs, pair.floor.cpuMs});
}
