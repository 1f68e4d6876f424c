#include "BodyEditor.h"

#include <QTextDocument>
#include <algorithm>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

BodyEditor::BodyEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString BodyEditor::Text() const
{
    // toPlainText() would turn no-break spaces into plain ones; the raw
    // text keeps them. It ends blocks with U+2029, and Shift+Enter puts a
    // U+2028 inside one: both are line breaks to the user. One pass, since
    // the byte count reads the whole body on every keystroke.
    const QString raw = document()->toRawText();
    const auto isBreak = [](QChar c) {
        return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
    };
    const auto breaks = std::count_if(raw.cbegin(), raw.cend(), isBreak);
    if (breaks == 0)
        return raw;
    QString text(raw.size() + breaks, Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : raw) {
        if (isBreak(c)) {
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c;
        }
    }
    return text;
}

void BodyEditor::setText(const QString& text)
{
    QString lines = text;
    lines.replace(u"\r\n"_s, u"\n"_s);
    lines.replace(u'\r', u'\n');
    setPlainText(lines);
}

}  // namespace quillet
