#pragma once

#include <QString>

// Shell codes, as the shell's open operation reports them.
namespace ShellCode {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int BadAssociation = 27;
constexpr int NoAssociation = 31;
constexpr int Success = 33;
} // namespace ShellCode

// Opens a file in the desktop's associated application through xdg-open and maps what goes wrong
// to the shell's codes: missing file 2, missing folder 3, a file or folder it may not read 5, an
// application named for the type but not installed or failing 27, no application for the type 31.
// Above 32 means the application was started.
int ShellOpenCode(const QString& path);

// Whether the desktop has an application for the file's type or one of its parent types: Success,
// BadAssociation or NoAssociation.
int ApplicationCode(const QString& path);
