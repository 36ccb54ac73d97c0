#pragma once

#include <QObject>

// Lets the event loop run until it has nothing left to do: posted events, deferred layouts,
// paints. Counts every event the application delivers; two passes in a row that deliver none
// mean the program is idle.
class EventIdle : public QObject
{
public:
    // Returns false when the program was still busy after maxMs.
    static bool Wait(int maxMs = 60000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    long m_delivered = 0;
};
