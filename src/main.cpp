#include <QApplication>
#include <QIcon>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cadrelle"));
    QApplication::setOrganizationName(QStringLiteral("Cadrelle"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cadrelle.svg")));
    QLabel placeholder(QStringLiteral("Cadrelle"));
    placeholder.resize(400, 200);
    placeholder.show();
    return app.exec();
}
