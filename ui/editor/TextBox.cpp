#include "TextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quillet {

// Qt's line edit pastes an empty text over the selection, so Ctrl+V with
// nothing copied would wipe a selected title. Its context menu already
// offers no Paste then, and a middle-button paste only deselects.
void TextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste) && QGuiApplication::clipboard()->text().isEmpty()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace quillet
