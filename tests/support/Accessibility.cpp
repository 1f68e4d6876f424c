#include "Accessibility.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>

namespace quillet {

namespace {

void walk(QAccessibleInterface* node, QStringList& nameless)
{
    if (!node)
        return;
    const QObject* object = node->object();
    const bool ours = object && !object->objectName().isEmpty() &&
                      !object->objectName().startsWith(QLatin1StringView("qt_"));
    if (ours && node->text(QAccessible::Name).trimmed().isEmpty())
        nameless.append(object->objectName() + QLatin1StringView(" (role ") +
                        QString::number(node->role()) + QLatin1Char(')'));
    for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), nameless);
}

}  // namespace

QStringList namelessControls(QWidget* window)
{
    QStringList nameless;
    walk(QAccessible::queryAccessibleInterface(window), nameless);
    return nameless;
}

}  // namespace quillet
