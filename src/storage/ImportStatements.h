#pragma once

#include "storage/ImportPlan.h"
#include "storage/Statements.h"
#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>

// The statements that write an import's plan, made a few rows at a time as the engine takes them, so
// that a register of many rows is not held twice in memory: first the new categories; then, for every
// 64 rows written, their new documents in one statement and the control rows of those in another,
// each changed document and its control row, and the rows' history in one statement. A statement
// per row would cost the engine nearly as much again as the row.
class ImportStatements
{
public:
    // A history row of the catalogue: the document and category, what happened and the new value.
    using HistoryRow = std::function<QStringList(const QString& dockey, const QString& catkey, const QString& action,
                                                 const QString& newValue)>;

    // What the catalogue keeps of control data: none, rows by document key, or rows that also name
    // their document's row.
    enum class Control
    {
        None,
        ByKey,
        Linked
    };
    // categoryKeys: the catalogue's categories by name. history is empty where the catalogue keeps
    // no history.
    ImportStatements(const ImportPlan& plan, QHash<QString, QString> categoryKeys, Control control, HistoryRow history);
    // Makes the keys of the new categories and documents; false when one could not be made (told).
    bool MakeKeys();
    // The next statement; false after the last.
    bool Next(Sql::Bound& statement);

private:
    void queueRows();
    const QString& categoryKey(const QString& name);

    const ImportPlan& m_plan;
    QHash<QString, QString> m_categoryKeys;
    Control m_control;
    HistoryRow m_history;
    QStringList m_newKeys; // of the new documents, in increasing order
    QStringList::const_iterator m_newKey;
    std::vector<ImportRow>::const_iterator m_row;
    std::pair<QString, QString> m_lastCategory; // name and key
    std::deque<Sql::Bound> m_pending; // made and not yet taken
};
