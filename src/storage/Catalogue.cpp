#include "storage/Catalogue.h"

#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/LoginName.h"
#include "storage/CatalogueSchema.h"
#include "storage/ClauseMatch.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDateTime>
#include <sqlite3.h>

std::unique_ptr<Catalogue> Catalogue::s_current;
int Catalogue::s_openings = 0;

Catalogue::Catalogue() : m_db(std::make_unique<sqlDB>()) { }
Catalogue::~Catalogue() = default;

namespace {

const QString kDocref = QStringLiteral("docref");
const QString kDoctitle = QStringLiteral("doctitle");
const QString kDockey = QStringLiteral("dockey");
const QString kDocpath = QStringLiteral("docpath");
const QString kIsoref = QStringLiteral("isoref");
const QString kCatname = QStringLiteral("catname");
const QString kRevision = QStringLiteral("revision");
const QString kStatus = QStringLiteral("status");
const QString kNextReview = QStringLiteral("nextreview");
const QString kKind = QStringLiteral("kind");
const QString kOwner = QStringLiteral("owner");
const QString kApprovedBy = QStringLiteral("approvedby");
const QString kApprovedOn = QStringLiteral("approvedon");

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

// When and by whom, for a history row. Taken again only when the second changes: a write of many
// rows stamps them without formatting the time and looking up the login for each.
struct HistoryStamp
{
    qint64 second = -1;
    QString happened;
    QString who;
};

const HistoryStamp& historyStamp()
{
    static HistoryStamp stamp;
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != stamp.second)
        stamp = {second, QDateTime::fromSecsSinceEpoch(second, Qt::UTC).toString(Qt::ISODate), LoginName()};
    return stamp;
}

// A document as the history names it.
QString described(const Document& d)
{
    return d.ref + QStringLiteral(" - ") + d.title;
}

bool runStatement(sqlDB& db, const Sql::Bound& statement)
{
    return statement.values.isEmpty() ? db.Execute(statement.sql) : db.ExecuteBound(statement.sql, statement.values);
}

// Runs the statements next gives: the first alone where what it changed decides; then texts go to
// the engine a thousand in one call, which it runs in turn, and statements with bound values one by
// one, each kind parsed once.
Catalogue::Write runAll(sqlDB& db, const std::function<bool(Sql::Bound&)>& next, bool firstMustChange)
{
    constexpr qsizetype kTextsPerCall = 1000;
    Sql::Bound statement;
    if (firstMustChange && next(statement)) {
        if (!runStatement(db, statement))
            return Catalogue::Write::Refused;
        if (db.Changes() == 0)
            return Catalogue::Write::Unchanged;
    }
    QStringList texts;
    const auto flush = [&] {
        const bool ran = texts.isEmpty() || db.Execute(texts.join(QStringLiteral(";\n")));
        texts.clear();
        return ran;
    };
    while (next(statement)) {
        if (statement.values.isEmpty()) {
            texts << statement.sql;
            if (texts.size() == kTextsPerCall && !flush())
                return Catalogue::Write::Refused;
        } else if (!flush() || !db.ExecuteBound(statement.sql, statement.values)) {
            return Catalogue::Write::Refused;
        } else if (statement.rows >= 0 && db.Changes() != statement.rows) {
            // A key taken or a category deleted by another program since the rows were planned.
            MsgBox(QStringLiteral("Not every row could be written: another program may have changed the catalogue "
                                  "meanwhile. Nothing was changed."),
                   MsgStyle::Critical);
            return Catalogue::Write::Refused;
        }
    }
    return flush() ? Catalogue::Write::Done : Catalogue::Write::Refused;
}

