#include "dialogs/frmEditDocument.h"

#include "platform/ErrorTrap.h"
#include "storage/Catalogue.h"
#include <QLineEdit>
#include <QPushButton>

frmEditDocument::frmEditDocument(QWidget* parent)
    : DocumentDetailsDialog(parent, 7305, 1800, QStringLiteral("ISO Refs (seperate with commas)"))
{
    setObjectName(QStringLiteral("frmEditDocument"));
    setWindowTitle(QStringLiteral("Edit Document Details"));
    // Cancel comes first, so the dialog opens with the focus on it.
    SetTabOrder({cmdCancel, cmdOK, cmdBrowse, txtPath, txtTitle, txtDocRef, txtISORefs});
}

void frmEditDocument::Init(const QString& dockey, const QString& docref, const QString& doctitle,
                           const QString& docpath, const QString& isorefs)
{
    Trap("EDIT1", [&] {
        m_dockey = dockey;
        m_docref = docref;
        txtDocRef->setText(docref);
        txtTitle->setText(doctitle);
        txtPath->setText(docpath);
        txtISORefs->setText(isorefs);
    });
}

void frmEditDocument::cmdBrowse_Click()
{
    Trap("EDIT2", [&] { BrowseForPath(); });
}

void frmEditDocument::cmdOK_Click()
{
    Trap("EDIT3", [&] {
        // A reference the record already had was accepted when it was given.
        if (!FieldsComplete() || (txtDocRef->text() != m_docref && !ReferenceAccepted(m_dockey)))
            return;
        const Catalogue::Write updated = Catalogue::Current().UpdateDocument(
            {m_dockey, txtDocRef->text(), txtTitle->text(), txtISORefs->text(), txtPath->text()});
        if (updated == Catalogue::Write::Refused)
            return;
        // A record without a key, or one another program has removed, takes no update.
        if (updated == Catalogue::Write::Unchanged) {
            MsgBox(QStringLiteral("This document is no longer in the catalogue: the changes were not saved."),
                   MsgStyle::Critical);
            return;
        }
        accept();
    });
}
