#include "platform/QtPlatformUi.h"

#include "platform/Platform.h"
#include "platform/ShellOpenCode.h"
#include "platform/ShellOpenFile.h"
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QWidget* activeParent()
{
    return QApplication::activeWindow();
}

// "*.*|*.*" or "All Files *.*|*.*|" becomes Qt's "All Files (*)".
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

// The extension a file typed without one takes: that of a filter with one pattern such as "*.db".
QString defaultSuffix(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    static const QRegularExpression onePattern(QStringLiteral("^\\*\\.(\\w+)$"));
    const QRegularExpressionMatch match = onePattern.match(parts.size() == 2 ? parts[1] : QString());
    return match.hasMatch() ? match.captured(1) : QString();
}

// Qt's file dialog keeps its state (the folder last visited, its history, the side bar, the view) in
// QtProject.conf among the user's settings, a file that every Qt program shares. This program writes
// only its own settings file: while a dialog lives, the user's settings folder is a folder of its
// own, filled from the group "FileDialog" of the program's settings and read back into it after.
class OwnFileDialogState
{
public:
    OwnFileDialogState()
    {
        if (!m_folder.isValid())
            return;
        m_userFolder = QFileInfo(QSettings(QSettings::UserScope, kQtProject).fileName()).absolutePath();
        const QVariantHash stored = read(QSettings(kAppTitle, kAppTitle));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QSettings dialogs(QSettings::UserScope, kQtProject);
        write(dialogs, stored);
    }
    ~OwnFileDialogState()
    {
        if (m_userFolder.isEmpty())
            return;
        const QVariantHash state = read(QSettings(QSettings::UserScope, kQtProject));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userFolder);
        QSettings own(kAppTitle, kAppTitle);
        own.remove(kGroup);
        write(own, state);
    }
    OwnFileDialogState(const OwnFileDialogState&) = delete;
    OwnFileDialogState& operator=(const OwnFileDialogState&) = delete;

private:
    static inline const QString kQtProject = QStringLiteral("QtProject");
    static inline const QString kGroup = QStringLiteral("FileDialog");

    static QVariantHash read(const QSettings& settings)
    {
        QVariantHash values;
        for (const QString& key : settings.allKeys()) {
            if (key.startsWith(kGroup + QLatin1Char('/')))
                values.insert(key, settings.value(key));
        }
        return values;
    }
    static void write(QSettings& settings, const QVariantHash& values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }

    QTemporaryDir m_folder;
    QString m_userFolder;
};

} // namespace

int QtPlatformUi::MsgBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox box(activeParent());
    box.setWindowTitle(title);
    box.setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    if (style & MsgStyle::Critical)
        box.setIcon(QMessageBox::Critical);
    const bool second = style & MsgStyle::DefaultButton2;
    switch (style & 7) {
    case MsgStyle::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(second ? QMessageBox::Cancel : QMessageBox::Ok);
        break;
    case MsgStyle::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(second ? QMessageBox::No : QMessageBox::Yes);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        // Closing an OK/Cancel box by its close box counts as Cancel.
        return (style & 7) == MsgStyle::OkCancel && box.clickedButton() == nullptr ? MsgAnswer::Cancel : MsgAnswer::Ok;
    }
}

QString QtPlatformUi::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtPlatformUi::OpenFileName(const QString& filter)
{
    const OwnFileDialogState state;
    return QFileDialog::getOpenFileName(activeParent(), QString(), QString(), qtFilter(filter));
}

QString QtPlatformUi::SaveFileName(const QString& filter, const QString& suggested)
{
    const OwnFileDialogState state;
    QFileDialog dialog(activeParent(), QString(), suggested, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix(filter));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtPlatformUi::FolderName(const QString& prompt)
{
    const OwnFileDialogState state;
    return QFileDialog::getExistingDirectory(activeParent(), prompt);
}

int QtPlatformUi::ShowModal(QDialog& dialog)
{
    return dialog.exec();
}

int QtPlatformUi::ShellOpen(const QString& path)
{
    return ShellOpenCode(path, [](int code) {
        if (const QString message = ShellOpenMessage(code); !message.isEmpty())
            ::MsgBox(message);
    });
}
