#include "reports/HtmlText.h"

// Appended in place: a report of a large category would otherwise make and free several strings
// for every cell.
void AppendEscaped(QString& page, const QString& text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char* entity = nullptr;
        switch (text[i].unicode()) {
        case u'<':
            entity = "&lt;";
            break;
        case u'>':
            entity = "&gt;";
            break;
        case u'&':
            entity = "&amp;";
            break;
        case u'"':
            entity = "&quot;";
            break;
        case u'\r':
            entity = "&#13;";
            break;
        case u'\n':
            entity = "&#10;";
            break;
        default:
            continue;
        }
        page.append(QStringView(text).sliced(start, i - start));
        page.append(QLatin1StringView(entity));
        start = i + 1;
    }
    page.append(QStringView(text).sliced(start));
}

QString HtmlEscaped(const QString& text)
{
    QString html;
    AppendEscaped(html, text);
    return html;
}
