#include "mainwindow/frmMain.h"

// The category tree, the document list and refiling by drag and drop.
void frmMain::LoadCategories() {}
void frmMain::tvMain_NodeClick(QTreeWidgetItem*) {}
void frmMain::lvMain_MouseDown(const QPoint&) {}
void frmMain::lvMain_MouseUp(const QPoint&) {}
void frmMain::tvMain_OLEDragDrop(const QPoint&) {}
