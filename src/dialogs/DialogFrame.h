#pragma once

class QDialog;
class QKeyEvent;

// Gives a dialog its fixed frame: a client area of the given size in twips, a title bar with only
// the close box, no resizing, the 8.25-point font it was laid out for, and a place in the middle
// of the screen.
void MakeFixedDialog(QDialog& dialog, double clientWidthTwips, double clientHeightTwips);

// The keys of a dialog without default and cancel buttons: Escape does nothing, and Enter presses
// only the button that has the focus (in a text box it does nothing). True when the key was taken.
bool TakeDialogKey(QDialog& dialog, QKeyEvent* event);
