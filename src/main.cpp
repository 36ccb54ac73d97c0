#include "mainwindow/ImageLists.h"
#include "platform/Platform.h"
#include "platform/QtPlatformUi.h"
#include "startup/frmSplash.h"
#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cadrelle"));
    QApplication::setOrganizationName(QStringLiteral("Cadrelle"));
    QGuiApplication::setDesktopFileName(QStringLiteral("cadrelle"));
    RegisterPictures();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cadrelle.svg")));
    QtPlatformUi windows;
    SetUi(&windows);
    auto* splash = new frmSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    const int status = app.exec();
    SetUi(nullptr);
    return status;
}
