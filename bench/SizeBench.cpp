#include "SizeBench.h"
#include "storage/Catalogue.h"
#include "storage/ClauseMatch.h"
#include "storage/DocumentWindow.h"

#include "BenchFolder.h"
#include "BenchTable.h"
#include "FindingBench.h"
#include "FixupBench.h"
#include "PeakMemory.h"
#include "ProgramSession.h"
#include "RegisterBench.h"
#include "SqliteCli.h"
#include "mainwindow/ClauseTree.h"
#include "storage/Statements.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDate>
#include <QFileInfo>

namespace {

bool openCatalogue(const BenchFolder& folder)
{
    return Catalogue::Open(folder.dbPath());
}

void closeCatalogue()
{
    Catalogue::Close();
}

} // namespace

SizeBench::SizeBench(const BenchFolder& folder, ScriptedUi& ui, int documents, int runs, bool shuffled)
    : m_folder(folder), m_ui(ui), m_documents(documents), m_runs(runs), m_shuffled(shuffled), m_upgrade(folder, ui)
{
}

SizeBench::~SizeBench() = default;

bool SizeBench::Prepare(bool fixup, QString& error)
{
    m_folder.use();
    if (!openCatalogue(m_folder)) {
        error = QStringLiteral("cannot open the fresh catalogue");
        return false;
    }
    CatalogueFiller filler(m_shuffled);
    const bool filled = filler.Fill(m_documents, m_catalogue);
    m_firstKey = FirstCategory(m_firstName);
    // The clause list takes in the new documents at the first clause click, as after any large import.
    const bool derived = filled && Catalogue::Current().ClauseWindow(kClauseRootText) != nullptr;
    closeCatalogue();
    if (!filled || !derived || m_firstKey.isEmpty()) {
        error = QStringLiteral("cannot fill the catalogue");
        return false;
    }
    if (fixup) {
        m_fixup = std::make_unique<FixupBench>(m_folder, m_ui);
        if (!m_fixup->Prepare(error))
            return false;
    }
    // Start-up is timed without the fix-up, as every start after the first.
    openCatalogue(m_folder);
    const bool marked = Catalogue::Current().Connection().Execute(Sql::UpdateInitDone());
    closeCatalogue();
    if (!marked)
        error = QStringLiteral("cannot mark the first run done");
    return marked && m_upgrade.Prepare(error);
}

QString SizeBench::FirstCategory(QString& name) const
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectCategories(), Catalogue::Current().Connection().db());
    const QString key = rs.AtEOF() ? QString() : rs.Value(QStringLiteral("catkey")).toText();
    name = rs.AtEOF() ? QString() : rs.Value(QStringLiteral("catname")).toText();
    rs.CloseRecordset();
    return key;
}

qint64 SizeBench::DbFileSize() const
{
    return QFileInfo(m_folder.dbPath()).size();
}

// A step of the program and its floor, taken in turns so that both meet the machine in the same
// state. The floor is what the program reads for the step, run by sqlite3.
SizeBench::Pair SizeBench::Paired(const std::function<Timing()>& step, const QString& floorSql,
                                  const QStringList& options) const
{
    return TimePaired(m_runs, step, [&] { return SqliteCli::Run(m_folder.dbPath(), floorSql, options); });
}

bool SizeBench::Measure(BenchTable& table, QString& error)
{
    m_folder.use();
    if (!MeasureProgram(table, error))
        return false;
    if (m_documents <= kEveryMeasureUpTo && !MeasureRest(table, error))
        return false;
    if (!MeasurePeaks(table, error))
        return false;
    // The register last: its import writes a copy of the catalogue a hundred thousand times over.
    return m_documents > kEveryMeasureUpTo || RegisterBench(m_folder, m_documents, m_runs).Measure(table, error);
}

// The due list, finding and checking, the upgrade and the fix-up.
bool SizeBench::MeasureRest(BenchTable& table, QString& error)
{
    if (!MeasureDue(table, error))
        return false;
    if (!FindingBench(m_folder, m_ui, m_documents, m_runs).Measure(table, error))
        return false;
    if (!m_upgrade.Measure(m_runs, m_documents, table)) {
        error = QStringLiteral("an upgrade from version 0 failed or showed a message");
        return false;
    }
    if (m_fixup && !m_fixup->Measure(m_runs, table)) {
        error = QStringLiteral("the first-run fix-up did not fix every record or showed a message");
        return false;
    }
    return true;
}

