#include "mainwindow/DocumentRows.h"

#include "platform/AppError.h"
#include "storage/sqlRecordset.h"

namespace {

const QString kDocref = QStringLiteral("docref");
const QString kDoctitle = QStringLiteral("doctitle");
const QString kDockey = QStringLiteral("dockey");
const QString kDocpath = QStringLiteral("docpath");
const QString kIsoref = QStringLiteral("isoref");

int columnOf(const ResultTable& table, const QString& name)
{
    for (int column = 0; column < table.columns(); ++column) {
        if (table.at(column, 0).toText().compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    throw AppError(QStringLiteral("Object variable not set: no field '%1'").arg(name));
}

} // namespace

std::vector<DocumentRow> ReadDocumentRows(sqlRecordset& rs, const QString& firstField, const IsorefFilter& keep)
{
    std::vector<DocumentRow> rows;
    if (rs.AtEOF())
        return rows;
    // Reading the fields of the current row fails as every reader does when the query was refused.
    rs.Value(firstField);
    for (const QString& name : {kDockey, kDocref, kDoctitle, kIsoref, kDocpath})
        rs.Value(name);

    // The values are taken from the fetched result in place: a large category costs five shared
    // strings per row and no field lookups.
    const ResultTable& table = rs.Table();
    const int dockey = columnOf(table, kDockey);
    const int docref = columnOf(table, kDocref);
    const int doctitle = columnOf(table, kDoctitle);
    const int isoref = columnOf(table, kIsoref);
    const int docpath = columnOf(table, kDocpath);
    if (!keep)
        rows.reserve(std::size_t(table.rows()));
    for (int row = 1; row <= table.rows(); ++row) {
        const Variant& clauses = table.at(isoref, row);
        if (keep && !keep(clauses))
            continue;
        rows.push_back({table.at(dockey, row).toText(), table.at(docref, row).toText(),
                        table.at(doctitle, row).toText(), clauses.toText(), table.at(docpath, row).toText()});
    }
    return rows;
}
