#pragma once

#include "cli/Command.h"

// cadrelle-cli history REF: what happened to the document(s) with a reference, oldest first.
class HistoryCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("history"); }
    QString Summary() const override { return QStringLiteral("show the history of the document with reference REF"); }
    QString Help() const override;
    int MinArguments() const override { return 1; }
    int MaxArguments() const override { return 1; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
