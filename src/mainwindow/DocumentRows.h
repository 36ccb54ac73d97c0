#pragma once

#include <QString>
#include <functional>
#include <vector>

class Variant;
class sqlRecordset;

// One record as the document list shows it.
struct DocumentRow
{
    QString dockey;
    QString docref;
    QString doctitle;
    QString isoref; // empty when the record has none
    QString docpath;
};

// Decides from a record's clause list whether the record is listed.
using IsorefFilter = std::function<bool(const Variant& isoref)>;

// Reads the rows of an open recordset over "docref,doctitle,dockey,docpath,isoref", in the
// recordset's order, keeping those the filter accepts (all without a filter). The first field is
// read by the name given first, as any reader of the recordset would: a refused query fails there
// with the description of the failed field read, before any row is taken.
std::vector<DocumentRow> ReadDocumentRows(sqlRecordset& rs, const QString& firstField,
                                          const IsorefFilter& keep = IsorefFilter());
