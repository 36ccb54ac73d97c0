#include "RegisterBench.h"

#include "BenchFolder.h"
#include "BenchTable.h"
#include "SqliteCli.h"
#include "reports/MasterListPage.h"
#include "reports/modReport.h"
#include "storage/Catalogue.h"
#include "storage/ListTables.h"
#include "storage/Statements.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include <QDateTime>
#include <QFile>

namespace {

const QString kCsv = QStringLiteral("register.csv");
const QString kFloorCsv = QStringLiteral("register-floor.csv");
const QString kEmpty = QStringLiteral("register-empty.db");
const QString kTarget = QStringLiteral("register-target.db");
const QString kFloorDb = QStringLiteral("register-floor.db");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

RegisterBench::RegisterBench(const BenchFolder& folder, int documents, int runs)
    : m_folder(folder), m_documents(documents), m_runs(runs)
{
}

bool RegisterBench::Measure(BenchTable& table, QString& error)
{
    const QString db = m_folder.dbPath();
    const Pair exported = Paired(
        [&] {
            if (!Catalogue::Open(db))
                return Timing::Failed();
            const Stopwatch clock;
            QFile file(m_folder.filePath(kCsv));
            int rows = 0;
            const bool written
                = file.open(QIODevice::WriteOnly) && Catalogue::Current().WriteRegister(file, rows) && file.flush();
            file.close();
            const Timing elapsed = clock.Elapsed();
            Catalogue::Close();
            return written ? elapsed : Timing::Failed();
        },
        [&] {
            return SqliteCli::Run(db, Sql::SelectRegister(Sql::ObsoleteRows::InPlace, true) + QLatin1Char(';'),
                                  {QStringLiteral("-csv"), QStringLiteral("-header"), QStringLiteral("-cmd"),
                                   QStringLiteral(".output ") + m_folder.filePath(kFloorCsv)});
        });
    Add(table, QStringLiteral("export register to CSV"), exported, QStringLiteral("sqlite3 -csv: the register query"));

    // The import goes into a catalogue without documents, so every row is new.
    m_folder.FreshCopy(QStringLiteral("cadrelle.db"), kEmpty);
    {
        sqlDB empty;
        // The lists are brought up to date after the deletion, as the program does before it reads them.
        if (!empty.OpenDatabase(m_folder.filePath(kEmpty), false)
            || !empty.Execute(QStringLiteral("DELETE FROM tblcontrol; DELETE FROM tbldocument"))
            || !ListTables::BringUpToDate(SQLiteConnection(empty.db())) || !empty.Execute(QStringLiteral("VACUUM"))) {
            error = QStringLiteral("the catalogue without documents could not be made");
            return false;
        }
        empty.CloseDatabase();
    }
    const Pair imported = Paired(
        [&] {
            if (!m_folder.FreshCopy(kEmpty, kTarget) || !Catalogue::Open(m_folder.filePath(kTarget)))
                return Timing::Failed();
            const Stopwatch clock;
            const RegisterCsv::Table csv = RegisterCsv::Read(m_folder.filePath(kCsv));
            const ImportPlan plan = Catalogue::Current().PlanImport(csv, Catalogue::MappingOf(csv.header));
            const bool written = plan.Count(ImportRow::Action::New) == m_documents
                && Catalogue::Current().ApplyImport(plan) == Catalogue::Write::Done;
            const Timing elapsed = clock.Elapsed();
            Catalogue::Close();
            return written ? elapsed : Timing::Failed();
        },
        [&] {
            QFile::remove(m_folder.filePath(kFloorDb));
            return SqliteCli::Run(m_folder.filePath(kFloorDb),
                                  QStringLiteral(".import --csv ") + m_folder.filePath(kFloorCsv)
                                      + QStringLiteral(" register"));
        });
    Add(table, QStringLiteral("import register from CSV"), imported,
        QStringLiteral("sqlite3 .import --csv of the same rows"));

    const Pair masterList = Paired(
        [&] {
            if (!Catalogue::Open(db))
                return Timing::Failed();
            const Stopwatch clock;
            QFile file(m_folder.filePath(QStringLiteral("masterlist.htm")));
            const auto rows = [](const std::function<void(const QStringList&)>& take) {
                return Catalogue::Current().ForEachRegisterRow(take, Catalogue::RegisterPart::Current);
            };
            const bool written = file.open(QIODevice::WriteOnly)
                && WriteMasterListPage(file, rows, QStringLiteral("cadrelle.db"), QDateTime::currentDateTime(), false)
                && file.flush();
            file.close();
            const Timing elapsed = clock.Elapsed();
            Catalogue::Close();
            return written ? elapsed : Timing::Failed();
        },
        [&] {
            if (!Catalogue::Open(db))
                return Timing::Failed();
            const Stopwatch clock;
            QList<ReportRow> rows;
            for (const Document& d : Catalogue::Current().AllDocuments())
                rows.append({d.ref, d.title, d.clauses, d.path});
            const bool written = writeFile(m_folder.filePath(QStringLiteral("report.htm")),
                                           BuildHTMLReportPage(QStringLiteral("All"), ReportRowsOf(rows)).toUtf8());
            const Timing elapsed = clock.Elapsed();
            Catalogue::Close();
            return written ? elapsed : Timing::Failed();
        });
    Add(table, QStringLiteral("master list page of every document"), masterList,
        QStringLiteral("the HTML report of the same rows"));
    for (const QString& name :
         {kCsv, kFloorCsv, kEmpty, kTarget, kFloorDb, QStringLiteral("masterlist.htm"), QStringLiteral("report.htm")})
        QFile::remove(m_folder.filePath(name));
    if (exported.program.wallMs < 0 || imported.program.wallMs < 0 || masterList.program.wallMs < 0)
        error = QStringLiteral("the register's export, import or master list failed");
    else if (exported.floor.wallMs < 0 || imported.floor.wallMs < 0)
        error = QStringLiteral("sqlite3 failed on the register");
    return error.isEmpty();
}
