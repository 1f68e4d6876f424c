#pragma once

class QUrl;

namespace quillet {

enum class BrowserLaunch { Started, Failed, NoDefault };

// Starts the user's default web browser, the one the desktop opens https
// links with, on `url`: a browser shows a file:// address that does not
// exist yet as its own error page, where a file opener would refuse it.
// The environment variable that switches the engine's sandbox off for
// this program is kept out of the browser's. NoDefault where the desktop
// names no browser (or has no way to tell).
BrowserLaunch launchDefaultBrowser(const QUrl& url);

}  // namespace quillet
