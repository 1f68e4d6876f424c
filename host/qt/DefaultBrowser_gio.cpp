#include "DefaultBrowser.h"

#include <QUrl>

// GLib's headers name struct members "signals", which Qt defines as a
// keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QLibrary>
#include <memory>

namespace quillet {
namespace {

// GIO is loaded on the first double-click, not linked: start-up would
// otherwise map it, and its dependencies, into every run.
struct Gio {
    decltype(&g_app_info_get_default_for_uri_scheme) defaultForScheme = nullptr;
    decltype(&g_app_launch_context_new) newLaunchContext = nullptr;
    decltype(&g_app_launch_context_unsetenv) unsetenv = nullptr;
    decltype(&g_app_info_launch_uris) launchUris = nullptr;
    decltype(&g_object_unref) unref = nullptr;
    decltype(&g_error_free) freeError = nullptr;

    bool complete() const
    {
        return defaultForScheme && newLaunchContext && unsetenv && launchUris && unref && freeError;
    }
};

template <typename Function>
void resolve(QLibrary& library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
}

Gio loadGio()
{
    Gio gio;
    // Stays loaded: QLibrary never unloads by itself.
    QLibrary library(QStringLiteral("gio-2.0"), 0);
    resolve(library, gio.defaultForScheme, "g_app_info_get_default_for_uri_scheme");
    resolve(library, gio.newLaunchContext, "g_app_launch_context_new");
    resolve(library, gio.unsetenv, "g_app_launch_context_unsetenv");
    resolve(library, gio.launchUris, "g_app_info_launch_uris");
    resolve(library, gio.unref, "g_object_unref");
    resolve(library, gio.freeError, "g_error_free");
    return gio;
}

template <typename Free>
struct Releaser {
    Free free;
    template <typename Object>
    void operator()(Object* object) const
    {
        free(object);
    }
};

}  // namespace

BrowserLaunch launchDefaultBrowser(const QUrl& url)
{
    const Gio gio = loadGio();
    if (!gio.complete())
        return BrowserLaunch::NoDefault;
    const Releaser<decltype(gio.unref)> unref{gio.unref};
    const std::unique_ptr<GAppInfo, decltype(unref)> browser(gio.defaultForScheme("https"), unref);
    if (!browser)
        return BrowserLaunch::NoDefault;
    const std::unique_ptr<GAppLaunchContext, decltype(unref)> context(gio.newLaunchContext(),
                                                                      unref);
    gio.unsetenv(context.get(), "QTWEBENGINE_DISABLE_SANDBOX");

    QByteArray uri = url.toEncoded();
    GList uris{uri.data(), nullptr, nullptr};
    GError* error = nullptr;
    const bool started = gio.launchUris(browser.get(), &uris, context.get(), &error);
    const std::unique_ptr<GError, Releaser<decltype(gio.freeError)>> failure(error,
                                                                             {gio.freeError});
    return started ? BrowserLaunch::Started : BrowserLaunch::Failed;
}

}  // namespace quillet
