// Database, Backup: a consistent copy of the open catalogue, written whole or not at all, never onto
// the catalogue itself; and the save dialog that asks before an existing file is replaced.

#include "MainWindowFixture.h"
#include "platform/QtPlatformUi.h"
#include "storage/Catalogue.h"
#include "storage/sqlDB.h"
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <sqlite3.h>

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString oldCopy(const QTemporaryDir& away)
{
    QFile old(away.filePath("backup.db"));
    return old.open(QIODevice::WriteOnly) && old.write("last month's copy") ? old.fileName() : QString();
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    // The scripted dialog hands back a name the user has already agreed to replace.
    void copyIsTheWholeCatalogueOrNothingAndNeverTheCatalogueItself()
    {
        MainWindowFixture f;
        QTemporaryDir away;
        const QString target = oldCopy(away);
        f.w->mnuDatabaseBackup_Click(); // cancelled: nothing written, nothing shown
        QCOMPARE(f.ui.filtersShown, QStringList {QStringLiteral("*.*|*.*")});
        // Another program holds the catalogue locked until the copy gives up half-way.
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(f.folder.dbPath().toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        f.ui.fileAnswers = {target};
        f.w->mnuDatabaseBackup_Click();
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(f.ui.prompts(), QStringList {"Cannot write the backup '" + target + "'\r\ndatabase is locked"});
        QCOMPARE(f.ui.boxes[0].style, 16);
        QCOMPARE(contents(target), QByteArray("last month's copy"));
        QCOMPARE(entries(away.path()), QStringList {QStringLiteral("backup.db")});
        QVERIFY(Catalogue::Current().Connection().Execute(
            QStringLiteral("UPDATE tbldocument SET doctitle='Revised' WHERE docref='QP01'")));
        f.ui.fileAnswers = {target};
        f.w->mnuDatabaseBackup->trigger();
        QCOMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(DirectValue(target, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        for (const QString table : {"tblcategory", "tbldocument", "tblinit"}) // every row, as it stands now
            QCOMPARE(DirectQuery(target, "SELECT * FROM " + table + " ORDER BY 1"),
                     DirectQuery(f.folder.dbPath(), "SELECT * FROM " + table + " ORDER BY 1"));
        QCOMPARE(entries(away.path()), QStringList {QStringLiteral("backup.db")});
        // The catalogue itself, also through a link, is refused and left as it is.
        QFile::link(f.folder.dbPath(), f.folder.filePath(QStringLiteral("link.db")));
        const QByteArray before = contents(f.folder.dbPath());
        const QStringList files = entries(f.folder.path());
        f.ui.fileAnswers = {f.folder.dbPath(), f.folder.filePath(QStringLiteral("link.db"))};
        f.w->mnuDatabaseBackup_Click();
        f.w->mnuDatabaseBackup_Click();
        QCOMPARE(f.ui.prompts().mid(1),
                 QStringList(2, "The catalogue cannot be backed up onto itself. Choose another file."));
        QVERIFY(f.ui.boxes[2].style == 16 && f.ui.boxes[2].title == QStringLiteral("Cadrelle"));
        QCOMPARE(contents(f.folder.dbPath()), before);
        QCOMPARE(entries(f.folder.path()), files);
        f.clickCategory("Forms"); // still open and working
        QCOMPARE(f.listed().size(), 5);
    }

    // The engine deletes or adopts files named like the catalogue's journal: no backup goes there.
    // What an interrupted copy left beside a target is cleared by the next copy there.
    void journalNamesAreRefusedAndLeftoversCleared()
    {
        MainWindowFixture f;
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            f.ui.fileAnswers = {f.folder.dbPath() + QLatin1String(suffix)};
            f.w->mnuDatabaseBackup_Click();
            QVERIFY(!QFile::exists(f.folder.dbPath() + QLatin1String(suffix)));
        }
        QCOMPARE(f.ui.prompts(),
                 QStringList(3,
                             "The catalogue's journal files cannot hold a backup: the database "
                             "engine deletes them. Choose another file."));
        QTemporaryDir away;
        const QStringList leftovers = {".copy.db.AbC123", ".copy.db.x1Y2z3-journal"};
        for (const QString& name : leftovers)
            QFile(away.filePath(name)).open(QIODevice::WriteOnly);
        QFile(away.filePath(".copy.db.keep")).open(QIODevice::WriteOnly); // not a name the copy makes
        f.ui.fileAnswers = {away.filePath("copy.db")};
        f.w->mnuDatabaseBackup_Click();
        QCOMPARE(entries(away.path()), (QStringList {".copy.db.keep", "copy.db"}));
        QCOMPARE(f.ui.boxes.size(), 3);
    }

    // The program's own save dialog: No to its question leaves it open, Yes chooses the file.
    void saveDialogAsksBeforeAnExistingFileIsChosen()
    {
        TestFolder settings; // the dialog remembers its state in the settings store
        QTemporaryDir away;
        const QString existing = oldCopy(away);
        QStringList met; // what the user meets, in order
        QList<QWidget*> dialogs;
        QTimer user; // answers each modal window once it shows, after the handler that opened it returns
        connect(&user, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                met << box->text();
                QTimer::singleShot(0, box->button(met.size() < 3 ? QMessageBox::No : QMessageBox::Yes),
                                   &QAbstractButton::click);
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                met << "dialog";
                dialogs << dialog;
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(existing); // typed
                const bool lost = met.size() > 3; // a dialog that does not behave is closed, and the test fails
                QTimer::singleShot(0, dialog,
                                   [d = static_cast<QDialog*>(dialog), lost] { lost ? d->reject() : d->accept(); });
            }
        });
        user.start(10);
        const QString chosen = QtPlatformUi().SaveFileName(QStringLiteral("*.*|*.*"));
        const QString question = QStringLiteral("backup.db already exists.\nDo you want to replace it?");
        QCOMPARE(met, (QStringList {"dialog", question, "dialog", question}));
        QCOMPARE(dialogs[0], dialogs[1]);
        QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
