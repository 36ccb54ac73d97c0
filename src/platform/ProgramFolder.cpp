#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_folder;
}

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
