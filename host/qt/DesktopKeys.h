#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace quillet {

// Keys the desktop's other programs give their controls, for the whole
// application while it exists:
// - Shift+F10 opens the context menu of the widget that has the focus, at
//   its caret or else its centre, as the Menu key does and as in GTK and
//   KDE programs: laptops without a Menu key reach every context menu so.
// - Ctrl+Tab and Ctrl+Shift+Tab leave a multi-line text field, where Tab
//   and Shift+Tab type a tab, as in GTK programs: without them the
//   keyboard could not get out of the body, or of the help window's
//   credits.
class DesktopKeys final : public QObject {
public:
    explicit DesktopKeys(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool openContextMenu(QWidget& widget);
    static bool leaveTextField(QWidget& widget, const QKeyEvent& key);
};

}  // namespace quillet
