#include "DesktopKeys.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace quillet {

DesktopKeys::DesktopKeys(QObject* application) : QObject(application)
{
    application->installEventFilter(this);
}

bool DesktopKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->keyCombination() == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10))
        return openContextMenu(*widget);
    return leaveTextField(*widget, *key);
}

bool DesktopKeys::openContextMenu(QWidget& widget)
{
    for (const QWidget* inside = &widget; inside; inside = inside->parentWidget()) {
        if (inside->inherits("QWebEngineView"))
            return false;  // the browser engine reads Shift+F10 itself, and asks the view
    }
    const QRect caret = widget.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint at = caret.isValid() && widget.rect().contains(caret.center())
                          ? caret.center()
                          : widget.rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget.mapToGlobal(at));
    QCoreApplication::sendEvent(&widget, &menu);
    return true;
}

bool DesktopKeys::leaveTextField(QWidget& widget, const QKeyEvent& key)
{
    const bool backward = key.key() == Qt::Key_Backtab ||
                          (key.key() == Qt::Key_Tab && (key.modifiers() & Qt::ShiftModifier));
    if ((key.key() != Qt::Key_Tab && !backward) || !(key.modifiers() & Qt::ControlModifier) ||
        !(qobject_cast<QPlainTextEdit*>(&widget) || qobject_cast<QTextEdit*>(&widget)))
        return false;
    // Tab itself, given to the window, moves the focus on from the field
    // that has it; the field's own handling would type it.
    QKeyEvent tab(QEvent::KeyPress, backward ? Qt::Key_Backtab : Qt::Key_Tab,
                  backward ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(widget.window(), &tab);
    return true;
}

}  // namespace quillet
