// Opening files in their desktop applications: how real files and folders map to the shell's codes.
// The desktop's associations are a temporary set made here, so no real application is started.

#include "platform/ShellOpenCode.h"
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

void writeText(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Root may read every file: for its lifetime the test runs as nobody, children included.
struct AsOtherUser
{
    const bool active;
    explicit AsOtherUser(bool wanted) : active(wanted && geteuid() == 0)
    {
        QVERIFY(!active || (setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0));
    }
    ~AsOtherUser() { QVERIFY(!active || (setresuid(0, 0, 0) == 0 && setresgid(0, 0, 0) == 0)); }
};

} // namespace

class TestShellOpenCode : public QObject
{
    Q_OBJECT

    QTemporaryDir m_desktop; // the desktop's configuration and data folders
    QTemporaryDir m_files;

    QString applications() const { return m_desktop.filePath(QStringLiteral("data/applications")); }
    QString file(const QString& relative) const { return m_files.filePath(relative); }

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

        // A readable folder holding a file nobody may read, and a closed folder.
        writeText(file(QStringLiteral("QP 01 notes.txt")), "plain words\n");
        writeText(file(QStringLiteral("open/secret.txt")), "x");
        writeText(file(QStringLiteral("closed/inside.txt")), "x");
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(m_files.path(), everyone));
        QVERIFY(QFile::setPermissions(file(QStringLiteral("open")), everyone));
        QVERIFY(QFile::setPermissions(file(QStringLiteral("open/secret.txt")), QFile::Permissions()));
        QVERIFY(QFile::setPermissions(file(QStringLiteral("closed")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        // An application that records the file it is given; still running after a moment, it counts as started.
        writeText(file(QStringLiteral("record.sh")),
                  "#!/bin/sh\necho \"$1\" > '" + file(QStringLiteral("opened.log")).toUtf8() + "'\nsleep 5\n");
        QVERIFY(QFile::setPermissions(file(QStringLiteral("record.sh")), QFile::ReadOwner | QFile::ExeOwner));
        // An application that fails after a moment, leaving a mark when it ends.
        writeText(file(QStringLiteral("fail.sh")),
                  "#!/bin/sh\nsleep 1\ntouch '" + file(QStringLiteral("failed.mark")).toUtf8() + "'\nexit 1\n");
        QVERIFY(QFile::setPermissions(file(QStringLiteral("fail.sh")), QFile::ReadOwner | QFile::ExeOwner));
    }

    void filesAndFolders_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("asOtherUser");
        QTest::addColumn<int>("code");
        QTest::newRow("empty") << QString() << false << ShellCode::FileNotFound;
        QTest::newRow("missing file") << "gone.rtf" << false << ShellCode::FileNotFound;
        QTest::newRow("missing folder") << "no such folder/QP01.rtf" << false << ShellCode::PathNotFound;
        QTest::newRow("file as folder") << "QP 01 notes.txt/QP01.rtf" << false << ShellCode::PathNotFound;
        QTest::newRow("unreadable file") << "open/secret.txt" << true << ShellCode::AccessDenied;
        QTest::newRow("closed folder") << "closed/inside.txt" << true << ShellCode::AccessDenied;
        QTest::newRow("missing in closed folder") << "closed/not there.txt" << true << ShellCode::AccessDenied;
        QTest::newRow("missing in open folder") << "open/not there.txt" << true << ShellCode::FileNotFound;
        QTest::newRow("no application") << "QP 01 notes.txt" << false << ShellCode::NoAssociation;
    }

    void filesAndFolders()
    {
        QFETCH(QString, path);
        QFETCH(bool, asOtherUser);
        QFETCH(int, code);
        const AsOtherUser other(asOtherUser);
        QCOMPARE(ShellOpenCode(path.isEmpty() ? QString() : file(path)), code);
    }

    void cleanup()
    {
        QFile::remove(applications() + QStringLiteral("/defaults.list"));
        QFile::remove(applications() + QStringLiteral("/cadrelle-test.desktop"));
    }

    void associatedApplications_data()
    {
        QTest::addColumn<QString>("exec"); // none: named for the type but not installed
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("lateCode"); // told once the opener has ended; 0: nothing told
        QTest::newRow("not installed") << QString() << ShellCode::BadAssociation << 0;
        QTest::newRow("program fails") << file(QStringLiteral("fail.sh %f")) << ShellCode::Success
                                       << ShellCode::BadAssociation;
        QTest::newRow("started") << file(QStringLiteral("record.sh %f")) << ShellCode::Success << 0;
    }

    void associatedApplications()
    {
        QFETCH(QString, exec);
        QFETCH(int, code);
        QFETCH(int, lateCode);
        writeText(applications() + QStringLiteral("/defaults.list"),
                  "[Default Applications]\ntext/plain=cadrelle-test.desktop\n");
        if (!exec.isEmpty())
            writeText(applications() + QStringLiteral("/cadrelle-test.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Test\nMimeType=text/plain;\nExec=" + exec.toUtf8()
                          + "\n");
        int told = 0;
        // The window is not kept waiting for the application: the open returns before it has ended.
        QCOMPARE(ShellOpenCode(file(QStringLiteral("QP 01 notes.txt")), [&told](int late) { told = late; }), code);
        if (lateCode) {
            QVERIFY(!QFile::exists(file(QStringLiteral("failed.mark"))));
            QTRY_COMPARE_WITH_TIMEOUT(told, lateCode, 10000);
        } else if (code == ShellCode::Success) {
            QFile log(file(QStringLiteral("opened.log")));
            QTRY_VERIFY_WITH_TIMEOUT(log.exists(), 10000);
            QVERIFY(log.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromLocal8Bit(log.readAll()).trimmed(), file(QStringLiteral("QP 01 notes.txt")));
        }
    }
};

QTEST_MAIN(TestShellOpenCode)
#include "tst_shellopencode.moc"
