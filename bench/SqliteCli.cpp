#include "SqliteCli.h"

#include "ToolRun.h"
#include <QStandardPaths>

namespace {
const QString kProgram = QStringLiteral("sqlite3");
}

bool SqliteCli::Available()
{
    return !QStandardPaths::findExecutable(kProgram).isEmpty();
}

Timing SqliteCli::Run(const QString& db, const QString& sql, const QStringList& options)
{
    return RunTool(kProgram, options + QStringList {db, sql});
}

Timing SqliteCli::RunScript(const QString& db, const QString& scriptFile)
{
    return RunTool(kProgram, {db}, scriptFile);
}
