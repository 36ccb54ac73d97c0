#pragma once

#include <QString>

// Opens a file in the application the desktop associates with it and tells a failure in words.
// It neither waits for the application nor checks the file beforehand.
void ShellOpenFile(const QString& path);

// The words for a shell code; the empty text for the codes that are not told.
QString ShellOpenMessage(int code);
