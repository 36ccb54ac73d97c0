#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

// Keys, quote handling and the catalogue's text rules.

using GuidBytes = std::array<uint8_t, 16>;
// Fills the 16 bytes of a new identifier; false when none can be made.
using GuidSource = std::function<bool(GuidBytes&)>;

// A new 36-character key, upper-case hexadecimal in the 8-4-4-4-12 pattern, the digits in the
// order of the identifier's bytes. Shows "Error while creating GUID!" and gives "" on failure.
QString GetGUID();
// count new keys at once, in increasing order; none when one cannot be made (told as by GetGUID).
QStringList GetGUIDs(int count);
// Tests put in a generator of their own; an empty one restores the system's random source.
void SetGuidSource(GuidSource source);
// The key text of 16 given bytes.
QString FormatGuid(const GuidBytes& bytes);

// Removes every single and every double quote: category names are kept free of them.
QString StripQuotes(const QString& text);

// A text value ready to stand between single quotes in a statement: its quotes doubled.
QString SqlText(const QString& text);
