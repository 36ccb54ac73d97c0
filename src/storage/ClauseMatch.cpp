#include "storage/ClauseMatch.h"

#include "storage/Variant.h"
#include <QStringView>

bool ClauseMatch(const QString& nodeText, const Variant& isoref)
{
    if (isoref.isNull() || isoref.isEmpty())
        return false;
    const QString list = isoref.toText();
    if (!list.isEmpty() && nodeText == kClauseRootText)
        return true;
    const qsizetype n = nodeText.size();
    if (n != 1 && n != 3 && n != 5)
        return false;
    // Walks the elements in place: every click tests every record of the catalogue.
    qsizetype start = 0;
    while (true) {
        const qsizetype comma = list.indexOf(QLatin1Char(','), start);
        const qsizetype end = comma < 0 ? list.size() : comma;
        if (QStringView(list).sliced(start, end - start).startsWith(nodeText))
            return true;
        if (comma < 0)
            return false;
        start = comma + 1;
    }
}
