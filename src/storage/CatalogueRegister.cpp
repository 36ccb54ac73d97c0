#include "storage/Catalogue.h"

#include "platform/AppError.h"
#include "platform/LoginName.h"
#include "storage/IsoClauses.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDateTime>
#include <QSet>

// The register in and out: every document with its category and control data, as CSV.

namespace {

// The register's columns without control data, for a catalogue that has none.
const char* kPlainRegister
    = "SELECT docref,doctitle,catname,IFNULL(isoref,''),docpath,'Document','','Approved','','','','',0,0,'','','',"
      "dockey FROM tbldocument LEFT JOIN tblcategory USING(catkey) ORDER BY catorder,docref";

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

// The row's fields in the register's terms; the reason when one cannot be taken.
QString readRow(const QStringList& cells, const QHash<QString, int>& mapping, ImportRow& row)
{
    auto cell = [&](const char* field) {
        const int column = mapping.value(QLatin1String(field), -1);
        return column < 0 ? QString() : cells.value(column); // kept exactly: a register goes out and back
    };
    row.document.ref = cell("ref");
    row.document.title = cell("title");
    row.category = cell("category");
    row.document.clauses = cell("clauses").remove(QLatin1Char(' '));
    row.document.path = cell("path");
    if (row.document.ref.trimmed().isEmpty())
        return QStringLiteral("no reference");
    if (row.document.title.trimmed().isEmpty())
        return QStringLiteral("no title");
    if (row.category.trimmed().isEmpty())
        return QStringLiteral("no category");
    if (row.document.path.trimmed().isEmpty())
        return QStringLiteral("no file");
    for (const QString& clause : row.document.clauses.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!IsoClauses::Exists(clause))
            return QStringLiteral("'%1' is not a clause of ISO 9001:2000").arg(clause);
    }
    DocumentControl& c = row.control;
    for (const char* field : {"kind", "revision", "status", "owner", "approved_by", "approved_on", "next_review",
                              "review_months", "retention_months", "retention_ends", "issuer", "edition"})
        row.hasControl = row.hasControl || mapping.contains(QLatin1String(field));
    const QString kind = cell("kind").trimmed(), status = cell("status").trimmed();
    if (!kind.isEmpty() && !QStringList({"Document", "Record", "External"}).contains(kind))
        return QStringLiteral("kind '%1' is not Document, Record or External").arg(kind);
    if (!status.isEmpty() && !QStringList({"Draft", "Approved", "Obsolete"}).contains(status))
        return QStringLiteral("status '%1' is not Draft, Approved or Obsolete").arg(status);
    c.kind = DocumentControl::KindFrom(kind);
    c.status = DocumentControl::StatusFrom(status);
    c.revision = cell("revision");
    c.owner = cell("owner");
    c.approvedBy = cell("approved_by");
    c.issuer = cell("issuer");
    c.edition = cell("edition");
    const std::pair<const char*, QDate*> dates[]
        = {{"approved_on", &c.approvedOn}, {"next_review", &c.nextReview}, {"retention_ends", &c.retentionEnds}};
    for (const auto& [field, date] : dates) {
        if (!readDate(cell(field), *date))
            return QStringLiteral("%1 '%2' is not a date (year-month-day, e.g. 2024-03-31)").arg(field, cell(field));
    }
    if (!readMonths(cell("review_months"), 120, c.reviewMonths))
        return QStringLiteral("review_months '%1' is not a number of months from 0 to 120").arg(cell("review_months"));
    if (!readMonths(cell("retention_months"), 1200, c.retentionMonths))
        return QStringLiteral("retention_months '%1' is not a number of months from 0 to 1200")
            .arg(cell("retention_months"));
    return QString();
}

} // namespace

