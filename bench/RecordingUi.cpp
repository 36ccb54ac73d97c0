#include "RecordingUi.h"

#include "platform/Platform.h"
#include <QDialog>

RecordingUi::RecordingUi()
{
    SetUi(this);
}

RecordingUi::~RecordingUi()
{
    SetUi(nullptr);
}

int RecordingUi::MsgBox(const QString& prompt, int style, const QString&)
{
    messages.append(prompt);
    return (style & 7) == MsgStyle::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

QString RecordingUi::InputBox(const QString& prompt, const QString&)
{
    messages.append(prompt);
    return QString();
}

QString RecordingUi::OpenFileName(const QString&)
{
    return QString();
}

QString RecordingUi::SaveFileName(const QString&)
{
    return QString();
}

int RecordingUi::ShowModal(QDialog&)
{
    return QDialog::Rejected;
}

int RecordingUi::ShellOpen(const QString& path)
{
    shellOpened.append(path);
    return 33; // what the shell answers when it opened the file
}
