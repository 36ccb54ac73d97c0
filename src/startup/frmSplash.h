#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// The first window: the product name with Continue and Exit. Continue opens the catalogue, points
// the delivered records at the installed documents on the first run, shows the main window and
// closes the splash. Controls carry their names as objectName.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    void cmdContinue_Click();
    void cmdExit_Click();
    void Timer1_Timer();
    // The first-run fix-up: points the delivered records at the files of the documents folder.
    // Continue runs it when the catalogue asks for it; public so that it can be timed on its own.
    // Returns whether every path was written.
    bool FixDocumentPaths();

    // Controls.
    QFrame* Frame1 = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblInit = nullptr;
    QPushButton* cmdContinue = nullptr;
    QPushButton* cmdExit = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Ends the program after Exit; tests put in their own ending.
    virtual void EndProgram();

private:
    void buildControls();
    void centreOnScreen();

    // True while the fix-up runs: it hands control to the event loop after each file, and a second
    // Continue, Exit or a close then would start over or end the program half-way.
    bool m_fixing = false;
};
