#include "storage/CatalogueSchema.h"

#include "storage/ListTables.h"
#include <QByteArray>
#include <sqlite3.h>

namespace {

// Version 1: document control and the history. Dates are ISO 8601: calendar dates for approval,
// review and retention, UTC date and time for the history.
const char* kVersion1 = R"(
CREATE TABLE tblcontrol (
    dockey varchar PRIMARY KEY,
    kind varchar NOT NULL DEFAULT 'Document',
    revision varchar NOT NULL DEFAULT '',
    status varchar NOT NULL DEFAULT 'Approved',
    owner varchar NOT NULL DEFAULT '',
    approvedby varchar NOT NULL DEFAULT '',
    approvedon varchar NOT NULL DEFAULT '',
    approvedhash varchar NOT NULL DEFAULT '',
    reviewmonths integer NOT NULL DEFAULT 0,
    nextreview varchar NOT NULL DEFAULT '',
    retentionmonths integer NOT NULL DEFAULT 0,
    retentionends varchar NOT NULL DEFAULT '',
    issuer varchar NOT NULL DEFAULT '',
    edition varchar NOT NULL DEFAULT '',
    withdrawnreason varchar NOT NULL DEFAULT '');
CREATE INDEX idxcontrolreview ON tblcontrol(status, nextreview);
CREATE TABLE tblcategorycontrol (catkey varchar PRIMARY KEY, reviewmonths integer NOT NULL);
CREATE TABLE tblhistory (
    historyid integer PRIMARY KEY AUTOINCREMENT,
    happened varchar NOT NULL,
    who varchar NOT NULL,
    dockey varchar,
    catkey varchar,
    action varchar NOT NULL,
    oldvalue varchar NOT NULL DEFAULT '',
    newvalue varchar NOT NULL DEFAULT '');
CREATE INDEX idxhistorydoc ON tblhistory(dockey, historyid);
CREATE TRIGGER tblhistory_keep_rows BEFORE UPDATE ON tblhistory
BEGIN SELECT RAISE(ABORT, 'The history cannot be changed'); END;
CREATE TRIGGER tblhistory_keep_all BEFORE DELETE ON tblhistory
BEGIN SELECT RAISE(ABORT, 'The history cannot be changed'); END;
PRAGMA user_version=1;
)";

// Version 2: clauses excluded from the quality management system, with their justification.
const char* kVersion2 = R"(
CREATE TABLE tblexclusion (
    clause varchar PRIMARY KEY,
    justification varchar NOT NULL,
    who varchar NOT NULL,
    happened varchar NOT NULL);
ANALYZE;
PRAGMA user_version=2;
)";

// Version 3: what the lists need to read only the rows they show: the number of documents of each
// category, and the documents of each clause node in reference order (the clause list holds, for
// each element of a document's clause list, its first one, three and five characters: the clause
// nodes whose numbers it starts with). A change to a document's reference, clause list or category
// by any writer leaves its row number in tbllistpending, with the category it leaves where it
// leaves one, through triggers, and the tables are brought up to date before they are read.
const char* kVersion3 = R"(
CREATE INDEX IF NOT EXISTS idxdocumentcat ON tbldocument(catkey, docref);
CREATE INDEX IF NOT EXISTS idxdocumentref ON tbldocument(docref);
CREATE TABLE tbldocumentcount (catkey varchar PRIMARY KEY, documents integer NOT NULL);
CREATE TABLE tblclauselist (clause varchar NOT NULL, docref varchar NOT NULL, docrowid integer NOT NULL,
    PRIMARY KEY(clause, docref, docrowid)) WITHOUT ROWID;
CREATE INDEX idxclauselistdoc ON tblclauselist(docrowid);
CREATE TABLE tbllistpending (docrowid integer, catkey varchar);
INSERT INTO tbllistpending SELECT rowid, NULL FROM tbldocument;
INSERT INTO tbllistpending SELECT DISTINCT NULL, catkey FROM tbldocument;
)";
// ... the derivation of the counts and the clause list, then:
const char* kVersion3End = R"(
CREATE TABLE tblclausecount (clause varchar PRIMARY KEY, documents integer NOT NULL);
INSERT INTO tblclausecount SELECT clause, count(*) FROM tblclauselist GROUP BY clause;
CREATE TRIGGER tblclauselist_count_insert AFTER INSERT ON tblclauselist BEGIN
    INSERT OR IGNORE INTO tblclausecount VALUES(NEW.clause, 0);
    UPDATE tblclausecount SET documents=documents+1 WHERE clause=NEW.clause; END;
CREATE TRIGGER tblclauselist_count_delete AFTER DELETE ON tblclauselist BEGIN
    UPDATE tblclausecount SET documents=documents-1 WHERE clause=OLD.clause; END;
