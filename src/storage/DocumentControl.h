#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The control data of one document, beside its record: what it is, its revision and status, who
// approved it and when, when it is next reviewed, and how long a record is kept. A document without
// control data is an approved controlled document with no revision and no review date.
struct DocumentControl
{
    enum class Kind
    {
        Document,
        Record,
        External
    };
    enum class Status
    {
        Draft,
        Approved,
        Obsolete
    };

    Kind kind = Kind::Document;
    QString revision;
    Status status = Status::Approved;
    QString owner;
    QString approvedBy;
    QDate approvedOn;
    QString approvedHash; // SHA-256 of the file as approved, in hexadecimal
    int reviewMonths = 0; // 0: the category's interval
    QDate nextReview;
    int retentionMonths = 0; // records only
    QDate retentionEnds;
    QString issuer; // external documents only
    QString edition;
    QString withdrawnReason;

    bool operator==(const DocumentControl&) const = default;

    // The fields as the catalogue keeps them, in the order of its columns: kind, revision, status,
    // owner, approvedby, approvedon, approvedhash, reviewmonths, nextreview, retentionmonths,
    // retentionends, issuer, edition, withdrawnreason.
    QStringList Texts() const;
    static DocumentControl FromTexts(const QStringList& texts);

    // A date as the catalogue keeps it, yyyy-MM-dd; empty when there is none.
    static QString DateText(const QDate& date);
    static QString KindText(Kind kind);
    static QString StatusText(Status status);
    static Kind KindFrom(const QString& text);
    static Status StatusFrom(const QString& text);
    // The revision a new one is likely to be: the number or letter after the last one ("B" -> "C",
    // "3.1" -> "3.2", "" -> "1").
    static QString NextRevision(const QString& revision);
    // A date a number of months on; the end of a shorter month where the day does not exist.
    static QDate MonthsAfter(const QDate& date, int months);
};
