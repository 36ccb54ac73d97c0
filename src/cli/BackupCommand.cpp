#include "cli/BackupCommand.h"

#include "cli/CliOptions.h"
#include "platform/ErrorTrap.h"
#include "storage/Catalogue.h"

QString BackupCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli backup FILE\n\n"
                          "Copies the catalogue to FILE through the database engine, so the copy is consistent\n"
                          "even while the program has the catalogue open. FILE is replaced when it exists; it is\n"
                          "written whole or not at all. The catalogue itself and its journal files are refused.\n");
}

int BackupCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    const QString target = options.arguments.value(0);
    const Catalogue& catalogue = Catalogue::Current();
    try {
        if (catalogue.IsCatalogueFile(target))
            throw AppError(QStringLiteral("the catalogue cannot be backed up onto itself"));
        catalogue.Backup(target);
    } catch (...) {
        err << "cadrelle-cli: cannot write the backup '" << target << "': " << DescribeCurrentException() << '\n';
        return ExitStatus::Failed;
    }
    out << "Backed up " << catalogue.FilePath() << " to " << target << '\n';
    return ExitStatus::Fine;
}
