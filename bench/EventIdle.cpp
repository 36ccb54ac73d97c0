#include "EventIdle.h"

#include <QCoreApplication>
#include <QElapsedTimer>

bool EventIdle::Wait(int maxMs)
{
    EventIdle counter;
    QCoreApplication::instance()->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    int quietPasses = 0;
    while (quietPasses < 2 && clock.elapsed() < maxMs) {
        counter.m_delivered = 0;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        quietPasses = counter.m_delivered == 0 ? quietPasses + 1 : 0;
    }
    QCoreApplication::instance()->removeEventFilter(&counter);
    return quietPasses >= 2;
}

bool EventIdle::eventFilter(QObject*, QEvent*)
{
    ++m_delivered;
    return false;
}
