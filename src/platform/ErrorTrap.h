#pragma once

#include "platform/AppError.h"
#include "platform/Platform.h"
#include <exception>

// The description of the failure that is being handled.
QString DescribeCurrentException();

// Runs a handler's body; a failure is shown as "TAG - description" (OK only, no icon) and the
// handler ends there. The program goes on.
template <typename Body>
bool Trap(const char* tag, Body&& body)
{
    try {
        body();
        return true;
    } catch (...) {
        MsgBox(QString::fromLatin1(tag) + QStringLiteral(" - ") + DescribeCurrentException());
        return false;
    }
}

// The same for the database classes, which show the bare description.
template <typename Body>
bool TrapBare(Body&& body)
{
    try {
        body();
        return true;
    } catch (...) {
        MsgBox(DescribeCurrentException());
        return false;
    }
}
