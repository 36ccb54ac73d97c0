#include "dialogs/frmAddDocument.h"

#include "platform/ErrorTrap.h"
#include "storage/Catalogue.h"
#include <QLineEdit>
#include <QPushButton>

frmAddDocument::frmAddDocument(QWidget* parent)
    : DocumentDetailsDialog(parent, 7380, 2010, QStringLiteral("ISO Refs (seperate with commas"))
{
    setObjectName(QStringLiteral("frmAddDocument"));
    setWindowTitle(QStringLiteral("Add Document"));
    SetTabOrder({txtDocRef, txtTitle, txtPath, cmdBrowse, cmdOK, cmdCancel, txtISORefs});
}

void frmAddDocument::Init(const QString& catkey, const QString& catname)
{
    m_catkey = catkey;
    m_catname = catname;
    setWindowTitle(QStringLiteral("Add document to ") + catname);
}

void frmAddDocument::cmdBrowse_Click()
{
    Trap("ADD1", [&] { BrowseForPath(); });
}

void frmAddDocument::cmdOK_Click()
{
    Trap("ADD2", [&] {
        if (!FieldsComplete() || !ReferenceAccepted(QString()))
            return;
        Document document {QString(), txtDocRef->text(), txtTitle->text(), txtISORefs->text(), txtPath->text()};
        const Catalogue::Write added = Catalogue::Current().AddDocument(m_catkey, document);
        if (added == Catalogue::Write::Refused)
            return;
        // Another program may have deleted the category since the window listed it.
        if (added == Catalogue::Write::Unchanged) {
            MsgBox(QStringLiteral("The category '") + m_catname
                       + QStringLiteral("' is no longer in the catalogue: the document was not added."),
                   MsgStyle::Critical);
            return;
        }
        m_added = document.key;
        accept();
    });
}
