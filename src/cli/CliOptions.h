#pragma once

#include <QMap>
#include <QStringList>

class Command;

// What the command line asked for. The common options may stand anywhere; a subcommand's own
// options follow its name.
struct CliOptions
{
    QString catalogue; // the catalogue file; empty: the one in the data folder
    QString format = QStringLiteral("text");
    bool help = false;
    Command* command = nullptr;
    QStringList arguments; // the subcommand's plain arguments
    QMap<QString, QString> values; // the subcommand's options, by name without dashes
    QStringList flags;

    // Reads the arguments after the program's name; false with the reason in error when they are
    // not the tool's words.
    bool Parse(const QStringList& args, QString& error);
    // The catalogue file the tool works on.
    QString CataloguePath() const;
};
