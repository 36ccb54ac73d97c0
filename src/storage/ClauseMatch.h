#pragma once

#include <QString>

class Variant;

// The text of the clause tree's root node.
inline const QString kClauseRootText = QStringLiteral("Sections");

// Whether a document with the clause list isoref is listed under the clause node whose text is
// nodeText. The root lists every document that has a non-empty list; a clause node of 1, 3 or 5
// characters lists a document when one comma-separated element of its list begins with the node's
// text, character for character (blanks and other separators are not cleaned away). Null lists
// nowhere.
bool ClauseMatch(const QString& nodeText, const Variant& isoref);
