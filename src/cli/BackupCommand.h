#pragma once

#include "cli/Command.h"

// cadrelle-cli backup FILE: a consistent copy of the catalogue, as Database > Backup makes it.
class BackupCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("backup"); }
    QString Summary() const override { return QStringLiteral("copy the catalogue to FILE, whole and consistent"); }
    QString Help() const override;
    int MinArguments() const override { return 1; }
    int MaxArguments() const override { return 1; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
