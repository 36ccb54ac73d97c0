#pragma once

class frmMain;

// Creates the main window, runs its load and shows it. The window deletes itself when it closes.
// The catalogue connection must be open.
frmMain* ShowMainWindow();
