#pragma once

#include "Median.h"
#include <QString>
#include <functional>

class BenchTable;

// A step of the program and its floor, each the median of their runs.
struct PairedTiming
{
    MedianTiming program;
    MedianTiming floor;
};

// Runs the step and its floor in turns, so that both meet the machine in the same state; stops at
// the first run that fails.
PairedTiming TimePaired(int runs, const std::function<Timing()>& ours, const std::function<Timing()>& theirs);

// Puts the pair in the table as a row in milliseconds, with what its floor is.
void AddPaired(BenchTable& table, const QString& measure, int documents, const PairedTiming& pair,
               const QString& floorWhat);
