#include "storage/ImportStatements.h"

#include "storage/modDB.h"
#include <QStringBuilder>

ImportStatements::ImportStatements(const ImportPlan& plan, QHash<QString, QString> categoryKeys, Control control,
                                   HistoryRow history)
    : m_plan(plan), m_categoryKeys(std::move(categoryKeys)), m_control(control), m_history(std::move(history)),
      m_row(plan.rows.cbegin())
{
}

bool ImportStatements::MakeKeys()
{
    for (const QString& name : m_plan.newCategories) {
        const QString catkey = GetGUID();
        if (catkey.isEmpty())
            return false;
        m_categoryKeys.insert(name, catkey);
        m_pending.push_back({Sql::InsertCategory(catkey, StripQuotes(name)), {}});
        if (m_history)
            m_pending.push_back(Sql::InsertHistory(m_history(QString(), catkey, "Category added by import", name)));
    }
    // Handed out in increasing order, the keys go in at the end of the indexes by key instead of
    // anywhere in them.
    const int added = m_plan.Count(ImportRow::Action::New);
    m_newKeys = GetGUIDs(added);
    m_newKey = m_newKeys.cbegin();
    return m_newKeys.size() == added;
}

bool ImportStatements::Next(Sql::Bound& statement)
{
    while (m_pending.empty() && m_row != m_plan.rows.cend())
        queueRows();
    if (m_pending.empty())
        return false;
    statement = std::move(m_pending.front());
    m_pending.pop_front();
    return true;
}

void ImportStatements::queueRows()
{
    constexpr int kRowsPerStatement = 64;
    QStringList documents, controls, history;
    documents.reserve(kRowsPerStatement * 6);
    history.reserve(kRowsPerStatement * 7);
    std::vector<Sql::Bound> changes;
    for (int n = 0; n < kRowsPerStatement && m_row != m_plan.rows.cend(); ++m_row) {
        const ImportRow& row = *m_row;
        const bool isNew = row.action == ImportRow::Action::New;
        if (!isNew && row.action != ImportRow::Action::Changed)
            continue;
        ++n;
        const Document& d = row.document;
        const QString dockey = isNew ? *m_newKey++ : d.key, catkey = categoryKey(row.category);
        if (isNew)
            documents << dockey << d.ref << d.title << d.path << catkey << d.clauses;
        else
            changes.push_back(Sql::UpdateDocumentBound(dockey, d.ref, d.title, d.path, d.clauses));
        // A new document whose control data are what no row means needs no row.
        if (row.hasControl && m_control != Control::None && isNew && row.control != DocumentControl())
            controls << dockey << row.control.Texts();
        else if (row.hasControl && m_control != Control::None && !isNew)
            changes.push_back(Sql::UpsertControlBound(dockey, row.control.Texts(), m_control == Control::Linked));
        if (m_history)
            history << m_history(dockey, catkey,
                                 isNew ? QStringLiteral("Added by import") : QStringLiteral("Changed by import"),
                                 QString(d.ref % QLatin1String(" - ") % d.title));
    }
    if (!documents.isEmpty())
        m_pending.push_back(Sql::InsertDocuments(documents));
    if (!controls.isEmpty())
        m_pending.push_back(Sql::InsertControls(controls, m_control == Control::Linked));
    m_pending.insert(m_pending.end(), std::make_move_iterator(changes.begin()), std::make_move_iterator(changes.end()));
    if (!history.isEmpty())
        m_pending.push_back(Sql::InsertHistory(history));
}

// The rows of a category mostly come together: its key is looked up when the category changes.
const QString& ImportStatements::categoryKey(const QString& name)
{
    if (name != m_lastCategory.first)
        m_lastCategory = {name, m_categoryKeys.value(name)};
    return m_lastCategory.second;
}
