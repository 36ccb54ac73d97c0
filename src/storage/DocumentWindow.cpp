#include "storage/DocumentWindow.h"

#include "platform/AppError.h"
#include "storage/Catalogue.h"
#include "storage/ResultTable.h"
#include "storage/Statements.h"
#include "storage/modSQLite.h"
#include <algorithm>

DocumentWindow::DocumentWindow(int handle, int opening, Source source, int count)
    : m_handle(handle), m_opening(opening), m_source(std::move(source)), m_count(std::max(0, count))
{
}

bool DocumentWindow::Open()
{
    m_failed = false;
    if (m_count > 0)
        page(0);
    else
        fetch(QString(), false, 0);
    return !m_failed;
}

const Document& DocumentWindow::At(int row)
{
    if (row < 0 || row >= m_count)
        throw AppError(QStringLiteral("Index out of bounds"));
    return page(row / kPageRows).rows[std::size_t(row % kPageRows)];
}

const DocumentWindow::Page& DocumentWindow::page(int number)
{
    const auto found = m_pages.find(number);
    if (found != m_pages.end())
        return found->second;
    Page read = this->read(number);
    keepAtMost(number);
    return m_pages.emplace(number, std::move(read)).first->second;
}

// The pages farthest from the one read go first: scrolling comes back to its neighbours.
void DocumentWindow::keepAtMost(int around)
{
    while (int(m_pages.size()) >= kPagesKept) {
        const auto first = m_pages.begin();
        const auto last = std::prev(m_pages.end());
        m_pages.erase(around - first->first > last->first - around ? first : last);
    }
}

DocumentWindow::Page DocumentWindow::read(int number)
{
    const int start = number * kPageRows;
    const int rows = std::min(kPageRows, m_count - start);
    const QString order
        = QLatin1Char('(') + m_source.orderRef + QLatin1Char(',') + m_source.orderRow + QLatin1Char(')');
    const auto before = m_pages.find(number - 1);
    const auto after = m_pages.find(number + 1);
    Page page;
    if (number == 0)
        page = fetch(QString(), false, rows);
    else if (before != m_pages.end() && !before->second.lastKey.isEmpty())
        page = fetch(order + QStringLiteral(">") + before->second.lastKey, false, rows);
    else if (after != m_pages.end() && !after->second.firstKey.isEmpty())
        page = fetch(order + QStringLiteral("<") + after->second.firstKey, true, rows);
    else if (start <= m_count - start - rows) {
        const QString key = keyAt(start, false);
        page = key.isEmpty() ? Page() : fetch(order + QStringLiteral(">=") + key, false, rows);
    } else {
        const QString key = keyAt(m_count - start - rows, true);
        page = key.isEmpty() ? Page() : fetch(order + QStringLiteral("<=") + key, true, rows);
    }
    page.rows.resize(std::size_t(rows)); // blank rows where the catalogue holds fewer now
    return page;
}

namespace {

// The order columns of a row as the values of a statement: the reference by its bytes, which
// need not be UTF-8, and the row number.
QString keyExpression(const DocumentWindow::Source& source)
{
    return QStringLiteral("'(CAST(X'''||hex(") + source.orderRef + QStringLiteral(")||''' AS TEXT),'||")
        + source.orderRow + QStringLiteral("||')'");
}

QString orderBy(const DocumentWindow::Source& source, bool descending)
{
    const QString direction = descending ? QStringLiteral(" DESC") : QString();
    return QStringLiteral(" ORDER BY ") + source.orderRef + direction + QLatin1Char(',') + source.orderRow + direction;
}

} // namespace

