#include "Stopwatch.h"

#include "ProfilerGate.h"

#include <chrono>
#include <sys/resource.h>

namespace {

qint64 wallNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 ns(const timeval& t)
{
    return qint64(t.tv_sec) * 1000000000 + qint64(t.tv_usec) * 1000;
}

} // namespace

void Stopwatch::Restart()
{
    if (m_profiled)
        ProfilerGate::Open();
    m_wallStart = wallNs();
    m_cpuStart = ProcessCpuNs();
}

Timing Stopwatch::Elapsed() const
{
    const Timing elapsed {wallNs() - m_wallStart, ProcessCpuNs() - m_cpuStart};
    if (m_profiled)
        ProfilerGate::Close();
    return elapsed;
}

qint64 Stopwatch::ProcessCpuNs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}
