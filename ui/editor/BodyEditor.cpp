#include "BodyEditor.h"

#include "PictogramPalette.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <memory>
#include <utility>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// How far above the view a tag or comment that reaches into it may start,
// and below it end. A longer one is no tag a handset would read anyway.
constexpr int markContext = 4096;
constexpr int nearContext = 256;  // enough for nearly every tag
constexpr int longestColouredLine = 64 * 1024;

// The document ends blocks with U+2029, and Shift+Enter puts a U+2028
// inside one: both are line breaks to the user.
bool isBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

QTextCharFormat underlined(QTextCharFormat::UnderlineStyle style, const QColor& colour)
{
    QTextCharFormat format;
    format.setUnderlineStyle(style);
    format.setUnderlineColor(colour);
    return format;
}

// Underlines carry no colour of the text: drawn over a tag's colour, one
// that did would hide its own underline.
QTextCharFormat markFormat(HandsetMark::Kind kind, const QPalette& palette)
{
    const QColor warning(0xFF, 0x8C, 0x00);
    QTextCharFormat format;
    switch (kind) {
    case HandsetMark::LostCharacter:
    case HandsetMark::UnclosedTag:
        return underlined(QTextCharFormat::WaveUnderline, Qt::red);
    case HandsetMark::PlatformCharacter:
    case HandsetMark::UnknownTag:
        return underlined(QTextCharFormat::WaveUnderline, warning);
    case HandsetMark::LaterTag:  // information, not a warning
        return underlined(QTextCharFormat::DotLine, palette.color(QPalette::PlaceholderText));
    case HandsetMark::Comment:
        format.setForeground(palette.color(QPalette::PlaceholderText));
        break;
    case HandsetMark::Tag:
        format.setForeground(palette.color(QPalette::Link));
        break;
    }
    return format;
}

// Escaped, since a tip that starts "<table>" would be read as an HTML
// table, and on one line, as a plain tip is.
QString tipMarkup(const QString& tip)
{
    return u"<p style=\"white-space:pre\">"_s + tip.toHtmlEscaped() + u"</p>"_s;
}

// The start of the tag or comment that `text` ends inside, or its end.
qsizetype openingBefore(QStringView text)
{
    const qsizetype comment = text.lastIndexOf(u"<!--");
    if (comment >= 0 && text.indexOf(u"-->", comment) < 0)
        return comment;
    const qsizetype tag = text.lastIndexOf(u'<');
    if (tag >= 0 && text.indexOf(u'>', tag) < 0)
        return tag;
    return text.size();
}

}  // namespace

BodyEditor::BodyEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    markTimer_.setSingleShot(true);
    markTimer_.setInterval(0);
    connect(&markTimer_, &QTimer::timeout, this, &BodyEditor::updateHandsetMarks);
    connect(document(), &QTextDocument::contentsChanged, this, &BodyEditor::scheduleHandsetMarks);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &BodyEditor::scheduleHandsetMarks);
}

QString BodyEditor::Text() const
{
    // toPlainText() would turn no-break spaces into plain ones; the raw
    // text keeps them. One pass, since the byte count reads the whole body
    // on every keystroke.
    QString raw = document()->toRawText();  // not const: returned as it is, it moves
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
    menu->exec(event->globalPos());
}

void BodyEditor::setHandsetMarks(bool on)
{
    marksOn_ = on;
    updateHandsetMarks();
}

void BodyEditor::scheduleHandsetMarks()
{
    if (marksOn_)
        markTimer_.start();
}

void BodyEditor::updateHandsetMarks()
{
    markTimer_.stop();
    const QRect view = viewport()->rect();
    const int shownFrom = cursorForPosition(view.topLeft()).position();
    const int shownTo = cursorForPosition(view.bottomRight()).position();
    marks_ = marksOn_ ? marksIn(shownFrom, shownTo) : QList<HandsetMark>();
    setExtraSelections(selectionsFor(marks_));
    drawPictogramsInColour(shownTo);
}

