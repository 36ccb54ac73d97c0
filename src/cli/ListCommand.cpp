#include "cli/ListCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"
#include "storage/ClauseMatch.h"
#include <QRegularExpression>
#include <QSet>
#include <optional>

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
    return QStringLiteral(
        "Usage: cadrelle-cli list [--category NAME | --clause CLAUSE] [--obsolete] [--format text|csv|json]\n\n"
        "Lists documents ordered by reference, as the main window does.\n"
        "  --category NAME  the documents filed under the category of that name\n"
        "  --clause CLAUSE  the documents serving a clause, e.g. 7.5 (also its sub-clauses), or\n"
        "                   Sections for every document that names a clause\n"
        "  --obsolete       obsolete documents too (left out otherwise, as in the window)\n"
        "Fields: ref, title, clauses, path, category, key, revision, status (Draft, Approved or\n"
        "Obsolete), kind (Document, Record or External), owner, approved_by, approved_on,\n"
        "next_review. Dates are yyyy-MM-dd, empty when there is none. A document without control\n"
        "data shows as an approved document with no revision.\n");
}

QStringList ListCommand::ValueOptions() const
{
    return {QStringLiteral("category"), QStringLiteral("clause")};
}

QStringList ListCommand::FlagOptions() const
{
    return {QStringLiteral("obsolete")};
}

QString ListCommand::UsageError(const CliOptions& options) const
{
    if (options.values.contains(QStringLiteral("category")) && options.values.contains(QStringLiteral("clause")))
        return QStringLiteral("list takes --category or --clause, not both");
    const QString clause = options.values.value(QStringLiteral("clause"));
    if (options.values.contains(QStringLiteral("clause")) && !isClauseNode(clause))
        return QStringLiteral("'%1' is not a clause of ISO 9001:2000 (e.g. 7.5 or 4.2.3)").arg(clause);
    return QString();
}

// The register with every column is read once; a category or clause keeps the documents its own
// list holds, in the register's order (by reference).
int ListCommand::Run(const CliOptions& options, QTextStream& out, QTextStream& err)
{
    Catalogue& catalogue = Catalogue::Current();
    catalogue.SetIncludeObsolete(options.flags.contains(QStringLiteral("obsolete")));
    std::vector<Document> documents = catalogue.AllDocuments();
    std::optional<std::vector<Document>> listed;
    if (options.values.contains(QStringLiteral("category"))) {
        const QString name = options.values.value(QStringLiteral("category"));
        const std::vector<Category> categories = catalogue.Categories();
        const auto found
            = std::find_if(categories.begin(), categories.end(), [&name](const Category& c) { return c.name == name; });
        if (found == categories.end()) {
            err << "cadrelle-cli: no category is named '" << name << "'\n";
            return ExitStatus::Failed;
        }
        listed = catalogue.CategoryDocuments(found->key);
    } else if (options.values.contains(QStringLiteral("clause"))) {
        listed = catalogue.ClauseDocuments(options.values.value(QStringLiteral("clause")));
    }
    if (listed) {
        QSet<QString> keys;
        for (const Document& document : *listed)
            keys.insert(document.key);
        std::erase_if(documents, [&keys](const Document& d) { return !keys.contains(d.key); });
    }
    TableWriter table({"ref", "title", "clauses", "path", "category", "key", "revision", "status", "kind", "owner",
                       "approved_by", "approved_on", "next_review"},
                      {"Doc Ref", "Title", "ISO Ref", "File", "Category", "Key", "Revision", "Status", "Kind", "Owner",
                       "Approved by", "Approved on", "Next review"});
    for (const Document& d : documents)
        table.AddRow({d.ref, d.title, d.clauses, d.path, d.category, d.key, d.revision,
                      DocumentControl::StatusText(d.status), DocumentControl::KindText(d.kind), d.owner, d.approvedBy,
                      TableWriter::Date(d.approvedOn), TableWriter::Date(d.nextReview)});
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
