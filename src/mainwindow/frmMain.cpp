#include "mainwindow/frmMain.h"

#include <QAction>
#include <QCloseEvent>

// Placeholder until the window is built: an empty window that closes.
frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("ISO9001:2000 Cadrelle"));
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {}

QAction* frmMain::Button(const QString&) const
{
    return nullptr;
}

void frmMain::EnableAllButtons() {}
void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
}
void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
}
void frmMain::Form_Resize() {}
void frmMain::Form_Unload() {}
void frmMain::buildControls() {}
void frmMain::buildMenus() {}
void frmMain::buildToolbar() {}
