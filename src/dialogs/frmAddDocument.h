#pragma once

#include "dialogs/DocumentDetailsDialog.h"

// Takes the details of a new document record filed under one category.
class frmAddDocument : public DocumentDetailsDialog
{
    Q_OBJECT

public:
    explicit frmAddDocument(QWidget* parent = nullptr);

    // The category the new record is filed under; its name goes into the caption.
    void Init(const QString& catkey, const QString& catname);

    void cmdBrowse_Click() override;
    // Stores the record and closes; the dialog stays open with what was typed when a check fails
    // or the catalogue refuses the record.
    void cmdOK_Click() override;
    // The key of the record stored; empty until OK stored one.
    QString AddedKey() const { return m_added; }

private:
    QString m_catkey;
    QString m_added;
    QString m_catname;
};
