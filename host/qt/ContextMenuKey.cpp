#include "ContextMenuKey.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quillet {

ContextMenuKey::ContextMenuKey(QObject* application) : QObject(application)
{
    application->installEventFilter(this);
}

bool ContextMenuKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QKeyEvent*>(event)->keyCombination() !=
            QKeyCombination(Qt::ShiftModifier, Qt::Key_F10))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    for (const QWidget* inside = widget; inside; inside = inside->parentWidget()) {
        if (inside->inherits("QWebEngineView"))
            return false;  // the browser engine reads Shift+F10 itself, and asks the view
    }
    const QRect caret = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint at = caret.isValid() && widget->rect().contains(caret.center())
                          ? caret.center()
                          : widget->rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &menu);
    return true;
}

}  // namespace quillet
