#pragma once

#include <QString>

// Shell codes, as the shell's open operation reports them.
namespace ShellCode {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int NoAssociation = 31;
constexpr int Success = 33;
} // namespace ShellCode

// Opens a file in the desktop's associated application (xdg-open behind QDesktopServices) and
// maps what goes wrong to the shell's codes: missing file 2, missing folder 3, unreadable file 5,
// no application for the type 31. Above 32 means the application was started.
int ShellOpenCode(const QString& path);

// True when the desktop names an application for the file's type or one of its parent types.
bool HasAssociatedApplication(const QString& path);
