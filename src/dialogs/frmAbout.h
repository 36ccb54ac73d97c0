#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// "Version 1.0.5": the version line, each number in decimal without leading zeros.
QString VersionLine(int major, int minor, int revision);

// The program's title, version, a short description and where the user's data is. Enter and Escape close it
// like OK.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    void Form_Load();
    void cmdOK_Click();

    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDataFolder = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QList<QFrame*> Line1;
    QPushButton* cmdOK = nullptr;

private:
    void buildLogo();
    void buildSeparators();
};
