#include "cli/RegisterCommands.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "platform/ErrorTrap.h"
#include "reports/MasterListPage.h"
#include "storage/Catalogue.h"
#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Writes path through a save file as write fills it; false when it could not be written (told
// here) or write could not read all it was to write (told already): no file is left then.
bool writeFile(const QString& path, const std::function<bool(QIODevice&)>& write, QTextStream& err)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        if (!write(file))
            return false;
        if (file.commit())
            return true;
    }
    err << "cadrelle-cli: cannot write '" << path << "': " << file.errorString() << '\n';
    return false;
}

} // namespace

QString MasterListCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli masterlist [--html FILE | --format text|csv|json] [--obsolete]\n\n"
                          "The master list of documents: every current document by category and reference,\n"
                          "with its revision, status, approval, next review, clauses and file. --html writes the\n"
                          "printable page the program's Report > Master list makes; --obsolete adds the obsolete\n"
                          "documents (in a section of their own on the page).\n"
                          "Fields: ref, title, category, revision, status, approved_by, approved_on, next_review,\n"
                          "clauses, path.\n");
}

int MasterListCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    Catalogue& catalogue = Catalogue::Current();
    const bool obsolete = options.flags.contains(QStringLiteral("obsolete"));
    if (options.values.contains(QStringLiteral("html"))) {
        const auto rows = [&](const std::function<void(const QStringList&)>& take) {
            return catalogue.ForEachRegisterRow(
                take, obsolete ? Catalogue::RegisterPart::CurrentThenObsolete : Catalogue::RegisterPart::Current);
        };
        const auto write = [&](QIODevice& file) {
            return WriteMasterListPage(file, rows, QFileInfo(catalogue.FilePath()).fileName(),
                                       QDateTime::currentDateTime(), obsolete);
        };
        return writeFile(options.values.value(QStringLiteral("html")), write, err) ? ExitStatus::Fine
                                                                                   : ExitStatus::Failed;
    }
    const QStringList fields = {"ref",         "title",       "category",    "revision", "status",
                                "approved_by", "approved_on", "next_review", "clauses",  "path"};
    QList<int> columns;
    for (const QString& field : fields)
        columns << int(RegisterCsv::Fields().indexOf(field));
    TableWriter table(fields,
                      {"Doc Ref", "Title", "Category", "Rev", "Status", "Approved by", "Approved on", "Next review",
                       "ISO Ref", "File"});
    const auto forEachRow = [&](const std::function<void(const QStringList&)>& use) {
        return catalogue.ForEachRegisterRow(
            [&](const QStringList& row) {
                QStringList cells;
                for (const int column : columns)
                    cells << row.value(column);
                use(cells);
            },
            obsolete ? Catalogue::RegisterPart::All : Catalogue::RegisterPart::Current);
    };
    // Aligned text needs the widest value of each column before its first line: the rows are read
    // once to measure them, so that none need be kept.
    bool read = options.format != QLatin1String("text")
        || forEachRow([&table](const QStringList& cells) { table.Measure(cells); });
    table.StreamTo(out, options.format);
    read = read && forEachRow([&table](const QStringList& cells) { table.AddRow(cells); });
    table.Write(out, options.format);
    return read ? ExitStatus::Fine : ExitStatus::Failed;
}

QString ExportCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli export FILE.csv\n\n"
                          "Writes every document, obsolete ones included, with its category and control data to\n"
                          "FILE.csv: RFC 4180, UTF-8 with a byte-order mark, a header row of the columns\n"
                          "%1.\n"
                          "'cadrelle-cli import' reads it back.\n")
        .arg(RegisterCsv::Fields().join(QStringLiteral(", ")));
}

int ExportCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    int rows = 0;
    const auto write = [&rows](QIODevice& file) { return Catalogue::Current().WriteRegister(file, rows); };
    if (!writeFile(options.arguments.value(0), write, err))
        return ExitStatus::Failed;
    out << "Exported " << rows << " documents to " << options.arguments.value(0) << '\n';
    return ExitStatus::Fine;
}

QString ImportCommand::Help() const
{
    return QStringLiteral(
        "Usage: cadrelle-cli import FILE.csv [--apply [--partial]] [--format text|csv|json]\n\n"
        "Reads a register: a CSV file (UTF-8, UTF-16 with its mark, or Windows-1252) whose header names its\n"
        "columns as 'export' writes them (ref, title, category and path are needed; 'Doc Ref', 'ISO Ref',\n"
        "'File' and 'Rev' are understood too). Each row is a new document, or a change to the document of\n"
        "the same reference in the same category; categories it names are made. Rows that cannot be taken\n"
        "are refused with their reason. Without --apply nothing is written: it prints what it would do.\n"
        "With --apply everything is written in one transaction; when a row is refused nothing is written\n"
        "unless --partial is given.\n"
        "Exit status: 1 when a row is refused, 0 otherwise.\n"
        "Fields: line, action (new, changed, unchanged, refused), ref, category, reason.\n");
}

int ImportCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    const QString path = options.arguments.value(0);
    Catalogue& catalogue = Catalogue::Current();
    ImportPlan plan;
    {
        // The file's table is let go once planned, and the preview once written: a large register
        // is held once, as its plan, while it is written.
        const RegisterCsv::Table table = RegisterCsv::Read(path);
        if (!table.error.isEmpty()) {
            err << "cadrelle-cli: cannot import '" << path << "': " << table.error << '\n';
            return ExitStatus::Failed;
        }
        try {
            plan = catalogue.PlanImport(table, Catalogue::MappingOf(table.header));
        } catch (...) {
            err << "cadrelle-cli: cannot import '" << path << "': " << DescribeCurrentException() << '\n';
            return ExitStatus::Failed;
        }
    }
    {
        TableWriter result({"line", "action", "ref", "category", "reason"},
                           {"Line", "Action", "Doc Ref", "Category", "Reason"});
        for (const ImportRow& row : plan.rows)
            result.AddRow({QString::number(row.line), ImportRow::ActionText(row.action).toLower(), row.document.ref,
                           row.category, row.reason});
        result.Write(out, options.format);
    }
    const bool refused = plan.Count(ImportRow::Action::Refused) > 0;
    if (options.flags.contains(QStringLiteral("apply"))) {
        if (refused && !options.flags.contains(QStringLiteral("partial"))) {
            err << "cadrelle-cli: nothing was imported: rows were refused (--partial imports the others)\n";
            return ExitStatus::Found;
        }
        if (catalogue.ApplyImport(plan) == Catalogue::Write::Refused) {
            err << "cadrelle-cli: nothing was imported: the catalogue refused the change\n";
            return ExitStatus::Failed;
        }
    }
    return refused ? ExitStatus::Found : ExitStatus::Fine;
}
