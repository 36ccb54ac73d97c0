#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The controls and checks that the add and edit dialogs share: the four detail fields, Browse,
// OK and Cancel. The dialogs differ in what they store and in their captions and tab orders.
class DocumentDetailsDialog : public QDialog
{
    Q_OBJECT

public:
    // Handlers, public so that tests can run them as the buttons do.
    virtual void cmdBrowse_Click() = 0;
    virtual void cmdOK_Click() = 0;
    void cmdCancel_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* txtDocRef = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtISORefs = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    DocumentDetailsDialog(QWidget* parent, double clientWidth, double docRefWidth, const QString& isoRefsCaption);

    // Puts the chosen file into txtPath; a cancelled file dialog leaves it as it was.
    void BrowseForPath();
    // The three checks in their order; only the first that fails is told. True when all pass.
    bool FieldsComplete();
    // Two documents with one reference cannot be told apart: a reference that other documents than
    // dockey have is kept only when the user says so; otherwise the focus goes back to it. True to go on.
    bool ReferenceAccepted(const QString& dockey);
    // Orders the focus chain and gives the focus to its first control.
    void SetTabOrder(std::initializer_list<QWidget*> order);

    // Neither dialog has a default or cancel key: Escape leaves it open with what was typed.
    void keyPressEvent(QKeyEvent* event) override;
};
