// Opening files in their desktop applications: how real files and folders map to the shell's codes.
// The desktop's associations are a temporary set made here, so no real application is started.

#include "platform/ShellOpenCode.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <grp.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

void writeText(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text);
}

} // namespace

class TestShellOpenCode : public QObject
{
    Q_OBJECT

    QTemporaryDir m_desktop; // the desktop's configuration and data folders
    QTemporaryDir m_files;

    QString applications() const { return m_desktop.filePath(QStringLiteral("data/applications")); }

    // Names the desktop file that opens plain text, as a desktop's defaults list does.
    void setDefaultForText(const QString& desktopId)
    {
        writeText(applications() + QStringLiteral("/defaults.list"),
                  "[Default Applications]\ntext/plain=" + desktopId.toUtf8() + "\n");
    }

    void addDesktopFile(const QString& id, const QString& exec)
    {
        writeText(applications() + QLatin1Char('/') + id,
                  "[Desktop Entry]\nType=Application\nName=Test\nMimeType=text/plain;\nExec=" + exec.toUtf8() + "\n");
    }

    // The code as another user than root sees it: root may read every file.
    int codeAsUnprivilegedUser(const QString& path)
    {
        if (geteuid() != 0)
            return ShellOpenCode(path);
        QProcess probe;
        probe.setChildProcessModifier([] {
            if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
                _exit(99);
        });
        probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--shell-code"), path});
        if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
            return -probe.exitCode();
        return probe.readAllStandardOutput().trimmed().toInt();
    }

private slots:
    void initTestCase()
    {
        // Only this test's folders count; the system's MIME database stays visible.
        QDir(m_desktop.path()).mkpath(QStringLiteral("system"));
        QFile::link(QStringLiteral("/usr/share/mime"), m_desktop.filePath(QStringLiteral("system/mime")));
        qputenv("XDG_CONFIG_HOME", m_desktop.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", m_desktop.filePath(QStringLiteral("config-system")).toUtf8());
        qputenv("XDG_DATA_HOME", m_desktop.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_DATA_DIRS", m_desktop.filePath(QStringLiteral("system")).toUtf8());
        // xdg-open looks for a desktop application only when there is a display; none is drawn on.
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("DISPLAY", ":99999");
        for (const char* name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(name);
        QDir().mkpath(applications());
    }

    void cleanup() { QFile::remove(applications() + QStringLiteral("/defaults.list")); }

    void missingFilesAndFolders()
    {
        const QString folder = m_files.path();
        writeText(folder + QStringLiteral("/present.txt"), "x");
        QCOMPARE(ShellOpenCode(folder + QStringLiteral("/gone.rtf")), ShellCode::FileNotFound);
        QCOMPARE(ShellOpenCode(folder + QStringLiteral("/no such folder/QP01.rtf")), ShellCode::PathNotFound);
        QCOMPARE(ShellOpenCode(folder + QStringLiteral("/a/b/c/QP01.rtf")), ShellCode::PathNotFound);
        // A file standing where a folder should be.
        QCOMPARE(ShellOpenCode(folder + QStringLiteral("/present.txt/QP01.rtf")), ShellCode::PathNotFound);
        QCOMPARE(ShellOpenCode(QString()), ShellCode::FileNotFound);
    }

    void unreadableFilesAndFolders()
    {
        // A readable folder holding a file nobody may read, and a closed folder.
        const QString open = m_files.filePath(QStringLiteral("open"));
        const QString closed = m_files.filePath(QStringLiteral("closed"));
        writeText(open + QStringLiteral("/secret.txt"), "x");
        writeText(closed + QStringLiteral("/inside.txt"), "x");
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(m_files.path(), everyone));
        QVERIFY(QFile::setPermissions(open, everyone));
        QVERIFY(QFile::setPermissions(open + QStringLiteral("/secret.txt"), QFile::Permissions()));
        QVERIFY(QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        if (geteuid() == 0)
            QVERIFY(chown(qPrintable(m_files.path()), 0, 0) == 0);

        QCOMPARE(codeAsUnprivilegedUser(open + QStringLiteral("/secret.txt")), ShellCode::AccessDenied);
        QCOMPARE(codeAsUnprivilegedUser(closed + QStringLiteral("/inside.txt")), ShellCode::AccessDenied);
        QCOMPARE(codeAsUnprivilegedUser(closed + QStringLiteral("/not there.txt")), ShellCode::AccessDenied);
        QCOMPARE(codeAsUnprivilegedUser(open + QStringLiteral("/not there.txt")), ShellCode::FileNotFound);
    }

    void noApplicationForTheType()
    {
        const QString text = m_files.filePath(QStringLiteral("notes.txt"));
        writeText(text, "plain words\n");
        QCOMPARE(ShellOpenCode(text), ShellCode::NoAssociation);
        QCOMPARE(ShellOpenCode(m_files.path()), ShellCode::NoAssociation);
    }

    void applicationNamedButNotInstalled()
    {
        const QString text = m_files.filePath(QStringLiteral("notes.txt"));
        writeText(text, "plain words\n");
        setDefaultForText(QStringLiteral("cadrelle-ghost.desktop"));
        QCOMPARE(ShellOpenCode(text), ShellCode::BadAssociation);
        addDesktopFile(QStringLiteral("cadrelle-ghost.desktop"), QStringLiteral("/nonexistent/editor %f"));
        QCOMPARE(ShellOpenCode(text), ShellCode::BadAssociation);
        QFile::remove(applications() + QStringLiteral("/cadrelle-ghost.desktop"));
    }

    // An application still running after a moment counts as started.
    void installedApplicationIsStartedWithTheFile()
    {
        const QString marker = m_files.filePath(QStringLiteral("opened.log"));
        const QString script = m_files.filePath(QStringLiteral("record.sh"));
        writeText(script, "#!/bin/sh\necho \"$1\" > '" + marker.toUtf8() + "'\nsleep 5\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        addDesktopFile(QStringLiteral("cadrelle-record.desktop"), script + QStringLiteral(" %f"));
        setDefaultForText(QStringLiteral("cadrelle-record.desktop"));
        const QString text = m_files.filePath(QStringLiteral("QP 01 notes.txt"));
        writeText(text, "plain words\n");

        QCOMPARE(ShellOpenCode(text), ShellCode::Success);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        QFile log(marker);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(log.readAll()).trimmed(), text);
    }

    void applicationThatFailsIsTold()
    {
        addDesktopFile(QStringLiteral("cadrelle-broken.desktop"), QStringLiteral("false %f"));
        setDefaultForText(QStringLiteral("cadrelle-broken.desktop"));
        const QString text = m_files.filePath(QStringLiteral("notes.txt"));
        writeText(text, "plain words\n");
        QCOMPARE(ShellOpenCode(text), ShellCode::BadAssociation);
    }
};

// With "--shell-code <path>" the program only prints the code for path: the test runs itself so as
// another user.
int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--shell-code") == 0) {
        QCoreApplication app(argc, argv);
        std::printf("%d\n", ShellOpenCode(QString::fromLocal8Bit(argv[2])));
        return 0;
    }
    QApplication app(argc, argv);
    TestShellOpenCode test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shellopencode.moc"
