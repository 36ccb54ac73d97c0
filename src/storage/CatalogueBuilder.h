#pragma once

#include <QString>
#include <QStringList>

// Makes a fresh catalogue file: the three tables, the ten categories, the first-run flag at 0 and
// one record per template document listed in the seed file (tab-separated: docref, doctitle,
// category, isoref, file, after a heading line). A record's docpath holds its file name alone
// until the first run points it at the installed documents folder.
class CatalogueBuilder
{
public:
    static const QStringList& FreshCategories();

    // Writes the catalogue at dbPath; an existing file is kept unless overwrite is set.
    // Returns false with a description in error when it could not.
    static bool Build(const QString& seedPath, const QString& dbPath, bool overwrite, QString& error);
};
