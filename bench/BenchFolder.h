#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder in a temporary place, laid out as the installed one: a fresh catalogue made by
// the catalogue code from the delivered seed data, and the documents, help, temp and settings
// folders. Removed with the object.
class BenchFolder
{
public:
    BenchFolder();

    // Where the folders are made (the system's temporary folder unless set), and whether they
    // stay after the run, for a closer look with sqlite3 or a profiler.
    static void SetPlace(const QString& parent, bool keep);
    static bool Keeps();

    bool isValid() const { return m_valid; }
    const QString& error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    QString dbPath() const { return m_dir.filePath(QStringLiteral("cadrelle.db")); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }
    // Makes the file name a fresh copy of the file from, both in the folder.
    bool FreshCopy(const QString& from, const QString& name) const;

    // Points the program (its folder and its settings store) at a folder laid out like this one.
    static void Use(const QString& folder);
    void use() const { Use(path()); }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    QString m_error;
};
