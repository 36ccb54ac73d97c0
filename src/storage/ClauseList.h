#pragma once

struct sqlite3;

// The documents of each clause node in reference order, derived from the documents' clause lists:
// a clause click reads its rows on an index instead of matching every clause list. The clause lists
// stay the truth; a change to one, by this program or another, leaves the document's row waiting in
// tblclausepending until the list is brought up to date.
class ClauseList
{
public:
    // The statement that derives the rows of the documents waiting, as ClauseMatch matches them:
    // every document with a clause list is under the root node, and each element of its list under
    // the nodes of its first one, three and five characters.
    static const char* Derivation();
    // Derives the rows of the documents waiting, in one transaction. Quiet: false where the list is
    // not there or cannot be written now (read-only, locked); the caller then matches the clause
    // lists itself.
    static bool BringUpToDate(sqlite3* db);
};
