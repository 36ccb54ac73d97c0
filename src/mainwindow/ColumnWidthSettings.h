#pragma once

#include <QList>

// The document list's column widths in the settings store: section "Settings", keys "C2Width" to
// "C5Width" for the list's columns 1 to 4 and "C6Width" to "C8Width" for the control columns 5 to 7,
// in twips, written in the user's number format; and the columns the user hid.
class ColumnWidthSettings
{
public:
    static constexpr int kFirstColumn = 1;
    static constexpr int kLastColumn = 4;
    static constexpr int kLastControlColumn = 7;

    // Whether widths were saved: for the first four columns only the first one's key is looked
    // for; each control column has its own.
    static bool Saved(int column = kFirstColumn);
    static QList<int> HiddenColumns();
    static void SaveHiddenColumns(const QList<int>& columns);
    // The saved width of a column. Fails as "Type mismatch" when it is not a number, and as
    // "Invalid property value" when it is not a usable width.
    static double Width(int column);
    static void Save(int column, double twips);
};
