#pragma once

#include <QtPlugin>

#include <functional>

class QByteArray;
class QString;
class QUrl;
class QWidget;

namespace quillet {

// What the browser module offers the program. Both sides compile this one
// declaration, and the program takes the module only through
// qobject_cast, which checks the interface's id: a module built against
// another version of it is refused, never called.
class WebPaneFactory {
public:
    virtual ~WebPaneFactory() = default;

    // A new browser view, a child of `parent`; its "url" property navigates it.
    virtual QWidget* createPane(QWidget* parent) = 0;
    // Shows `data` in `view` as a page of `mimeType` (charset included),
    // resolving relative links against `baseUrl`.
    virtual void showContent(QWidget* view, const QByteArray& data, const QString& mimeType,
                             const QUrl& baseUrl) = 0;
    // Hands every link the user follows in `view`, by a click or by the key
    // its accesskey names (0 to 9, * and #, as on a handset's keypad), to
    // `followed` instead of going there, and Backspace to `back`.
    virtual void followLinksBy(QWidget* view, std::function<void(const QUrl&)> followed,
                               std::function<void()> back) = 0;
};

inline constexpr char webPaneModuleName[] = "quillet_webpane";

}  // namespace quillet

// A macro, since moc reads the plugin's id from one or from a literal.
// NOLINTNEXTLINE(cppcoreguidelines-macro-usage)
#define QUILLET_WEBPANE_FACTORY_IID "jp.quillet.Quillet.WebPaneFactory/2"
Q_DECLARE_INTERFACE(quillet::WebPaneFactory, QUILLET_WEBPANE_FACTORY_IID)
