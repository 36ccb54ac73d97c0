#include "ProfilerGate.h"

#include <QByteArray>
#include <cstdio>

namespace {

FILE* control()
{
    static FILE* fifo = [] {
        const QByteArray path = qgetenv("CADRELLE_BENCH_PERF_CTL");
        return path.isEmpty() ? nullptr : std::fopen(path.constData(), "w");
    }();
    return fifo;
}

FILE* acknowledgement()
{
    static FILE* fifo = [] {
        const QByteArray path = qgetenv("CADRELLE_BENCH_PERF_ACK");
        return path.isEmpty() ? nullptr : std::fopen(path.constData(), "r");
    }();
    return fifo;
}

} // namespace

void ProfilerGate::Open()
{
    Send("enable");
}

void ProfilerGate::Close()
{
    Send("disable");
}

// perf answers every command on its acknowledgement FIFO; waiting for it keeps the switch exact.
void ProfilerGate::Send(const char* command)
{
    FILE* fifo = control();
    if (!fifo)
        return;
    std::fputs(command, fifo);
    std::fputc('\n', fifo);
    std::fflush(fifo);
    if (FILE* ack = acknowledgement()) {
        // Its text does not matter; an end of file means perf has gone, and there is nothing to wait for.
        char answer[16];
        if (!std::fgets(answer, sizeof answer, ack))
            return;
    }
}
