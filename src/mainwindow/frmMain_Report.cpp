#include "mainwindow/frmMain.h"

// Report, HTML.
void frmMain::mnuReportHTML_Click() {}
