#include "storage/Catalogue.h"

#include "storage/ListTables.h"

#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "platform/LoginName.h"
#include "storage/IsoClauses.h"
#include "storage/ResultTable.h"
#include "storage/Sha256.h"
#include "storage/Statements.h"
#include "storage/TextFold.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

// Finding documents and checking their files: search, coverage of the standard's clauses, the file
// check and relinking moved files.

namespace {

// Files are read in blocks of this size for their checksum.
constexpr std::size_t kReadBlock = 256 * 1024;

// What stat and opening the file say of a document's file; empty when it is a readable file. With
// hash, the file is read through it from that same opening (reset first).
QString fileProblem(const QString& path, Sha256* hash, std::vector<char>& buffer)
{
    if (path.isEmpty())
        return QStringLiteral("No file given");
    const QByteArray native = QFile::encodeName(path);
    struct stat entry;
    if (::stat(native.constData(), &entry) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("Missing");
        if (errno == ELOOP)
            return QStringLiteral("Link loop");
        return errno == EACCES ? QStringLiteral("Cannot be read") : QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!S_ISREG(entry.st_mode))
        return S_ISDIR(entry.st_mode) ? QStringLiteral("A folder, not a file") : QStringLiteral("Not a plain file");
    // Opened as the program will open it: access() would answer for the real user, not the
    // effective one.
    const int file = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return QStringLiteral("Cannot be read");
    bool read = true;
    if (hash) {
        hash->Reset();
        for (;;) {
            const ssize_t got = ::read(file, buffer.data(), buffer.size());
            if (got > 0)
                hash->Add(buffer.data(), std::size_t(got));
            else if (got == 0 || errno != EINTR) {
                read = got == 0;
                break;
            }
        }
    }
    ::close(file);
    return read ? QString() : QStringLiteral("Cannot be read");
}

// The name of a file whatever separator its path was written with.
QString fileNameOf(const QString& path)
{
    return path.mid(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
}

// How far the file check has come, and what it reads the files with.
struct CheckState
{
    const std::function<bool(int, int)>& progress;
    int total; // as counted before the check; another program may change the catalogue meanwhile
    int done = 0;
    bool stopped = false;
    Sha256 hash;
    std::vector<char> buffer = std::vector<char>(kReadBlock);
};

// The rows of a page whose file has a problem, as documents with it. progress is asked after each
// row; when it says stop, the rows after it are not looked at.
std::vector<Document> pageProblems(const ResultTable& table, CheckState& check)
{
    int pathColumn = -1, hashColumn = -1;
    for (int column = 0; column < table.columns(); ++column) {
        const QString name = table.at(column, 0).toText();
        pathColumn = name == QLatin1String("docpath") ? column : pathColumn;
        hashColumn = name == QLatin1String("approvedhash") ? column : hashColumn;
    }
    std::vector<std::pair<int, QString>> found; // row, problem
    for (int row = 1; row <= table.rows() && !check.stopped; ++row) {
        const QString approved = hashColumn < 0 ? QString() : table.at(hashColumn, row).toText();
        QString problem
            = fileProblem(table.at(pathColumn, row).toText(), approved.isEmpty() ? nullptr : &check.hash, check.buffer);
        if (problem.isEmpty() && !approved.isEmpty() && check.hash.Hex() != approved)
            problem = QStringLiteral("Changed since approval");
        if (!problem.isEmpty())
            found.emplace_back(row, problem);
        ++check.done;
        check.stopped = check.progress && !check.progress(check.done, std::max(check.total, check.done));
    }
    // DocumentsOf asks about each row once, in order.
    int row = 0;
    std::size_t next = 0;
    std::vector<Document> problems = Catalogue::DocumentsOf(table, [&](const Variant&) {
        ++row;
        const bool keep = next < found.size() && found[next].first == row;
        next += keep ? 1 : 0;
        return keep;
    });
    for (std::size_t i = 0; i < problems.size(); ++i)
        problems[i].problem = found[i].second;
    return problems;
}

} // namespace

// Another program's commit changes the version; a change of ours clears the texts itself.
qint64 Catalogue::dataVersion()
{
    sqlite3_stmt* statement = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(SQLiteConnection(m_db->db()), "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

std::vector<Document> Catalogue::Search(const QString& text)
{
    PrepareSearch();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = Folded(text).split(blanks, Qt::SkipEmptyParts);
    std::vector<Document> found;
    for (const auto& [document, haystack] : m_searchable) {
        if (!m_includeObsolete && document.status == DocumentControl::Status::Obsolete)
            continue;
        if (std::all_of(words.begin(), words.end(), [&](const QString& w) { return haystack.contains(w); }))
            found.push_back(document);
    }
    return found;
}

void Catalogue::PrepareSearch()
{
    const qint64 version = dataVersion();
    if (m_searchable.empty() || version != m_searchableVersion) {
        m_searchable.clear();
        std::vector<Document> all = allDocuments(true); // obsolete ones left out below when asked
        for (Document& document : all) {
            const QString haystack = Folded(document.ref + QLatin1Char('\n') + document.title + QLatin1Char('\n')
                                            + document.path + QLatin1Char('\n') + document.clauses);
            m_searchable.emplace_back(std::move(document), haystack);
        }
        m_searchableVersion = version;
    }
}

// A clause node lists a document when an element of its clause list begins with the node's number,
// so an element names its first one, two and three levels: counted once per document. The levels
// are looked up in place, without a string of their own.
std::vector<ClauseCoverage> Catalogue::Coverage(QHash<QString, std::vector<Document>>* serving)
{
    const std::vector<IsoClauses::Clause>& clauses = IsoClauses::All();
    std::vector<std::pair<QStringView, int>> numbers; // sorted, each with its place in the standard
    for (int i = 0; i < int(clauses.size()); ++i)
        numbers.emplace_back(clauses[std::size_t(i)].number, i);
    std::sort(numbers.begin(), numbers.end());
    const auto placeOf = [&numbers](QStringView number) {
        const auto found
            = std::lower_bound(numbers.begin(), numbers.end(), number,
                               [](const std::pair<QStringView, int>& n, QStringView v) { return n.first < v; });
        return found != numbers.end() && found->first == number ? found->second : -1;
    };
    std::vector<int> counts(clauses.size(), 0);
    std::vector<int> lastCounted(clauses.size(), -1); // the document each clause was last counted for
    const auto count = [&](int documentIndex, QStringView list, const Document* document, int weight) {
        for (qsizetype start = 0; start <= list.size();) {
            qsizetype end = list.indexOf(QLatin1Char(','), start);
            end = end < 0 ? list.size() : end;
            const QStringView element = list.mid(start, end - start);
            for (int length : {1, 3, 5}) {
                const int place = element.size() >= length ? placeOf(element.left(length)) : -1;
                if (place < 0 || lastCounted[std::size_t(place)] == documentIndex)
                    continue;
                lastCounted[std::size_t(place)] = documentIndex;
                counts[std::size_t(place)] += weight;
                if (serving)
                    (*serving)[clauses[std::size_t(place)].number].push_back(*document);
            }
            start = end + 1;
        }
    };
    // Read quietly: the tree's counts are refreshed after changes, and a catalogue that cannot be
    // read has told so already where it was read.
    ResultTable table;
    int32_t rows = 0, columns = 0;
    QString error;
    // The counts alone need only how many documents name each clause list: the engine groups them,
    // and the obsolete ones are taken off. The report needs the documents themselves.
    if (serving) {
        if (PSSQLITE3_ExecuteDB(m_db->db(), Sql::SelectAllDocuments().toUtf8(), rows, columns, table, error) != 0)
            return {};
        const std::vector<Document> current
            = withControl(DocumentsOf(table, [](const Variant& isoref) { return !isoref.toText().isEmpty(); }), false);
        for (std::size_t i = 0; i < current.size(); ++i)
            count(int(i), current[i].clauses, &current[i], 1);
    } else if (m_lists && ListTables::BringUpToDate(SQLiteConnection(m_db->db()))
               && PSSQLITE3_ExecuteDB(m_db->db(), "SELECT clause,documents FROM tblclausecount", rows, columns, table,
                                      error)
                   == 0) {
        // The clause list counts every document of each node as the triggers keep it; the obsolete
        // ones are taken off.
        for (int row = 1; row <= table.rows(); ++row) {
            if (const int place = placeOf(table.at(0, row).toText()); place >= 0)
                counts[std::size_t(place)] = int(table.at(1, row).toNumber().value_or(0));
        }
        int index = 0;
        if (m_control) {
            for (const ObsoleteDocument& d : obsoleteDocuments())
                count(index++, d.clauses, nullptr, -1);
        }
    } else {
        if (PSSQLITE3_ExecuteDB(m_db->db(), Sql::SelectClauseListCounts().toUtf8(), rows, columns, table, error) != 0)
            return {};
        QHash<QString, int> lists; // clause list -> current documents naming it
        for (int row = 1; row <= table.rows(); ++row)
            lists.insert(table.at(0, row).toText(), int(table.at(1, row).toNumber().value_or(0)));
        if (m_control
            && PSSQLITE3_ExecuteDB(m_db->db(), Sql::SelectObsoleteClauseListCounts().toUtf8(), rows, columns, table,
                                   error)
                == 0) {
            for (int row = 1; row <= table.rows(); ++row)
                lists[table.at(0, row).toText()] -= int(table.at(1, row).toNumber().value_or(0));
        }
        int index = 0;
        for (auto list = lists.cbegin(); list != lists.cend(); ++list)
            count(index++, list.key(), nullptr, list.value());
    }
    QHash<QString, QString> exclusions;
    if (m_control
        && PSSQLITE3_ExecuteDB(m_db->db(), Sql::SelectExclusions().toUtf8(), rows, columns, table, error) == 0) {
        for (int row = 1; row <= table.rows(); ++row)
            exclusions.insert(table.at(0, row).toText(), table.at(1, row).toText());
    }
    std::vector<ClauseCoverage> coverage;
    for (std::size_t i = 0; i < clauses.size(); ++i) {
        const IsoClauses::Clause& clause = clauses[i];
        coverage.push_back({clause.number, clause.title, counts[i], IsoClauses::RequiresProcedure(clause.number),
                            exclusions.contains(clause.number), exclusions.value(clause.number)});
    }
    return coverage;
}

Catalogue::Write Catalogue::ExcludeClause(const QString& clause, const QString& justification)
{
    if (refuseWithoutControl())
        return Write::Refused;
    if (!IsoClauses::MayBeExcluded(clause)) {
        MsgBox(QStringLiteral("Only clauses within 7 may be excluded under ISO 9001:2000; ") + clause
                   + QStringLiteral(" applies to every quality management system."),
               MsgStyle::Critical);
        return Write::Refused;
    }
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    if (justification.trimmed().isEmpty())
        return change({Sql::DeleteExclusion(clause)},
                      {historyRow(QString(), QString(), "Clause applicable again", clause)}, false);
    return change({Sql::UpsertExclusion(clause, justification.trimmed(), LoginName(), now)},
                  {historyRow(QString(), QString(), "Clause excluded", clause, justification.trimmed())});
}

// The documents come a page at a time, in the order of the reference; each page is read whole and
// its query ended before its files are looked at, so that no more than a page is held and no lock
// on the catalogue is kept while files are read (a daily check must not stop the users' changes).
// The rows carry the list's columns (not the kind, owner and approval, which the check's list does
// not show). Only the rows with a problem become documents: most have none.
std::vector<Document> Catalogue::CheckFiles(const std::function<bool(int, int)>& progress, int pageRows)
{
    // Obsolete documents, whose files may well be gone, are left out; without control data none is
    // obsolete and none has a checksum.
    CheckState check {progress, firstInteger(Sql::CountCheckable(m_control))};
    const int limit = pageRows > 0 ? pageRows : sqlRecordset::kBatchRows;
    std::vector<Document> problems;
    QString after;
    for (bool more = true; more;) {
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCheckPage(m_control, after, limit), m_db->db());
        const ResultTable& table = rs.Table();
        std::vector<Document> found = pageProblems(table, check);
        problems.insert(problems.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
        more = table.rows() == limit && !check.stopped;
        // The last row's reference (the first column) and row number (the last) lead to the next page.
        if (more)
            after = Sql::AfterCheckRow(table.literalAt(0, limit), table.at(table.columns() - 1, limit).toText());
        rs.CloseRecordset();
    }
    return problems;
}

// Links are not followed into folders, so a link loop cannot keep the search going round.
std::vector<RelinkCandidate> Catalogue::PlanRelink(const std::vector<Document>& missing, const QString& folder)
{
    QMultiHash<QString, QString> byName;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        byName.insert(files.fileName(), path);
    }
    std::vector<RelinkCandidate> candidates;
    for (const Document& document : missing) {
        QStringList found = byName.values(fileNameOf(document.path));
        found.sort();
        candidates.push_back({document, found});
    }
    return candidates;
}

Catalogue::Write Catalogue::Relink(const std::vector<std::pair<QString, QString>>& keysAndPaths)
{
    QStringList statements;
    QList<QStringList> history;
    for (const auto& [dockey, path] : keysAndPaths) {
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectDocument(dockey), m_db->db());
        if (rs.AtEOF())
            continue; // gone since the check: nothing to point anywhere
        history << historyRow(dockey, rs.Value(QStringLiteral("catkey")).toText(), "File relinked",
                              rs.Value(QStringLiteral("docpath")).toText(), path);
        statements << Sql::UpdateDocumentFile(dockey, path);
    }
    if (statements.isEmpty())
        return Write::Unchanged;
    return change(statements, history, false);
}
