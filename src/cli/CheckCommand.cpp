#include "cli/CheckCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"

QString CheckCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli check [--format text|csv|json]\n\n"
                          "Looks at the file of every current document and lists those that are missing, are\n"
                          "not a readable file, or have changed since their revision was approved (by the\n"
                          "SHA-256 recorded then). Prints nothing else, so a daily job can mail what it prints.\n"
                          "Exit status: 1 when a file has a problem, 0 when all are fine.\n"
                          "Fields: ref, title, path, problem, key.\n");
}

int CheckCommand::Run(const CliOptions& options, QTextStream& out, QTextStream&)
{
    const std::vector<Document> problems = Catalogue::Current().CheckFiles();
    if (problems.empty() && options.format == QLatin1String("text"))
        return ExitStatus::Fine;
    TableWriter table({"ref", "title", "path", "problem", "key"}, {"Doc Ref", "Title", "File", "Problem", "Key"});
    for (const Document& d : problems)
        table.AddRow({d.ref, d.title, d.path, d.problem, d.key});
    table.Write(out, options.format);
    return problems.empty() ? ExitStatus::Fine : ExitStatus::Found;
}