CREATE TRIGGER tbldocument_list_insert AFTER INSERT ON tbldocument BEGIN
    INSERT INTO tbllistpending VALUES(NEW.rowid, NULL); END;
CREATE TRIGGER tbldocument_list_delete AFTER DELETE ON tbldocument BEGIN
    INSERT INTO tbllistpending VALUES(OLD.rowid, OLD.catkey); END;
CREATE TRIGGER tbldocument_list_update AFTER UPDATE OF docref, isoref, catkey ON tbldocument BEGIN
    INSERT INTO tbllistpending VALUES(OLD.rowid, OLD.catkey);
    INSERT INTO tbllistpending VALUES(NEW.rowid, NEW.catkey); END;
ANALYZE;
PRAGMA user_version=3;
)";

// Version 4: each control row names its document's row (docrowid), so that a pass over every
// document in the file's order meets their control rows in that order too, where a search of the
// key index for each document went all over it. The link is kept for rows any writer inserts; a
// reader uses it only once it has found every control row at its document's row. Rows whose document
// is gone (a removal once left them behind) have nothing to link to and go.
const char* kVersion4 = R"(
ALTER TABLE tblcontrol ADD COLUMN docrowid integer;
UPDATE tblcontrol SET docrowid=(SELECT rowid FROM tbldocument d WHERE d.dockey=tblcontrol.dockey);
DELETE FROM tblcontrol WHERE docrowid IS NULL;
CREATE INDEX idxcontroldoc ON tblcontrol(docrowid);
CREATE TRIGGER tblcontrol_link_insert AFTER INSERT ON tblcontrol WHEN NEW.docrowid IS NULL BEGIN
    UPDATE tblcontrol SET docrowid=(SELECT rowid FROM tbldocument d WHERE d.dockey=NEW.dockey)
    WHERE rowid=NEW.rowid; END;
CREATE TRIGGER tblcontrol_link_update AFTER UPDATE OF dockey ON tblcontrol BEGIN
    UPDATE tblcontrol SET docrowid=(SELECT rowid FROM tbldocument d WHERE d.dockey=NEW.dockey)
    WHERE rowid=NEW.rowid; END;
PRAGMA user_version=4;
)";

QByteArray upgrade(int fromVersion)
{
    switch (fromVersion) {
    case 0:
        return kVersion1;
    case 1:
        return kVersion2;
    case 2:
        return QByteArray(kVersion3) + ListTables::Derivation() + kVersion3End;
    default:
        return kVersion4;
    }
}

} // namespace

const char* CatalogueSchema::UpgradeStatements()
{
    static const QByteArray all = upgrade(0) + upgrade(1) + upgrade(2) + upgrade(3);
    return all.constData();
}

namespace {

// The first column of the first row of a query, read quietly; 0 when it cannot be read.
int firstInteger(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    int value = 0;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

} // namespace

int CatalogueSchema::Version(sqlite3* db)
{
    return firstInteger(db, "PRAGMA user_version");
}

bool CatalogueSchema::HasControlTables(sqlite3* db)
{
    return firstInteger(db,
                        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN "
                        "('tblcontrol','tblcategorycontrol','tblhistory','tblexclusion')")
        == 4;
}

bool CatalogueSchema::HasListTables(sqlite3* db)
{
    return firstInteger(db,
                        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN "
                        "('tbldocumentcount','tblclauselist','tbllistpending','tblclausecount')")
        == 4;
}

bool CatalogueSchema::HasControlLinks(sqlite3* db)
{
    return firstInteger(db, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name='idxcontroldoc'") == 1;
}

// Only a sound catalogue is upgraded: another database, or one that has lost its first-run state,
// is left byte for byte as it is for the start-up to tell what is wrong.
bool CatalogueSchema::IsSoundCatalogue(sqlite3* db)
{
    return firstInteger(db,
                        "SELECT (SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN "
                        "('tblcategory','tbldocument','tblinit')) = 3 AND (SELECT count(*) FROM tblinit) > 0")
        == 1;
}

CatalogueSchema::State CatalogueSchema::Upgrade(sqlite3* db, QString& error)
{
    const int version = Version(db);
    if (version > kVersion)
        return State::Newer;
    if (version == kVersion)
        return State::Current;
    if (!IsSoundCatalogue(db))
        return State::NotWritten;
    // All of an upgrade or none of it: a catalogue is never left between two versions.
    char* message = nullptr;
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, &message);
    for (int step = version; rc == SQLITE_OK && step < kVersion; ++step)
        rc = sqlite3_exec(db, upgrade(step).constData(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        return State::Upgraded;
    error = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    if (!sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return State::NotWritten;
}
