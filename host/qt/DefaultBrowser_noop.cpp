#include "DefaultBrowser.h"

namespace quillet {

BrowserLaunch launchDefaultBrowser(const QUrl&)
{
    return BrowserLaunch::NoDefault;  // the desktop services know the browser here
}

}  // namespace quillet
