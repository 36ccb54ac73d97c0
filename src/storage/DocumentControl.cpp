#include "storage/DocumentControl.h"

#include <QRegularExpression>

QString DocumentControl::KindText(Kind kind)
{
    switch (kind) {
    case Kind::Record:
        return QStringLiteral("Record");
    case Kind::External:
        return QStringLiteral("External");
    default:
        return QStringLiteral("Document");
    }
}

QString DocumentControl::StatusText(Status status)
{
    switch (status) {
    case Status::Draft:
        return QStringLiteral("Draft");
    case Status::Obsolete:
        return QStringLiteral("Obsolete");
    default:
        return QStringLiteral("Approved");
    }
}

DocumentControl::Kind DocumentControl::KindFrom(const QString& text)
{
    if (text == QLatin1String("Record"))
        return Kind::Record;
    return text == QLatin1String("External") ? Kind::External : Kind::Document;
}

DocumentControl::Status DocumentControl::StatusFrom(const QString& text)
{
    if (text == QLatin1String("Draft"))
        return Status::Draft;
    return text == QLatin1String("Obsolete") ? Status::Obsolete : Status::Approved;
}

namespace {

QDate dateFrom(const QString& text)
{
    return QDate::fromString(text, Qt::ISODate);
}

} // namespace

// Written digit by digit for the years of four digits: an import writes three dates for every row.
QString DocumentControl::DateText(const QDate& date)
{
    if (!date.isValid())
        return QString();
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return date.toString(Qt::ISODate);
    QString text(10, QLatin1Char('-'));
    QChar* out = text.data();
    const auto digits = [](QChar* at, int value, int count) {
        for (int i = count - 1; i >= 0; --i, value /= 10)
            at[i] = QLatin1Char(char('0' + value % 10));
    };
    digits(out, year, 4);
    digits(out + 5, month, 2);
    digits(out + 8, day, 2);
    return text;
}

QStringList DocumentControl::Texts() const
{
    return {KindText(kind),
            revision,
            StatusText(status),
            owner,
            approvedBy,
            DateText(approvedOn),
            approvedHash,
            QString::number(reviewMonths),
            DateText(nextReview),
            QString::number(retentionMonths),
            DateText(retentionEnds),
            issuer,
            edition,
            withdrawnReason};
}

DocumentControl DocumentControl::FromTexts(const QStringList& texts)
{
    DocumentControl c;
    c.kind = KindFrom(texts.value(0));
    c.revision = texts.value(1);
    c.status = StatusFrom(texts.value(2));
    c.owner = texts.value(3);
    c.approvedBy = texts.value(4);
    c.approvedOn = dateFrom(texts.value(5));
    c.approvedHash = texts.value(6);
    c.reviewMonths = texts.value(7).toInt();
    c.nextReview = dateFrom(texts.value(8));
    c.retentionMonths = texts.value(9).toInt();
    c.retentionEnds = dateFrom(texts.value(10));
    c.issuer = texts.value(11);
    c.edition = texts.value(12);
    c.withdrawnReason = texts.value(13);
    return c;
}

QString DocumentControl::NextRevision(const QString& revision)
{
    static const QRegularExpression lastNumber(QStringLiteral("(\\d+)$"));
    const QRegularExpressionMatch number = lastNumber.match(revision);
    if (number.hasMatch())
        return revision.left(number.capturedStart(1)) + QString::number(number.captured(1).toLongLong() + 1);
    if (!revision.isEmpty()) {
        const QChar last = revision.back();
        if ((last >= u'A' && last < u'Z') || (last >= u'a' && last < u'z'))
            return revision.chopped(1) + QChar(last.unicode() + 1);
        return revision + QLatin1Char('1');
    }
    return QStringLiteral("1");
}

QDate DocumentControl::MonthsAfter(const QDate& date, int months)
{
    return date.isValid() ? date.addMonths(months) : QDate();
}
