#pragma once

#include <QString>

struct sqlite3;

// The catalogue's tables beyond the three the program began with, and their upgrades. The schema
// version (PRAGMA user_version) orders the upgrades; each runs in one transaction on open. The
// three first tables keep their columns, so older tools still read the catalogue.
class CatalogueSchema
{
public:
    // The version this program writes.
    static constexpr int kVersion = 4;

    enum class State
    {
        Current,
        Upgraded,
        NotWritten,
        Newer
    };

    // Brings the catalogue up to kVersion. Quiet: a catalogue that cannot be written (read-only,
    // locked) stays as it is and reports NotWritten; a newer one is left alone and reports Newer.
    static State Upgrade(sqlite3* db, QString& error);
    // The statements of the upgrade from version 0, which Upgrade runs inside one transaction.
    static const char* UpgradeStatements();
    static int Version(sqlite3* db);
    static bool IsSoundCatalogue(sqlite3* db);
    // Whether the control tables are there to be read.
    static bool HasControlTables(sqlite3* db);
    // Whether control rows name their document's row, to be read in the file's order.
    static bool HasControlLinks(sqlite3* db);
    // Whether the document counts and the clause list are there to be read.
    static bool HasListTables(sqlite3* db);
};
