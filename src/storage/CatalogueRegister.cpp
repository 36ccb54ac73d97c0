#include "storage/Catalogue.h"

#include "platform/AppError.h"
#include "storage/ImportStatements.h"
#include "storage/IsoClauses.h"
#include "storage/ResultTable.h"
#include "storage/Statements.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDateTime>
#include <QIODevice>
#include <QScopeGuard>
#include <QSet>
#include <QStringTokenizer>
#include <algorithm>
#include <array>
#include <sqlite3.h>

// The register in and out: every document with its category and control data, as CSV.

namespace {

// The register's columns without control data, for a catalogue that has none.
const char* kPlainRegister
    = "SELECT docref,doctitle,catname,IFNULL(isoref,''),docpath,'Document','','Approved','','','','',0,0,'','','',"
      "dockey FROM tbldocument LEFT JOIN tblcategory USING(catkey) ORDER BY catorder,docref";

Sql::ObsoleteRows obsoleteRows(Catalogue::RegisterPart part)
{
    switch (part) {
    case Catalogue::RegisterPart::Current:
        return Sql::ObsoleteRows::LeftOut;
    case Catalogue::RegisterPart::CurrentThenObsolete:
        return Sql::ObsoleteRows::Last;
    default:
        return Sql::ObsoleteRows::InPlace;
    }
}

// Other names a register's columns go by, as the window's headings and common spreadsheets write them.
const QHash<QString, QString>& synonyms()
{
    static const QHash<QString, QString> names = {{"doc ref", "ref"},
                                                  {"reference", "ref"},
                                                  {"docref", "ref"},
                                                  {"doctitle", "title"},
                                                  {"catname", "category"},
                                                  {"iso ref", "clauses"},
                                                  {"iso refs", "clauses"},
                                                  {"isoref", "clauses"},
                                                  {"clause", "clauses"},
                                                  {"file", "path"},
                                                  {"docpath", "path"},
                                                  {"rev", "revision"},
                                                  {"approved by", "approved_by"},
                                                  {"approved on", "approved_on"},
                                                  {"next review", "next_review"}};
    return names;
}

bool readDate(const QString& text, QDate& date)
{
    date = QDate::fromString(text, Qt::ISODate);
    return text.isEmpty() || (date.isValid() && text.size() == 10);
}

bool readMonths(const QString& text, int most, int& months)
{
    bool ok = text.isEmpty();
    months = ok ? 0 : text.toInt(&ok);
    return ok && months >= 0 && months <= most;
}

// The fields a row is read for, in the order of RegisterCsv::Fields; the key is not read.
enum Field
{
    kRef,
    kTitle,
    kCategory,
    kClauses,
    kPath,
    kKind, // the control fields from here on
    kRevision,
    kStatus,
    kOwner,
    kApprovedBy,
    kApprovedOn,
    kNextReview,
    kReviewMonths,
    kRetentionMonths,
    kRetentionEnds,
    kIssuer,
    kEdition,
    kFieldCount
};

// The table's column of each field (-1 for none), looked up once for the table instead of by name
// for every cell of every row.
struct FieldColumns
{
    std::array<int, kFieldCount> column {};
    bool control = false; // the file gives control data
    explicit FieldColumns(const QHash<QString, int>& mapping)
    {
        for (int field = 0; field < kFieldCount; ++field) {
            column[field] = mapping.value(RegisterCsv::Fields()[field], -1);
            control = control || (field >= kKind && column[field] >= 0);
        }
    }
    // Kept exactly: a register goes out and back.
    QString cell(const QStringList& cells, Field field) const
    {
        return column[field] < 0 ? QString() : cells.value(column[field]);
    }
};

// The control fields of the row; the reason when one cannot be taken.
QString readControl(const QStringList& cells, const FieldColumns& fields, DocumentControl& c)
{
    static const QStringList kinds = {"Document", "Record", "External"}, statuses = {"Draft", "Approved", "Obsolete"};
    auto cell = [&](Field field) { return fields.cell(cells, field); };
    const QString kind = cell(kKind).trimmed(), status = cell(kStatus).trimmed();
    if (!kind.isEmpty() && !kinds.contains(kind))
        return QStringLiteral("kind '%1' is not Document, Record or External").arg(kind);
    if (!status.isEmpty() && !statuses.contains(status))
        return QStringLiteral("status '%1' is not Draft, Approved or Obsolete").arg(status);
    c.kind = DocumentControl::KindFrom(kind);
    c.status = DocumentControl::StatusFrom(status);
    c.revision = cell(kRevision);
    c.owner = cell(kOwner);
    c.approvedBy = cell(kApprovedBy);
    c.issuer = cell(kIssuer);
    c.edition = cell(kEdition);
    const std::pair<Field, QDate*> dates[]
        = {{kApprovedOn, &c.approvedOn}, {kNextReview, &c.nextReview}, {kRetentionEnds, &c.retentionEnds}};
    for (const auto& [field, date] : dates) {
        if (!readDate(cell(field), *date))
            return QStringLiteral("%1 '%2' is not a date (year-month-day, e.g. 2024-03-31)")
                .arg(RegisterCsv::Fields()[field], cell(field));
    }
    if (!readMonths(cell(kReviewMonths), 120, c.reviewMonths))
        return QStringLiteral("review_months '%1' is not a number of months from 0 to 120").arg(cell(kReviewMonths));
    if (!readMonths(cell(kRetentionMonths), 1200, c.retentionMonths))
        return QStringLiteral("retention_months '%1' is not a number of months from 0 to 1200")
            .arg(cell(kRetentionMonths));
    return QString();
}

// The row's fields in the register's terms; the reason when one cannot be taken.
QString readRow(const QStringList& cells, const FieldColumns& fields, ImportRow& row)
{
    row.document.ref = fields.cell(cells, kRef);
    row.document.title = fields.cell(cells, kTitle);
    row.category = fields.cell(cells, kCategory);
    row.document.clauses = fields.cell(cells, kClauses).remove(QLatin1Char(' '));
    row.document.path = fields.cell(cells, kPath);
    const auto blank = [](const QString& text) { return QStringView(text).trimmed().isEmpty(); };
    if (blank(row.document.ref))
        return QStringLiteral("no reference");
    if (blank(row.document.title))
        return QStringLiteral("no title");
    if (blank(row.category))
        return QStringLiteral("no category");
    if (blank(row.document.path))
        return QStringLiteral("no file");
    for (const QStringView clause : QStringTokenizer(row.document.clauses, u',', Qt::SkipEmptyParts)) {
        if (!IsoClauses::Exists(clause))
            return QStringLiteral("'%1' is not a clause of ISO 9001:2000").arg(clause);
    }
    row.hasControl = fields.control;
    return readControl(cells, fields, row.control);
}

// A row's category name and reference, by which it is matched to a document.
using RefKey = std::pair<QString, QString>;

// Rows by a hash of their category and reference.
using RowHashes = std::vector<std::pair<std::size_t, int>>;

// For each hashed row, the index of the first hashed row with the same category and reference when
// it is not that row itself; -1 otherwise. Sorted by their hashes, equal rows meet: for a hundred
// thousand rows this takes a few milliseconds, where a table of their texts took tens.
std::vector<int> firstRowsOfTheirReference(const std::vector<ImportRow>& rows, RowHashes hashes)
{
    std::sort(hashes.begin(), hashes.end());
    std::vector<int> firsts(rows.size(), -1);
    const auto same = [&rows](int a, int b) {
        return rows[std::size_t(a)].document.ref == rows[std::size_t(b)].document.ref
            && rows[std::size_t(a)].category == rows[std::size_t(b)].category;
    };
    for (std::size_t from = 0, to = 0; from < hashes.size(); from = to) {
        while (to < hashes.size() && hashes[to].first == hashes[from].first)
            ++to;
        // Equal hashes are in the file's order: the first equal row found is the first of all.
        for (std::size_t a = from + 1; a < to; ++a) {
            const int row = hashes[a].second;
            for (std::size_t b = from; b < a && firsts[std::size_t(row)] < 0; ++b)
                firsts[std::size_t(row)] = same(row, hashes[b].second) ? hashes[b].second : -1;
        }
    }
    return firsts;
}

// Every document's control data by key, in one query: a plan that matches many documents would
// otherwise ask for each.
QHash<QString, DocumentControl> controlByKey(int32_t db)
{
    constexpr int kControlColumns = 14;
    QHash<QString, DocumentControl> controls;
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectAllControl(), db);
    const ResultTable& table = rs.Table();
    controls.reserve(table.rows());
    for (int row = 1; row <= table.rows(); ++row) {
        QStringList texts;
        for (int column = 0; column < kControlColumns; ++column)
            texts << table.at(column, row).toText();
        controls.insert(table.at(kControlColumns, row).toText(), DocumentControl::FromTexts(texts));
    }
    rs.CloseRecordset();
    return controls;
}

} // namespace