int columnOf(const ResultTable& table, const QString& name)
{
    for (int column = 0; column < table.columns(); ++column) {
        if (table.at(column, 0).toText().compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

} // namespace

bool Catalogue::Open(const QString& path, bool changeFolder, const QString& advice)
{
    // Any earlier catalogue is let go first: a failed start may be tried again.
    Close();
    std::unique_ptr<Catalogue> opened(new Catalogue);
    if (!opened->m_db->OpenDatabase(path, changeFolder, advice))
        return false;
    s_current = std::move(opened);
    ++s_openings;
    s_current->upgrade();
    return true;
}

// A catalogue that cannot be written now is read as it is; its control data waits for a start at
// which it can be written. One from a newer program is only read.
void Catalogue::upgrade()
{
    sqlite3* db = SQLiteConnection(m_db->db());
    QString error;
    if (CatalogueSchema::Upgrade(db, error) == CatalogueSchema::State::Newer) {
        sqlite3_exec(db, "PRAGMA query_only=ON", nullptr, nullptr, nullptr);
        MsgBox(QStringLiteral("'") + FilePath()
                   + QStringLiteral("' was written by a newer version of Cadrelle. It is opened read-only: changes "
                                    "to it are refused."),
               MsgStyle::Critical);
    }
    m_control = CatalogueSchema::HasControlTables(db);
    m_lists = CatalogueSchema::HasListTables(db);
    m_controlLinks = m_control && CatalogueSchema::HasControlLinks(db);
}

void Catalogue::Close()
{
    if (s_current)
        s_current->m_db->CloseDatabase();
    s_current.reset();
}

bool Catalogue::IsOpen()
{
    return s_current != nullptr;
}

Catalogue& Catalogue::Current()
{
    if (!s_current)
        throw AppError(QStringLiteral("Object variable not set: the catalogue is not open"));
    return *s_current;
}

QString Catalogue::FilePath() const
{
    sqlite3* connection = SQLiteConnection(m_db->db());
    const char* name = connection ? sqlite3_db_filename(connection, "main") : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

bool Catalogue::HasCatalogueTables(const QString& advice)
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectTableNames(), m_db->db());
    QStringList tables;
    for (; !rs.AtEOF(); rs.MoveNext())
        tables << rs.Value(QStringLiteral("name")).toText().toLower();
    rs.CloseRecordset();
    for (const char* table : {"tblcategory", "tbldocument", "tblinit"}) {
        if (!tables.contains(QLatin1String(table))) {
            MsgBox(QStringLiteral("'") + FilePath() + QStringLiteral("' is not a Cadrelle catalogue: it has no table ")
                       + QLatin1String(table) + QStringLiteral(".\r\n\r\n") + advice,
                   MsgStyle::Critical);
            return false;
        }
    }
    return true;
}

// The value is read without looking for a row first only when there is one: an empty table says
// what is wrong in one message.
bool Catalogue::InitPending()
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectInit(), m_db->db());
    if (rs.AtEOF())
        throw AppError(QStringLiteral("The catalogue has lost its first-run state: the table tblinit is empty"));
    const std::optional<double> init = rs.Value(QStringLiteral("init")).toNumber();
    rs.CloseRecordset();
    return init && *init == 0;
}

void Catalogue::MarkInitDone()
{
    m_db->Execute(Sql::UpdateInitDone());
}

// With every value escaped, a refused statement means the catalogue refuses all of them
// (read-only, locked, full): the first refusal is told once and ends the fix-up.
bool Catalogue::FixDocumentPaths(const QString& folder, const QStringList& names,
                                 const std::function<void()>& afterEach)
{
    // A file name is the record's reference followed by a dot and a three-letter extension.
    constexpr int kExtensionLength = 4;
    if (!m_db->Execute(Sql::BeginTransaction()))
        return false;
    try {
        for (const QString& name : names) {
            // Too short to hold a reference and an extension: no record can match it.
            if (name.size() >= kExtensionLength
                && !m_db->Execute(
                    Sql::UpdateDocumentPath(folder, name.chopped(kExtensionLength), name.right(kExtensionLength)))) {
                m_db->RollBack();
                return false;
            }
            if (afterEach)
                afterEach();
        }
    } catch (...) {
        m_db->RollBack();
        throw;
    }
    if (m_db->Execute(Sql::CommitTransaction()))
        return true;
    m_db->RollBack();
    return false;
}

