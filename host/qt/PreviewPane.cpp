// The preview pane: the browser view in the window's frame, the page it
// shows as the chosen handsets read it, and the links followed from it.
#include "PreviewPane.h"

#include "CodePage.h"
#include "GlobalShareContext.h"
#include "TextFile.h"
#include "WebPane.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString webPaneObjectName = u"WebEngineView"_s;

// The engine looks for one OpenGL context shared by all the moment its
// library loads, and warns that the program did not ask Qt for one. Asked
// for, Qt would make it at start-up and load the GL driver into every run.
// Made here, as the module loads, it costs what the engine's own start
// would load anyway; the engine then finds the display's GL and has no
// "No suitable graphics backend" to warn of, though it still draws in
// software. Where no context can be made (no display), none is published,
// and the engine warns as before.
void shareContextForTheEngine()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(QSurfaceFormat::defaultFormat());
    if (!context->create())
        return;
    context->setParent(QCoreApplication::instance());  // lives as long as the app
    qt_gl_set_global_share_context(context.release());
}

// The browser module, beside the program or where the install put it;
// nullptr when it or the browser engine it needs is missing. Loaded once
// and kept: the loader hands back the same object every time.
WebPaneFactory* loadWebPaneModule()
{
    shareContextForTheEngine();
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString name = QLatin1StringView(webPaneModuleName);
    const QString installed = programDir + u'/' + QLatin1StringView(QUILLET_WEBPANE_FROM_BIN);
    for (const QString& dir : {programDir, installed}) {
        QPluginLoader module(dir + u'/' + name);
        if (auto* factory = qobject_cast<WebPaneFactory*>(module.instance()))
            return factory;
    }
    return nullptr;
}

// A browser view in `frame`, created on first use. It takes the frame's
// place for the keyboard, and the frame's menu for its own; `pane` decides
// where its links go.
QWidget* webPaneIn(QWidget* frame, WebPaneFactory& module, PreviewPane& pane)
{
    if (auto* view = frame->findChild<QWidget*>(webPaneObjectName, Qt::FindDirectChildrenOnly))
        return view;
    QWidget* view = module.createPane(frame);
    const QPointer<PreviewPane> guarded(&pane);
    module.followLinksBy(
        view, [guarded](const QUrl& address) { guarded ? guarded->follow(address) : void(); },
        [guarded] { guarded ? guarded->back() : void(); });
    view->setObjectName(webPaneObjectName);
    const bool hadFocus = frame->hasFocus();
    frame->setFocusPolicy(Qt::NoFocus);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, frame,
                     [frame, view](const QPoint& at) {
                         QContextMenuEvent event(QContextMenuEvent::Mouse, view->mapTo(frame, at),
                                                 view->mapToGlobal(at));
                         QCoreApplication::sendEvent(frame, &event);
                     });
    // Around the handset's screen, the pane is the handset.
    QPalette around = frame->palette();
    around.setColor(QPalette::Window, around.color(QPalette::Mid));
    frame->setPalette(around);
    view->show();
    if (hadFocus)
        view->setFocus();
    return view;
}

// The handset's screen at its size in dots, centred in `frame`, or shrunk
// to fit it. Returns the zoom that lays the page out on the screen's dots.
qreal placeOnScreen(QWidget& view, const QWidget& frame, const HandsetScreen& screen)
{
    const qreal fit =
        std::min({1.0, qreal(frame.width()) / screen.width, qreal(frame.height()) / screen.height});
    const int width = int(screen.width * fit);
    const qreal zoom = qreal(width) / screen.width;
    const int height = qRound(screen.height * zoom);
    view.setGeometry((frame.width() - width) / 2, (frame.height() - height) / 2, width, height);
    return zoom;
}

