#include "mainwindow/ClauseTree.h"

#include "storage/Variant.h"
#include <QStringView>

const std::array<ClauseNode, 68>& ClauseTable()
{
    static const std::array<ClauseNode, 68> table = {{
        {"Sections", "SECTIONS", nullptr}, {"4", "iso4", "SECTIONS"},    {"4.1", "iso41", "iso4"},
        {"4.2", "iso42", "iso4"},          {"4.2.1", "iso421", "iso42"}, {"4.2.2", "iso422", "iso42"},
        {"4.2.3", "iso423", "iso42"},      {"4.2.4", "iso424", "iso42"}, {"5", "iso5", "SECTIONS"},
        {"5.1", "iso51", "iso5"},          {"5.2", "iso52", "iso5"},     {"5.3", "iso53", "iso5"},
        {"5.4", "iso54", "iso5"},          {"5.4.1", "iso541", "iso54"}, {"5.4.2", "iso542", "iso54"},
        {"5.5", "iso55", "iso5"},          {"5.5.1", "iso551", "iso55"}, {"5.5.2", "iso552", "iso55"},
        {"5.5.3", "iso553", "iso55"},      {"5.6", "iso56", "iso5"},     {"5.6.1", "iso561", "iso56"},
        {"5.6.2", "iso562", "iso56"},      {"5.6.3", "iso563", "iso56"}, {"6", "iso6", "SECTIONS"},
        {"6.1", "iso61", "iso6"},          {"6.2", "iso62", "iso6"},     {"6.2.1", "iso621", "iso62"},
        {"6.2.2", "iso622", "iso62"},      {"6.3", "iso63", "iso6"},     {"6.4", "iso64", "iso6"},
        {"7", "iso7", "SECTIONS"},         {"7.1", "iso71", "iso7"},     {"7.2", "iso72", "iso7"},
        {"7.2.1", "iso721", "iso72"},      {"7.2.2", "iso722", "iso72"}, {"7.2.3", "iso723", "iso72"},
        {"7.3", "iso73", "iso7"},          {"7.3.1", "iso731", "iso73"}, {"7.3.2", "iso732", "iso73"},
        {"7.3.3", "iso733", "iso73"},      {"7.3.4", "iso734", "iso73"}, {"7.3.5", "iso735", "iso73"},
        {"7.3.6", "iso736", "iso73"},      {"7.3.7", "iso737", "iso73"}, {"7.4", "iso74", "iso7"},
        {"7.4.1", "iso741", "iso74"},      {"7.4.2", "iso742", "iso74"}, {"7.4.3", "iso743", "iso74"},
        {"7.5", "iso75", "iso7"},          {"7.5.1", "iso751", "iso75"}, {"7.5.2", "iso752", "iso75"},
        {"7.5.3", "iso753", "iso75"},      {"7.5.4", "iso754", "iso75"}, {"7.5.5", "iso755", "iso75"},
        {"7.6", "iso76", "iso7"},          {"8", "iso8", "SECTIONS"},    {"8.1", "iso81", "iso8"},
        {"8.2", "iso82", "iso8"},          {"8.2.1", "iso821", "iso82"}, {"8.2.2", "iso822", "iso82"},
        {"8.2.3", "iso823", "iso82"},      {"8.2.4", "iso824", "iso82"}, {"8.3", "iso83", "iso8"},
        {"8.4", "iso84", "iso8"},          {"8.5", "iso85", "iso8"},     {"8.5.1", "iso851", "iso85"},
        {"8.5.2", "iso852", "iso85"},      {"8.5.3", "iso853", "iso85"},
    }};
    return table;
}

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