std::vector<Category> Catalogue::Categories()
{
    std::vector<Category> categories;
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectCategories(), m_db->db());
    while (!rs.AtEOF()) {
        categories.push_back({rs.Value(QStringLiteral("catkey")).toText(), rs.Value(kCatname).toText()});
        rs.MoveNext();
    }
    rs.CloseRecordset();
    return categories;
}

bool Catalogue::CategoryExists(const QString& catkey)
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectCategory(catkey), m_db->db());
    return !rs.AtEOF();
}

// The first field is read by the name given first, as any reader of the recordset would: a refused
// query fails there with the description of the failed field read, before any row is taken. The
// values are then taken from the fetched result in place: a large category costs five shared
// strings per row and no field lookups.
std::vector<Document> Catalogue::documents(const QString& query, const QString& firstField,
                                           const std::function<bool(const Variant&)>& keep)
{
    sqlRecordset rs;
    rs.OpenRecordset(query, m_db->db());
    if (rs.AtEOF())
        return {};
    rs.Value(firstField);
    for (const QString& name : {kDockey, kDocref, kDoctitle, kIsoref, kDocpath})
        rs.Value(name);
    std::vector<Document> rows = DocumentsOf(rs.Table(), keep);
    rs.CloseRecordset();
    return rows;
}

std::vector<Document> Catalogue::DocumentsOf(const ResultTable& table, const std::function<bool(const Variant&)>& keep)
{
    std::vector<Document> rows;
    const int dockey = columnOf(table, kDockey), docref = columnOf(table, kDocref);
    const int doctitle = columnOf(table, kDoctitle), isoref = columnOf(table, kIsoref);
    const int docpath = columnOf(table, kDocpath), catname = columnOf(table, kCatname);
    const int revision = columnOf(table, kRevision), status = columnOf(table, kStatus);
    const int nextReview = columnOf(table, kNextReview);
    const int kind = columnOf(table, kKind), owner = columnOf(table, kOwner);
    const int approvedBy = columnOf(table, kApprovedBy), approvedOn = columnOf(table, kApprovedOn);
    if (!keep)
        rows.reserve(std::size_t(table.rows()));
    for (int row = 1; row <= table.rows(); ++row) {
        const Variant& clauses = table.at(isoref, row);
        if (keep && !keep(clauses))
            continue;
        Document& d = rows.emplace_back(Document {table.at(dockey, row).toText(), table.at(docref, row).toText(),
                                                  table.at(doctitle, row).toText(), clauses.toText(),
                                                  table.at(docpath, row).toText(),
                                                  catname < 0 ? QString() : table.at(catname, row).toText()});
        if (revision < 0)
            continue;
        d.revision = table.at(revision, row).toText();
        d.status = DocumentControl::StatusFrom(table.at(status, row).toText());
        d.nextReview = QDate::fromString(table.at(nextReview, row).toText(), Qt::ISODate);
        if (kind < 0)
            continue;
        d.kind = DocumentControl::KindFrom(table.at(kind, row).toText());
        d.owner = table.at(owner, row).toText();
        d.approvedBy = table.at(approvedBy, row).toText();
        d.approvedOn = QDate::fromString(table.at(approvedOn, row).toText(), Qt::ISODate);
    }
    return rows;
}

std::vector<Document> Catalogue::CategoryDocuments(const QString& catkey)
{
    return withControl(documents(Sql::SelectCategoryDocuments(catkey), kDockey), m_includeObsolete);
}

std::vector<Document> Catalogue::ClauseDocuments(const QString& clause)
{
    return withControl(documents(Sql::SelectAllDocuments(), kIsoref,
                                 [&clause](const Variant& isoref) { return ClauseMatch(clause, isoref); }),
                       m_includeObsolete);
}