// A handset always shows a pictogram as its colour picture, but a browser
// draws one whose character the page's font has (☀ in the Japanese faces)
// as that plain glyph. So the page gets the colour emoji face for exactly
// those characters, in a style after all its content, where it changes
// nothing else.
QByteArray pictogramStyle()
{
    QString range;
    for (const char32_t character : textStylePictograms())
        range += u"U+"_s + QString::number(character, 16) + u',';
    range.chop(1);
    QStringList faces = colourEmojiFaces();
    for (QString& face : faces) face = u"local(\""_s + face + u"\")"_s;
    return (u"<style>@font-face{font-family:quillet-pictograms;src:"_s + faces.join(u',') +
            u";unicode-range:"_s + range + u"}html{font-family:quillet-pictograms,serif}</style>"_s)
        .toUtf8();
}

// A handset fills a line with its number of full-width characters and
// never scrolls sideways: the pane lays the page out the same way, in a
// style after all its content. Even preformatted text and long words wrap,
// as they did there; a picture wider than the screen shrinks to it. The
// page's own background stays on its body, which fills the screen, so that
// the screen's tones reach it too.
QByteArray handsetLayoutStyle(const HandsetScreen& screen)
{
    const QByteArray character =
        "calc(100vw / " + QByteArray::number(screen.charactersPerLine) + ')';
    const QByteArray style =
        "<style>html,body{overflow-x:hidden}html::-webkit-scrollbar{display:none}"
        "html{background:#fff}body{margin:0;min-height:100vh;font-size:" +
        character + ";overflow-wrap:anywhere}pre{white-space:pre-wrap}img{max-width:100%}";
    if (screen.tones == HandsetScreen::Colour)
        return style + "</style>";
    // Black and white: each dot's grey, to the nearer of the two; and a
    // pictogram, whatever its colours, dark in one, as those screens drew
    // them (its shape, drawn as a shadow of the one colour). A keycap's
    // shadow would hide its digit: it shows its key in a box.
    return style +
           "body{filter:url(#quillet-tones)}"
           ".quillet-pictogram{color:transparent;text-shadow:0 0 0 #000}"
           ".quillet-pictogram[data-key]{font-size:0;text-shadow:none}"
           ".quillet-pictogram[data-key]::before{content:attr(data-key);color:#000;"
           "font-size:" +
           character +
           ";border:1px solid #000;padding:0 0.15em}</style>"
           "<svg width=\"0\" height=\"0\" style=\"position:absolute\">"
           "<filter id=\"quillet-tones\" color-interpolation-filters=\"sRGB\">"
           "<feColorMatrix type=\"saturate\" values=\"0\"/><feComponentTransfer>"
           "<feFuncR type=\"discrete\" tableValues=\"0 1\"/>"
           "<feFuncG type=\"discrete\" tableValues=\"0 1\"/>"
           "<feFuncB type=\"discrete\" tableValues=\"0 1\"/>"
           "</feComponentTransfer></filter></svg>";
}

}  // namespace

void preloadPreviewPane()
{
    // The engine's libraries are large; start-up leaves them out, and a
    // preview would wait for them. Loaded once the dialog that led here has
    // closed.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { loadWebPaneModule(); });
}

PreviewPane& PreviewPane::in(QWidget& frame)
{
    auto* pane = frame.findChild<PreviewPane*>(QString(), Qt::FindDirectChildrenOnly);
    return pane ? *pane : *new PreviewPane(frame);  // owned by the frame
}

PreviewPane::PreviewPane(QWidget& frame) : QObject(&frame), frame_(frame) {}

Result<> PreviewPane::show(const QString& address, PageOrigin origin, const HandsetScreen& screen,
                           const PageReading& reading)
{
    // Read first, so a pipe or an endless device is refused before the
    // browser engine is even loaded.
    const Result<std::optional<QByteArray>> page = readRegularFile(address);
    if (!page.ok())
        return failure(page.error());
    screen_ = screen;
    reading_ = reading;
    folder_ = QFileInfo(address).absolutePath();
    history_ = {Shown{address, origin, QString()}};
    showPage(address, origin, page.value());
    return {};
}

