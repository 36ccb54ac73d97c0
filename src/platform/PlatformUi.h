#pragma once

#include <QString>

class QDialog;

// Message box answers and style numbers, as the program's texts use them.
namespace MsgStyle {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int YesNo = 4;
constexpr int Critical = 16;
// The second button is the default, for questions whose first answer cannot be undone.
constexpr int DefaultButton2 = 256;
} // namespace MsgStyle

namespace MsgAnswer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgAnswer

// Every modal interaction with the user or the desktop goes through this one interface, so that
// tests can answer it from a script and see exactly what the user would have seen.
class PlatformUi
{
public:
    virtual ~PlatformUi() = default;

    // A message box; style is the sum of a button set (0, 1, 4), an icon (16) and the default button
    // (256: the second). Returns the answer.
    virtual int MsgBox(const QString& prompt, int style, const QString& title) = 0;
    // A one-line input box, holding defaultText at first; the empty text when cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // The open and save file dialogs; the empty text when cancelled. The save dialog offers the
    // file suggested (a full path; empty: none) and asks before it lets the user choose a file that
    // exists.
    virtual QString OpenFileName(const QString& filter) = 0;
    virtual QString SaveFileName(const QString& filter, const QString& suggested) = 0;
    // A folder to choose, with its prompt; the empty text when cancelled.
    virtual QString FolderName(const QString& prompt) = 0;
    // Shows a dialog modally and returns its result code.
    virtual int ShowModal(QDialog& dialog) = 0;
    // Opens a file in the application the desktop associates with it; returns the shell's code
    // (above 32 on success, 2, 3, 5, 31 ... on failure).
    virtual int ShellOpen(const QString& path) = 0;
};
