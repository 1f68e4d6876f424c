#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QInputMethodEvent;

namespace quillet {

// Keeps a composition from landing twice when the focus moves while an
// input method still holds it. Qt 6.4 commits the composition into the box
// itself, then resets the input method; IBus, not told that the client
// commits (its ClientCommitPreedit), has the engine commit it as well (Mozc
// does), and that second copy arrives later, in whatever box has the focus
// by then. Watches the whole application while it exists.
class InputMethodGuard final : public QObject {
public:
    explicit InputMethodGuard(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when `event` is the second copy, to be dropped.
    bool takeInputMethodEvent(QObject* target, const QInputMethodEvent& event);
    void focusAboutToLeave(QObject* target);

    QPointer<QObject> composingIn_;  // the box that shows a composition
    QString composition_;            // what it shows
    QPointer<QObject> committedIn_;  // where the composition was just committed
    QString committed_;              // what, if nothing from the user came since
    quint64 userEvents_ = 0;         // events from the window system so far
    quint64 userEventsAtCommit_ = 0;
    QString expectedCopy_;  // Qt committed this on a focus change; its copy is due
};

}  // namespace quillet
