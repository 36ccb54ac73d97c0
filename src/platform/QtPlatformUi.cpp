#include "platform/QtPlatformUi.h"

#include "platform/Platform.h"
#include "platform/ShellOpenCode.h"
#include "platform/ShellOpenFile.h"
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

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
    return QFileDialog::getOpenFileName(activeParent(), QString(), QString(), qtFilter(filter));
}

QString QtPlatformUi::SaveFileName(const QString& filter)
{
    return QFileDialog::getSaveFileName(activeParent(), QString(), QString(), qtFilter(filter));
}

QString QtPlatformUi::FolderName(const QString& prompt)
{
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
