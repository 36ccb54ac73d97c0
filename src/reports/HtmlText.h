#pragma once

#include <QString>

// Typed texts in a page show as typed and never become markup; line breaks go in as character
// references, so a page can be kept on one line.
void AppendEscaped(QString& page, const QString& text);
QString HtmlEscaped(const QString& text);
