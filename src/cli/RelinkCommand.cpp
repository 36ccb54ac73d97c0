#include "cli/RelinkCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"
#include <QFileInfo>

QString RelinkCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli relink FOLDER [--apply] [--format text|csv|json]\n\n"
                          "Looks for the file of every document whose file is missing, by its file name, in\n"
                          "FOLDER and below. Prints what it would change: the old and new path where exactly one\n"
                          "file of the name is found; 'ambiguous' with every candidate where several are, which\n"
                          "are never guessed; 'not found' where none is. Nothing is written unless --apply is\n"
                          "given; then the found ones are changed in one transaction, each with its history row.\n"
                          "Fields: ref, old_path, new_path, result, key.\n");
}

int RelinkCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    const QString folder = options.arguments.value(0);
    if (!QFileInfo(folder).isDir()) {
        err << "cadrelle-cli: '" << folder << "' is not a folder\n";
        return ExitStatus::Failed;
    }
    Catalogue& catalogue = Catalogue::Current();
    std::vector<Document> missing;
    for (const Document& d : catalogue.CheckFiles()) {
        if (d.problem == QLatin1String("Missing"))
            missing.push_back(d);
    }
    const bool apply = options.flags.contains(QStringLiteral("apply"));
    TableWriter table({"ref", "old_path", "new_path", "result", "key"},
                      {"Doc Ref", "Old path", "New path", "Result", "Key"});
    std::vector<std::pair<QString, QString>> changes;
    for (const RelinkCandidate& c : Catalogue::PlanRelink(missing, folder)) {
        const QString result = c.found.isEmpty() ? QStringLiteral("not found")
            : c.found.size() > 1                 ? QStringLiteral("ambiguous")
            : apply                              ? QStringLiteral("relinked")
                                                 : QStringLiteral("would relink");
        table.AddRow({c.document.ref, c.document.path, c.found.join(QLatin1Char(';')), result, c.document.key});
        if (c.found.size() == 1)
            changes.emplace_back(c.document.key, c.found.front());
    }
    if (apply && !changes.empty() && catalogue.Relink(changes) != Catalogue::Write::Done) {
        err << "cadrelle-cli: nothing was relinked: the catalogue refused the change\n";
        return ExitStatus::Failed;
    }
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
