#include "cli/CliUi.h"

#include "platform/Platform.h"

CliUi::CliUi()
{
    SetUi(this);
}

CliUi::~CliUi()
{
    SetUi(nullptr);
}

int CliUi::MsgBox(const QString& prompt, int style, const QString&)
{
    m_messages << QString(prompt)
                      .replace(QStringLiteral("\r\n\r\n"), QStringLiteral(". "))
                      .replace(QStringLiteral("\r\n"), QStringLiteral(": "));
    return (style & 7) == MsgStyle::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
}

QString CliUi::Told() const
{
    return m_messages.join(QStringLiteral("; "));
}
