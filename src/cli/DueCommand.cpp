#include "cli/DueCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"
#include <QRegularExpression>

QString DueCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli due [--within DAYS] [--format text|csv|json]\n\n"
                          "Lists the documents, not obsolete, whose next review is past or falls within the\n"
                          "next DAYS days (default %1, at most %2), the earliest first.\n"
                          "Exit status: 1 when a review is overdue (its date is before today), 0 otherwise, so\n"
                          "a daily job can tell when to warn.\n"
                          "Fields: ref, title, category, revision, status, next_review (yyyy-MM-dd),\n"
                          "overdue_days (days since the review fell due, 0 when it is not yet overdue).\n")
        .arg(kDefaultDays)
        .arg(kMaxDays);
}

// A whole number written in digits only: "+5", " 5" or "5.0" are refused rather than guessed at.
int DueCommand::days(const CliOptions& options)
{
    if (!options.values.contains(QStringLiteral("within")))
        return kDefaultDays;
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
    const QString text = options.values.value(QStringLiteral("within"));
    return digits.match(text).hasMatch() && text.toInt() <= kMaxDays ? text.toInt() : -1;
}

QString DueCommand::UsageError(const CliOptions& options) const
{
    if (days(options) >= 0)
        return QString();
    return QStringLiteral("--within takes a whole number of days from 0 to %1, not '%2'")
        .arg(kMaxDays)
        .arg(options.values.value(QStringLiteral("within")));
}

int DueCommand::Run(const CliOptions& options, QTextStream& out, QTextStream&)
{
    const QDate today = QDate::currentDate();
    TableWriter table({"ref", "title", "category", "revision", "status", "next_review", "overdue_days"},
                      {"Doc Ref", "Title", "Category", "Revision", "Status", "Next review", "Days overdue"});
    bool overdue = false;
    for (const Document& d : Catalogue::Current().DueForReview(today, days(options))) {
        const qint64 late = std::max<qint64>(0, d.nextReview.daysTo(today));
        overdue = overdue || late > 0;
        table.AddRow({d.ref, d.title, d.category, d.revision, DocumentControl::StatusText(d.status),
                      TableWriter::Date(d.nextReview), QString::number(late)});
    }
    table.Write(out, options.format);
    return overdue ? ExitStatus::Found : ExitStatus::Fine;
}
