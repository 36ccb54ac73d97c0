// Makes a fresh catalogue from the seed data: makecatalogue [--force] <seed.tsv> <cadrelle.db>

#include "storage/CatalogueBuilder.h"
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: makecatalogue [--force] <seed.tsv> <cadrelle.db>\n");
        return 2;
    }
    QString error;
    if (!CatalogueBuilder::Build(args[0], args[1], force, error)) {
        std::fprintf(stderr, "makecatalogue: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
