#include "support/TestFolder.h"

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
}

TestFolder::~TestFolder()
{
    if (gDB)
        gDB->CloseDatabase();
    gDB.reset();
    SetProgramFolder(QString());
}

QString TestFolder::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString full = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(full));
    file.write(content);
    return full;
}

void TestFolder::openCatalogue() const
{
    gDB = std::make_unique<sqlDB>();
    if (!gDB->OpenDatabase(dbPath(), false))
        qFatal("cannot open the test catalogue");
}
