#include "BodyEditor.h"

#include "PictogramPalette.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <utility>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

BodyEditor::BodyEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString BodyEditor::Text() const
{
    // toPlainText() would turn no-break spaces into plain ones; the raw
    // text keeps them. One pass, since the byte count reads the whole body
    // on every keystroke.
    QString raw = document()->toRawText();  // not const: returned as it is, it moves
    const auto breaks = std::count_if(raw.cbegin(), raw.cend(), isBlockBreak);
    if (breaks == 0)
        return raw;
    QString text(raw.size() + breaks, Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : raw) {
        if (isBlockBreak(c)) {
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c;
        }
    }
    return text;
}

std::pair<int, int> BodyEditor::shownRange() const
{
    const QTextBlock last = cursorForPosition(viewport()->rect().bottomRight()).block();
    return {firstVisibleBlock().position(), last.position() + last.length() - 1};
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

void BodyEditor::setTextFont(const QFont& font)
{
    pendingFont_ = font;
    if (hasFocus() || !document()->isEmpty()) {
        applyTextFont();
        return;
    }
    // Before the layout: the first text is laid out in its own face. Once
    // only, so no later keystroke pays for the hook.
    connect(document(), &QTextDocument::contentsChange, this, &BodyEditor::applyTextFont,
            Qt::SingleShotConnection);
}

void BodyEditor::applyTextFont()
{
    if (pendingFont_)
        setFont(*std::exchange(pendingFont_, std::nullopt));
}

// The caret takes its height from the face.
void BodyEditor::focusInEvent(QFocusEvent* event)
{
    applyTextFont();
    QPlainTextEdit::focusInEvent(event);
}

void BodyEditor::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    menu->addSeparator();
    menu->addAction(pictogramPaletteCaption(), this, &BodyEditor::pictogramsWanted);
    menu->addAction(u"ページに分けて作成…"_s, this, &BodyEditor::chainWanted);
    menu->exec(event->globalPos());
}

}  // namespace quillet
