#include "cli/CategoriesCommand.h"

#include "cli/CliOptions.h"
#include "cli/TableWriter.h"
#include "storage/Catalogue.h"
#include "storage/DocumentWindow.h"

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
    for (const Category& category : catalogue.Categories()) {
        // Counted as the window counts its list; read whole only where the catalogue keeps no counts.
        const std::unique_ptr<DocumentWindow> window = catalogue.CategoryWindow(category.key);
        const qsizetype documents
            = window ? qsizetype(window->Count()) : qsizetype(catalogue.CategoryDocuments(category.key).size());
        table.AddRow({category.name, QString::number(documents), category.key});
    }
    table.Write(out, options.format);
    return ExitStatus::Fine;
}
