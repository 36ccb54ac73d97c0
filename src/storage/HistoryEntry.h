#pragma once

#include <QString>

// One row of the append-only history of the catalogue's changes.
struct HistoryEntry
{
    QString happened; // UTC, ISO 8601
    QString who;
    QString action;
    QString oldValue;
    QString newValue;
};
