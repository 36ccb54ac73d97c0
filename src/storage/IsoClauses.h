#pragma once

#include <QString>
#include <vector>

// The 67 clauses of ISO 9001:2000, from 4 to 8.5.3, with their titles, in the standard's order.
class IsoClauses
{
public:
    struct Clause
    {
        QString number;
        QString title;
    };

    static const std::vector<Clause>& All();
    // The title of a clause; empty for a number the standard does not have.
    static QString Title(const QString& number);
    static bool Exists(QStringView number);
    // The six clauses for which the standard requires a documented procedure.
    static bool RequiresProcedure(const QString& number);
    // Only clauses within 7 may be excluded from the quality management system.
    static bool MayBeExcluded(const QString& number);
};
