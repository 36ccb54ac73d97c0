#include "cli/CoverageCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"

QString CoverageCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli coverage [--format text|csv|json]\n\n"
                          "Lists the 67 clauses of ISO 9001:2000 with the number of current (not obsolete)\n"
                          "documents that serve each, and the clauses marked not applicable.\n"
                          "Exit status: 1 when one of the six clauses that require a documented procedure\n"
                          "(4.2.3, 4.2.4, 8.2.2, 8.3, 8.5.2, 8.5.3) has no current document and is not excluded.\n"
                          "Fields: clause, title, documents, state (covered, none, missing procedure,\n"
                          "not applicable), justification.\n");
}

int CoverageCommand::Run(const CliOptions& options, QTextStream& out, QTextStream&)
{
    TableWriter table({"clause", "title", "documents", "state", "justification"},
                      {"Clause", "Title", "Documents", "State", "Justification"});
    bool missing = false;
    for (const ClauseCoverage& c : Catalogue::Current().Coverage()) {
        missing = missing || c.MissingProcedure();
        const QString state = c.excluded ? QStringLiteral("not applicable")
            : c.MissingProcedure()       ? QStringLiteral("missing procedure")
            : c.documents == 0           ? QStringLiteral("none")
                                         : QStringLiteral("covered");
        table.AddRow({c.clause, c.title, QString::number(c.documents), state, c.justification});
    }
    table.Write(out, options.format);
    return missing ? ExitStatus::Found : ExitStatus::Fine;
}
