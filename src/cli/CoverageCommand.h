#pragma once

#include "cli/Command.h"

// cadrelle-cli coverage: each clause of ISO 9001:2000 with the current documents that serve it;
// exit 1 when a required documented procedure is missing.
class CoverageCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("coverage"); }
    QString Summary() const override
    {
        return QStringLiteral("how the catalogue covers the standard; exit 1 when a required procedure is missing");
    }
    QString Help() const override;
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
