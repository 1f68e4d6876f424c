#include "DesktopKeys.h"
#include "InputMethodGuard.h"
#include "JapaneseFaces.h"
#include "QtHostUi.h"
#include "main1.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    quillet::prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    quillet::nameApplication();
    quillet::chooseApplicationFace();

    // The file dialogs and message-box buttons in the desktop's language.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(), u"qtbase"_s, u"_"_s,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

    QIcon icon;
    for (const int size : {16, 32, 48, 128}) icon.addFile(u":/icons/quillet-%1.png"_s.arg(size));
    QApplication::setWindowIcon(icon);  // both windows carry it

    quillet::InputMethodGuard inputMethodGuard(&app);
    quillet::DesktopKeys desktopKeys(&app);
    quillet::QtHostUi host;
    quillet::Module1 module;
    quillet::main1 window(host, module);
    window.show();
    return QApplication::exec();
}
