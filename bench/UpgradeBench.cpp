#include "UpgradeBench.h"

#include "BenchFolder.h"
#include "BenchTable.h"
#include "PairedTiming.h"
#include "SqliteCli.h"
#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/CatalogueSchema.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include <QFile>

namespace {

const QString kPristine = QStringLiteral("upgrade-pristine.db");
const QString kRun = QStringLiteral("upgrade-run.db");
const QString kFloor = QStringLiteral("upgrade-floor.db");
const QString kScript = QStringLiteral("upgrade.sql");

} // namespace

// The filled catalogue goes back to version 0: its control, exclusion, count and clause list tables,
// their triggers, statistics and the version go, and the file is rebuilt as a catalogue of that version was.
bool UpgradeBench::Prepare(QString& error)
{
    QFile::remove(m_folder.filePath(kPristine));
    sqlDB db;
    const bool copied = QFile::copy(m_folder.dbPath(), m_folder.filePath(kPristine))
        && db.OpenDatabase(m_folder.filePath(kPristine), false);
    const bool made = copied
        && db.Execute(QStringLiteral("DROP TABLE tblcontrol; DROP TABLE tblcategorycontrol; DROP TABLE tblhistory; "
                                     "DROP TABLE tblexclusion; DROP TABLE tbldocumentcount; DROP TABLE tblclauselist; "
                                     "DROP TABLE tbllistpending; DROP TABLE tblclausecount; "
                                     "DROP TRIGGER tbldocument_list_insert; DROP TRIGGER tbldocument_list_delete; "
                                     "DROP TRIGGER tbldocument_list_update; "
                                     "DROP TABLE sqlite_stat1; PRAGMA user_version=0"))
        && db.Execute(QStringLiteral("VACUUM"));
    if (copied)
        db.CloseDatabase();
    QFile script(m_folder.filePath(kScript));
    const QByteArray text = QByteArray("BEGIN IMMEDIATE;\n") + CatalogueSchema::UpgradeStatements() + "COMMIT;\n";
    if (!made || !script.open(QIODevice::WriteOnly | QIODevice::Truncate) || script.write(text) != text.size()) {
        error = QStringLiteral("cannot make the catalogue of version 0");
        return false;
    }
    return true;
}

bool UpgradeBench::Measure(int runs, int documents, BenchTable& table)
{
    // Taken in turns: both wait for the disk at their commit, and so meet the same disk.
    const PairedTiming pair = TimePaired(
        runs, [this] { return RunProgram(); }, [this] { return RunFloor(); });
    AddPaired(table, QStringLiteral("upgrade from version 0 on open"), documents, pair,
              QStringLiteral("sqlite3: the same upgrade in one transaction"));
    return pair.program.wallMs >= 0 && pair.floor.wallMs >= 0;
}

Timing UpgradeBench::RunProgram()
{
    if (!m_folder.FreshCopy(kPristine, kRun))
        return Timing::Failed();
    m_ui.boxes.clear();
    const Stopwatch clock;
    const bool opened = Catalogue::Open(m_folder.filePath(kRun));
    const Timing elapsed = clock.Elapsed();
    Catalogue::Close();
    return opened && m_ui.boxes.isEmpty() && Upgraded(m_folder.filePath(kRun)) ? elapsed : Timing::Failed();
}

Timing UpgradeBench::RunFloor()
{
    if (!m_folder.FreshCopy(kPristine, kFloor))
        return Timing::Failed();
    const Timing elapsed = SqliteCli::RunScript(m_folder.filePath(kFloor), m_folder.filePath(kScript));
    return Upgraded(m_folder.filePath(kFloor)) ? elapsed : Timing::Failed();
}

bool UpgradeBench::Upgraded(const QString& dbPath)
{
    sqlDB db;
    if (!db.OpenDatabase(dbPath, false))
        return false;
    sqlite3* connection = SQLiteConnection(db.db());
    const bool upgraded = CatalogueSchema::Version(connection) == CatalogueSchema::kVersion
        && CatalogueSchema::HasControlTables(connection);
    db.CloseDatabase();
    return upgraded;
}
