#pragma once

#include <QStringList>
#include <QTextStream>
#include <memory>
#include <vector>

struct CliOptions;

// The tool's exit statuses.
namespace ExitStatus {
constexpr int Fine = 0;
constexpr int Found = 1; // a check found what it looks for
constexpr int Failed = 2; // bad usage, or a catalogue that cannot be opened or written
} // namespace ExitStatus

// One subcommand of cadrelle-cli.
class Command
{
public:
    virtual ~Command() = default;
    virtual QString Name() const = 0;
    virtual QString Summary() const = 0;
    // The subcommand's help: its usage line and what its options do.
    virtual QString Help() const = 0;
    virtual QStringList ValueOptions() const { return {}; }
    virtual QStringList FlagOptions() const { return {}; }
    // How many plain arguments it takes.
    virtual int MinArguments() const { return 0; }
    virtual int MaxArguments() const { return 0; }
    // What is wrong with the subcommand's options, found before the catalogue is opened; empty when
    // nothing is.
    virtual QString UsageError(const CliOptions&) const { return QString(); }
    // Runs on the open catalogue; returns the exit status. Failures go to err, one line each.
    virtual int Run(const CliOptions& options, QTextStream& out, QTextStream& err) = 0;

    static const std::vector<std::unique_ptr<Command>>& All();
    static Command* Find(const QString& name);
};
