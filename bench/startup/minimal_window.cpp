// The floors for start-up: a Qt Widgets program with one window holding one
// plain-text editor, and nothing else; with --japanese, the same window with
// one Japanese label, which has to load a Japanese face as any Japanese
// window must.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlainTextEdit editor;
    editor.resize(293, 447);
    if (QCoreApplication::arguments().contains(u"--japanese"_s)) {
        auto* label = new QLabel(u"本文のバイト数"_s, &editor);  // owned by the editor
        label->move(8, 420);
    }
    editor.show();
    return QApplication::exec();
}
