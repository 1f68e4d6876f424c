#pragma once

#include <QObject>

namespace quillet {

// Shift+F10 opens the context menu of the widget that has the focus, at its
// caret or else its centre, as the Menu key does: laptops without a Menu
// key reach every context menu so, as in GTK and KDE programs. Watches the
// whole application while it exists.
class ContextMenuKey final : public QObject {
public:
    explicit ContextMenuKey(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillet
