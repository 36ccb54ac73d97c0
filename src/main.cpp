#include "startup/frmSplash.h"
#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    // The icons live in the core library, which the linker would otherwise leave out.
    Q_INIT_RESOURCE(cadrelle);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cadrelle"));
    QApplication::setOrganizationName(QStringLiteral("Cadrelle"));
    QGuiApplication::setDesktopFileName(QStringLiteral("cadrelle"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cadrelle.svg")));
    auto* splash = new frmSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    return app.exec();
}
