#pragma once

#include "storage/Document.h"
#include "storage/DocumentControl.h"
#include <QStringList>
#include <vector>

// What importing a register would do, row by row: a new document, a change to the document of the
// same reference in the same category, nothing, or a refusal with its reason.
struct ImportRow
{
    enum class Action
    {
        New,
        Changed,
        Unchanged,
        Refused
    };
    // The action's name, as the preview shows it.
    static QString ActionText(Action action)
    {
        switch (action) {
        case Action::New:
            return QStringLiteral("New");
        case Action::Changed:
            return QStringLiteral("Changed");
        case Action::Unchanged:
            return QStringLiteral("Unchanged");
        default:
            return QStringLiteral("Refused");
        }
    }
    int line = 0; // in the file
    Action action = Action::Refused;
    QString reason;
    Document document; // the key is the matched record's for a change
    QString category;
    bool hasControl = false; // the file gives control data for it
    DocumentControl control;
};

struct ImportPlan
{
    std::vector<ImportRow> rows;
    QStringList newCategories;
    int Count(ImportRow::Action action) const
    {
        int n = 0;
        for (const ImportRow& row : rows)
            n += row.action == action;
        return n;
    }
};
