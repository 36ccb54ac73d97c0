#pragma once

#include "dialogs/DocumentDetailsDialog.h"

// Shows the details of one document record and stores the changed values.
class frmEditDocument : public DocumentDetailsDialog
{
    Q_OBJECT

public:
    explicit frmEditDocument(QWidget* parent = nullptr);

    // The record as the document list shows it; the fields start with these values.
    void Init(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
              const QString& isorefs);

    void cmdBrowse_Click() override;
    // Stores the changes and closes; the dialog stays open with what was typed when a check fails
    // or the catalogue refuses the change.
    void cmdOK_Click() override;

private:
    QString m_dockey;
    QString m_docref;
};
