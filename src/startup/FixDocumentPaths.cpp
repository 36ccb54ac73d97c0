#include "startup/frmSplash.h"

#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/ProgramFolder.h"
#include "storage/Statements.h"
#include "storage/sqlDB.h"
#include <QCoreApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTimer>

namespace {

// A file name is the record's reference followed by a dot and a three-letter extension.
constexpr int kExtensionLength = 4;

bool fixOne(const QString& folder, const QString& name)
{
    // Too short to hold a reference and an extension: no record can match it.
    if (name.size() < kExtensionLength)
        return true;
    return gDB->Execute(Sql::UpdateDocumentPath(folder, name.chopped(kExtensionLength), name.right(kExtensionLength)));
}

} // namespace

// Points the delivered records at the files of the documents folder: each plain file updates the
// records whose reference is its name without the extension. One transaction keeps a thousand
// files quick and makes the fix-up all or nothing: with every value escaped, a refused statement
// means the catalogue refuses all of them (read-only, locked, full), so the first refusal is told
// once and ends the fix-up, which then runs again at the next start.
bool frmSplash::FixDocumentPaths()
{
    m_fixing = true;
    HourGlass hourglass;
    Timer1->start();
    const auto done = qScopeGuard([&] {
        Timer1->stop();
        m_fixing = false;
    });
    if (!gDB->Execute(Sql::BeginTransaction()))
        return false;
    bool fixed = false;
    Trap("SPLASH2", [&] {
        const QString folder = ProgramFolder() + QStringLiteral("/documents/");
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
        for (const QString& name : names) {
            if (!fixOne(folder, name))
                return;
            QCoreApplication::processEvents();
        }
        fixed = true;
    });
    if (fixed && gDB->Execute(Sql::CommitTransaction()))
        return true;
    gDB->RollBack();
    return false;
}
