#pragma once

#include "HostUi.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QUrl;
class QWidget;

namespace quillet {

class WebPaneFactory;

// Loads the browser module when the event loop is next idle, so the first
// preview costs about what the engine itself needs.
void preloadPreviewPane();

// The preview pane held by a frame: the browser view, made on first use,
// the page it shows as the chosen handsets read it, and the pages of the
// same folder the user has followed links to, as a handset would.
class PreviewPane final : public QObject {
    Q_OBJECT

public:
    // The frame's pane, made on first use; owned by the frame.
    static PreviewPane& in(QWidget& frame);

    // Shows the page at `address` afresh, on `screen`, as `reading` makes
    // it; the links followed before are forgotten. Anything but a regular
    // file of reasonable size is refused, and the pane left as it was.
    Result<> show(const QString& address, PageOrigin origin, const HandsetScreen& screen,
                  const PageReading& reading);

    // A link the user followed in the pane, and Backspace.
    void follow(const QUrl& address);
    void back();

private:
    explicit PreviewPane(QWidget& frame);

    // A page, or a line that says what the handset would open instead.
    struct Shown {
        QString address;
        PageOrigin origin;
        QString line;
    };
    void showShown(const Shown& shown);
    void showPage(const QString& address, PageOrigin origin,
                  const std::optional<QByteArray>& bytes);
    void showLine(const QString& line);
    void present(const std::function<void(WebPaneFactory&, QWidget&)>& show);

    QWidget& frame_;        // the pane's place in the window
    HandsetScreen screen_;  // of the handsets chosen at the last preview
    PageReading reading_;   // how they read a page
    QString folder_;        // the first page's: links inside it, or below, are followed
    QList<Shown> history_;  // the first page, then each link followed, for Backspace
};

}  // namespace quillet
