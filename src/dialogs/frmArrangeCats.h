#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// Puts the categories in the order the category tree shows them. The list shows the names; each
// entry keeps its category's key beside the name, so positions are stored by key.
class frmArrangeCats : public QDialog
{
    Q_OBJECT

public:
    explicit frmArrangeCats(QWidget* parent = nullptr);

    // Handlers, public so that tests can run them as the buttons do.
    void Form_Load();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QListWidget* List1 = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    // No default or cancel key: Escape does not close the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SwapEntries(int first, int second);
};