DocumentWindow::Page DocumentWindow::fetch(const QString& condition, bool descending, int limit, bool control)
{
    control = control && m_source.control;
    QString sql = QStringLiteral("SELECT d.docref,d.doctitle,d.dockey,d.docpath,d.isoref,")
        + (control ? QStringLiteral("c.revision,c.status,c.nextreview,") : QString()) + keyExpression(m_source)
        + QStringLiteral(" AS listkey FROM ") + m_source.ordered + m_source.rows
        + (control ? QStringLiteral(" LEFT JOIN tblcontrol c ON c.dockey=d.dockey") : QString())
        + QStringLiteral(" WHERE ") + m_source.node + m_source.hidden
        + (condition.isEmpty() ? QString() : QStringLiteral(" AND ") + condition) + orderBy(m_source, descending)
        + QStringLiteral(" LIMIT ") + QString::number(limit);
    ResultTable table;
    Page page;
    if (!query(sql, table) || table.rows() == 0)
        return page;
    page.rows = Catalogue::DocumentsOf(table);
    const int key = table.columns() - 1;
    page.firstKey = table.at(key, 1).toText();
    page.lastKey = table.at(key, table.rows()).toText();
    if (descending) {
        std::reverse(page.rows.begin(), page.rows.end());
        std::swap(page.firstKey, page.lastKey);
    }
    return page;
}

QString DocumentWindow::keyAt(int offset, bool fromEnd)
{
    ResultTable table;
    const QString sql = QStringLiteral("SELECT ") + keyExpression(m_source) + QStringLiteral(" FROM ")
        + m_source.ordered + QStringLiteral(" WHERE ") + m_source.node + m_source.hidden + orderBy(m_source, fromEnd)
        + QStringLiteral(" LIMIT 1 OFFSET ") + QString::number(offset);
    return query(sql, table) && table.rows() == 1 ? table.at(0, 1).toText() : QString();
}

int DocumentWindow::RowOf(const QString& dockey)
{
    for (const auto& [number, page] : m_pages) {
        for (std::size_t i = 0; i < page.rows.size(); ++i) {
            if (page.rows[i].key == dockey && !dockey.isEmpty())
                return number * kPageRows + int(i);
        }
    }
    ResultTable table;
    QString sql = QStringLiteral("SELECT ") + keyExpression(m_source) + QStringLiteral(" FROM ") + m_source.ordered
        + QStringLiteral(" WHERE ") + m_source.node + m_source.hidden + QStringLiteral(" AND ") + m_source.orderRow
        + QStringLiteral("=(SELECT rowid FROM tbldocument WHERE dockey=") + Sql::Quoted(dockey) + QLatin1Char(')');
    if (!query(sql, table) || table.rows() != 1)
        return -1;
    sql = QStringLiteral("SELECT count(*) FROM ") + m_source.ordered + QStringLiteral(" WHERE ") + m_source.node
        + m_source.hidden + QStringLiteral(" AND (") + m_source.orderRef + QLatin1Char(',') + m_source.orderRow
        + QStringLiteral(")<") + table.at(0, 1).toText();
    ResultTable before;
    if (!query(sql, before) || before.rows() != 1)
        return -1;
    const int row = int(before.at(0, 1).toNumber().value_or(-1));
    return row < m_count ? row : -1;
}

std::vector<Document> DocumentWindow::All()
{
    Page all = fetch(QString(), false, -1);
    return std::move(all.rows);
}

void DocumentWindow::ForEach(const std::function<void(const Document&)>& take)
{
    const QString order
        = QLatin1Char('(') + m_source.orderRef + QLatin1Char(',') + m_source.orderRow + QStringLiteral(")>");
    QString after;
    for (int done = 0; done < m_count;) {
        const Page batch = fetch(after.isEmpty() ? QString() : order + after, false, kBatchRows, false);
        for (const Document& document : batch.rows) {
            if (done++ < m_count)
                take(document);
        }
        if (int(batch.rows.size()) < kBatchRows)
            break;
        after = batch.lastKey;
    }
}

// Quiet: a page that cannot be read shows blank rows, and the catalogue this window was made
// from may have been closed since.
bool DocumentWindow::query(const QString& sql, ResultTable& table)
{
    int32_t rows = 0, columns = 0;
    QString error;
    const bool read = Catalogue::IsOpen() && Catalogue::Openings() == m_opening
        && PSSQLITE3_ExecuteDB(m_handle, sql.toUtf8(), rows, columns, table, error) == 0;
    m_failed = m_failed || !read;
    return read;
}
