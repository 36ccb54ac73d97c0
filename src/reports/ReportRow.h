#pragma once

#include <QString>

// The four texts of one document list row, as the report shows them.
struct ReportRow
{
    QString docRef;
    QString title;
    QString isoRef;
    QString path;
};
