#include "BodyEditor.h"

#include <QMimeData>
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

// Only the text of what comes in counts: the body is plain text with
// hand-written tags, which a Markdown or HTML reading would eat. Nothing
// usable, nothing changed. Qt 6.4 itself reads the first format of the
// list without checking there is one, and an X clipboard with no owner
// hands over data with no formats at all.
void BodyEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString text = source->text();
    if (text.isEmpty())
        return;
    QMimeData plain;
    plain.setText(text);
    QPlainTextEdit::insertFromMimeData(&plain);
}

}  // namespace quillet
