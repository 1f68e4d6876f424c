#pragma once

#include "HandsetMarks.h"

#include <QList>
#include <QObject>
#include <QTextEdit>
#include <QTimer>

class QHelpEvent;

namespace quillet {

class BodyEditor;

// Marks, as a spell checker does, what the handsets of a chosen series will
// make of the text in view of a body editor, and draws its pictograms in
// colour as they show them. Attached to the editor, it only ever changes
// how the text is drawn: never the text, the caret or the undo history.
class HandsetDecorator final : public QObject {
    Q_OBJECT

public:
    // Attaches to `editor`, as its child; on, for the first handsets.
    explicit HandsetDecorator(BodyEditor* editor);

    void setEnabled(bool on);
    // The series whose handsets the marks speak for.
    void setSeries(Series series);

    // Marks the text in view now rather than at the next idle moment.
    void update();
    // The marks drawn now, at their places in the document.
    const QList<HandsetMark>& marks() const { return marks_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void schedule();
    void storeStatesBefore(int first);
    // After an edit at `position`, the states from its block on.
    void forgetStatesFrom(int position);
    // The marks of the text from shownFrom to shownTo, the part in view,
    // and its pictograms.
    QList<HandsetMark> marksIn(int shownFrom, int shownTo, QList<PictogramSpan>& pictograms);
    void drawPictogramsInColour(int shownFrom, int shownTo, const QList<PictogramSpan>& pictograms);
    // Brings selections_ in line with `marks`; whether they changed.
    bool updateSelections(const QList<HandsetMark>& marks);
    void showTip(const QHelpEvent& event);

    BodyEditor* editor_;                           // the editor decorated, which owns this
    QWidget* viewport_;                            // the editor's viewport, for its tooltips
    HandsetMarker marker_;                         // knows the chosen series
    QList<HandsetMark> marks_;                     // in document positions
    QList<QTextEdit::ExtraSelection> selections_;  // the marks as drawn, kept in place by edits
    QList<HandsetMark::Kind> selectionKinds_;      // the kind of each of selections_
    QTimer timer_;           // coalesces the changes of one event into one marking
    QTextCharFormat emoji_;  // the colour emoji face, at the body's size
    bool on_ = true;
    // The first block whose stored state (what its text leaves open at its
    // end, in its userState) may no longer hold.
    int firstStale_ = 0;
};

}  // namespace quillet
