// Database, Backup: a consistent copy of the open catalogue, written whole or not at all, never onto
// the catalogue itself; and the save dialog that asks before an existing file is replaced.

#include "MainWindowFixture.h"
#include "platform/QtPlatformUi.h"
#include "storage/sqlDB.h"
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <sqlite3.h>

namespace {

const QString kRefused = QStringLiteral("The catalogue cannot be backed up onto itself. Choose another file.");

// Every row of the catalogue, in one comparable list.
QList<QStringList> everything(const QString& dbPath)
{
    return DirectQuery(dbPath,
                       QStringLiteral("SELECT 'c',catkey,catname,catorder,'' FROM tblcategory UNION ALL "
                                      "SELECT 'd',dockey,docref||doctitle||docpath,catkey,ifnull(isoref,'-') "
                                      "FROM tbldocument UNION ALL SELECT 'i',init,'','','' FROM tblinit "
                                      "ORDER BY 1,2"));
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs action on the next modal widget of type T once it shows.
template <typename T> void whenModal(std::function<void(T*)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (T* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            action(widget);
        }
    });
    poll->start(10);
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    // The scripted dialog hands back a name the user has already agreed to replace.
    void copyIsTheWholeCatalogueAsItStandsNow()
    {
        MainWindowFixture f;
        QTemporaryDir away;
        f.w->mnuDatabaseBackup_Click(); // cancelled: nothing written, nothing shown
        QCOMPARE(f.ui.filtersShown, QStringList {QStringLiteral("*.*|*.*")});
        // A change just made is in the copy too, and an existing file is replaced.
        QVERIFY(gDB->Execute(QStringLiteral("UPDATE tbldocument SET doctitle='Revised' WHERE docref='QP01'")));
        const QString target = away.filePath(QStringLiteral("cadrelle backup.db"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("last month's copy") > 0);
        old.close();
        f.ui.fileAnswers = {target};
        f.w->mnuDatabaseBackup->trigger();
        QVERIFY(f.ui.boxes.isEmpty());
        QCOMPARE(DirectValue(target, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(everything(target), everything(f.folder.dbPath()));
        QCOMPARE(DirectValue(target, QStringLiteral("SELECT doctitle FROM tbldocument WHERE docref='QP01'")),
                 QStringLiteral("Revised"));
        QCOMPARE(entries(away.path()), QStringList {QStringLiteral("cadrelle backup.db")});
    }

    void catalogueItselfIsRefused_data()
    {
        QTest::addColumn<QString>("spelling");
        QTest::newRow("as it is") << "cadrelle.db";
        QTest::newRow("through a link") << "link.db";
    }

    void catalogueItselfIsRefused()
    {
        QFETCH(QString, spelling);
        MainWindowFixture f;
        QFile::link(f.folder.dbPath(), f.folder.filePath(QStringLiteral("link.db")));
        const QByteArray before = contents(f.folder.dbPath());
        const QStringList files = entries(f.folder.path());
        f.ui.fileAnswers = {f.folder.path() + QLatin1Char('/') + spelling};
        f.w->mnuDatabaseBackup_Click();
        QCOMPARE(f.ui.prompts(), QStringList {kRefused});
        QCOMPARE(f.ui.boxes[0].style, 16);
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Cadrelle"));
        QCOMPARE(contents(f.folder.dbPath()), before);
        QCOMPARE(entries(f.folder.path()), files);
        // The catalogue is still open and working.
        f.clickCategory("Forms");
        QCOMPARE(f.listed().size(), 5);
    }

    void failureIsToldAndLeavesTheTargetAsItWas()
    {
        MainWindowFixture f;
        QTemporaryDir away;
        const QString missing = away.filePath(QStringLiteral("no such folder/backup.db"));
        f.ui.fileAnswers = {missing};
        f.w->mnuDatabaseBackup_Click();
        QCOMPARE(f.ui.boxes.size(), 1);
        QVERIFY(f.ui.boxes[0].prompt.startsWith("Cannot write the backup '" + missing + "'\r\n"));
        QCOMPARE(f.ui.boxes[0].style, 16);
        QVERIFY(entries(away.path()).isEmpty());

        // Another program holds the catalogue locked until the copy gives up half-way.
        const QString target = away.filePath(QStringLiteral("backup.db"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last month's copy");
        old.close();
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(f.folder.dbPath().toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        f.ui.fileAnswers = {target};
        f.w->mnuDatabaseBackup_Click();
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(f.ui.boxes.size(), 2);
        QCOMPARE(f.ui.boxes[1].prompt, "Cannot write the backup '" + target + "'\r\ndatabase is locked");
        QCOMPARE(contents(target), QByteArray("last month's copy"));
        QCOMPARE(entries(away.path()), QStringList {QStringLiteral("backup.db")});
    }

    // The program's own save dialog asks before it lets an existing file be chosen.
    void saveDialogAsksBeforeAnExistingFileIsChosen()
    {
        TestFolder settings; // the dialog remembers its state in the settings store
        QTemporaryDir away;
        const QString existing = away.filePath(QStringLiteral("backup.db"));
        QFile(existing).open(QIODevice::WriteOnly);
        QString question;
        QFileDialog* first = nullptr;
        QFileDialog* second = nullptr;
        // Types the name as the user does (the file list may still be loading).
        auto choose = [&existing](QFileDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(existing);
            static_cast<QDialog*>(dialog)->accept();
        };
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            first = dialog;
            whenModal<QMessageBox>([&](QMessageBox* box) {
                question = box->text();
                box->button(QMessageBox::No)->click();
                whenModal<QFileDialog>([&](QFileDialog* again) {
                    second = again;
                    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
                    choose(again);
                });
            });
            choose(dialog);
        });
        // Should the dialogs not behave, they are closed so that the test fails instead of waiting.
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
        watchdog.start(10000);
        QtPlatformUi real;
        const QString chosen = real.SaveFileName(QStringLiteral("*.*|*.*"));
        QCOMPARE(question, QStringLiteral("backup.db already exists.\nDo you want to replace it?"));
        QVERIFY(first && second == first); // No left the dialog open
        QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
