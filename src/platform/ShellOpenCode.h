#pragma once

#include <QString>
#include <functional>

// Shell codes, as the shell's open operation reports them.
namespace ShellCode {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int BadAssociation = 27;
constexpr int NoAssociation = 31;
constexpr int Success = 33;
} // namespace ShellCode

// Told the shell's code when the opener, already reported as started, fails after all.
using LateOpenFailure = std::function<void(int code)>;

// Opens a file in the desktop's associated application through xdg-open and maps what goes wrong
// to the shell's codes: missing file 2, missing folder 3, a file or folder it may not read 5, an
// application named for the type but not installed 27, no application for the type 31. Above 32
// means the opener was started; it is not waited for, and an application that then fails (27) is
// told to lateFailure from the event loop.
int ShellOpenCode(const QString& path, const LateOpenFailure& lateFailure = {});

// Whether the desktop has an application for the file's type or one of its parent types: Success,
// BadAssociation or NoAssociation.
int ApplicationCode(const QString& path);
