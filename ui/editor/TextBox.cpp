#include "TextBox.h"

#include "PictogramPalette.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

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

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (offersPictograms_ && !isReadOnly()) {
        menu->addSeparator();
        menu->addAction(pictogramPaletteCaption(), this, &TextBox::pictogramsWanted);
    }
    menu->exec(event->globalPos());
}

}  // namespace quillet
