#pragma once

#include "cli/Command.h"

// cadrelle-cli relink FOLDER [--apply]: finds missing files by name under FOLDER; a dry run unless
// --apply.
class RelinkCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("relink"); }
    QString Summary() const override
    {
        return QStringLiteral("find missing files under FOLDER; --apply points the records at them");
    }
    QString Help() const override;
    QStringList FlagOptions() const override { return {QStringLiteral("apply")}; }
    int MinArguments() const override { return 1; }
    int MaxArguments() const override { return 1; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
