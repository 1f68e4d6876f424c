#include "HandsetDecorator.h"

#include "BodyEditor.h"
#include "PictogramPalette.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// How far below the view a tag that reaches out of it may end. A longer
// one is no tag a handset would read anyway.
constexpr int markContext = 4096;
constexpr int nearContext = 64;  // enough for most tags
constexpr int longestColouredLine = 64 * 1024;

// What the text before `block` leaves open, as stored with the block
// before it.
MarkupState stateBefore(const QTextBlock& block)
{
    const QTextBlock previous = block.previous();
    return previous.isValid() ? MarkupState(previous.userState()) : MarkupState::InText;
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
    case HandsetMark::UnclosedComment:
        format = underlined(QTextCharFormat::WaveUnderline, Qt::red);
        format.setForeground(palette.color(QPalette::PlaceholderText));
        break;
    case HandsetMark::PlatformCharacter:
    case HandsetMark::UnknownTag:
        return underlined(QTextCharFormat::WaveUnderline, warning);
    case HandsetMark::Later:  // information, not a warning
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

// The document's text from `from` to `to`, every line break as "\n". Read
// from the blocks: a cursor's selection would look up the text's layout at
// both ends first.
QString textBetween(const QTextDocument& document, int from, int to)
{
    QString text;
    text.reserve(to - from);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int position = block.position();
        if (position >= to)
            break;
        const QString line = block.text();
        const int start = std::max(0, from - position);
        const int end = std::min(int(line.size()), to - position);
        if (end > start)
            text += QStringView(line).sliced(start, end - start);
        const int separator = position + int(line.size());
        if (separator >= from && separator < to)
            text += u'\n';
    }
    std::replace_if(text.begin(), text.end(), isBlockBreak, u'\n');
    return text;
}

}  // namespace

HandsetDecorator::HandsetDecorator(BodyEditor* editor)
    : QObject(editor), editor_(editor), viewport_(editor->viewport())
{
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &HandsetDecorator::update);
    connect(editor->document(), &QTextDocument::contentsChanged, this, &HandsetDecorator::schedule);
    connect(editor->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int) { forgetStatesFrom(position); });
    connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &HandsetDecorator::schedule);
    editor->installEventFilter(this);     // resizing shows other text
    viewport_->installEventFilter(this);  // the marks' tooltips
}

void HandsetDecorator::setEnabled(bool on)
{
    on_ = on;
    update();
}

void HandsetDecorator::setSeries(Series series)
{
    marker_.setSeries(series);
    update();
}

bool HandsetDecorator::eventFilter(QObject* watched, QEvent* event)
{
    // Only compared: the editor's destruction still sends its viewport's
    // events here, when it is no longer an editor.
    if (watched == viewport_ && event->type() == QEvent::ToolTip) {
        showTip(*static_cast<QHelpEvent*>(event));
        return true;
    }
    if (watched == editor_ && event->type() == QEvent::Resize)
        schedule();
    if (watched == editor_ && event->type() == QEvent::PaletteChange) {
        selections_.clear();  // their colours are the old palette's
        selectionKinds_.clear();
        schedule();
    }
    return QObject::eventFilter(watched, event);
}

void HandsetDecorator::schedule()
{
    timer_.start();
}

// Pictograms are drawn in colour with the marks off too: a block left with
// the ranges of an earlier text would draw other characters in that face.
void HandsetDecorator::update()
{
    timer_.stop();
    const auto [shownFrom, shownTo] = editor_->shownRange();
    QList<PictogramSpan> pictograms;
    if (on_) {
        marks_ = marksIn(shownFrom, shownTo, pictograms);
    } else {
        marks_.clear();
        pictograms = pictogramSpans(textBetween(*editor_->document(), shownFrom, shownTo));
        for (PictogramSpan& pictogram : pictograms) pictogram.start += shownFrom;
    }
    if (updateSelections(marks_))
        editor_->setExtraSelections(selections_);
    drawPictogramsInColour(shownFrom, shownTo, pictograms);
}

// Each pictogram in view from the colour emoji face, keycaps as keycaps, as
// the preview and a handset show them. Only the blocks' layouts change:
// the text keeps no presentation selector, and the face is loaded only
// once a pictogram is in view.
void HandsetDecorator::drawPictogramsInColour(int shownFrom, int shownTo,
                                              const QList<PictogramSpan>& pictograms)
{
    const qreal points = editor_->font().pointSizeF();
    if (emoji_.fontPointSize() != points)  // made again only when the body's face changes
        emoji_.setFont(pictogramFont(points), QTextCharFormat::FontPropertiesSpecifiedOnly);
    QTextDocument* document = editor_->document();
    auto pictogram = pictograms.cbegin();
    for (QTextBlock block = document->findBlock(shownFrom);
         block.isValid() && block.position() <= shownTo; block = block.next()) {
        const int start = block.position();
        const int end = start + block.length();
        QList<QTextLayout::FormatRange> ranges;
        for (; pictogram != pictograms.cend() && pictogram->start < end; ++pictogram) {
            if (pictogram->start >= start)
                ranges.append({int(pictogram->start) - start, int(pictogram->length), emoji_});
        }
        if (block.length() > longestColouredLine)
            continue;  // laying out a line that long again would cost more than colour is worth
        if (ranges != block.layout()->formats()) {
            block.layout()->setFormats(ranges);
            document->markContentsDirty(start, block.length());
        }
    }
}