QList<QStringList> Catalogue::RegisterRows()
{
    QList<QStringList> rows;
    sqlRecordset rs;
    rs.OpenRecordset(m_control ? Sql::SelectRegister() : QString::fromLatin1(kPlainRegister), m_db->db());
    const ResultTable& table = rs.Table();
    for (int row = 1; row <= table.rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table.columns(); ++column)
            cells << table.at(column, row).toText();
        rows << cells;
    }
    rs.CloseRecordset();
    return rows;
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
    ImportPlan plan;
    QHash<QString, QString> categoryKeys; // by name
    for (const Category& category : Categories())
        categoryKeys.insert(category.name, category.key);
    QMultiHash<QString, Document> existing; // by category name and reference
    for (const Document& d : allDocuments(true))
        existing.insert(d.category + QLatin1Char('\n') + d.ref, d);
    QHash<QString, int> seen; // category and reference -> the line that gave it
    for (const char* needed : {"ref", "title", "category", "path"}) {
        if (!mapping.contains(QLatin1String(needed)))
            throw AppError(QStringLiteral("The file has no column for the field '%1'").arg(QLatin1String(needed)));
    }
    for (int i = 0; i < table.rows.size(); ++i) {
        ImportRow row;
        row.line = table.lines.value(i);
        const QStringList& cells = table.rows[i];
        if (cells.size() != table.header.size())
            row.reason = QStringLiteral("it has %1 fields, the header %2").arg(cells.size()).arg(table.header.size());
        else
            row.reason = readRow(cells, mapping, row);
        const QString id = row.category + QLatin1Char('\n') + row.document.ref;
        if (row.reason.isEmpty() && seen.contains(id))
            row.reason = QStringLiteral("reference %1 in %2 is already in line %3")
                             .arg(row.document.ref, row.category)
                             .arg(seen.value(id));
        const QList<Document> matches = existing.values(id);
        if (row.reason.isEmpty() && matches.size() > 1)
            row.reason
                = QStringLiteral("two documents of %1 have the reference %2").arg(row.category, row.document.ref);
        if (!row.reason.isEmpty()) {
            plan.rows.push_back(row);
            continue;
        }
        seen.insert(id, row.line);
        if (matches.isEmpty()) {
            row.action = ImportRow::Action::New;
            if (!categoryKeys.contains(row.category) && !plan.newCategories.contains(row.category))
                plan.newCategories << row.category;
        } else {
            const Document& old = matches.front();
            row.document.key = old.key;
            // The checksum and the reason for withdrawing are not in a register: they stay as they are.
            const DocumentControl current = Control(old.key);
            row.control.approvedHash = current.approvedHash;
            row.control.withdrawnReason = current.withdrawnReason;
            const bool same = old.title == row.document.title && old.clauses == row.document.clauses
                && old.path == row.document.path && (!row.hasControl || current == row.control);
            row.action = same ? ImportRow::Action::Unchanged : ImportRow::Action::Changed;
        }
        plan.rows.push_back(row);
    }
    return plan;
}

// The rows' writes have their values bound: a register of many rows parses each kind of write once.
Catalogue::Write Catalogue::ApplyImport(const ImportPlan& plan)
{
    std::vector<Sql::Bound> statements;
    QList<QStringList> history;
    QHash<QString, QString> categoryKeys;
    for (const Category& category : Categories())
        categoryKeys.insert(category.name, category.key);
    for (const QString& name : plan.newCategories) {
        const QString catkey = GetGUID();
        if (catkey.isEmpty())
            return Write::Refused;
        categoryKeys.insert(name, catkey);
        statements.push_back({Sql::InsertCategory(catkey, StripQuotes(name)), {}});
        history << historyRow(QString(), catkey, "Category added by import", {}, name);
    }
    for (const ImportRow& row : plan.rows) {
        if (row.action != ImportRow::Action::New && row.action != ImportRow::Action::Changed)
            continue;
        const Document& d = row.document;
        QString dockey = d.key;
        const QString catkey = categoryKeys.value(row.category);
        if (row.action == ImportRow::Action::New) {
            dockey = GetGUID();
            if (dockey.isEmpty())
                return Write::Refused;
            statements.push_back(Sql::InsertDocumentBound(dockey, d.ref, d.title, d.path, catkey, d.clauses));
            history << historyRow(dockey, catkey, "Added by import", {}, d.ref + QStringLiteral(" - ") + d.title);
        } else {
            statements.push_back(Sql::UpdateDocumentBound(dockey, d.ref, d.title, d.path, d.clauses));
            history << historyRow(dockey, catkey, "Changed by import", {}, d.ref + QStringLiteral(" - ") + d.title);
        }
        if (row.hasControl && m_control) {
            const DocumentControl& c = row.control;
            auto date = [](const QDate& day) { return day.isValid() ? day.toString(Qt::ISODate) : QString(); };
            statements.push_back(Sql::UpsertControlBound(
                dockey,
                {DocumentControl::KindText(c.kind), c.revision, DocumentControl::StatusText(c.status), c.owner,
                 c.approvedBy, date(c.approvedOn), c.approvedHash, QString::number(c.reviewMonths), date(c.nextReview),
                 QString::number(c.retentionMonths), date(c.retentionEnds), c.issuer, c.edition, c.withdrawnReason}));
        }
    }
    if (statements.empty())
        return Write::Unchanged;
    return change(statements, history, false);
}
