#pragma once

// Lets a profiler record only the timed steps of the program. With CADRELLE_BENCH_PERF_CTL naming
// the control FIFO of `perf record --control=fifo:<ctl>,<ack> -D -1`, each timed step switches
// recording on at its start and off at its end; without it nothing happens.
class ProfilerGate
{
public:
    static void Open();
    static void Close();

private:
    static void Send(const char* command);
};
