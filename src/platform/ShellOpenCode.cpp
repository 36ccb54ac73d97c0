#include "platform/ShellOpenCode.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace {

QString defaultApplicationFor(const QString& mimeType)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(5000))
        return QString();
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

} // namespace

bool HasAssociatedApplication(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return !defaultApplicationFor(QStringLiteral("inode/directory")).isEmpty();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    QStringList candidates{type.name()};
    candidates << type.allAncestors();
    for (const QString& name : candidates) {
        if (!defaultApplicationFor(name).isEmpty())
            return true;
    }
    return false;
}

int ShellOpenCode(const QString& path)
{
    if (path.isEmpty())
        return ShellCode::FileNotFound;
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return ShellCode::PathNotFound;
    if (!info.exists())
        return ShellCode::FileNotFound;
    if (!info.isReadable())
        return ShellCode::AccessDenied;
    if (!HasAssociatedApplication(path))
        return ShellCode::NoAssociation;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? ShellCode::Success
                                                                                   : ShellCode::NoAssociation;
}
