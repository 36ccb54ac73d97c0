#include "mainwindow/frmMain.h"

// The toolbar commands and the menus other than the report.
void frmMain::tlbCategories_ButtonClick(const QString&) {}
void frmMain::lvMain_DblClick() {}
void frmMain::mnuFileExit_Click() {}
void frmMain::mnuDatabaseBackup_Click() {}
void frmMain::mnuHelpContents_Click() {}
void frmMain::mnuHelpAbout_Click() {}
