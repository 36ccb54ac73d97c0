#include "storage/IsoClauses.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <algorithm>

static void registerClauseData()
{
    Q_INIT_RESOURCE(clauses);
}

const std::vector<IsoClauses::Clause>& IsoClauses::All()
{
    static const std::vector<Clause> clauses = [] {
        registerClauseData();
        std::vector<Clause> all;
        QFile file(QStringLiteral(":/data/iso9001-2000-clauses.tsv"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return all;
        QTextStream in(&file);
        in.readLine(); // the heading
        while (!in.atEnd()) {
            const QStringList fields = in.readLine().split(QLatin1Char('\t'));
            if (fields.size() == 2)
                all.push_back({fields[0], fields[1]});
        }
        return all;
    }();
    return clauses;
}

QString IsoClauses::Title(const QString& number)
{
    const auto& all = All();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Clause& c) { return c.number == number; });
    return found == all.end() ? QString() : found->title;
}

// By halves in the sorted numbers: an import asks for every clause of every row.
bool IsoClauses::Exists(QStringView number)
{
    static const std::vector<QString> numbers = [] {
        std::vector<QString> all;
        for (const Clause& clause : All())
            all.push_back(clause.number);
        std::sort(all.begin(), all.end());
        return all;
    }();
    return std::binary_search(numbers.begin(), numbers.end(), number,
                              [](QStringView a, QStringView b) { return a < b; });
}

bool IsoClauses::RequiresProcedure(const QString& number)
{
    static const QStringList mandatory = {QStringLiteral("4.2.3"), QStringLiteral("4.2.4"), QStringLiteral("8.2.2"),
                                          QStringLiteral("8.3"),   QStringLiteral("8.5.2"), QStringLiteral("8.5.3")};
    return mandatory.contains(number);
}

bool IsoClauses::MayBeExcluded(const QString& number)
{
    return number.startsWith(QLatin1String("7.")) && Exists(number);
}
