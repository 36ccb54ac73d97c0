#pragma once

#include <QString>

// How well one clause of the standard is served by the catalogue's current documents.
struct ClauseCoverage
{
    QString clause;
    QString title;
    int documents = 0; // current (not obsolete) documents that serve it
    bool requiresProcedure = false; // one of the six clauses that require a documented procedure
    bool excluded = false; // marked not applicable
    QString justification;

    // A gap the auditor asks about first: a required procedure missing and not excluded.
    bool MissingProcedure() const { return requiresProcedure && documents == 0 && !excluded; }
};
