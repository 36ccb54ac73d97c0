#pragma once

#include "platform/ScriptedUi.h"

// Every message box the user was shown, as "style|title|prompt".
inline QStringList boxes(const ScriptedUi& ui)
{
    QStringList shown;
    for (const ShownBox& box : ui.boxes)
        shown << QString::number(box.style) + '|' + box.title + '|' + box.prompt;
    return shown;
}
