#include "WindowAccessibles.h"

#include "main1.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// A screen reader reads the count as its value, described with the size of
// the whole page and the handsets that show it. That takes encoding the
// page, so it is worked out only when a screen reader asks for it.
class ByteCountAccessible final : public QAccessibleWidget {
public:
    ByteCountAccessible(QLabel* count, const main1& window)
        : QAccessibleWidget(count, QAccessible::StaticText), window_(window)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        if (kind == QAccessible::Description)
            return widget()->accessibleDescription() + u"。"_s + window_.pageReport();
        return QAccessibleWidget::text(kind);
    }

private:
    const main1& window_;
};

// The help picture is a link to a screen reader, which can press it as the
// mouse or F1 does.
class HelpLinkAccessible final : public QAccessibleWidget {
public:
    HelpLinkAccessible(QLabel* picture, main1& window)
        : QAccessibleWidget(picture, QAccessible::Link), window_(window)
    {
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            window_.Picture1_MouseUp();
    }

private:
    main1& window_;
};

// Both made on request and owned by Qt's accessibility cache.
QAccessibleInterface* windowAccessible(const QString&, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    auto* window = label ? qobject_cast<main1*>(label->parentWidget()) : nullptr;
    if (!window)
        return nullptr;
    if (label->objectName() == u"Label4"_s)
        return new ByteCountAccessible(label, *window);
    if (label->objectName() == u"Picture1"_s)
        return new HelpLinkAccessible(label, *window);
    return nullptr;
}

}  // namespace

void installWindowAccessibles()
{
    QAccessible::removeFactory(windowAccessible);  // once, however many windows
    QAccessible::installFactory(windowAccessible);
}

}  // namespace quillet
