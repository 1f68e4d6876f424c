// The floor for start-up: a Qt Widgets program with one window holding one
// plain-text editor, and nothing else.
#include <QApplication>
#include <QPlainTextEdit>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlainTextEdit editor;
    editor.resize(293, 447);
    editor.show();
    return QApplication::exec();
}