// The blocks before `first` know what they leave open at their ends, read
// once and again only after an edit above the view, so that a view inside
// a long comment or tag knows it whatever lies above.
void HandsetDecorator::storeStatesBefore(int first)
{
    QTextBlock block = editor_->document()->findBlockByNumber(firstStale_);
    MarkupState state = stateBefore(block);
    for (; block.isValid() && block.blockNumber() < first; block = block.next()) {
        state = markupStateAfter(block.text(), state);
        block.setUserState(int(state));
    }
    firstStale_ = std::max(firstStale_, first);
}

void HandsetDecorator::forgetStatesFrom(int position)
{
    const QTextBlock block = editor_->document()->findBlock(position);
    const int changed =
        block.isValid() ? block.blockNumber() : editor_->document()->blockCount() - 1;
    firstStale_ = std::min(firstStale_, changed);
}

// Marks only the text in view, with what it needs around it: back to the
// "<" of a tag the view starts inside, and on to the ">" of one it ends
// inside, so a keystroke costs the same in a body of any size.
QList<HandsetMark> HandsetDecorator::marksIn(int shownFrom, int shownTo,
                                             QList<PictogramSpan>& pictograms)
{
    QTextDocument* document = editor_->document();
    const int bodyEnd = document->characterCount() - 1;
    QTextBlock first = document->findBlock(shownFrom);
    storeStatesBefore(first.blockNumber());
    while (stateBefore(first) == MarkupState::InTag) first = first.previous();
    const MarkupState before = stateBefore(first);
    const int from = first.position();
    for (const int context : {nearContext, markContext}) {
        const int to = std::min(bodyEnd, shownTo + context);
        const QString text = textBetween(*document, from, to);
        const MarkupState atEnd = markupStateAfter(text, before);
        bool bodyGoesOn = to < bodyEnd;
        if (atEnd == MarkupState::InTag && bodyGoesOn && context != markContext)
            continue;
        if (atEnd == MarkupState::InComment && bodyGoesOn)
            bodyGoesOn = !document->find(u"-->"_s, to).isNull();

        QList<HandsetMark> shown;
        const auto keepShown = [&](const QList<HandsetMark>& marks, qsizetype offset) {
            for (HandsetMark mark : marks) {
                mark.start += from + offset;
                if (mark.start <= shownTo && mark.start + mark.length >= shownFrom)
                    shown.append(mark);
            }
        };
        keepShown(marker_.tagMarks(text, bodyGoesOn, before), 0);
        // Characters need no context: only those in view are read.
        const qsizetype viewStart = shownFrom - from;
        const qsizetype viewEnd =
            std::min<qsizetype>(text.size(), shownTo - from + longestPictogram);
        keepShown(marker_.characterMarks(QStringView(text).sliced(viewStart, viewEnd - viewStart),
                                         &pictograms),
                  viewStart);
        for (PictogramSpan& pictogram : pictograms) pictogram.start += from + viewStart;
        arrangeMarks(shown);
        return shown;
    }
    return {};
}

// The cursors of the last marking have followed every edit since, so a
// mark still in its place keeps its selection: placing a new cursor costs a
// look into the text's layout, and most marks outlive a keystroke. When all
// do, the editor already draws them where they are.
bool HandsetDecorator::updateSelections(const QList<HandsetMark>& marks)
{
    QList<QTextEdit::ExtraSelection> selections;
    QList<HandsetMark::Kind> kinds;
    selections.reserve(marks.size());
    kinds.reserve(marks.size());
    bool changed = marks.size() != selections_.size();
    qsizetype old = 0;
    const auto oldStart = [this](qsizetype i) { return selections_[i].cursor.selectionStart(); };
    for (const HandsetMark& mark : marks) {
        while (old < selections_.size() && oldStart(old) < mark.start) ++old;
        qsizetype same = old;
        while (same < selections_.size() && oldStart(same) == mark.start &&
               (selections_[same].cursor.selectionEnd() != mark.start + mark.length ||
                selectionKinds_[same] != mark.kind))
            ++same;
        if (same < selections_.size() && oldStart(same) == mark.start) {
            selections.append(selections_[same]);
        } else {
            QTextCursor cursor(editor_->document());
            cursor.setPosition(int(mark.start));
            cursor.setPosition(int(mark.start + mark.length), QTextCursor::KeepAnchor);
            selections.append({cursor, markFormat(mark.kind, editor_->palette())});
            changed = true;
        }
        kinds.append(mark.kind);
    }
    selections_ = selections;
    selectionKinds_ = kinds;
    return changed;
}

void HandsetDecorator::showTip(const QHelpEvent& event)
{
    if (timer_.isActive())
        update();
    // The character under the pointer, not the caret place nearest to it.
    const QTextCursor nearest = editor_->cursorForPosition(event.pos());
    const qsizetype at =
        nearest.position() - (editor_->cursorRect(nearest).left() > event.pos().x() ? 1 : 0);
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
        QToolTip::showText(event.globalPos(), tipMarkup(tip), editor_->viewport());
}

}  // namespace quillet
