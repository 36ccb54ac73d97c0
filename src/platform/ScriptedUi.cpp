#include "platform/ScriptedUi.h"

#include "platform/Platform.h"
#include <QDialog>

ScriptedUi::ScriptedUi()
{
    SetUi(this);
}

ScriptedUi::~ScriptedUi()
{
    SetUi(nullptr);
}

int ScriptedUi::MsgBox(const QString& prompt, int style, const QString& title)
{
    boxes.append({prompt, style, title});
    if (!msgAnswers.isEmpty())
        return msgAnswers.takeFirst();
    return (style & 7) == MsgStyle::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QString ScriptedUi::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    inputsShown.append({prompt, title});
    inputDefaults.append(defaultText);
    return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
}

QString ScriptedUi::OpenFileName(const QString& filter)
{
    filtersShown.append(filter);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedUi::FolderName(const QString& prompt)
{
    filtersShown.append(prompt);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedUi::SaveFileName(const QString& filter, const QString& suggested)
{
    suggestedNames.append(suggested);
    return OpenFileName(filter);
}

int ScriptedUi::ShowModal(QDialog& dialog)
{
    dialogsShown.append(dialog.windowTitle());
    if (modalHandlers.empty())
        return QDialog::Rejected;
    auto handler = std::move(modalHandlers.front());
    modalHandlers.pop_front();
    return handler(dialog);
}

int ScriptedUi::ShellOpen(const QString& path)
{
    shellOpened.append(path);
    return shellCodes.isEmpty() ? 33 : shellCodes.takeFirst();
}

QStringList ScriptedUi::prompts() const
{
    QStringList list;
    for (const ShownBox& box : boxes)
        list << box.prompt;
    return list;
}
