#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QStringList>
#include <functional>

class QIODevice;

// The master list of documents an auditor asks for first: every current document grouped by
// category (in the tree's order) and by reference within, with its revision, status, approval,
// next review, clauses and file; overdue reviews marked; obsolete documents left out, or listed in
// a section of their own when asked for. Fit to print: the table headings repeat on every page,
// a row never breaks across pages, and every page says that a printed copy is not controlled.
// The page is made as its rows come, a piece at a time, so that a catalogue of any size is written
// without holding it.
class MasterListPage
{
public:
    using Sink = std::function<void(const QString& piece)>;
    // Starts the page; sink takes each piece as it is made.
    MasterListPage(Sink sink, const QString& catalogue, const QDateTime& produced, bool withObsolete);
    // A row of the register (RegisterCsv::Fields' columns): the current ones first, then the
    // obsolete ones, each in the register's order. Obsolete rows are left out unless asked for.
    void Add(const QStringList& row);
    // Ends the page.
    void Finish();

private:
    void endTable();
    void startObsolete();

    Sink m_sink;
    QDate m_today;
    bool m_withObsolete;
    bool m_inObsolete = false;
    bool m_tableOpen = false;
    QString m_category;
};

// The whole page of rows in the register's order.
QString BuildMasterListPage(const QList<QStringList>& rows, const QString& catalogue, const QDateTime& produced,
                            bool withObsolete);

// Hands each row to take; false when the rows could not all be read (told already).
using RegisterRowSource = std::function<bool(const std::function<void(const QStringList&)>& take)>;
// Writes the page to file (opened) as rows hands them over: the current rows, then the obsolete
// ones when withObsolete. False when they could not all be read: the page is then incomplete.
bool WriteMasterListPage(QIODevice& file, const RegisterRowSource& rows, const QString& catalogue,
                         const QDateTime& produced, bool withObsolete);
