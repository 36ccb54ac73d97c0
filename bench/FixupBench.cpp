#include "FixupBench.h"
#include "storage/Catalogue.h"

#include "BenchFolder.h"
#include "BenchTable.h"
#include "EventIdle.h"
#include "PairedTiming.h"
#include "SqliteCli.h"
#include "platform/ScriptedUi.h"
#include "startup/frmSplash.h"
#include "storage/Statements.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDir>
#include <QFile>

namespace {

const QString kPristine = QStringLiteral("fixup-pristine.db");
const QString kRun = QStringLiteral("fixup-run.db");
const QString kScript = QStringLiteral("fixup.sql");

} // namespace

QString FixupBench::DocumentsFolder() const
{
    return m_folder.filePath(QStringLiteral("documents")) + QLatin1Char('/');
}

bool FixupBench::Prepare(QString& error)
{
    if (!QFile::copy(m_folder.dbPath(), m_folder.filePath(kPristine))) {
        error = QStringLiteral("cannot copy the catalogue");
        return false;
    }
    // A delivered catalogue waits for its fix-up with bare file names as paths: the fix-up leaves a
    // path that names a folder alone, as one the user has already set.
    sqlDB db;
    if (!db.OpenDatabase(m_folder.filePath(kPristine), false)
        || !db.Execute(QStringLiteral("UPDATE tbldocument SET docpath=docref || '.rtf'"))) {
        error = QStringLiteral("cannot prepare the catalogue for the fix-up");
        return false;
    }
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectAllDocuments(), db.db());
    for (; !rs.AtEOF(); rs.MoveNext()) {
        QFile file(DocumentsFolder() + rs.Value(QStringLiteral("docref")).toText() + QStringLiteral(".rtf"));
        if (!file.open(QIODevice::WriteOnly) || file.write("{\\rtf1 }") < 0) {
            error = QStringLiteral("cannot write ") + file.fileName();
            return false;
        }
        ++m_files;
    }
    rs.CloseRecordset();
    db.CloseDatabase();
    return WriteScript(error);
}

// The very statements the fix-up sends, in the order it finds the files, as one script.
bool FixupBench::WriteScript(QString& error)
{
    QFile script(m_folder.filePath(kScript));
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = QStringLiteral("cannot write ") + script.fileName();
        return false;
    }
    QByteArray text = (Sql::BeginTransaction() + QStringLiteral(";\n")).toUtf8();
    for (const QString& name : QDir(DocumentsFolder()).entryList(QDir::Files, QDir::Unsorted))
        text += (Sql::UpdateDocumentPath(DocumentsFolder(), name.chopped(4), name.right(4)) + QStringLiteral(";\n"))
                    .toUtf8();
    text += (Sql::CommitTransaction() + QStringLiteral(";\n")).toUtf8();
    return script.write(text) == text.size();
}

bool FixupBench::Measure(int runs, BenchTable& table)
{
    // Taken in turns: both wait for the disk at their commit, and so meet the same disk.
    const PairedTiming pair = TimePaired(
        runs, [this] { return RunProgram(); }, [this] { return RunFloor(); });
    AddPaired(table, QStringLiteral("first-run fix-up, %1 files").arg(m_files), m_files, pair,
              QStringLiteral("sqlite3: the same UPDATEs in one call, one transaction"));
    return pair.program.wallMs >= 0 && pair.floor.wallMs >= 0;
}

Timing FixupBench::RunProgram()
{
    if (!m_folder.FreshCopy(kPristine, kRun))
        return Timing::Failed();
    frmSplash splash;
    splash.show();
    EventIdle::Wait();
    m_ui.boxes.clear();
    Catalogue::Open(m_folder.filePath(kRun));

    const Stopwatch clock;
    splash.FixDocumentPaths();
    const Timing elapsed = clock.Elapsed();

    Catalogue::Close();
    const bool sound = m_ui.boxes.isEmpty() && FixedRecords(m_folder.filePath(kRun)) == m_files;
    return sound ? elapsed : Timing::Failed();
}

Timing FixupBench::RunFloor()
{
    if (!m_folder.FreshCopy(kPristine, QStringLiteral("fixup-floor.db")))
        return Timing::Failed();
    const Timing elapsed
        = SqliteCli::RunScript(m_folder.filePath(QStringLiteral("fixup-floor.db")), m_folder.filePath(kScript));
    return FixedRecords(m_folder.filePath(QStringLiteral("fixup-floor.db"))) == m_files ? elapsed : Timing::Failed();
}

int FixupBench::FixedRecords(const QString& dbPath) const
{
    sqlDB db;
    if (!db.OpenDatabase(dbPath, false))
        return -1;
    int fixed = 0;
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectAllDocuments(), db.db());
    for (; !rs.AtEOF(); rs.MoveNext())
        fixed += rs.Value(QStringLiteral("docpath")).toText().startsWith(DocumentsFolder()) ? 1 : 0;
    rs.CloseRecordset();
    db.CloseDatabase();
    return fixed;
}
