// cadrelle-cli: the catalogue from the command line, on the same service as the program's window.

#include "cli/CliOptions.h"
#include "cli/CliUi.h"
#include "cli/Command.h"
#include "platform/ErrorTrap.h"
#include "platform/ProgramFolder.h"
#include "storage/Catalogue.h"
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

QString toolHelp()
{
    QString text
        = QStringLiteral("Usage: cadrelle-cli [--catalogue PATH] [--format text|csv|json] COMMAND [ARGUMENTS]\n\n"
                         "Reads and keeps the Cadrelle catalogue of quality documents from the command line: the\n"
                         "register with each document's control data, the reviews that are due, a document's\n"
                         "history, and backups.\n\n"
                         "Commands:\n");
    for (const auto& command : Command::All())
        text += QStringLiteral("  %1%2\n").arg(command->Name().leftJustified(12), command->Summary());
    text += QStringLiteral(
        "\nOptions:\n"
        "  --catalogue PATH  the catalogue file (default: cadrelle.db in the program's folder when that\n"
        "                    can be written and holds one, else in $XDG_DATA_HOME/Cadrelle, made and\n"
        "                    filled from the installed copies on first use)\n"
        "  --format FORMAT   text (an aligned table, the default), csv (RFC 4180 with a header row)\n"
        "                    or json (an array of objects)\n"
        "  -h, --help        this help; 'cadrelle-cli COMMAND --help' tells about one command\n\n"
        "Exit status: 0 done, 1 a check found problems (due: a review is overdue), 2 bad usage or\n"
        "the catalogue cannot be used.\n\n"
        "Opening a catalogue of an earlier version brings it up to this one, as the program does.\n");
    return text;
}

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString error;
    if (!options.Parse(args, error)) {
        err << "cadrelle-cli: " << error << " (see cadrelle-cli --help)\n";
        return ExitStatus::Failed;
    }
    if (options.help || !options.command) {
        (options.help ? out : err) << (options.command ? options.command->Help() : toolHelp());
        return options.help ? ExitStatus::Fine : ExitStatus::Failed;
    }
    Command& command = *options.command;
    if (options.arguments.size() < command.MinArguments() || options.arguments.size() > command.MaxArguments()) {
        err << "cadrelle-cli: wrong arguments for " << command.Name() << "\n" << command.Help();
        return ExitStatus::Failed;
    }
    if (const QString wrong = command.UsageError(options); !wrong.isEmpty()) {
        err << "cadrelle-cli: " << wrong << " (see cadrelle-cli " << command.Name() << " --help)\n";
        return ExitStatus::Failed;
    }
    CliUi ui;
    // Without --catalogue the tool works where the program does, and on a first use makes the data folder
    // as the program's first start would.
    if (options.catalogue.isEmpty() && !PrepareDataFolder(error)) {
        err << "cadrelle-cli: " << error << '\n';
        return ExitStatus::Failed;
    }
    const QString path = options.CataloguePath();
    if (!Catalogue::Open(path) || !Catalogue::Current().HasCatalogueTables(QString())) {
        err << "cadrelle-cli: " << ui.Told() << '\n';
        Catalogue::Close();
        return ExitStatus::Failed;
    }
    int status = ExitStatus::Failed;
    try {
        status = command.Run(options, out, err);
    } catch (...) {
        const QString told = ui.Told();
        err << "cadrelle-cli: " << (told.isEmpty() ? DescribeCurrentException() : told) << '\n';
    }
    Catalogue::Close();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Cadrelle"));
    QCoreApplication::setApplicationName(QStringLiteral("Cadrelle"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return run(app.arguments().mid(1), out, err);
}
