#pragma once

#include <QtGlobal>

// Wall-clock and processor time of one step. On a machine busy with other work the wall clock
// counts the waits for a processor too; the processor time is then the steadier figure.
struct Timing
{
    qint64 wallNs = -1;
    qint64 cpuNs = -1;
    bool failed() const { return wallNs < 0; }
    static Timing Failed() { return {}; }
};

class Stopwatch
{
public:
    // A stopwatch that is not profiled leaves the profiler off: for work done only to prepare a step.
    explicit Stopwatch(bool profiled = true) : m_profiled(profiled) { Restart(); }
    void Restart();
    // The time since the start; the processor time is this process's own (all its threads).
    // Read it once per step: a profiler behind ProfilerGate records from the start to here.
    Timing Elapsed() const;

    static qint64 ProcessCpuNs();

private:
    qint64 m_wallStart = 0;
    qint64 m_cpuStart = 0;
    bool m_profiled;
};
