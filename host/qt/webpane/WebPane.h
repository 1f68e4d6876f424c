#pragma once

class QByteArray;
class QString;
class QUrl;
class QWidget;

// The browser module's entry points, looked up by name at run time.
extern "C" {
// A new browser view, a child of `parent`; its "url" property navigates it.
using CreateWebPaneFunction = QWidget* (*)(QWidget* parent);
// Shows `data` in `view` as a page of `mimeType` (charset included),
// resolving relative links against `baseUrl`.
using ShowWebContentFunction = void (*)(QWidget* view, const QByteArray& data,
                                        const QString& mimeType, const QUrl& baseUrl);
}
inline constexpr char createWebPaneSymbol[] = "quilletCreateWebPane";
inline constexpr char showWebContentSymbol[] = "quilletShowWebContent";
inline constexpr char webPaneModuleName[] = "quillet_webpane";
