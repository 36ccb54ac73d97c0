#pragma once

#include "cli/Command.h"

// cadrelle-cli check: every current document's file; exit 1 when one is missing or changed.
class CheckCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("check"); }
    QString Summary() const override
    {
        return QStringLiteral("check every document's file; exit 1 when one is missing or changed");
    }
    QString Help() const override;
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
