#include "startup/frmSplash.h"

#include "mainwindow/ShowMainWindow.h"
#include "platform/ErrorTrap.h"
#include "platform/ProgramFolder.h"
#include "platform/Twips.h"
#include "storage/Catalogue.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <qdrawutil.h>

namespace {

QFont boldFont(const QString& family, double points)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// A label that keeps its place and takes the size of its text.
QLabel* autoSizeLabel(QWidget* parent, const char* name, const QString& text, int left, int top, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->move(TwipsToPixels(left), TwipsToPixels(top));
    label->adjustSize();
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* cmd = new QPushButton(text, parent);
    cmd->setObjectName(QString::fromLatin1(name));
    cmd->setGeometry(geometry);
    // Return presses the button that has the focus, as on any dialog.
    cmd->setAutoDefault(true);
    return cmd;
}

} // namespace

// A dialog-type window without decorations: no title bar and no buttons of its own. Qt makes a
// parentless dialog transient for the application's window group on X11, and task bars leave such
// windows out, so the splash does not show there. Qt::Tool would do that too, but makes a utility
// palette that window managers tie to a main window; bypassing the window manager would leave the
// splash without the keyboard focus that Continue must hold.
frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QString());
    setFixedSize(TwipsToPixels(5355), TwipsToPixels(3705));
    buildControls();
    connect(cmdContinue, &QPushButton::clicked, this, &frmSplash::cmdContinue_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmSplash::cmdExit_Click);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    centreOnScreen();
}

frmSplash::~frmSplash() = default;

void frmSplash::buildControls()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setGeometry(TwipsRect(0, 0, 5400, 3735));

    lblCompanyProduct = autoSizeLabel(Frame1, "lblCompanyProduct", QStringLiteral("ISO 9001:2000 Product"), 735, 315,
                                      boldFont(QStringLiteral("Arial"), 18));
    lblProductName = autoSizeLabel(Frame1, "lblProductName", QStringLiteral("Cadrelle"), 525, 840,
                                   boldFont(QStringLiteral("Arial"), 32.25));

    lblInit = new QLabel(QStringLiteral("Initialising database..."), Frame1);
    lblInit->setObjectName(QStringLiteral("lblInit"));
    lblInit->setFont(boldFont(QStringLiteral("MS Sans Serif"), 12));
    lblInit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblInit->setGeometry(TwipsRect(525, 2205, 4320, 330));
    lblInit->hide();

    cmdContinue = button(Frame1, "cmdContinue", QStringLiteral("Continue"), TwipsRect(2520, 2835, 1275, 435));
    cmdExit = button(Frame1, "cmdExit", QStringLiteral("Exit"), TwipsRect(3885, 2835, 1275, 435));
    setTabOrder(cmdContinue, cmdExit);
    cmdContinue->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
}

void frmSplash::centreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

namespace {

// What the user can do when the data folder cannot be used.
const QString kDataFolderAdvice
    = QStringLiteral("Cadrelle keeps your catalogue and documents there. Make sure you can write that place, or set "
                     "XDG_DATA_HOME to a folder you can write, and start again.");

// What the user can do when the catalogue cannot be used.
const QString kRecoveryAdvice
    = QStringLiteral("Restore a backup copy of the catalogue to this place, or start afresh with a new catalogue "
                     "made by the catalogue tool.");

} // namespace

void frmSplash::cmdContinue_Click()
{
    if (m_fixing)
        return;
    Trap("SPLASH1", [&] {
        // A name that is not UTF-8 cannot be spelt back to the file system: nothing in the folder
        // could be found.
        const QString folder = ProgramFolder();
        if (folder.contains(QChar::ReplacementCharacter)) {
            MsgBox(QStringLiteral("The program's folder '") + folder
                       + QStringLiteral("' has a name that is not valid UTF-8, so its catalogue cannot be found. "
                                        "Rename the folder, or move the program into another folder."),
                   MsgStyle::Critical);
            return;
        }
        // An installed program's data folder is made and filled on the first start; once there it is kept.
        QString problem;
        if (!PrepareDataFolder(problem)) {
            MsgBox(problem + QStringLiteral("\r\n\r\n") + kDataFolderAdvice, MsgStyle::Critical);
            return;
        }
        // A failed start may be tried again; once the open has failed, nothing more is asked of it.
        if (!Catalogue::Open(DataFolder() + QStringLiteral("/cadrelle.db"), true, kRecoveryAdvice))
            return;
        if (!Catalogue::Current().HasCatalogueTables(kRecoveryAdvice)) {
            Catalogue::Close();
            return;
        }
        // Marked done only when every path was written, so a fix-up the catalogue refused runs
        // again at the next start.
        if (Catalogue::Current().InitPending() && FixDocumentPaths())
            Catalogue::Current().MarkInitDone();
        ShowMainWindow();
        close();
    });
}

void frmSplash::cmdExit_Click()
{
    if (m_fixing)
        return;
    close();
    EndProgram();
}

void frmSplash::EndProgram()
{
    QCoreApplication::exit(0);
}

void frmSplash::Timer1_Timer()
{
    lblInit->setVisible(lblInit->isHidden());
}

void frmSplash::closeEvent(QCloseEvent* event)
{
    if (m_fixing)
        event->ignore();
    else
        event->accept();
}

// Without a title bar the window manager draws no edge either; the dialog's raised border is drawn
// here so the splash stands out from what lies behind it.
void frmSplash::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}
