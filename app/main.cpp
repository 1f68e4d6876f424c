#include "QtHostUi.h"
#include "main1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    quillet::prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    QApplication::setApplicationName(quillet::applicationTitle);

    quillet::QtHostUi host;
    quillet::main1 window(host);
    window.show();
    return QApplication::exec();
}
