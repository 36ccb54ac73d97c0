#pragma once

#include "cli/Command.h"

// cadrelle-cli masterlist [--html FILE | --format csv|json]: the master list of current documents.
class MasterListCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("masterlist"); }
    QString Summary() const override
    {
        return QStringLiteral("the master list of documents, as a table or an HTML page");
    }
    QString Help() const override;
    QStringList ValueOptions() const override { return {QStringLiteral("html")}; }
    QStringList FlagOptions() const override { return {QStringLiteral("obsolete")}; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};

// cadrelle-cli export FILE.csv: the whole register as CSV.
class ExportCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("export"); }
    QString Summary() const override { return QStringLiteral("write the whole register to a CSV file"); }
    QString Help() const override;
    int MinArguments() const override { return 1; }
    int MaxArguments() const override { return 1; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};

// cadrelle-cli import FILE.csv [--apply] [--partial]: a register into the catalogue; a dry run by
// default that prints what it would do.
class ImportCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("import"); }
    QString Summary() const override { return QStringLiteral("read a register from CSV (a dry run unless --apply)"); }
    QString Help() const override;
    QStringList FlagOptions() const override { return {QStringLiteral("apply"), QStringLiteral("partial")}; }
    int MinArguments() const override { return 1; }
    int MaxArguments() const override { return 1; }
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;
};
