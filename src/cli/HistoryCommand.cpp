#include "cli/HistoryCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"

QString HistoryCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli history REF [--format text|csv|json]\n\n"
                          "Shows every change recorded for the document with the reference REF (obsolete ones\n"
                          "too), oldest first. Where several documents share the reference, each one's history\n"
                          "follows the other's and the key field tells them apart.\n"
                          "Fields: happened (UTC, ISO 8601), who, action, old, new, key.\n");
}

int HistoryCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    Catalogue& catalogue = Catalogue::Current();
    const QString ref = options.arguments.value(0);
    const std::vector<Document> documents = catalogue.DocumentsWithReference(ref);
    if (documents.empty()) {
        err << "cadrelle-cli: no document has the reference '" << ref << "'\n";
        return ExitStatus::Failed;
    }
    TableWriter table({"happened", "who", "action", "old", "new", "key"},
                      {"When (UTC)", "Who", "Action", "Old value", "New value", "Key"});
    for (const Document& document : documents) {
        for (const HistoryEntry& e : catalogue.History(document.key))
            table.AddRow({e.happened, e.who, e.action, e.oldValue, e.newValue, document.key});
    }
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
