#include "InputMethodGuard.h"

#include <QEvent>
#include <QInputMethodEvent>

namespace quillet {

InputMethodGuard::InputMethodGuard(QObject* application) : QObject(application)
{
    application->installEventFilter(this);
}

bool InputMethodGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->spontaneous())
        ++userEvents_;
    switch (event->type()) {
    case QEvent::InputMethod:
        return takeInputMethodEvent(watched, *static_cast<QInputMethodEvent*>(event));
    case QEvent::FocusAboutToChange:
        focusAboutToLeave(watched);
        break;
    default:
        break;
    }
    return false;
}

bool InputMethodGuard::takeInputMethodEvent(QObject* target, const QInputMethodEvent& event)
{
    const QString& commit = event.commitString();
    const QString& preedit = event.preeditString();
    if (commit.isEmpty() && preedit.isEmpty())
        return false;  // only hides a composition
    const bool commitOnly = preedit.isEmpty();
    if (commitOnly && !expectedCopy_.isEmpty() && commit == expectedCopy_) {
        expectedCopy_.clear();
        return true;
    }
    expectedCopy_.clear();  // the user is typing again

    // Either the engine confirming the composition, or Qt committing it
    // because the focus is about to move; which one, the next focus event
    // tells, if it comes before anything else from the user.
    if (commitOnly && target == composingIn_ && commit == composition_) {
        committedIn_ = target;
        committed_ = commit;
        userEventsAtCommit_ = userEvents_;
    }
    composingIn_ = target;
    composition_ = preedit;
    return false;
}

void InputMethodGuard::focusAboutToLeave(QObject* target)
{
    if (target == committedIn_ && !committed_.isEmpty() && userEvents_ == userEventsAtCommit_)
        expectedCopy_ = committed_;
    committed_.clear();
}

}  // namespace quillet