// Peak memory with the largest category listed, after the report of that list, and after the
// master list, each in a child process of its own. The report and the master list are also given
// as what they add to the peak the program had reached before them: on a large catalogue the
// start-up alone fills the engine's page cache to its set size.
bool SizeBench::MeasurePeaks(BenchTable& table, QString& error)
{
    for (const auto& [state, measure] : {std::pair {PeakMemory::kLargest, "largest category listed"},
                                         {PeakMemory::kReport, "report of largest list"},
                                         {PeakMemory::kMasterList, "master list"}}) {
        long before = 0;
        const long peak = PeakMemory::Child(QString::fromLatin1(state), m_folder.path(), m_catalogue.largestName,
                                            std::min(m_runs, 3), &before);
        const auto add = [&](const QString& what, long kib) {
            table.Add({what, m_documents, peak < 0 ? -1 : kib / 1024.0, -1, QStringLiteral("MiB"), QString()});
        };
        add(QStringLiteral("peak memory, ") + QLatin1String(measure), peak);
        if (state != PeakMemory::kLargest)
            add(QStringLiteral("memory added by the ") + QLatin1String(measure), peak - before);
        if (peak < 0) {
            error = QStringLiteral("the memory child failed: ") + QString::fromLatin1(state);
            return false;
        }
    }
    return true;
}

// Start-up reads the first-run flag, the categories and the first category's documents; a category
// click reads its documents; every clause click all documents. The report is set against the same
// rows written by sqlite3 as an HTML table.
bool SizeBench::MeasureProgram(BenchTable& table, QString& error)
{
    ProgramSession session(m_ui);
    const QString largest = m_catalogue.largestName;
    const QString category = Sql::SelectCategoryDocumentsControlled(m_catalogue.largestKey, false);
    const QString all = Sql::SelectAllDocumentsControlled(false);
    const auto from = [&](auto step) {
        return [&session, step, this] {
            // Each click comes from a small list, as when the user moves on from the first category.
            if (!session.ShowCategory(m_firstName))
                return Timing::Failed();
            return step();
        };
    };
    const Pair startup = Paired([&] { return session.StartUp(); },
                                Sql::SelectInit() + QLatin1Char(';') + Sql::SelectCategories() + QLatin1Char(';')
                                    + Sql::SelectCategoryDocumentsControlled(m_firstKey, false));
    const Pair click = Paired(from([&] { return session.ClickCategory(largest); }), category);
    const Pair sections = Paired(from([&] { return session.ClickClause(kClauseRootText); }), all);
    const Pair clause = Paired(from([&] { return session.ClickClause(QStringLiteral("7.5")); }), all);
    const Pair scroll = Paired([&] { return session.ScrollToEndAndBack(largest); }, category);
    const Pair report = !session.ShowCategory(largest)
        ? Pair()
        : Paired([&] { return session.Report(); }, category, {QStringLiteral("-html")});
    const Pair masterList = Paired([&] { return session.MasterList(); }, all, {QStringLiteral("-html")});
    session.Close();

    Add(table, QStringLiteral("start-up, Continue to idle"), startup,
        QStringLiteral("sqlite3: init, categories, first category"));
    Add(table, QStringLiteral("click largest category"), click, QStringLiteral("sqlite3: the category query"));
    Add(table, QStringLiteral("click \"Sections\""), sections, QStringLiteral("sqlite3: the all-documents query"));
    Add(table, QStringLiteral("click \"7.5\""), clause, QStringLiteral("sqlite3: the all-documents query"));
    Add(table, QStringLiteral("scroll largest list to its end and back"), scroll,
        QStringLiteral("sqlite3: the category query"));
    Add(table, QStringLiteral("HTML report of largest list"), report,
        QStringLiteral("sqlite3 -html: the category query"));
    Add(table, QStringLiteral("master list of every document"), masterList,
        QStringLiteral("sqlite3 -html: the all-documents query"));
    for (const Pair* pair : {&startup, &click, &sections, &clause, &scroll, &report, &masterList}) {
        if (pair->program.wallMs < 0)
            error = session.failure();
        else if (pair->floor.wallMs < 0)
            error = QStringLiteral("sqlite3 failed");
    }
    return error.isEmpty();
}

// The due list as the catalogue service gives it to the window and to cadrelle-cli due, set against
// the same query run by sqlite3.
bool SizeBench::MeasureDue(BenchTable& table, QString& error)
{
    constexpr int kWithinDays = 30;
    if (!openCatalogue(m_folder)) {
        error = QStringLiteral("cannot open the catalogue for the due list");
        return false;
    }
    const QDate today = QDate::currentDate();
    const Pair due = Paired(
        [&] {
            const Stopwatch clock;
            const std::size_t rows = Catalogue::Current().DueForReview(today, kWithinDays).size();
            const Timing elapsed = clock.Elapsed();
            return rows > 0 ? elapsed : Timing::Failed();
        },
        Sql::SelectDueForReview(today.addDays(kWithinDays).toString(Qt::ISODate)));
    closeCatalogue();
    Add(table, QStringLiteral("due for review, next 30 days"), due, QStringLiteral("sqlite3: the due query"));
    if (due.program.wallMs < 0 || due.floor.wallMs < 0)
        error = QStringLiteral("the due list was empty or sqlite3 failed");
    return error.isEmpty();
}
