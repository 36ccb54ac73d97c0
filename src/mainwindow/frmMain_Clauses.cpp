#include "mainwindow/frmMain.h"

// The ISO 9001:2000 clause tree and the documents of a clause.
void frmMain::LoadISOTree() {}
void frmMain::tvISO_NodeClick(QTreeWidgetItem*) {}
