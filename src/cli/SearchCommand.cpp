#include "cli/SearchCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"

QString SearchCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli search TEXT [--format text|csv|json]\n\n"
                          "Lists the current documents whose reference, title, file or clause list holds every\n"
                          "word of TEXT, in any case and with or without accents; the words match as typed\n"
                          "(% and _ are plain characters). Quote TEXT to give several words.\n"
                          "Fields: ref, title, clauses, path, category, revision, status, key.\n");
}

int SearchCommand::Run(const CliOptions& options, QTextStream& out, QTextStream&)
{
    TableWriter table({"ref", "title", "clauses", "path", "category", "revision", "status", "key"},
                      {"Doc Ref", "Title", "ISO Ref", "File", "Category", "Rev", "Status", "Key"});
    for (const Document& d : Catalogue::Current().Search(options.arguments.value(0)))
        table.AddRow(
            {d.ref, d.title, d.clauses, d.path, d.category, d.revision, DocumentControl::StatusText(d.status), d.key});
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
