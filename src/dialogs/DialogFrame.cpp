#include "dialogs/DialogFrame.h"

#include "platform/Twips.h"
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

void MakeFixedDialog(QDialog& dialog, double clientWidthTwips, double clientHeightTwips)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
    dialog.setSizeGripEnabled(false);
    // The dialogs were laid out for an 8.25-point font; a larger one would not fit their labels.
    QFont font = dialog.font();
    font.setPointSizeF(8.25);
    dialog.setFont(font);
    // Centred on the screen rather than over the main window; moving it also stops Qt from
    // placing it again when it is shown.
    const QWidget* owner = dialog.parentWidget();
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
}

bool TakeDialogKey(QDialog& dialog, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(dialog.focusWidget()))
            button->click();
        return true;
    default:
        return false;
    }
}
