// The embedded browser, kept in a module of its own: the browser engine's
// libraries are large, and only a preview should pay for loading them.
#include "WebPane.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// The handsets these pages are for run no script, and a page loaded for
// preview (a downloaded one, say) is not ours to trust: with scripts it
// could read the user's files and carry them off. So the pane runs none,
// reaches nothing remote and grants nothing; images and other files next
// to the page still show.
void confine(QWebEngineView& view)
{
    QWebEngineSettings* settings = view.settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);

    QWebEnginePage* page = view.page();
    QObject::connect(page, &QWebEnginePage::featurePermissionRequested, page,
                     [page](const QUrl& origin, QWebEnginePage::Feature feature) {
                         page->setFeaturePermission(origin, feature,
                                                    QWebEnginePage::PermissionDeniedByUser);
                     });
    QObject::connect(page, &QWebEnginePage::fullScreenRequested, page,
                     [](QWebEngineFullScreenRequest request) { request.reject(); });
}

// A page that goes nowhere by itself: the links the user follows, by a
// click or by a handset's key, go to whoever shows the pages, who decides
// what the handset would show.
class PreviewPage final : public QWebEnginePage {
    Q_OBJECT

public:
    explicit PreviewPage(QObject* parent) : QWebEnginePage(parent)
    {
        connect(this, &QWebEnginePage::loadStarted, this, [this] { accessKeys_.clear(); });
        // Once the engine is done with the load: asked from its signal, the
        // script often never answered.
        connect(this, &QWebEnginePage::loadFinished, this, &PreviewPage::readAccessKeys,
                Qt::QueuedConnection);
    }

    std::function<void(const QUrl&)> followed;
    std::function<void()> back;

    // Follows the link whose accesskey is `key`; whether there is one.
    bool followKey(const QString& key)
    {
        const QUrl address = accessKeys_.value(key);
        if (address.isEmpty())
            return false;
        follow(address);
        return true;
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted)
            return true;
        if (url.matches(this->url(), QUrl::RemoveFragment) && url.hasFragment())
            return true;  // a place in the same page
        if (isMainFrame)
            follow(url);
        return false;
    }

private:
    // Once the engine is done with the request that brought it here.
    void follow(const QUrl& address)
    {
        QMetaObject::invokeMethod(
            this, [this, address] { followed ? followed(address) : void(); }, Qt::QueuedConnection);
    }

    // The page's own scripts are off; this one runs in a world of its own.
    void readAccessKeys()
    {
        // As one string: a result of arrays in an array never came back.
        runJavaScript(
            u"Array.from(document.querySelectorAll('a[accesskey][href]'),"
            u" a => a.accessKey + ' ' + a.href).join('\\n')"_s,
            QWebEngineScript::ApplicationWorld, [this](const QVariant& links) {
                for (const QString& link : links.toString().split(u'\n')) {
                    const QString key = link.section(u' ', 0, 0);
                    if (!key.isEmpty() && !accessKeys_.contains(key))  // the first
                        accessKeys_.insert(key, QUrl(link.section(u' ', 1)));
                }
            });
    }

    QHash<QString, QUrl> accessKeys_;  // the links' keys, from the page shown
};

// The engine draws the page in software, not through OpenGL. A view that
// composites through OpenGL needs its top-level window to have an OpenGL
// surface, and Qt 6.4 gets one by destroying and re-creating the editor's
// native window as the view joins it: the window vanishes and comes back
// elsewhere, under a new id, with the window manager's state for it lost.
// The pane is small, so software drawing costs nothing a user sees. (The
// engine still reads the format of the context it would share: the program
// sets one, never made, before it loads this module.)
void drawInSoftware()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// The view draws the page through a Qt Quick widget, whose scene lives in a
// window of its own that is never shown ("Offscreen"). Qt counts every
// window without a parent as one of the application's, so after the first
// preview screen readers found a second, empty top-level frame. Typed as
// the desktop, which Qt leaves out of its top-level windows, it is only
// what it is: the pane's drawing surface. The view makes such a widget for
// each page it hosts, so the view is watched for them; each also takes the
// view's place in the tab order, and takes the handset's keys: 0 to 9, *
// and # follow the link they are the accesskey of, and Backspace goes back.
class SceneWidgetWatcher final : public QObject {
public:
    explicit SceneWidgetWatcher(QWebEngineView* view) : QObject(view), view_(view)
    {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != view_ && event->type() == QEvent::KeyPress)
            return handsetKey(*static_cast<QKeyEvent*>(event));
        if (watched == view_ &&
            (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished)) {
            // Polished, a child is whole: when it was added, it may not
            // have been made yet.
            if (auto* scene =
                    qobject_cast<QQuickWidget*>(static_cast<QChildEvent*>(event)->child())) {
                hide(*scene->quickWindow());
                takeViewsPlace(*scene);
                scene->installEventFilter(this);  // once: a filter is installed only once
            }
        }
        return false;
    }

private:
    bool handsetKey(const QKeyEvent& key) const
    {
        auto* page = qobject_cast<PreviewPage*>(view_->page());
        if (!page || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (key.key() == Qt::Key_Backspace && page->back) {
            page->back();
            return true;
        }
        const QString text = key.text();
        return text.size() == 1 && u"0123456789*#"_s.contains(text) && page->followKey(text);
    }

    static void hide(QWindow& window)
    {
        if (window.type() != Qt::Desktop)
            window.setFlags((window.flags() & ~Qt::WindowType_Mask) | Qt::Desktop);
    }

    // The widget takes the keyboard for the view, and like any new widget
    // joins the window's tab order last. It goes where the view's place
    // (the view's parent) is in that order, after whatever takes the focus
    // before it.
    static void takeViewsPlace(QWidget& scene)
    {
        QWidget* before = scene.parentWidget()->parentWidget();
        while (before && before != &scene && !(before->focusPolicy() & Qt::TabFocus))
            before = before->previousInFocusChain();
        if (before && before != &scene)
            QWidget::setTabOrder(before, &scene);
    }

    QWebEngineView* view_;  // the view watched, which owns this
};

}  // namespace

namespace quillet {

// The module's one object, made by the plugin loader.
class WebPanePlugin final : public QObject, public WebPaneFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QUILLET_WEBPANE_FACTORY_IID)
    Q_INTERFACES(quillet::WebPaneFactory)

public:
    // Once, before the first view: the drawing can be chosen only until
    // the first scene exists, and asking again then only draws a warning.
    WebPanePlugin() { drawInSoftware(); }

    QWidget* createPane(QWidget* parent) override
    {
        auto* view = new QWebEngineView(parent);  // owned by the pane's place
        view->setPage(new PreviewPage(view));     // owned by the view
        new SceneWidgetWatcher(view);             // owned by the view
        confine(*view);
        // For pages it loads by address; the engine's own charset guess can
        // still override this, hence showContent.
        view->settings()->setDefaultTextEncoding(u"Shift_JIS"_s);
        return view;
    }

    void showContent(QWidget* view, const QByteArray& data, const QString& mimeType,
                     const QUrl& baseUrl) override
    {
        static_cast<QWebEngineView*>(view)->setContent(data, mimeType, baseUrl);
    }

    void followLinksBy(QWidget* view, std::function<void(const QUrl&)> followed,
                       std::function<void()> back) override
    {
        auto* page = static_cast<PreviewPage*>(static_cast<QWebEngineView*>(view)->page());
        page->followed = std::move(followed);
        page->back = std::move(back);
    }
};

}  // namespace quillet

#include "WebPane.moc"
