#include "mainwindow/frmMain.h"

#include "dialogs/ImportDialog.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/ShellOpenFile.h"
#include "reports/MasterListPage.h"
#include "reports/modReport.h"
#include "storage/Catalogue.h"
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QStandardPaths>

// The register from the window: the master list, and the register out to and in from CSV.

void frmMain::buildRegisterMenus()
{
    auto addItem = [this](const char* menuName, const char* name, const char* caption, QAction* before) {
        QMenu* menu = menuBar()->findChild<QMenu*>(QString::fromLatin1(menuName));
        auto* item = new QAction(QString::fromLatin1(caption), menu);
        item->setObjectName(QString::fromLatin1(name));
        menu->insertAction(before, item);
        return item;
    };
    // Exit keeps its place at the top of the File menu, where users have always found it.
    menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"))->addSeparator();
    mnuFileExport = addItem("mnuFile", "mnuFileExport", "Export register...", nullptr);
    mnuFileImport = addItem("mnuFile", "mnuFileImport", "Import register...", nullptr);
    mnuReportMasterList = addItem("mnuReport", "mnuReportMasterList", "Master list", nullptr);
    connect(mnuFileExport, &QAction::triggered, this, &frmMain::mnuFileExport_Click);
    connect(mnuFileImport, &QAction::triggered, this, &frmMain::mnuFileImport_Click);
    connect(mnuReportMasterList, &QAction::triggered, this, &frmMain::mnuReportMasterList_Click);
}

// The page is written as the register is read; a failure of either leaves no page behind.
void frmMain::mnuReportMasterList_Click()
{
    Trap("REGISTER1", [&] {
        const HourGlass wait;
        Catalogue& catalogue = Catalogue::Current();
        const bool withObsolete = catalogue.IncludeObsolete();
        const QString path = NewReportPagePath();
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw AppError(CannotWrite(path, file));
        const auto rows = [&](const std::function<void(const QStringList&)>& take) {
            return catalogue.ForEachRegisterRow(
                take, withObsolete ? Catalogue::RegisterPart::CurrentThenObsolete : Catalogue::RegisterPart::Current);
        };
        if (!WriteMasterListPage(file, rows, QFileInfo(catalogue.FilePath()).fileName(), QDateTime::currentDateTime(),
                                 withObsolete))
            return;
        if (!file.commit())
            throw AppError(CannotWrite(path, file));
        ShellOpenFile(path);
    });
}

void frmMain::mnuFileExport_Click()
{
    Trap("REGISTER2", [&] {
        const QString path = Ui().SaveFileName(
            QStringLiteral("Register (*.csv)|*.csv"),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/cadrelle-register-")
                + QDate::currentDate().toString(Qt::ISODate) + QStringLiteral(".csv"));
        if (path.isEmpty())
            return;
        const HourGlass wait;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw AppError(CannotWrite(path, file));
        int rows = 0;
        if (!Catalogue::Current().WriteRegister(file, rows))
            return;
        if (!file.commit())
            throw AppError(CannotWrite(path, file));
        MsgBox(QStringLiteral("The register of %1 documents was written to '%2'.").arg(rows).arg(path));
    });
}

void frmMain::mnuFileImport_Click()
{
    Trap("REGISTER3", [&] {
        const QString path = Ui().OpenFileName(QStringLiteral("Register (*.csv)|*.csv|All Files *.*|*.*"));
        if (path.isEmpty())
            return;
        RegisterCsv::Table table;
        {
            const HourGlass wait;
            table = RegisterCsv::Read(path);
        }
        if (!table.error.isEmpty()) {
            MsgBox(QStringLiteral("'") + path + QStringLiteral("' cannot be imported: ") + table.error
                       + QLatin1Char('.'),
                   MsgStyle::Critical);
            return;
        }
        ImportDialog dialog(this);
        dialog.Init(path, table);
        if (Ui().ShowModal(dialog) != QDialog::Accepted)
            return;
        LoadCategories();
        RefreshCoverage();
    });
}
