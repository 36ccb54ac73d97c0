#include "mainwindow/ImageLists.h"

#include "platform/AppError.h"

// The pictures are compiled into the program's static library, whose resources are registered
// only when asked for by name.
void RegisterPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(cadrelle);
        return true;
    }();
    (void)registered;
}

namespace {

// Every picture lies in the resources under its key in lower case.
QIcon lookUp(const QStringList& keys, const QString& key)
{
    if (!keys.contains(key))
        throw AppError(QStringLiteral("Element not found: picture '%1'").arg(key));
    RegisterPictures();
    return QIcon(QStringLiteral(":/icons/") + key.toLower() + QStringLiteral(".svg"));
}

} // namespace

QStringList ImageList1Keys()
{
    return {QStringLiteral("NEWCAT"), QStringLiteral("DELETECAT"), QStringLiteral("RENAMECAT"),
            QStringLiteral("SAVE"),   QStringLiteral("EXIT"),      QStringLiteral("MOVECAT"),
            QStringLiteral("OPEN"),   QStringLiteral("ADD"),       QStringLiteral("EDIT"),
            QStringLiteral("REMOVE"), QStringLiteral("CONTROL"),   QStringLiteral("HISTORY")};
}

QIcon ImageList1(const QString& key)
{
    return lookUp(ImageList1Keys(), key);
}

QStringList ImageList2Keys()
{
    return {QStringLiteral("DOCUMENT"), QStringLiteral("DOCUMENT2"), QStringLiteral("CATEGORY"),
            QStringLiteral("ISOREF")};
}

QIcon ImageList2(const QString& key)
{
    return lookUp(ImageList2Keys(), key);
}
