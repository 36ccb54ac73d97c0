#pragma once

#include <QString>

// The folder the program lives in, beside its catalogue, documents, help and temp folders.
// No trailing separator.
QString ProgramFolder();
// Tests and tools point the program at another folder; the empty text restores the real one.
void SetProgramFolder(const QString& folder);
