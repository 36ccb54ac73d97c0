#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

QString g_folder;

const QString kCatalogueName = QStringLiteral("cadrelle.db");

// The reason the last system call failed, as the system words it.
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Whether this process may make files in the folder, judged by its effective rights as the file system will
// judge them.
bool writable(const QString& folder)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Copies a delivered file the user may then change: the copy is the user's to write, whatever the installed
// file's mode.
bool copyForUser(const QString& source, const QString& target)
{
    if (!QFile::copy(source, target))
        return false;
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

bool holdsCatalogue(const QString& folder)
{
    return QFileInfo(folder + QLatin1Char('/') + kCatalogueName).isFile();
}

} // namespace

QString ProgramFolder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString& folder)
{
    g_folder = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

bool IsPortable()
{
    const QString folder = ProgramFolder();
    if (holdsCatalogue(folder))
        return writable(folder);
    return !holdsCatalogue(InstalledFolder());
}

QString DataFolder()
{
    if (IsPortable())
        return ProgramFolder();
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : QDir::cleanPath(base + QStringLiteral("/Cadrelle"));
}

QString InstalledFolder()
{
    const QString share = QDir::cleanPath(ProgramFolder() + QStringLiteral("/../share/cadrelle"));
    return holdsCatalogue(share) ? share : ProgramFolder();
}

QString HelpFolder()
{
    return (IsPortable() ? ProgramFolder() : InstalledFolder()) + QStringLiteral("/help");
}

bool PrepareDataFolder(QString& problem)
{
    if (IsPortable())
        return true;
    const QString folder = DataFolder();
    const auto fail = [&](const QString& what) {
        problem = QStringLiteral("The data folder '%1' %2.").arg(folder, what);
        return false;
    };
    if (folder.isEmpty()) {
        problem = QStringLiteral("The data folder cannot be found: neither XDG_DATA_HOME nor HOME names a folder.");
        return false;
    }
    if (folder.contains(QChar::ReplacementCharacter))
        return fail(QStringLiteral("has a name that is not valid UTF-8, so it cannot be found"));
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return fail(QStringLiteral("cannot be made: a file of that name is in the way"));
    std::error_code made;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), made);
    if (made)
        return fail(QStringLiteral("cannot be made: ") + QString::fromLocal8Bit(made.message()));
    if (!writable(folder))
        return fail(QStringLiteral("cannot be written: ") + systemError());
    for (const char* name : {"documents", "temp"})
        if (!QDir(folder).mkpath(QString::fromLatin1(name)))
            return fail(QStringLiteral("cannot be filled: the folder %1 cannot be made").arg(QLatin1String(name)));

    const QString catalogue = folder + QLatin1Char('/') + kCatalogueName;
    if (QFileInfo::exists(catalogue))
        return true;
    const QString source = InstalledFolder();
    const QDir documents(source + QStringLiteral("/documents"));
    for (const QString& name : documents.entryList(QDir::Files)) {
        const QString target = folder + QStringLiteral("/documents/") + name;
        if (!QFileInfo::exists(target) && !copyForUser(documents.filePath(name), target))
            return fail(QStringLiteral("cannot be filled: documents/%1 cannot be copied there").arg(name));
    }
    const QString partial = catalogue + QStringLiteral(".part");
    QFile::remove(partial);
    if (!copyForUser(source + QLatin1Char('/') + kCatalogueName, partial) || !QFile::rename(partial, catalogue)) {
        QFile::remove(partial);
        return fail(QStringLiteral("cannot be filled: the catalogue cannot be copied there"));
    }
    return true;
}
