#pragma once

#include "cli/Command.h"

// cadrelle-cli list: every document, or those of a category or of a clause, in the window's order.
class ListCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("list"); }
    QString Summary() const override;
    QString Help() const override;
    QStringList ValueOptions() const override;
    QStringList FlagOptions() const override;
    QString UsageError(const CliOptions& options) const override;
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
