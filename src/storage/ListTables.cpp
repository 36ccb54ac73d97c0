#include "storage/ListTables.h"

#include <sqlite3.h>

namespace {

// The root node's text is the clause tree's "Sections".
const char* kDerivation = R"(
CREATE TEMP TABLE IF NOT EXISTS cadrelle_recount(catkey varchar PRIMARY KEY);
DELETE FROM temp.cadrelle_recount;
INSERT OR IGNORE INTO temp.cadrelle_recount SELECT catkey FROM tbllistpending WHERE catkey IS NOT NULL;
INSERT OR IGNORE INTO temp.cadrelle_recount SELECT catkey FROM tbldocument
    WHERE rowid IN (SELECT docrowid FROM tbllistpending) AND catkey IS NOT NULL;
DELETE FROM tbldocumentcount WHERE catkey IN temp.cadrelle_recount;
INSERT INTO tbldocumentcount SELECT catkey, count(*) FROM tbldocument
    WHERE catkey IN temp.cadrelle_recount GROUP BY catkey;
DELETE FROM tblclauselist WHERE docrowid IN (SELECT docrowid FROM tbllistpending);
WITH RECURSIVE
    waiting(docrowid, docref, isoref) AS (
        SELECT rowid, IFNULL(docref, ''), CAST(isoref AS TEXT) FROM tbldocument
        WHERE isoref <> '' AND rowid IN (SELECT docrowid FROM tbllistpending)),
    element(docrowid, docref, rest, item) AS (
        SELECT docrowid, docref, isoref || ',', NULL FROM waiting
        UNION ALL
        SELECT docrowid, docref, substr(rest, instr(rest, ',') + 1), substr(rest, 1, instr(rest, ',') - 1)
        FROM element WHERE rest <> '')
INSERT OR IGNORE INTO tblclauselist(clause, docref, docrowid)
    SELECT 'Sections', docref, docrowid FROM waiting
    UNION ALL
    SELECT substr(item, 1, width), docref, docrowid
    FROM element, (SELECT 1 AS width UNION ALL SELECT 3 UNION ALL SELECT 5) WHERE length(item) >= width;
DELETE FROM tbllistpending;
)";

bool quietly(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Whether the list is there and has documents waiting; false when it cannot be read.
int waiting(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    int result = -1;
    if (sqlite3_prepare_v2(db, "SELECT EXISTS(SELECT 1 FROM tbllistpending)", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        result = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return result;
}

} // namespace

const char* ListTables::Derivation()
{
    return kDerivation;
}

bool ListTables::BringUpToDate(sqlite3* db)
{
    const int pending = waiting(db);
    if (pending <= 0)
        return pending == 0;
    if (!quietly(db, "SAVEPOINT clauselist"))
        return false;
    if (quietly(db, kDerivation) && quietly(db, "RELEASE clauselist"))
        return true;
    quietly(db, "ROLLBACK TO clauselist");
    quietly(db, "RELEASE clauselist");
    return false;
}
