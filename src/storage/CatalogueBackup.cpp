#include "storage/Catalogue.h"

#include "platform/AppError.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <filesystem>
#include <sqlite3.h>

namespace {

// Copies every page of source into the database file at path in one step, so the copy is one
// consistent state of the catalogue.
void copyPages(sqlite3* source, const QString& path)
{
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &copy, SQLITE_OPEN_READWRITE, nullptr);
    // The copy is a temporary file until it is renamed into place: a journal beside it would only
    // be one more file to leave behind when the copy is interrupted.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(copy, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        // One step over all pages; a catalogue locked by another program has already been waited
        // for by the connection's busy timeout.
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
        rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(copy);
        if (backup && sqlite3_backup_finish(backup) == SQLITE_OK && rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    const QString reason
        = QString::fromUtf8(copy && sqlite3_errcode(copy) != SQLITE_OK ? sqlite3_errmsg(copy) : sqlite3_errstr(rc));
    sqlite3_close(copy);
    if (rc != SQLITE_OK)
        throw AppError(reason);
}

// A copy cut short by the end of the program leaves its temporary file (and, from older versions,
// a journal) beside the target; the next backup there clears them away.
void removeLeftovers(const QFileInfo& target)
{
    const QRegularExpression partialName(QStringLiteral("^\\.") + QRegularExpression::escape(target.fileName())
                                         + QStringLiteral("\\.[A-Za-z0-9]{6}(-journal)?$"));
    const QDir folder(target.absolutePath());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (partialName.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

} // namespace

bool Catalogue::IsCatalogueWorkFile(const QString& path) const
{
    const QFileInfo target(path);
    const QFileInfo catalogue(FilePath());
    const QString folder = QFileInfo(target.absolutePath()).canonicalFilePath();
    if (folder.isEmpty() || folder != QFileInfo(catalogue.absolutePath()).canonicalFilePath())
        return false;
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        if (target.fileName() == catalogue.fileName() + QLatin1String(suffix))
            return true;
    }
    return false;
}

bool Catalogue::IsCatalogueFile(const QString& path) const
{
    const QFileInfo target(path);
    const QFileInfo catalogue(FilePath());
    if (target.exists() && catalogue.exists())
        return target.canonicalFilePath() == catalogue.canonicalFilePath();
    return target.absoluteFilePath() == catalogue.absoluteFilePath();
}

void Catalogue::Backup(const QString& target) const
{
    sqlite3* source = SQLiteConnection(m_db->db());
    if (!source)
        throw AppError(QStringLiteral("No catalogue is open"));
    if (IsCatalogueFile(target))
        throw AppError(QStringLiteral("The catalogue cannot be copied onto itself"));
    const QFileInfo info(target);
    if (info.isDir())
        throw AppError(QStringLiteral("'") + target + QStringLiteral("' is a folder"));
    if (IsCatalogueWorkFile(target))
        throw AppError(QStringLiteral("The catalogue's journal cannot be a backup"));
    removeLeftovers(info);
    // The temporary file removes itself unless the rename has taken it into place.
    QTemporaryFile partial(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!partial.open())
        throw AppError(partial.errorString());
    partial.close();
    copyPages(source, partial.fileName());
    partial.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(partial.fileName()).toStdString(),
                            QFile::encodeName(target).toStdString(), error);
    if (error)
        throw AppError(QString::fromLocal8Bit(error.message().c_str()));
    partial.setAutoRemove(false);
}
