#pragma once

#include <QDateTime>
#include <QList>
#include <QStringList>

// The master list of documents an auditor asks for first: every current document grouped by
// category (in the tree's order) and by reference within, with its revision, status, approval,
// next review, clauses and file; overdue reviews marked; obsolete documents left out, or listed in
// a section of their own when asked for. Fit to print: the table headings repeat on every page,
// a row never breaks across pages, and every page says that a printed copy is not controlled.
// rows are the register's (Catalogue::RegisterRows), in its column order.
QString BuildMasterListPage(const QList<QStringList>& rows, const QString& catalogue, const QDateTime& produced,
                            bool withObsolete);
