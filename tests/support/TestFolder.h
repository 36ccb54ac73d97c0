#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder in a temporary place: a copy of the catalogue the catalogue tool made, and the
// empty documents, help and temp folders. The program is pointed at it for its lifetime, and the
// settings store and XDG_DATA_HOME (xdg-data, not made) are moved into it.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();

    QString path() const { return m_dir.path(); }
    QString dbPath() const { return m_dir.filePath(QStringLiteral("cadrelle.db")); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes a file (making its folders) and returns its full path.
    QString writeFile(const QString& relative, const QByteArray& content = "x") const;
    static QString write(const QString& path, const QByteArray& content = "x");
    // Opens the catalogue on the shared connection.
    void openCatalogue() const;

private:
    QTemporaryDir m_dir;
};
