#pragma once

#include "Stopwatch.h"
#include <algorithm>
#include <vector>

// The middle of several timings, taken for the wall clock and the processor time each on its own:
// one slow run (a cold cache, the system busy elsewhere) does not move it. A failed run fails the
// figure.
struct MedianTiming
{
    double wallMs = -1;
    double cpuMs = -1;
};

inline double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? -1 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline MedianTiming Median(const std::vector<Timing>& runs)
{
    std::vector<double> wall, cpu;
    for (const Timing& t : runs) {
        if (t.failed())
            return {};
        wall.push_back(t.wallNs / 1e6);
        cpu.push_back(t.cpuNs / 1e6);
    }
    return {MedianOf(wall), MedianOf(cpu)};
}

template <typename Run> MedianTiming Median(int runs, Run&& run)
{
    std::vector<Timing> timings;
    for (int i = 0; i < runs; ++i) {
        timings.push_back(run());
        if (timings.back().failed())
            break;
    }
    return Median(timings);
}