// A list joined with the control table in the engine costs twice the list itself on every click;
// the control columns come from a copy kept here instead, read again when the catalogue changed.
std::vector<Document> Catalogue::withControl(std::vector<Document> rows, bool includeObsolete)
{
    if (!m_control)
        return rows;
    controlCopy();
    if (m_controlCopy.isEmpty())
        return rows;
    std::vector<Document> kept;
    kept.reserve(rows.size());
    for (Document& d : rows) {
        const auto control = m_controlCopy.constFind(d.key);
        if (control != m_controlCopy.constEnd()) {
            if (control->status == DocumentControl::Status::Obsolete && !includeObsolete)
                continue;
            d.revision = control->revision;
            d.status = control->status;
            d.nextReview = control->nextReview;
        }
        kept.push_back(std::move(d));
    }
    return kept;
}

const QHash<QString, Catalogue::ControlColumns>& Catalogue::controlCopy()
{
    if (!m_control)
        return m_controlCopy;
    const qint64 version = dataVersion();
    if (!m_controlCopyValid || version != m_controlCopyVersion) {
        m_controlCopy.clear();
        ResultTable table;
        int32_t count = 0, columns = 0;
        QString error;
        if (PSSQLITE3_ExecuteDB(m_db->db(), Sql::SelectControlColumns().toUtf8(), count, columns, table, error) == 0) {
            for (int row = 1; row <= table.rows(); ++row)
                m_controlCopy.insert(table.at(0, row).toText(),
                                     {table.at(1, row).toText(), DocumentControl::StatusFrom(table.at(2, row).toText()),
                                      QDate::fromString(table.at(3, row).toText(), Qt::ISODate)});
        }
        m_controlCopyValid = true;
        m_controlCopyVersion = version;
    }
    return m_controlCopy;
}

std::vector<Document> Catalogue::AllDocuments()
{
    return allDocuments(m_includeObsolete);
}

std::vector<Document> Catalogue::allDocuments(bool includeObsolete)
{
    return documents(m_control ? Sql::SelectAllDocumentsWithCategoryControlled(includeObsolete)
                               : Sql::SelectAllDocumentsWithCategory(),
                     kDockey);
}

std::vector<Document> Catalogue::DocumentsWithReference(const QString& docref)
{
    return documents(Sql::SelectDocumentsWithReference(docref), kDockey);
}

std::vector<Document> Catalogue::OtherDocumentsWithReference(const QString& docref, const QString& dockey)
{
    return documents(Sql::SelectOtherDocumentsWithReference(docref, dockey), kDockey);
}

QStringList Catalogue::historyRow(const QString& dockey, const QString& catkey, const QString& action,
                                  const QString& oldValue, const QString& newValue) const
{
    const HistoryStamp& stamp = historyStamp();
    return {stamp.happened, stamp.who, dockey, catkey, action, oldValue, newValue};
}

Catalogue::Write Catalogue::change(const QStringList& statements, const QList<QStringList>& history,
                                   bool firstMustChange)
{
    qsizetype i = 0, h = 0;
    return change(
        [&](Sql::Bound& statement) {
            if (i < statements.size())
                statement = {statements[i++], {}};
            else if (m_control && h < history.size())
                statement = Sql::InsertHistory(history[h++]);
            else
                return false;
            return true;
        },
        firstMustChange);
}

Catalogue::Write Catalogue::change(const std::function<bool(Sql::Bound&)>& next, bool firstMustChange)
{
    if (!m_db->Execute(Sql::BeginTransaction()))
        return Write::Refused;
    const Write written = runAll(*m_db, next, firstMustChange);
    if (written == Write::Done && m_db->Execute(Sql::CommitTransaction())) {
        m_searchable.clear(); // searched afresh after any change of ours
        m_controlCopyValid = false;
        m_obsoleteValid = false;
        return Write::Done;
    }
    m_db->RollBack();
    return written == Write::Unchanged ? Write::Unchanged : Write::Refused;
}

QString Catalogue::AddCategory(const QString& name)
{
    const QString catkey = GetGUID();
    if (catkey.isEmpty())
        return QString(); // already told; a category without a key must not be stored
    return change({Sql::InsertCategory(catkey, name)}, {historyRow(QString(), catkey, "Category added", {}, name)})
            == Write::Done
        ? catkey
        : QString();
}

