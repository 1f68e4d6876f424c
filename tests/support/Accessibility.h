#pragma once

#include <QStringList>

class QWidget;

namespace quillet {

// Walks the accessibility tree under `window` and lists the named controls
// (those with an object name) that a screen reader would read without a
// name, as "objectName (role)".
QStringList namelessControls(QWidget* window);

}  // namespace quillet
