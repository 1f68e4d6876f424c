// The floors for start-up: a Qt Widgets program with one window holding one
// plain-text editor, and nothing else. With --japanese, the same window
// with one Japanese label, which has to load a Japanese face as any
// Japanese window must. With --second-face as well, two more labels in the
// P-Gothic face at the sizes and with the captions Quillet's window shows
// in it: what Quillet pays for its second face.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

void addLabel(QWidget& window, const QString& text, int top, const QFont& font)
{
    auto* label = new QLabel(text, &window);  // owned by the window
    label->setFont(font);
    label->move(8, top);
}

QFont pGothic(qreal points)
{
    QFont font(u"IPAPGothic"_s);
    font.setPointSizeF(points);
    return font;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlainTextEdit editor;
    editor.resize(293, 447);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(u"--japanese"_s))
        addLabel(editor, u"本文のバイト数"_s, 420, editor.font());
    if (arguments.contains(u"--second-face"_s)) {
        addLabel(editor, u"次へボタンを最下部に追加可能。(ここに URL 記入)"_s, 380, pGothic(9.75));
        addLabel(editor, u"姉妹品 Tessaline で TOPﾍﾟｰｼﾞを作成しよう"_s, 400, pGothic(8.25));
    }
    editor.show();
    return QApplication::exec();
}
