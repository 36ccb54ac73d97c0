#include "cli/CliOptions.h"

#include "cli/Command.h"
#include "cli/TableWriter.h"
#include "platform/ProgramFolder.h"

namespace {

// "--name=value" or "--name" followed by its value.
bool takeValue(const QStringList& args, int& i, const QString& name, QString& value)
{
    const QString& arg = args[i];
    if (arg.startsWith(QStringLiteral("--") + name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 3);
        return true;
    }
    if (arg != QStringLiteral("--") + name)
        return false;
    if (i + 1 >= args.size())
        throw QStringLiteral("--%1 needs a value").arg(name);
    value = args[++i];
    return true;
}

} // namespace

bool CliOptions::Parse(const QStringList& args, QString& error)
{
    try {
        for (int i = 0; i < args.size(); ++i) {
            const QString& arg = args[i];
            QString value;
            if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
                help = true;
            } else if (takeValue(args, i, QStringLiteral("catalogue"), catalogue)) {
            } else if (takeValue(args, i, QStringLiteral("format"), format)) {
                if (!TableWriter::IsFormat(format))
                    throw QStringLiteral("unknown format '%1' (text, csv or json)").arg(format);
            } else if (!command && !arg.startsWith(QLatin1Char('-'))) {
                command = Command::Find(arg);
                if (!command)
                    throw QStringLiteral("unknown command '%1'").arg(arg);
            } else if (command && arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
                const QString name = arg.mid(2).section(QLatin1Char('='), 0, 0);
                if (command->ValueOptions().contains(name)) {
                    takeValue(args, i, name, value);
                    values.insert(name, value);
                } else if (command->FlagOptions().contains(name) && !arg.contains(QLatin1Char('='))) {
                    flags << name;
                } else {
                    throw QStringLiteral("unknown option '%1' for %2").arg(arg, command->Name());
                }
            } else if (command && (arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-')))) {
                arguments << arg;
            } else {
                throw QStringLiteral("unknown option '%1'").arg(arg);
            }
        }
    } catch (const QString& reason) {
        error = reason;
        return false;
    }
    return true;
}

QString CliOptions::CataloguePath() const
{
    return catalogue.isEmpty() ? DataFolder() + QStringLiteral("/cadrelle.db") : catalogue;
}