// Each pictogram in view from the colour emoji face, keycaps as keycaps, as
// the preview and a handset show them. Only the blocks' layouts change:
// the text keeps no presentation selector, and the face is loaded only
// once a pictogram is in view.
void BodyEditor::drawPictogramsInColour(int shownTo)
{
    QTextCharFormat emoji;
    emoji.setFont(pictogramFont(font().pointSizeF()), QTextCharFormat::FontPropertiesSpecifiedOnly);
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && block.position() <= shownTo;
         block = block.next()) {
        if (block.length() > longestColouredLine)
            continue;  // laying out a line that long again would cost more than colour is worth
        QList<QTextLayout::FormatRange> ranges;
        if (marksOn_) {
            for (const PictogramSpan& span : pictogramSpans(block.text()))
                ranges.append({int(span.start), int(span.length), emoji});
        }
        if (ranges != block.layout()->formats()) {
            block.layout()->setFormats(ranges);
            document()->markContentsDirty(block.position(), block.length());
        }
    }
}

// Marks only the text in view, with enough around it to read the tags that
// reach into it, so a keystroke costs the same in a body of any size. Reads
// a little around the view first, and more only when a tag reaches past it.
QList<HandsetMark> BodyEditor::marksIn(int shownFrom, int shownTo)
{
    const int bodyEnd = document()->characterCount() - 1;
    for (const int context : {nearContext, markContext}) {
        const int from = std::max(0, shownFrom - context);
        const int to = std::min(bodyEnd, shownTo + context);
        QTextCursor range(document());
        range.setPosition(from);
        range.setPosition(to, QTextCursor::KeepAnchor);
        QString text = range.selectedText();
        std::replace_if(text.begin(), text.end(), isBreak, u'\n');

        // From the tag the view starts inside to the first ">" below it.
        const QStringView before = QStringView(text).first(shownFrom - from);
        const qsizetype close = text.indexOf(u'>', shownTo - from);
        const bool knownBefore = from == 0 || before.contains(u'<') || before.contains(u'>');
        if (context != markContext && (!knownBefore || (close < 0 && to < bodyEnd)))
            continue;
        const qsizetype start = openingBefore(before);
        const qsizetype stop = close < 0 ? text.size() : close + 1;
        QList<HandsetMark> shown;
        for (HandsetMark mark :
             marker_.marks(QStringView(text).sliced(start, stop - start), from + stop < bodyEnd)) {
            mark.start += from + start;
            if (mark.start <= shownTo && mark.start + mark.length >= shownFrom)
                shown.append(mark);
        }
        return shown;
    }
    return {};
}

QList<QTextEdit::ExtraSelection> BodyEditor::selectionsFor(const QList<HandsetMark>& marks) const
{
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(marks.size());
    for (const HandsetMark& mark : marks) {
        QTextCursor cursor(document());
        cursor.setPosition(int(mark.start));
        cursor.setPosition(int(mark.start + mark.length), QTextCursor::KeepAnchor);
        selections.append({cursor, markFormat(mark.kind, palette())});
    }
    return selections;
}

bool BodyEditor::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        showMarkTip(*static_cast<QHelpEvent*>(event));
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

void BodyEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    scheduleHandsetMarks();
}

void BodyEditor::showMarkTip(const QHelpEvent& event)
{
    if (markTimer_.isActive())
        updateHandsetMarks();
    // The character under the pointer, not the caret place nearest to it.
    const QTextCursor nearest = cursorForPosition(event.pos());
    const qsizetype at =
        nearest.position() - (cursorRect(nearest).left() > event.pos().x() ? 1 : 0);
    QString tip;
    for (const HandsetMark& mark : marks_) {
        if (at < mark.start || at >= mark.start + mark.length)
            continue;
        if (const QString markTip = handsetMarkTip(mark); !markTip.isEmpty())
            tip = markTip;  // the innermost: the last that holds the character
    }
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event.globalPos(), tipMarkup(tip), viewport());
}

}  // namespace quillet
