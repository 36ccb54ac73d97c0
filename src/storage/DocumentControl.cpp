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
