#pragma once

#include "cli/Command.h"

// cadrelle-cli categories: the categories in the tree's order.
class CategoriesCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("categories"); }
    QString Summary() const override { return QStringLiteral("list the categories in the order the tree shows them"); }
    QString Help() const override;
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
