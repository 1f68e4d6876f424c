#include "QtHostUi.h"

#include "CodePage.h"
#include "DefaultBrowser.h"
#include "GlobalShareContext.h"
#include "TextFile.h"
#include "WebPane.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <tuple>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quillet {

using namespace Qt::Literals::StringLiterals;

QStringList nameFiltersFromDialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1] == u"*.*"_s ? u"*"_s : parts[i + 1];
        filters.append(parts[i] + u" ("_s + pattern + u')');
    }
    return filters;
}

void prepareEmbeddedBrowser()
{
    // Qt WebEngine 6.4 reports its whole configuration (GL type, surface,
    // switches: some twenty lines) at the info level every time the engine
    // starts, in any program that uses it, with nothing wrong; later Qt
    // releases report it at the debug level, off unless asked for. This
    // sets that default and nothing more: warnings still show, and
    // QT_LOGGING_RULES, which rules over this, turns the report back on.
    QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
#ifdef Q_OS_UNIX
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
}

void nameApplication()
{
    QApplication::setApplicationName(applicationTitle);
    QGuiApplication::setDesktopFileName(desktopEntryName);
}

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
// place for the keyboard, and the frame's menu for its own.
QWidget* webPaneIn(QWidget* frame, WebPaneFactory& module)
{
    if (auto* view = frame->findChild<QWidget*>(webPaneObjectName, Qt::FindDirectChildrenOnly))
        return view;
    QWidget* view = module.createPane(frame);
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
    const QByteArray style =
        "<style>html,body{overflow-x:hidden}html::-webkit-scrollbar{display:none}"
        "html{background:#fff}body{margin:0;min-height:100vh;font-size:calc(100vw / " +
        QByteArray::number(screen.charactersPerLine) +
        ");overflow-wrap:anywhere}pre{white-space:pre-wrap}img{max-width:100%}";
    if (screen.tones == HandsetScreen::Colour)
        return style + "</style>";
    // Black and white: each dot's grey, to the nearer of the two; and a
    // pictogram, whatever its colours, dark in one, as those screens drew
    // them (its shape, drawn as a shadow of the one colour).
    return style +
           "body{filter:url(#quillet-tones)}"
           ".quillet-pictogram{color:transparent;text-shadow:0 0 0 #000}</style>"
           "<svg width=\"0\" height=\"0\" style=\"position:absolute\">"
           "<filter id=\"quillet-tones\" color-interpolation-filters=\"sRGB\">"
           "<feColorMatrix type=\"saturate\" values=\"0\"/><feComponentTransfer>"
           "<feFuncR type=\"discrete\" tableValues=\"0 1\"/>"
           "<feFuncG type=\"discrete\" tableValues=\"0 1\"/>"
           "<feFuncB type=\"discrete\" tableValues=\"0 1\"/>"
           "</feComponentTransfer></filter></svg>";
}

// Proposes `path` in the dialog's name field. The dialog shows a path
// whose folder does not exist yet relative to the filesystem's root, while
// it opens in another folder: taken as proposed, "/a/b/c.html" would be
// "a/b/c.html" there. So it opens in the nearest folder that exists, with
// the rest of the path as the name.
void propose(QFileDialog& dialog, const QString& path)
{
    const QFileInfo proposed(path);
    if (proposed.isRelative() || proposed.dir().exists()) {
        dialog.selectFile(path);  // a bare name opens where the dialog last was
        return;
    }
    QString folder = proposed.absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    dialog.setDirectory(folder);
    dialog.selectFile(QDir(folder).relativeFilePath(proposed.absoluteFilePath()));
}

// One dialog from the shared properties. No overwrite question and no
// existence check: the commands ask and report themselves.
bool runFileDialog(CommonDialog& properties, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);  // "html", not "html (*.html)"
    dialog.setNameFilters(nameFiltersFromDialogFilter(properties.Filter));
    dialog.setDefaultSuffix(properties.DefaultExt);
    if (!properties.FileName.isEmpty())
        propose(dialog, properties.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    properties.FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

}  // namespace

int QtHostUi::msgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());  // centred on, and modal to, the window
    box.setWindowTitle(title.isEmpty() ? applicationTitle : title);
    // Plain text: a path may hold "<" or "&" and must show as typed.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (MsgStyle::buttons(style) == MsgStyle::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if ((style & MsgStyle::Exclamation) == MsgStyle::Exclamation)
        box.setIcon(QMessageBox::Warning);

    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Ok;
    }
}

