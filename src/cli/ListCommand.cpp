#include "cli/ListCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"
#include "storage/ClauseMatch.h"
#include <QRegularExpression>

namespace {

// A node of the clause tree: the root, or a clause number of one to three levels.
bool isClauseNode(const QString& text)
{
    static const QRegularExpression clause(QStringLiteral("^[4-8](\\.[1-9](\\.[1-9])?)?$"));
    return text == kClauseRootText || clause.match(text).hasMatch();
}

} // namespace

QString ListCommand::Summary() const
{
    return QStringLiteral("list documents: all, of a category, or of an ISO 9001:2000 clause");
}

QString ListCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli list [--category NAME | --clause CLAUSE] [--format text|csv|json]\n\n"
                          "Lists documents ordered by reference, as the main window does.\n"
                          "  --category NAME  the documents filed under the category of that name\n"
                          "  --clause CLAUSE  the documents serving a clause, e.g. 7.5 (also its sub-clauses), or\n"
                          "                   Sections for every document that names a clause\n"
                          "Fields: ref, title, clauses, path, category, key.\n");
}

QStringList ListCommand::ValueOptions() const
{
    return {QStringLiteral("category"), QStringLiteral("clause")};
}

int ListCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    Catalogue& catalogue = Catalogue::Current();
    std::vector<Document> documents;
    if (options.values.contains(QStringLiteral("category")) && options.values.contains(QStringLiteral("clause"))) {
        err << "cadrelle-cli: list takes --category or --clause, not both\n";
        return ExitStatus::Failed;
    }
    if (options.values.contains(QStringLiteral("category"))) {
        const QString name = options.values.value(QStringLiteral("category"));
        const std::vector<Category> categories = catalogue.Categories();
        const auto found = std::find_if(categories.begin(), categories.end(),
                                        [&name](const Category& c) { return c.name == name; });
        if (found == categories.end()) {
            err << "cadrelle-cli: no category is named '" << name << "'\n";
            return ExitStatus::Failed;
        }
        documents = catalogue.CategoryDocuments(found->key);
        for (Document& document : documents)
            document.category = name;
    } else if (options.values.contains(QStringLiteral("clause"))) {
        const QString clause = options.values.value(QStringLiteral("clause"));
        if (!isClauseNode(clause)) {
            err << "cadrelle-cli: '" << clause << "' is not a clause of ISO 9001:2000 (e.g. 7.5 or 4.2.3)\n";
            return ExitStatus::Failed;
        }
        documents = catalogue.ClauseDocuments(clause);
        QMap<QString, QString> names;
        for (const Document& all : catalogue.AllDocuments())
            names.insert(all.key, all.category);
        for (Document& document : documents)
            document.category = names.value(document.key);
    } else {
        documents = catalogue.AllDocuments();
    }
    TableWriter table({"ref", "title", "clauses", "path", "category", "key"},
                      {"Doc Ref", "Title", "ISO Ref", "File", "Category", "Key"});
    for (const Document& d : documents)
        table.AddRow({d.ref, d.title, d.clauses, d.path, d.category, d.key});
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
