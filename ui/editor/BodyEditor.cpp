#include "BodyEditor.h"

#include <QTextDocument>

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
    // U+2028 inside one: both are line breaks to the user.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u"\r\n"_s);
    text.replace(QChar::LineSeparator, u"\r\n"_s);
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
