#pragma once

struct sqlite3;

// What the lists read instead of every document: the number of documents of each category, and the
// documents of each clause node in reference order, derived from their clause lists. tbldocument
// stays the truth; a change to a document's reference, clause list or category, by this program or
// another, leaves its row number waiting in tbllistpending (a trigger's one small insert, so that a
// large import pays little), with the category it left where it left one, until the tables are
// brought up to date.
class ListTables
{
public:
    // The statements that count the categories of the documents waiting again, and derive their
    // clause list rows as ClauseMatch matches them: every document with a clause list is under the
    // root node, and each element of its list under the nodes of its first one, three and five
    // characters.
    static const char* Derivation();
    // Brings the tables up to date from the documents waiting, in one transaction. Quiet: false where
    // they are not there or cannot be written now (read-only, locked); the caller then reads
    // tbldocument itself.
    static bool BringUpToDate(sqlite3* db);
};
