#include "dialogs/DocumentControlDialog.h"

#include "platform/Platform.h"
#include "storage/Catalogue.h"
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

QLineEdit* dateBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setPlaceholderText(QStringLiteral("year-month-day"));
    return box;
}

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// An empty box is no date; anything else must be a real one.
bool readDate(QLineEdit* box, const QString& label, QDate& date)
{
    const QString text = box->text().trimmed();
    date = QDate::fromString(text, Qt::ISODate);
    if (text.isEmpty() || date.isValid())
        return true;
    MsgBox(label + QStringLiteral(": '") + text + QStringLiteral("' is not a date. Type it as year-month-day, e.g. ")
               + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('.'),
           MsgStyle::Critical);
    box->setFocus();
    return false;
}

} // namespace

DocumentControlDialog::DocumentControlDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DocumentControlDialog"));
    auto* form = new QFormLayout(this);
    cboKind = new QComboBox(this);
    cboKind->setObjectName(QStringLiteral("cboKind"));
    for (auto kind : {DocumentControl::Kind::Document, DocumentControl::Kind::Record, DocumentControl::Kind::External})
        cboKind->addItem(DocumentControl::KindText(kind), int(kind));
    txtRevision = new QLineEdit(this);
    txtRevision->setObjectName(QStringLiteral("txtRevision"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextFormat(Qt::PlainText);
    txtOwner = new QLineEdit(this);
    txtOwner->setObjectName(QStringLiteral("txtOwner"));
    spnReviewMonths = new QSpinBox(this);
    spnReviewMonths->setObjectName(QStringLiteral("spnReviewMonths"));
    spnReviewMonths->setRange(0, 120);
    spnReviewMonths->setSuffix(QStringLiteral(" months"));
    txtNextReview = dateBox(this, "txtNextReview");
    spnRetentionMonths = new QSpinBox(this);
    spnRetentionMonths->setObjectName(QStringLiteral("spnRetentionMonths"));
    spnRetentionMonths->setRange(0, 1200);
    spnRetentionMonths->setSuffix(QStringLiteral(" months"));
    txtRetentionEnds = dateBox(this, "txtRetentionEnds");
    txtIssuer = new QLineEdit(this);
    txtIssuer->setObjectName(QStringLiteral("txtIssuer"));
    txtEdition = new QLineEdit(this);
    txtEdition->setObjectName(QStringLiteral("txtEdition"));
    form->addRow(QStringLiteral("Kind"), cboKind);
    form->addRow(QStringLiteral("Revision"), txtRevision);
    form->addRow(QStringLiteral("Status"), lblStatus);
    form->addRow(QStringLiteral("Owner"), txtOwner);
    form->addRow(QStringLiteral("Review every"), spnReviewMonths);
    form->addRow(QStringLiteral("Next review"), txtNextReview);
    form->addRow(QStringLiteral("Keep records for"), spnRetentionMonths);
    form->addRow(QStringLiteral("Retention ends"), txtRetentionEnds);
    form->addRow(QStringLiteral("Issuer"), txtIssuer);
    form->addRow(QStringLiteral("Edition"), txtEdition);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &DocumentControlDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cboKind, &QComboBox::currentIndexChanged, this, &DocumentControlDialog::ShowKind);
    setMinimumWidth(420);
}

void DocumentControlDialog::Init(const Document& document)
{
    Catalogue& catalogue = Catalogue::Current();
    m_document = document;
    m_control = catalogue.Control(document.key);
    setWindowTitle(QStringLiteral("Document control - ") + document.ref);
    cboKind->setCurrentIndex(cboKind->findData(int(m_control.kind)));
    txtRevision->setText(m_control.revision);
    QString status = DocumentControl::StatusText(m_control.status);
    if (m_control.approvedOn.isValid())
        status += QStringLiteral(" (by %1 on %2)").arg(m_control.approvedBy, dateText(m_control.approvedOn));
    lblStatus->setText(status);
    txtOwner->setText(m_control.owner);
    spnReviewMonths->setSpecialValueText(QStringLiteral("as the category (%1 months)")
                                             .arg(catalogue.CategoryReviewMonths(catalogue.CategoryOf(document.key))));
    spnReviewMonths->setValue(m_control.reviewMonths);
    txtNextReview->setText(dateText(m_control.nextReview));
    spnRetentionMonths->setValue(m_control.retentionMonths);
    txtRetentionEnds->setText(dateText(m_control.retentionEnds));
    txtIssuer->setText(m_control.issuer);
    txtEdition->setText(m_control.edition);
    ShowKind();
}

// Retention applies to records, issuer and edition to external documents.
void DocumentControlDialog::ShowKind()
{
    const auto kind = DocumentControl::Kind(cboKind->currentData().toInt());
    for (QWidget* field : {static_cast<QWidget*>(spnRetentionMonths), static_cast<QWidget*>(txtRetentionEnds)})
        field->setEnabled(kind == DocumentControl::Kind::Record);
    for (QWidget* field : {txtIssuer, txtEdition})
        field->setEnabled(kind == DocumentControl::Kind::External);
}

bool DocumentControlDialog::Read(DocumentControl& control)
{
    control = m_control;
    control.kind = DocumentControl::Kind(cboKind->currentData().toInt());
    control.revision = txtRevision->text().trimmed();
    control.owner = txtOwner->text().trimmed();
    control.reviewMonths = spnReviewMonths->value();
    control.retentionMonths = control.kind == DocumentControl::Kind::Record ? spnRetentionMonths->value() : 0;
    control.issuer = control.kind == DocumentControl::Kind::External ? txtIssuer->text().trimmed() : QString();
    control.edition = control.kind == DocumentControl::Kind::External ? txtEdition->text().trimmed() : QString();
    if (control.status == DocumentControl::Status::Approved && m_control.approvedOn.isValid()
        && control.revision.isEmpty()) {
        MsgBox(QStringLiteral("An approved document keeps its revision."), MsgStyle::Critical);
        return false;
    }
    if (!readDate(txtNextReview, QStringLiteral("Next review"), control.nextReview))
        return false;
    if (!readDate(txtRetentionEnds, QStringLiteral("Retention ends"), control.retentionEnds))
        return false;
    if (control.kind == DocumentControl::Kind::Record && control.retentionMonths > 0 && !control.retentionEnds.isValid()
        && control.approvedOn.isValid())
        control.retentionEnds = DocumentControl::MonthsAfter(control.approvedOn, control.retentionMonths);
    if (control.kind != DocumentControl::Kind::Record)
        control.retentionEnds = QDate();
    return true;
}

void DocumentControlDialog::Accept()
{
    DocumentControl control;
    if (!Read(control))
        return;
    switch (Catalogue::Current().SaveControl(m_document.key, control)) {
    case Catalogue::Write::Done:
        accept();
        return;
    case Catalogue::Write::Unchanged:
        MsgBox(QStringLiteral("This document is no longer in the catalogue: the changes were not saved."),
               MsgStyle::Critical);
        return;
    case Catalogue::Write::Refused:
        return; // told; the dialog stays open with what was typed
    }
}
