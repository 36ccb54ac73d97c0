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

void fixOne(const QString& folder, const QString& name)
{
    // Too short to hold a reference and an extension: no record can match it.
    if (name.size() < kExtensionLength)
        return;
    gDB->Execute(Sql::UpdateDocumentPath(folder, name.chopped(kExtensionLength), name.right(kExtensionLength)));
}

} // namespace

// Points the delivered records at the files of the documents folder: each plain file updates the
// records whose reference is its name without the extension. One transaction keeps a thousand
// files quick; a statement that fails is told by Execute and the others still go in.
void frmSplash::FixDocumentPaths()
{
    m_fixing = true;
    HourGlass hourglass;
    Timer1->start();
    const auto done = qScopeGuard([&] {
        Timer1->stop();
        m_fixing = false;
    });
    const bool batched = gDB->Execute(Sql::BeginTransaction());
    Trap("SPLASH2", [&] {
        const QString folder = ProgramFolder() + QStringLiteral("/documents/");
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
        for (const QString& name : names) {
            fixOne(folder, name);
            QCoreApplication::processEvents();
        }
    });
    // What was done stays done, also after a failure.
    if (batched && !gDB->Execute(Sql::CommitTransaction()))
        gDB->Execute(Sql::RollbackTransaction());
}
