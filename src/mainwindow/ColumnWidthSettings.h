#pragma once

// The document list's column widths in the settings store: section "Settings", keys "C2Width" to
// "C5Width" for the list's columns 1 to 4, in twips, written in the user's number format.
class ColumnWidthSettings
{
public:
    static constexpr int kFirstColumn = 1;
    static constexpr int kLastColumn = 4;

    // Whether widths were saved; only the first column's key is looked for.
    static bool Saved();
    // The saved width of a column. Fails as "Type mismatch" when it is not a number, and as
    // "Invalid property value" when it is not a usable width.
    static double Width(int column);
    static void Save(int column, double twips);
};
