#pragma once

#include <QString>

// The file of the catalogue that is open on the shared connection.
QString CatalogueFile();

// True when path names the open catalogue file itself (also through another spelling or a link).
bool IsCatalogueFile(const QString& path);

// True when path names a file the engine keeps beside the open catalogue (its journal, WAL or
// shared-memory file): the engine would delete or adopt a backup written there.
bool IsCatalogueWorkFile(const QString& path);

// Writes a consistent copy of the open catalogue to target through SQLite's online backup. The
// copy is made in a temporary file beside the target and renamed into place, so the target is
// either the whole copy or as it was before. An existing target is replaced. Throws AppError with
// the reason on failure, and refuses the catalogue file itself.
void BackupCatalogue(const QString& target);
