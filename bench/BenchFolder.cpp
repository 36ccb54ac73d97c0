#include "BenchFolder.h"

#include <QFile>

#include "platform/ProgramFolder.h"
#include "storage/CatalogueBuilder.h"
#include <QDir>
#include <QSettings>

namespace {
QString g_parent;
bool g_keep = false;
} // namespace

void BenchFolder::SetPlace(const QString& parent, bool keep)
{
    g_parent = parent;
    g_keep = keep;
}

bool BenchFolder::Keeps()
{
    return g_keep;
}

BenchFolder::BenchFolder()
    : m_dir(g_parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/cadrelle-bench-XXXXXX")
                               : g_parent + QStringLiteral("/cadrelle-bench-XXXXXX"))
{
    m_dir.setAutoRemove(!g_keep);
    if (!m_dir.isValid()) {
        m_error = m_dir.errorString();
        return;
    }
    QDir dir(m_dir.path());
    for (const char* sub : {"documents", "help", "temp", "settings"})
        dir.mkpath(QString::fromLatin1(sub));
    m_valid = CatalogueBuilder::Build(QStringLiteral(CADRELLE_SEED_FILE), dbPath(), true, m_error);
}

void BenchFolder::Use(const QString& folder)
{
    SetProgramFolder(folder);
    // The column widths the main window keeps go here, not into the user's own settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder + QStringLiteral("/settings"));
}

bool BenchFolder::FreshCopy(const QString& from, const QString& name) const
{
    QFile::remove(filePath(name));
    return QFile::copy(filePath(from), filePath(name));
}
