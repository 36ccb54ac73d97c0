#pragma once

#include "platform/PlatformUi.h"
#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

// What a message box showed.
struct ShownBox
{
    QString prompt;
    int style;
    QString title;
};

// Answers every modal interaction from queues and records what the user would have seen, for the
// tests and the benchmark: nothing modal is shown and no application opens. Installs itself for
// its lifetime. A box with no queued answer gets its first button.
class ScriptedUi : public PlatformUi
{
public:
    ScriptedUi();
    ~ScriptedUi() override;

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString OpenFileName(const QString& filter) override;
    QString SaveFileName(const QString& filter, const QString& suggested) override;
    QString FolderName(const QString& prompt) override;
    int ShowModal(QDialog& dialog) override;
    int ShellOpen(const QString& path) override;

    // Prompts of the boxes shown so far, in order.
    QStringList prompts() const;

    QList<int> msgAnswers;
    QStringList inputAnswers;
    QStringList fileAnswers;
    QList<int> shellCodes; // empty: every open succeeds (33)
    // Each modal dialog is handed to the next handler (which may fill it in and press its buttons);
    // with none queued the dialog is answered as cancelled.
    std::deque<std::function<int(QDialog&)>> modalHandlers;

    QList<ShownBox> boxes;
    QList<QStringList> inputsShown; // prompt, title
    QStringList inputDefaults; // the text each input box held at first
    QStringList filtersShown; // the file dialogs' filters and the folder dialogs' prompts
    QStringList suggestedNames; // the files the save dialogs offered
    QStringList dialogsShown; // window titles
    QStringList shellOpened;
};
