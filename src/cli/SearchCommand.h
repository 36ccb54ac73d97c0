#pragma once

#include "cli/Command.h"

// cadrelle-cli search TEXT: the documents that hold every word of TEXT, as the window's search box.
class SearchCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("search"); }
    QString Summary() const override
    {
        return QStringLiteral("find documents by words of their reference, title, file or clauses");
    }
    QString Help() const override;
    int MinArguments() const override { return 1; }
    int MaxArguments() const override { return 1; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