bool Catalogue::ForEachRegisterRow(const std::function<void(const QStringList&)>& take, RegisterPart part,
                                   int batchRows)
{
    // The links are checked and followed in one read of the catalogue: no writer comes between.
    sqlite3* db = SQLiteConnection(m_db->db());
    const bool ownRead = m_controlLinks && sqlite3_get_autocommit(db)
        && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    const auto endRead = qScopeGuard([&] {
        if (ownRead)
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
    // Without control data every document is current.
    const QString sql = m_control ? Sql::SelectRegister(obsoleteRows(part), ownRead && controlLinksHold())
                                  : QString::fromLatin1(kPlainRegister);
    sqlRecordset rs;
    return rs.ReadInBatches(
        sql, m_db->db(),
        [&take](const ResultTable& table) {
            QStringList cells;
            for (int row = 1; row <= table.rows(); ++row) {
                cells.clear();
                for (int column = 0; column < table.columns(); ++column)
                    cells << table.at(column, row).toText();
                take(cells);
            }
            return true;
        },
        batchRows > 0 ? batchRows : sqlRecordset::kBatchRows);
}

// A control row another program left at a row that is not its document's would be missed through
// the links; the check reads the control rows once, each document's row in the links' order.
bool Catalogue::controlLinksHold()
{
    return firstInteger(Sql::ControlLinksHold()) == 1;
}

bool Catalogue::WriteRegister(QIODevice& file, int& rows)
{
    rows = 0;
    file.write(RegisterCsv::ByteOrderMark() + RegisterCsv::Line(RegisterCsv::Fields()));
    return ForEachRegisterRow([&](const QStringList& row) {
        file.write(RegisterCsv::Line(row));
        ++rows;
    });
}

QHash<QString, int> Catalogue::MappingOf(const QStringList& header)
{
    QHash<QString, int> mapping;
    for (int column = 0; column < header.size(); ++column) {
        QString name = header[column].trimmed().toLower();
        name = synonyms().value(name, name);
        if (RegisterCsv::Fields().contains(name) && !mapping.contains(name))
            mapping.insert(name, column);
    }
    return mapping;
}

// Rows are matched to documents by reference within their category; a reference the file gives
// twice in one category, or that two documents of the category share, is refused rather than
// guessed.
ImportPlan Catalogue::PlanImport(const RegisterCsv::Table& table, const QHash<QString, int>& mapping)
{
    for (const char* needed : {"ref", "title", "category", "path"}) {
        if (!mapping.contains(QLatin1String(needed)))
            throw AppError(QStringLiteral("The file has no column for the field '%1'").arg(QLatin1String(needed)));
    }
    QSet<QString> categoryNames;
    for (const Category& category : Categories())
        categoryNames.insert(category.name);
    QMultiHash<RefKey, Document> existing;
    for (Document& d : allDocuments(true))
        existing.insert({d.category, d.ref}, std::move(d));
    const QHash<QString, DocumentControl> controls
        = m_control && !existing.isEmpty() ? controlByKey(m_db->db()) : QHash<QString, DocumentControl>();
    const FieldColumns fields(mapping);
    ImportPlan plan;
    plan.rows.reserve(std::size_t(table.rows.size()));
    std::vector<const Document*> matches;
    matches.reserve(std::size_t(table.rows.size()));
    RowHashes hashes; // of the rows not refused, taken while each row is at hand
    hashes.reserve(std::size_t(table.rows.size()));
    for (int i = 0; i < table.rows.size(); ++i) {
        ImportRow& row = plan.rows.emplace_back();
        row.line = table.lines.value(i);
        const QStringList& cells = table.rows[i];
        if (cells.size() != table.header.size())
            row.reason = QStringLiteral("it has %1 fields, the header %2").arg(cells.size()).arg(table.header.size());
        else
            row.reason = readRow(cells, fields, row);
        const RefKey id {row.category, row.document.ref};
        const auto match = existing.constFind(id);
        matches.push_back(match == existing.cend() ? nullptr : &*match);
        // Every row of a reference that two documents share is refused so; none is the first.
        if (row.reason.isEmpty() && match != existing.cend() && existing.count(id) > 1)
            row.reason
                = QStringLiteral("two documents of %1 have the reference %2").arg(row.category, row.document.ref);
        if (row.reason.isEmpty())
            hashes.emplace_back(qHashMulti(0, row.category, row.document.ref), i);
    }
    const std::vector<int> firsts = firstRowsOfTheirReference(plan.rows, std::move(hashes));
    QString lastCategory;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        ImportRow& row = plan.rows[i];
        if (row.reason.isEmpty() && firsts[i] >= 0)
            row.reason = QStringLiteral("reference %1 in %2 is already in line %3")
                             .arg(row.document.ref, row.category)
                             .arg(plan.rows[std::size_t(firsts[i])].line);
        if (!row.reason.isEmpty())
            continue;
        if (!matches[i]) {
            row.action = ImportRow::Action::New;
            // The rows of a category mostly come together: it is looked for when the category changes.
            if (row.category != lastCategory && !categoryNames.contains(row.category)
                && !plan.newCategories.contains(row.category))
                plan.newCategories << row.category;
            lastCategory = row.category;
        } else {
            const Document& old = *matches[i];
            row.document.key = old.key;
            // The checksum and the reason for withdrawing are not in a register: they stay as they are.
            const DocumentControl current = controls.value(old.key);
            row.control.approvedHash = current.approvedHash;
            row.control.withdrawnReason = current.withdrawnReason;
            const bool same = old.title == row.document.title && old.clauses == row.document.clauses
                && old.path == row.document.path && (!row.hasControl || current == row.control);
            row.action = same ? ImportRow::Action::Unchanged : ImportRow::Action::Changed;
        }
    }
    return plan;
}

Catalogue::Write Catalogue::ApplyImport(const ImportPlan& plan)
{
    if (plan.newCategories.isEmpty() && plan.Count(ImportRow::Action::New) == 0
        && plan.Count(ImportRow::Action::Changed) == 0)
        return Write::Unchanged;
    QHash<QString, QString> categoryKeys;
    for (const Category& category : Categories())
        categoryKeys.insert(category.name, category.key);
    ImportStatements::HistoryRow history;
    if (m_control) {
        history = [this](const QString& dockey, const QString& catkey, const QString& action, const QString& value) {
            return historyRow(dockey, catkey, action, {}, value);
        };
    }
    using Control = ImportStatements::Control;
    const Control control = !m_control ? Control::None : m_controlLinks ? Control::Linked : Control::ByKey;
    ImportStatements statements(plan, std::move(categoryKeys), control, history);
    if (!statements.MakeKeys())
        return Write::Refused;
    return change([&statements](Sql::Bound& statement) { return statements.Next(statement); }, false);
}
