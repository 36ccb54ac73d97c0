#include "platform/ShellOpenCode.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kOpenerStartMs = 5000;

QString defaultApplicationFor(const QString& mimeType)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(5000))
        return QString();
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// A desktop file id names a file under an applications folder, with "-" standing for a
// subfolder separator ("kde-foo.desktop" may be "kde/foo.desktop").
QString locateDesktopFile(const QString& id)
{
    QString candidate = id;
    for (;;) {
        const QString found = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, candidate);
        if (!found.isEmpty())
            return found;
        const int dash = candidate.indexOf(QLatin1Char('-'));
        if (dash < 0)
            return QString();
        candidate[dash] = QLatin1Char('/');
    }
}

// The program a desktop file starts: the first word of its Exec line.
QString desktopProgram(const QString& desktopFile)
{
    if (desktopFile.isEmpty())
        return QString();
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QStringLiteral("[Desktop Entry]");
        else if (inEntry && line.startsWith(QStringLiteral("Exec=")))
            return QProcess::splitCommand(line.mid(5)).value(0);
    }
    return QString();
}

bool programInstalled(const QString& program)
{
    if (program.isEmpty())
        return false;
    if (QDir::isAbsolutePath(program))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// What a failed look-up of the path itself means to the shell.
int codeForMissing(const QString& path, int error)
{
    if (error == EACCES || error == EPERM)
        return ShellCode::AccessDenied;
    if (error != ENOENT)
        return ShellCode::PathNotFound; // a file used as a folder, a loop, a name too long
    struct stat folder;
    const QByteArray parent = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::stat(parent.constData(), &folder) == 0)
        return S_ISDIR(folder.st_mode) ? ShellCode::FileNotFound : ShellCode::PathNotFound;
    return errno == EACCES ? ShellCode::AccessDenied : ShellCode::PathNotFound;
}

// xdg-open's exit codes in the shell's terms.
int codeForOpenerExit(QProcess::ExitStatus status, int exitCode)
{
    if (status != QProcess::NormalExit)
        return ShellCode::BadAssociation;
    switch (exitCode) {
    case 0:
        return ShellCode::Success;
    case 2:
        return ShellCode::FileNotFound;
    case 3:
        return ShellCode::NoAssociation; // no method available for the file
    case 5:
        return ShellCode::AccessDenied;
    default:
        return ShellCode::BadAssociation; // the application it chose failed
    }
}

// Hands the file to xdg-open and returns once it runs: xdg-open waits for the application it starts,
// and the window must not wait with it. How it ends is told later, to lateFailure, when it fails.
int openWithDesktop(const QString& path, const LateOpenFailure& lateFailure)
{
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, lateFailure](int exitCode, QProcess::ExitStatus status) {
                         const int code = codeForOpenerExit(status, exitCode);
                         if (code != ShellCode::Success && lateFailure)
                             lateFailure(code);
                         opener->deleteLater();
                     });
    opener->start(QStringLiteral("xdg-open"), {QFileInfo(path).absoluteFilePath()});
    if (!opener->waitForStarted(kOpenerStartMs)) {
        opener->deleteLater();
        return ShellCode::NoAssociation;
    }
    return ShellCode::Success;
}

} // namespace

int ApplicationCode(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QFileInfo(path));
    QStringList candidates {type.name()};
    candidates << type.allAncestors();
    int code = ShellCode::NoAssociation;
    for (const QString& name : candidates) {
        const QString id = defaultApplicationFor(name);
        if (id.isEmpty())
            continue;
        if (programInstalled(desktopProgram(locateDesktopFile(id))))
            return ShellCode::Success;
        code = ShellCode::BadAssociation; // named, but the desktop file or its program is missing
    }
    return code;
}

int ShellOpenCode(const QString& path, const LateOpenFailure& lateFailure)
{
    if (path.isEmpty())
        return ShellCode::FileNotFound;
    const QByteArray native = QFile::encodeName(path);
    struct stat entry;
    if (::stat(native.constData(), &entry) != 0)
        return codeForMissing(path, errno);
    if (::access(native.constData(), R_OK) != 0)
        return ShellCode::AccessDenied;
    const int application = ApplicationCode(path);
    if (application != ShellCode::Success)
        return application;
    return openWithDesktop(path, lateFailure);
}
