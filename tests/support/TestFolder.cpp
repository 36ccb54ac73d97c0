#include "support/TestFolder.h"
#include "storage/Catalogue.h"

#include "platform/ProgramFolder.h"
#include "storage/sqlDB.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

TestFolder::TestFolder()
{
    QDir dir(m_dir.path());
    for (const char* folder : {"documents", "help", "temp", "settings"})
        dir.mkpath(QString::fromLatin1(folder));
    if (!QFile::copy(QStringLiteral(CADRELLE_TEST_CATALOGUE), dbPath()))
        qFatal("cannot copy the catalogue made by the catalogue tool: %s", CADRELLE_TEST_CATALOGUE);
    QFile::setPermissions(dbPath(), QFile::ReadOwner | QFile::WriteOwner);
    SetProgramFolder(m_dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    // A program that leaves its folder for a data folder makes it here, never in the real home.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("xdg-data"))));
}

TestFolder::~TestFolder()
{
    Catalogue::Close();
    SetProgramFolder(QString());
}

QString TestFolder::writeFile(const QString& relative, const QByteArray& content) const
{
    return write(m_dir.filePath(relative), content);
}

QString TestFolder::write(const QString& full, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(full));
    file.write(content);
    return full;
}

void TestFolder::openCatalogue() const
{
    if (!Catalogue::Open(dbPath()))
        qFatal("cannot open the test catalogue");
}
