#include "FindingBench.h"
#include "storage/Catalogue.h"

#include "BenchFolder.h"
#include "BenchTable.h"
#include "ProgramSession.h"
#include "SqliteCli.h"
#include "ToolRun.h"
#include "platform/ScriptedUi.h"
#include "storage/IsoClauses.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>
#include <sqlite3.h>

namespace {

// A word of the documents' titles that also names a category's folder: about one document in ten.
const QString kWord = QStringLiteral("calibration");
const QString kFiles = QStringLiteral("files");
const QString kCheckDb = QStringLiteral("check.db");
const QString kHashedDb = QStringLiteral("check-hashed.db");
const QString kFileList = QStringLiteral("check-files.list");

// The window's all-documents query with the word's LIKE over the texts the search looks in.
QString searchFloor()
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,revision,status,nextreview FROM tbldocument "
                          "LEFT JOIN tblcontrol USING(dockey) WHERE IFNULL(status,'')<>'Obsolete' AND "
                          "(docref||' '||doctitle||' '||docpath||' '||IFNULL(isoref,'')) LIKE '%")
        + kWord + QStringLiteral("%' ORDER BY docref");
}

// A document serves a clause when an element of its clause list begins with the clause's number:
// with a comma before the list, when the list holds ',' and the number. One pass over the current
// documents' clause lists, a count for each of the clauses.
QString coverageFloor()
{
    QStringList counts;
    for (const IsoClauses::Clause& clause : IsoClauses::All())
        counts << QStringLiteral("sum(instr(l,',%1')>0)").arg(clause.number);
    return QStringLiteral("SELECT ") + counts.join(QLatin1Char(','))
        + QStringLiteral(" FROM (SELECT ','||isoref AS l FROM tbldocument LEFT JOIN tblcontrol USING(dockey) WHERE "
                         "isoref<>'' AND IFNULL(status,'')<>'Obsolete')");
}

// Runs statements on a catalogue file outside the catalogue service; bind binds the parameters of
// the statement it is given, and step is called once per bound row (or once).
class RawDb
{
public:
    explicit RawDb(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            Close();
    }
    ~RawDb() { Close(); }
    bool ok() const { return m_db != nullptr; }
    bool Exec(const char* sql) { return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        return m_db && sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) == SQLITE_OK ? statement : nullptr;
    }
    void Close()
    {
        sqlite3_close(m_db);
        m_db = nullptr;
    }

private:
    sqlite3* m_db = nullptr;
};

void bindText(sqlite3_stmt* statement, int index, const QByteArray& text)
{
    sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

// A small document of one to four kibibytes, its text its own.
QByteArray content(const QString& docref, int n)
{
    QByteArray text = "{\\rtf1\\ansi " + docref.toUtf8() + "\\par ";
    const int size = 1024 + (n * 7919) % 3000;
    while (text.size() < size)
        text += "Records of the quality management system are kept as this procedure says. ";
    text.truncate(size);
    return text + "}\n";
}

} // namespace

FindingBench::FindingBench(const BenchFolder& folder, ScriptedUi& ui, int documents, int runs)
    : m_folder(folder), m_ui(ui), m_documents(documents), m_runs(runs)
{
}

bool FindingBench::Measure(BenchTable& table, QString& error)
{
    const bool measured = MeasureSearch(table, error) && MeasureCoverage(table, error) && MeasureCheck(table, error);
    if (!BenchFolder::Keeps()) {
        QDir(m_folder.filePath(kFiles)).removeRecursively();
        for (const QString& name : {kCheckDb, kHashedDb, kFileList})
            QFile::remove(m_folder.filePath(name));
    }
    return measured;
}

// The first keystroke of a session searches after a fresh start, the list of the first category
// shown; the next one types the word's last letter after the rest of it was searched for.
bool FindingBench::MeasureSearch(BenchTable& table, QString& error)
{
    ProgramSession session(m_ui);
    const auto floor = [this] { return SqliteCli::Run(m_folder.dbPath(), searchFloor()); };
    const Pair first = Paired(
        [&] {
            const bool started = !session.StartUp().failed();
            return started ? session.Search(kWord) : Timing::Failed();
        },
        floor);
    const Pair steady = Paired(
        [&] {
            const bool typed = !session.Search(kWord.chopped(1), false).failed();
            return typed ? session.Search(kWord) : Timing::Failed();
        },
        floor);
    session.Close();
    const QString floorWhat = QStringLiteral("sqlite3: all-documents query, LIKE '%") + kWord + QStringLiteral("%'");
    Add(table, QStringLiteral("search keystroke, first of a session"), first, floorWhat);
    Add(table, QStringLiteral("search keystroke, next"), steady, floorWhat);
    if (first.program.wallMs < 0 || steady.program.wallMs < 0)
        error = session.failure();
    else if (first.floor.wallMs < 0 || steady.floor.wallMs < 0)
        error = QStringLiteral("sqlite3 failed on the search");
    return error.isEmpty();
}

// Counted as after a change, when the control columns are read again: on a catalogue just opened.
bool FindingBench::MeasureCoverage(BenchTable& table, QString& error)
{
    const Pair coverage = Paired(
        [this] {
            if (!Catalogue::Open(m_folder.dbPath()))
                return Timing::Failed();
            const Stopwatch clock;
            const std::vector<ClauseCoverage> counts = Catalogue::Current().Coverage();
            const Timing elapsed = clock.Elapsed();
            Catalogue::Close();
            const bool counted = counts.size() == IsoClauses::All().size()
                && std::any_of(counts.begin(), counts.end(), [](const ClauseCoverage& c) { return c.documents > 0; });
            return counted ? elapsed : Timing::Failed();
        },
        [this] { return SqliteCli::Run(m_folder.dbPath(), coverageFloor()); });
    Add(table, QStringLiteral("clause coverage counts"), coverage,
        QStringLiteral("sqlite3: each clause number looked for in each clause list, one pass"));
    if (coverage.program.wallMs < 0 || coverage.floor.wallMs < 0)
        error = QStringLiteral("the coverage counts failed or sqlite3 failed on them");
    return error.isEmpty();
}

