#pragma once

#include "storage/Document.h"
#include "storage/DocumentControl.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QDialogButtonBox;

// The control data of one document: what it is, its revision, owner, review interval and date,
// retention and, for an external document, its issuer and edition. Status and approval are shown;
// they change through Approve, New revision and Withdraw. OK checks and stores, and stays open on a
// refusal.
class DocumentControlDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DocumentControlDialog(QWidget* parent = nullptr);
    void Init(const Document& document);
    // Checks the fields and stores them; the dialog closes when they are stored.
    void Accept();

    QComboBox* cboKind = nullptr;
    QLineEdit* txtRevision = nullptr;
    QLabel* lblStatus = nullptr;
    QLineEdit* txtOwner = nullptr;
    QSpinBox* spnReviewMonths = nullptr;
    QLineEdit* txtNextReview = nullptr;
    QSpinBox* spnRetentionMonths = nullptr;
    QLineEdit* txtRetentionEnds = nullptr;
    QLineEdit* txtIssuer = nullptr;
    QLineEdit* txtEdition = nullptr;
    QDialogButtonBox* buttons = nullptr;

private:
    // The fields as control data; false, after telling which, when one is not valid.
    bool Read(DocumentControl& control);
    void ShowKind();

    Document m_document;
    DocumentControl m_control;
};