Catalogue::Write Catalogue::RenameCategory(const QString& catkey, const QString& name)
{
    QString old;
    for (const Category& category : Categories())
        old = category.key == catkey ? category.name : old;
    return change({Sql::RenameCategory(catkey, name)}, {historyRow(QString(), catkey, "Category renamed", old, name)});
}

// The documents' history rows are written before they go, so each keeps its last word.
Catalogue::Write Catalogue::DeleteCategory(const QString& catkey)
{
    QString name;
    for (const Category& category : Categories())
        name = category.key == catkey ? category.name : name;
    QStringList statements;
    if (m_control) {
        statements << Sql::InsertHistoryForDocumentsOf(catkey, now(), LoginName(), "Removed with its category")
                   << Sql::DeleteCategoryControl(catkey);
    }
    statements << Sql::DeleteCategoryDocuments(catkey) << Sql::DeleteCategory(catkey);
    return change(statements, {historyRow(QString(), catkey, "Category deleted", name)}, false);
}

// Every category is written, whether it moved or not: a refused statement leaves the stored order
// as it was.
Catalogue::Write Catalogue::SaveCategoryOrder(const QStringList& catkeys)
{
    QStringList statements;
    for (int i = 0; i < catkeys.size(); ++i)
        statements << Sql::UpdateCategoryOrder(i, catkeys[i]);
    return change(statements, {historyRow(QString(), QString(), "Categories arranged")}, false);
}

Catalogue::Write Catalogue::AddDocument(const QString& catkey, Document& document)
{
    const QString dockey = GetGUID();
    if (dockey.isEmpty())
        return Write::Refused; // already told; a record without a key must not be stored
    const Write result
        = change({Sql::InsertDocument(dockey, document.ref, document.title, document.path, catkey, document.clauses)},
                 {historyRow(dockey, catkey, "Added", {}, described(document))});
    if (result == Write::Done)
        document.key = dockey;
    return result;
}

// Each field that changed has its own history row.
Catalogue::Write Catalogue::UpdateDocument(const Document& document)
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectDocument(document.key), m_db->db());
    QList<QStringList> history;
    if (!rs.AtEOF()) {
        const QString catkey = rs.Value(QStringLiteral("catkey")).toText();
        const std::pair<const char*, QString> fields[] = {{"docref", document.ref},
                                                          {"doctitle", document.title},
                                                          {"isoref", document.clauses},
                                                          {"docpath", document.path}};
        const char* names[] = {"Reference changed", "Title changed", "Clauses changed", "File changed"};
        for (int i = 0; i < 4; ++i) {
            const QString old = rs.Value(QLatin1String(fields[i].first)).toText();
            if (old != fields[i].second)
                history << historyRow(document.key, catkey, names[i], old, fields[i].second);
        }
    }
    rs.CloseRecordset();
    return change({Sql::UpdateDocument(document.key, document.ref, document.title, document.path, document.clauses)},
                  history);
}

// The document's control row goes with it (its history stays): a row left behind would still be
// counted overdue.
Catalogue::Write Catalogue::RemoveDocument(const QString& dockey)
{
    QStringList statements {Sql::DeleteDocument(dockey)};
    if (m_control)
        statements << Sql::DeleteControl(dockey);
    return change(statements, {historyRow(dockey, CategoryOf(dockey), "Removed")});
}

Catalogue::Write Catalogue::RefileDocument(const QString& dockey, const QString& catkey)
{
    return change({Sql::UpdateDocumentCategory(catkey, dockey)},
                  {historyRow(dockey, catkey, "Refiled", CategoryOf(dockey), catkey)});
}

QString Catalogue::CategoryOf(const QString& dockey)
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectDocument(dockey), m_db->db());
    return rs.AtEOF() ? QString() : rs.Value(QStringLiteral("catkey")).toText();
}