Timing FindingBench::CheckFiles(const QString& dbPath)
{
    m_ui.boxes.clear();
    if (!Catalogue::Open(dbPath))
        return Timing::Failed();
    const Stopwatch clock;
    const std::size_t problems = Catalogue::Current().CheckFiles().size();
    const Timing elapsed = clock.Elapsed();
    Catalogue::Close();
    return problems == 0 && m_ui.boxes.isEmpty() ? elapsed : Timing::Failed();
}

bool FindingBench::MeasureCheck(BenchTable& table, QString& error)
{
    if (!PrepareFiles(error))
        return false;
    const QString files = m_folder.filePath(kFiles);
    const Pair check = Paired([this] { return CheckFiles(m_folder.filePath(kCheckDb)); },
                              [&] {
                                  return RunTool(QStringLiteral("find"),
                                                 {files, QStringLiteral("-type"), QStringLiteral("f"),
                                                  QStringLiteral("-printf"), QStringLiteral("%s %T@\\n")});
                              });
    const Pair hashed = Paired([this] { return CheckFiles(m_folder.filePath(kHashedDb)); },
                               [this] {
                                   return RunTool(QStringLiteral("xargs"),
                                                  {QStringLiteral("-0"), QStringLiteral("-a"),
                                                   m_folder.filePath(kFileList), QStringLiteral("sha256sum")});
                               });
    Add(table, QStringLiteral("file check"), check,
        QStringLiteral("find -type f -printf '%s %T@\\n' over the %1 files").arg(m_files));
    Add(table, QStringLiteral("file check with approved hashes"), hashed,
        QStringLiteral("xargs -0 sha256sum over the same files"));
    if (check.program.wallMs < 0 || hashed.program.wallMs < 0)
        error = QStringLiteral("the file check found a problem or showed a message");
    else if (check.floor.wallMs < 0 || hashed.floor.wallMs < 0)
        error = QStringLiteral("find or sha256sum failed");
    return error.isEmpty();
}

// Every record points under files/ (the delivered ones under files/delivered/); each current
// document's file is written there. The copy for the plain check has no approved hash at all, the
// other one the SHA-256 of every file.
bool FindingBench::PrepareFiles(QString& error)
{
    error = QStringLiteral("cannot lay out the files for the check");
    const QString files = m_folder.filePath(kFiles) + QLatin1Char('/');
    const QString checkDb = m_folder.filePath(kCheckDb);
    QFile::remove(checkDb);
    QFile::remove(m_folder.filePath(kHashedDb));
    if (!QFile::copy(m_folder.dbPath(), checkDb))
        return false;
    RawDb db(checkDb);
    sqlite3_stmt* point = db.Prepare("UPDATE tbldocument SET docpath=?1||CASE WHEN docpath LIKE '/srv/qms/documents/%' "
                                     "THEN substr(docpath,20) ELSE 'delivered/'||docpath END");
    if (!point || !db.Exec("BEGIN"))
        return false;
    bindText(point, 1, files.toUtf8());
    const bool pointed = sqlite3_step(point) == SQLITE_DONE;
    sqlite3_finalize(point);
    sqlite3_stmt* current = db.Prepare("SELECT dockey,docpath,docref FROM tbldocument LEFT JOIN tblcontrol "
                                       "USING(dockey) WHERE IFNULL(status,'')<>'Obsolete' ORDER BY docref");
    if (!pointed || !current)
        return false;
    std::vector<std::pair<QByteArray, QByteArray>> hashes;
    QByteArray list;
    QSet<QString> folders;
    bool written = true;
    while (written && sqlite3_step(current) == SQLITE_ROW) {
        const QString path = columnText(current, 1);
        const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')));
        if (!folders.contains(folder)) {
            written = QDir().mkpath(folder);
            folders.insert(folder);
        }
        const QByteArray text = content(columnText(current, 2), int(hashes.size()));
        QFile file(path);
        written = written && file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
        hashes.emplace_back(columnText(current, 0).toUtf8(),
                            QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
        list += QFile::encodeName(path) + '\0';
    }
    sqlite3_finalize(current);
    m_files = int(hashes.size());
    if (!written || !db.Exec("UPDATE tblcontrol SET approvedhash=''; COMMIT"))
        return false;
    db.Close();

    QFile listFile(m_folder.filePath(kFileList));
    if (!listFile.open(QIODevice::WriteOnly | QIODevice::Truncate) || listFile.write(list) != list.size()
        || !QFile::copy(checkDb, m_folder.filePath(kHashedDb)))
        return false;
    RawDb hashed(m_folder.filePath(kHashedDb));
    sqlite3_stmt* store = hashed.Prepare("INSERT INTO tblcontrol (dockey,approvedhash) VALUES (?1,?2) "
                                         "ON CONFLICT(dockey) DO UPDATE SET approvedhash=excluded.approvedhash");
    if (!store || !hashed.Exec("BEGIN"))
        return false;
    bool stored = true;
    for (const auto& [dockey, hash] : hashes) {
        bindText(store, 1, dockey);
        bindText(store, 2, hash);
        stored = stored && sqlite3_step(store) == SQLITE_DONE;
        sqlite3_reset(store);
    }
    sqlite3_finalize(store);
    if (!stored || !hashed.Exec("COMMIT"))
        return false;
    error.clear();
    return true;
}
