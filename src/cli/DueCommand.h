#pragma once

#include "cli/Command.h"

// cadrelle-cli due [--within DAYS]: the documents whose periodic review is past or near, for a
// daily job; the exit status tells whether any review is overdue.
class DueCommand : public Command
{
public:
    static constexpr int kDefaultDays = 30;
    static constexpr int kMaxDays = 3650;

    QString Name() const override { return QStringLiteral("due"); }
    QString Summary() const override
    {
        return QStringLiteral("list documents due for review; exit 1 when one is overdue");
    }
    QString Help() const override;
    QStringList ValueOptions() const override { return {QStringLiteral("within")}; }
    QString UsageError(const CliOptions& options) const override;
    int Run(const CliOptions& options, QTextStream& out, QTextStream& err) override;

private:
    static int days(const CliOptions& options);
};
