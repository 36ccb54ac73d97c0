#include "platform/HourGlass.h"

#include <QCursor>
#include <QGuiApplication>

HourGlass::HourGlass()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

HourGlass::~HourGlass()
{
    QGuiApplication::restoreOverrideCursor();
}
