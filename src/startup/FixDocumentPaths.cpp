#include "startup/frmSplash.h"

#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/ProgramFolder.h"
#include "storage/Catalogue.h"
#include <QCoreApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTimer>

// Points the delivered records at the files of the documents folder: each plain file updates the
// record whose reference is its name without the extension. One transaction keeps a thousand files
// quick and makes the fix-up all or nothing: the first refusal is told once and ends the fix-up,
// which then runs again at the next start. The window repaints and the label blinks after each file.
bool frmSplash::FixDocumentPaths()
{
    m_fixing = true;
    HourGlass hourglass;
    Timer1->start();
    const auto done = qScopeGuard([&] {
        Timer1->stop();
        m_fixing = false;
    });
    bool fixed = false;
    Trap("SPLASH2", [&] {
        const QString folder = DataFolder() + QStringLiteral("/documents/");
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
        fixed = Catalogue::Current().FixDocumentPaths(folder, names, [] { QCoreApplication::processEvents(); });
    });
    return fixed;
}
