#include "cli/CategoriesCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"

QString CategoriesCommand::Help() const
{
    return QStringLiteral("Usage: cadrelle-cli categories [--format text|csv|json]\n\n"
                          "Lists the categories in the order of the category tree, with the number of documents\n"
                          "filed under each.\nFields: name, documents, key.\n");
}

int CategoriesCommand::Run(const CliOptions& options, QTextStream& out, QTextStream&)
{
    Catalogue& catalogue = Catalogue::Current();
    TableWriter table({"name", "documents", "key"}, {"Category", "Documents", "Key"});
    for (const Category& category : catalogue.Categories())
        table.AddRow({category.name, QString::number(catalogue.CategoryDocuments(category.key).size()), category.key});
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
