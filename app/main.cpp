#include "QtHostUi.h"
#include "SubPageWriter.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(quillet::applicationTitle);

    // Until the editor window exists, the program makes the sample page.
    const QString folder = QDir::temp().filePath(u"quillet"_s);
    QDir().mkpath(folder);
    quillet::StoredSubPage page(
        {QDir(folder).filePath(u"sub100.html"_s), u"Menu"_s, u"Hello あ"_s, u"sub101.html"_s});
    quillet::QtHostUi host;
    quillet::SubPageWriter writer(page, host);
    writer.Command1_Click();
    QTextStream(stdout) << QDir::toNativeSeparators(page.outputPath()) << Qt::endl;
    return 0;
}
