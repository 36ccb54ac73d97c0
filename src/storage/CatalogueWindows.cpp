#include "storage/Catalogue.h"

#include "storage/ClauseMatch.h"
#include "storage/DocumentWindow.h"
#include "storage/ListTables.h"
#include "storage/ResultTable.h"
#include "storage/Statements.h"
#include "storage/Variant.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include <sqlite3.h>

// The lists read a page at a time. The counts come from tables the catalogue's triggers keep, the
// obsolete documents (few, and left out of the lists) from a copy read again after any change.

namespace {

std::unique_ptr<DocumentWindow> opened(std::unique_ptr<DocumentWindow> window)
{
    return window->Open() ? std::move(window) : nullptr;
}

} // namespace

std::unique_ptr<DocumentWindow> Catalogue::CategoryWindow(const QString& catkey)
{
    // A NULL reference orders before every text and cannot be named in a page's key.
    if (!m_lists || !ListTables::BringUpToDate(SQLiteConnection(m_db->db()))
        || firstInteger(Sql::HasNullReference(catkey)) != 0)
        return nullptr;
    DocumentWindow::Source source {QStringLiteral("tbldocument d"), QStringLiteral("d.catkey=") + Sql::Quoted(catkey),
                                   QStringLiteral("d.docref"), QStringLiteral("d.rowid")};
    return window(source, Sql::CountCategoryDocuments(catkey), QStringLiteral("category ") + catkey,
                  [&](const ObsoleteDocument& d) { return d.catkey == catkey; });
}

std::unique_ptr<DocumentWindow> Catalogue::ClauseWindow(const QString& clause)
{
    if (!m_lists || !ListTables::BringUpToDate(SQLiteConnection(m_db->db())))
        return nullptr;
    // The reference is checked as well: a row number is a document's only while the file is not rebuilt.
    DocumentWindow::Source source {
        QStringLiteral("tblclauselist l"), QStringLiteral("l.clause=") + Sql::Quoted(clause),
        QStringLiteral("l.docref"), QStringLiteral("l.docrowid"),
        QStringLiteral(" CROSS JOIN tbldocument d ON d.rowid=l.docrowid AND IFNULL(d.docref,'')=l.docref")};
    return window(source, Sql::CountClauseDocuments(clause), QStringLiteral("clause ") + clause,
                  [&](const ObsoleteDocument& d) { return ClauseMatch(clause, Variant(d.clauses)); });
}

// The node's documents as counted, less its obsolete ones unless the lists show them.
std::unique_ptr<DocumentWindow> Catalogue::window(DocumentWindow::Source source, const QString& countQuery,
                                                  const QString& node,
                                                  const std::function<bool(const ObsoleteDocument&)>& inNode)
{
    int hidden = 0;
    source.hidden = hiddenRows(source.orderRow, node, inNode, hidden);
    source.control = m_control;
    const int documents = firstInteger(countQuery) - hidden;
    return opened(std::make_unique<DocumentWindow>(m_db->db(), s_openings, source, documents));
}

// The condition that leaves out the node's obsolete documents, unless the lists show them: by the
// table of their row numbers where it could be made, else by the numbers themselves.
QString Catalogue::hiddenRows(const QString& column, const QString& node,
                              const std::function<bool(const ObsoleteDocument&)>& inNode, int& hidden)
{
    hidden = 0;
    if (m_includeObsolete || !m_control)
        return QString();
    const std::vector<ObsoleteDocument>& obsolete = obsoleteDocuments();
    const auto counted = m_hiddenCounts.constFind(node);
    if (m_obsoleteTable && counted != m_hiddenCounts.constEnd()) {
        hidden = *counted;
    } else {
        QStringList rows;
        for (const ObsoleteDocument& d : obsolete) {
            if (inNode(d))
                rows << QString::number(d.rowid);
        }
        hidden = int(rows.size());
        m_hiddenCounts.insert(node, hidden);
        if (!m_obsoleteTable && hidden > 0)
            return QStringLiteral(" AND ") + column + QStringLiteral(" NOT IN (") + rows.join(QLatin1Char(','))
                + QLatin1Char(')');
    }
    return hidden == 0 ? QString()
                       : QStringLiteral(" AND ") + column + QStringLiteral(" NOT IN temp.cadrelle_obsolete");
}

// Read again after any change; their row numbers also go to a table of this connection's own, which
// a page's query looks up rather than a list of thousands of numbers. A catalogue opened only to be
// read takes no such table.
const std::vector<Catalogue::ObsoleteDocument>& Catalogue::obsoleteDocuments()
{
    const qint64 version = dataVersion();
    if (m_obsoleteValid && version == m_obsoleteVersion)
        return m_obsolete;
    m_obsolete.clear();
    m_hiddenCounts.clear();
    m_obsoleteTable = sqlite3_exec(SQLiteConnection(m_db->db()), Sql::FillObsoleteTable().toUtf8().constData(), nullptr,
                                   nullptr, nullptr)
        == SQLITE_OK;
    ResultTable table;
    int32_t rows = 0, columns = 0;
    QString error;
    if (PSSQLITE3_ExecuteDB(m_db->db(), Sql::SelectObsoleteDocuments(m_obsoleteTable).toUtf8(), rows, columns, table,
                            error)
        == 0) {
        for (int row = 1; row <= table.rows(); ++row)
            m_obsolete.push_back({table.at(0, row).toText(), qint64(table.at(1, row).toNumber().value_or(0)),
                                  table.at(2, row).toText()});
    }
    m_obsoleteValid = true;
    m_obsoleteVersion = version;
    return m_obsolete;
}

int Catalogue::firstInteger(const QString& sql)
{
    ResultTable table;
    int32_t rows = 0, columns = 0;
    QString error;
    if (PSSQLITE3_ExecuteDB(m_db->db(), sql.toUtf8(), rows, columns, table, error) != 0 || table.rows() < 1)
        return 0;
    return int(table.at(0, 1).toNumber().value_or(0));
}