bool QtHostUi::showOpen(CommonDialog& dialog)
{
    return runFileDialog(dialog, QFileDialog::AcceptOpen);
}

bool QtHostUi::showSave(CommonDialog& dialog)
{
    return runFileDialog(dialog, QFileDialog::AcceptSave);
}

Result<> QtHostUi::writeTextFile(const QString& path, const QString& text)
{
    return replaceFileContents(path, toCp932(text));
}

Result<QString> QtHostUi::readTextFile(const QString& path)
{
    return readTextFileContents(path);
}

QString QtHostUi::existingFileName(const QString& path)
{
    return existingOrdinaryFileName(path);
}

void QtHostUi::sendKeys(QWidget* target, const QString& keys)
{
    // Sent, not posted: each key is processed before the next one goes.
    for (qsizetype at = 0; at < keys.size();) {
        const QChar character = keys[at];
        if (character.unicode() >= 0x80) {
            // Qt's key codes are ASCII: the rest comes as an input method
            // commits it, a surrogate pair whole.
            qsizetype end = at + 1;
            while (end < keys.size() && keys[end].unicode() >= 0x80) ++end;
            QInputMethodEvent commit;
            commit.setCommitString(keys.sliced(at, end - at));
            QApplication::sendEvent(target, &commit);
            at = end;
            continue;
        }
        const int key = character.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        ++at;
    }
}

Result<> QtHostUi::navigateEmbedded(QWidget* frame, const QString& address, PageOrigin origin,
                                    const HandsetScreen& screen, const PageReading& reading)
{
    // Read first, so a pipe or an endless device is refused before the
    // browser engine is even loaded.
    const Result<std::optional<QByteArray>> page = readRegularFile(address);
    if (!page.ok())
        return failure(page.error());
    WebPaneFactory* const module = loadWebPaneModule();
    if (!module)
        return {};  // no browser engine here: the pane stays blank
    QWidget* view = webPaneIn(frame, *module);
    const qreal zoom = placeOnScreen(*view, *frame, screen);
    const QUrl url = QUrl::fromLocalFile(address);

    // The engine guesses the charset of a file that names none, and guesses
    // wrong on short Japanese pages (half-width kana come out as Cyrillic).
    // So the page is decoded here, as the program reads such files, and
    // handed over as UTF-8. The engine takes content this way up to about
    // 2 MB; beyond that, or for a missing file, it loads the address itself
    // and shows its own error page if need be.
    constexpr qsizetype contentLimit = 1024 * 1024;
    // A page read as a handset reads it is never larger than a handset takes.
    if (const std::optional<QByteArray>& bytes = page.value();
        bytes && (reading || bytes->size() <= contentLimit)) {
        // Pictograms show as the colour emoji a handset shows.
        constexpr PictogramStyle emoji = PictogramStyle::AsEmoji;
        QString text = origin == PageOrigin::Written ? fromCp932(*bytes, emoji)
                                                     : decodeTextFile(*bytes, emoji);
        if (reading)
            text = reading(text, QFileInfo(address).absolutePath());
        module->showContent(view, text.toUtf8() + pictogramStyle() + handsetLayoutStyle(screen),
                            u"text/html;charset=UTF-8"_s, url);
    } else {
        view->setProperty("url", url);
    }
    view->setProperty("zoomFactor", zoom);
    return {};
}

void QtHostUi::preloadEmbedded()
{
    // The engine's libraries are large; start-up leaves them out, and a
    // preview would wait for them. Loaded once the dialog that led here has
    // closed.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { loadWebPaneModule(); });
}

Result<> QtHostUi::openInStandaloneBrowser(const QString& address)
{
    if (const auto page = readRegularFile(address); !page.ok())
        return failure(page.error());
    // A browser, not the desktop's file opener: the opener refuses a page
    // not written yet, and may hand "myhtml" to a text editor.
    const QUrl url = QUrl::fromLocalFile(address);
    switch (launchDefaultBrowser(url)) {
    case BrowserLaunch::Started:
        return {};
    case BrowserLaunch::Failed:
        return failure();
    case BrowserLaunch::NoDefault:
        break;
    }
    if (QDesktopServices::openUrl(url))
        return {};
    return failure();
}

void QtHostUi::showWindow(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace quillet
