#pragma once

#include "HandsetMarks.h"

#include <QList>
#include <QPlainTextEdit>
#include <QTimer>

#include <optional>

namespace quillet {

// The page body: plain text in, plain text out, line breaks as CR LF
// whatever the file or paste that brought them. Marks, as a spell checker
// does, what a handset will make of the text in view.
class BodyEditor final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit BodyEditor(QWidget* parent = nullptr);

    // The whole content, line breaks as CR LF, every character as typed
    // (no-break spaces stay no-break spaces).
    QString Text() const;
    // Replaces the whole content, taking CR LF, LF or a lone CR as a line
    // break; raises one change notification.
    void setText(const QString& text);
    // The face of the text, loaded once the body first holds text or the
    // focus: an empty body without a caret draws nothing in it, so the
    // first frame need not wait for a face only the body uses.
    void setTextFont(const QFont& font);

    // The marks, and the pictograms drawn in colour, are on from the start;
    // they only ever change how the text is drawn.
    void setHandsetMarks(bool on);
    // Marks the text in view now rather than at the next idle moment.
    void updateHandsetMarks();
    // The marks drawn now, at their places in the document.
    const QList<HandsetMark>& handsetMarks() const { return marks_; }

signals:
    // The context menu's "絵文字を挿入".
    void pictogramsWanted();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Every paste, middle-button paste and drop comes through here.
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyTextFont();
    void scheduleHandsetMarks();
    // The marks of the text from shownFrom to shownTo, the part in view.
    QList<HandsetMark> marksIn(int shownFrom, int shownTo);
    void drawPictogramsInColour(int shownTo);
    QList<QTextEdit::ExtraSelection> selectionsFor(const QList<HandsetMark>& marks) const;
    void showMarkTip(const QHelpEvent& event);

    HandsetMarker marker_;
    QList<HandsetMark> marks_;  // in document positions
    QTimer markTimer_;          // coalesces the changes of one event into one marking
    bool marksOn_ = true;
    std::optional<QFont> pendingFont_;  // the text face until it is first needed
};

}  // namespace quillet