// The engine guesses the charset of a file that names none, and guesses
// wrong on short Japanese pages (half-width kana come out as Cyrillic). So
// the page is decoded here, as the program reads such files, and handed
// over as UTF-8. The engine takes content this way up to about 2 MB;
// beyond that, or for a missing file, it loads the address itself and shows
// its own error page if need be. A page read as a handset reads it is never
// larger than a handset takes.
void PreviewPane::showPage(const QString& address, PageOrigin origin,
                           const std::optional<QByteArray>& bytes)
{
    constexpr qsizetype contentLimit = 1024 * 1024;
    const QUrl url = QUrl::fromLocalFile(address);
    if (!bytes || (!reading_ && bytes->size() > contentLimit)) {
        present([&url](WebPaneFactory&, QWidget& view) { view.setProperty("url", url); });
        return;
    }
    // Pictograms show as the colour emoji a handset shows.
    constexpr PictogramStyle emoji = PictogramStyle::AsEmoji;
    QString text =
        origin == PageOrigin::Written ? fromCp932(*bytes, emoji) : decodeTextFile(*bytes, emoji);
    if (reading_)
        text = reading_(text, QFileInfo(address).absolutePath());
    present([&](WebPaneFactory& module, QWidget& view) {
        module.showContent(&view, text.toUtf8() + pictogramStyle() + handsetLayoutStyle(screen_),
                           u"text/html;charset=UTF-8"_s, url);
    });
}

// On the pane's view, made on first use and laid out on the handset's
// screen; nothing where there is no browser engine: the pane stays blank.
void PreviewPane::present(const std::function<void(WebPaneFactory&, QWidget&)>& show)
{
    WebPaneFactory* const module = loadWebPaneModule();
    if (!module)
        return;
    QWidget* view = webPaneIn(&frame_, *module, *this);
    const qreal zoom = placeOnScreen(*view, frame_, screen_);
    show(*module, *view);
    view->setProperty("zoomFactor", zoom);
}

// In Quillet's own words, on the handset's screen: what the handset would
// open, or why the pane cannot show it.
void PreviewPane::showLine(const QString& line)
{
    const QString page =
        u"<p role=\"status\">"_s + line.toHtmlEscaped() + u"</p><p>Backspace で戻ります。</p>"_s;
    present([&](WebPaneFactory& module, QWidget& view) {
        module.showContent(&view, page.toUtf8() + handsetLayoutStyle(screen_),
                           u"text/html;charset=UTF-8"_s, QUrl());
    });
}

// A page of the first one's folder, or below it, opens on the same screen,
// read as Shift-JIS and as the handsets read it; nothing else is fetched.
void PreviewPane::follow(const QUrl& address)
{
    const QString path = QDir::cleanPath(address.toLocalFile());
    const bool inFolder = address.isLocalFile() && path.startsWith(folder_ + u'/');
    Shown shown{path, PageOrigin::Written, QString()};
    std::optional<QByteArray> bytes;
    if (!inFolder) {
        shown.line =
            u"リンク先 "_s + address.toDisplayString() + u" は、プレビューでは開きません。"_s;
    } else if (const Result<std::optional<QByteArray>> page = readRegularFile(path); !page.ok()) {
        shown.line = u"リンク先 "_s + QDir(folder_).relativeFilePath(path) +
                     u" を表示できません（"_s + page.error() + u"）。"_s;
    } else {
        bytes = page.value();
        if (!bytes)
            shown.line =
                u"リンク先 "_s + QDir(folder_).relativeFilePath(path) + u" はありません。"_s;
    }
    history_.append(shown);
    if (bytes)
        showPage(path, shown.origin, bytes);  // read once, as it was checked
    else
        showLine(shown.line);
}

void PreviewPane::back()
{
    if (history_.size() < 2)
        return;
    history_.removeLast();
    showShown(history_.constLast());
}

void PreviewPane::showShown(const Shown& shown)
{
    if (!shown.line.isEmpty()) {
        showLine(shown.line);
        return;
    }
    // Read again: the file may have changed since, or gone.
    const Result<std::optional<QByteArray>> page = readRegularFile(shown.address);
    if (page.ok())
        showPage(shown.address, shown.origin, page.value());
    else
        showLine(page.error());
}

}  // namespace quillet
