// The clause match on fuzzed clause lists and node texts, of every value type a catalogue can
// hand over: it never fails, and it lists a record exactly when one comma-separated element of
// its list begins with the node's clause number.

#include "storage/ClauseMatch.h"
#include "mainwindow/ClauseTree.h"
#include "storage/Variant.h"
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The rule written the plain way: split, then compare the first characters of each element.
bool expected(const QString& node, const Variant& isoref)
{
    if (isoref.isNull() || isoref.isEmpty())
        return false;
    const QString list = isoref.toText();
    if (node == kClauseRootText)
        return !list.isEmpty();
    const qsizetype n = node.size();
    if (n != 1 && n != 3 && n != 5)
        return false;
    for (const QString& element : list.split(QLatin1Char(',')))
        if (element.left(n) == node)
            return true;
    return false;
}

QString nodeText(FuzzedDataProvider& data)
{
    if (data.ConsumeBool()) {
        const auto& table = ClauseTable();
        return QString::fromLatin1(table[data.ConsumeIntegralInRange<std::size_t>(0, table.size() - 1)].text);
    }
    const std::string bytes = data.ConsumeRandomLengthString(8);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

Variant clauseList(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange(0, 5)) {
    case 0:
        return Variant::null();
    case 1:
        return Variant();
    case 2:
        return Variant(data.ConsumeIntegral<qint64>());
    case 3:
        return Variant(data.ConsumeFloatingPoint<double>());
    case 4: {
        const std::string bytes = data.ConsumeRandomLengthString(256);
        return Variant(QByteArray(bytes.data(), qsizetype(bytes.size())));
    }
    default: {
        const std::string bytes = data.ConsumeRemainingBytesAsString();
        return Variant(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString node = nodeText(data);
    const Variant isoref = clauseList(data);
    if (ClauseMatch(node, isoref) != expected(node, isoref)) {
        std::fprintf(stderr, "clause match differs for node '%s' and list '%s'\n", qPrintable(node),
                     qPrintable(isoref.toText()));
        std::abort();
    }
    return 0;
}
