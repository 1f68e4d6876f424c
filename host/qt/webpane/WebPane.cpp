// The embedded browser, kept in a module of its own: the browser engine's
// libraries are large, and only a preview should pay for loading them.
#include "WebPane.h"

#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

extern "C" Q_DECL_EXPORT QWidget* quilletCreateWebPane(QWidget* parent)
{
    auto* view = new QWebEngineView(parent);  // owned by the pane's place
    // For pages it loads by address; the engine's own charset guess can
    // still override this, hence quilletShowWebContent.
    view->settings()->setDefaultTextEncoding(u"Shift_JIS"_s);
    return view;
}

extern "C" Q_DECL_EXPORT void quilletShowWebContent(QWidget* view, const QByteArray& data,
                                                    const QString& mimeType, const QUrl& baseUrl)
{
    static_cast<QWebEngineView*>(view)->setContent(data, mimeType, baseUrl);
}
