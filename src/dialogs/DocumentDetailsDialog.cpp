#include "dialogs/DocumentDetailsDialog.h"

#include "dialogs/DialogFrame.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "storage/Catalogue.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

QLineEdit* addTextBox(QWidget* parent, const char* name, const QRect& place)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    // A stored text may be longer than a line edit's usual 32,767 characters; cutting it there
    // would lose the rest when the user presses OK.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

// No button is the default: Enter in a text box does not press OK.
QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

DocumentDetailsDialog::DocumentDetailsDialog(QWidget* parent, double clientWidth, double docRefWidth,
                                             const QString& isoRefsCaption)
    : QDialog(parent)
{
    MakeFixedDialog(*this, clientWidth, 2535);
    Label1 = addLabel(this, "Label1", QStringLiteral("Doc Ref"), TwipsRect(105, 210, 750, 225));
    txtDocRef = addTextBox(this, "txtDocRef", TwipsRect(945, 105, docRefWidth, 285));
    Label2 = addLabel(this, "Label2", QStringLiteral("Title"), TwipsRect(105, 630, 750, 225));
    txtTitle = addTextBox(this, "txtTitle", TwipsRect(945, 525, 6210, 285));
    Label4 = addLabel(this, "Label4", isoRefsCaption, TwipsRect(105, 1050, 2850, 225));
    Label5 = addLabel(this, "Label5", QStringLiteral("eg 4.2.1,5.4.1,8.1)"), TwipsRect(1155, 1260, 1695, 225));
    txtISORefs = addTextBox(this, "txtISORefs", TwipsRect(3045, 1155, 4110, 285));
    Label3 = addLabel(this, "Label3", QStringLiteral("Path"), TwipsRect(105, 1680, 750, 225));
    txtPath = addTextBox(this, "txtPath", TwipsRect(945, 1575, 5790, 285));
    cmdBrowse = addButton(this, "cmdBrowse", QStringLiteral("..."), TwipsRect(6825, 1575, 330, 330));
    cmdOK = addButton(this, "cmdOK", QStringLiteral("OK"), TwipsRect(3360, 1995, 1170, 435));
    cmdCancel = addButton(this, "cmdCancel", QStringLiteral("Cancel"), TwipsRect(4830, 1995, 1170, 435));
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void DocumentDetailsDialog::cmdCancel_Click()
{
    reject();
}

void DocumentDetailsDialog::BrowseForPath()
{
    const QString chosen = Ui().OpenFileName(QStringLiteral("All Files *.*|*.*|"));
    if (!chosen.isEmpty())
        txtPath->setText(chosen);
}

bool DocumentDetailsDialog::FieldsComplete()
{
    // Exact comparisons with the empty text: blanks count as an answer.
    if (txtDocRef->text().isEmpty()) {
        MsgBox(QStringLiteral("Enter a document reference"));
        return false;
    }
    if (txtTitle->text().isEmpty()) {
        MsgBox(QStringLiteral("Enter a document title"));
        return false;
    }
    if (txtPath->text().isEmpty()) {
        MsgBox(QStringLiteral("Enter a path to document"));
        return false;
    }
    return true;
}

bool DocumentDetailsDialog::ReferenceAccepted(const QString& dockey)
{
    const std::vector<Document> others = Catalogue::Current().OtherDocumentsWithReference(txtDocRef->text(), dockey);
    if (others.empty())
        return true;
    QString prompt
        = QStringLiteral("The reference ") + txtDocRef->text().trimmed() + QStringLiteral(" is already used by");
    for (const Document& other : others) {
        prompt += QStringLiteral("\r\n") + other.ref + QStringLiteral(" - ") + other.title;
        if (!other.category.isEmpty())
            prompt += QStringLiteral(" (") + other.category + QLatin1Char(')');
    }
    prompt += QStringLiteral("\r\nTwo documents with one reference cannot be told apart. Keep this reference?");
    if (MsgBox(prompt, MsgStyle::YesNo + MsgStyle::DefaultButton2, QStringLiteral("Duplicate reference"))
        == MsgAnswer::Yes)
        return true;
    txtDocRef->setFocus();
    txtDocRef->selectAll();
    return false;
}

void DocumentDetailsDialog::SetTabOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    (*order.begin())->setFocus();
}

void DocumentDetailsDialog::keyPressEvent(QKeyEvent* event)
{
    if (!TakeDialogKey(*this, event))
        QDialog::keyPressEvent(event);
}
