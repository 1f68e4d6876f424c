#pragma once

#include "Result.h"

#include <QList>
#include <QString>

#include <functional>
#include <utility>

class QDialog;
class QWidget;

namespace quillet {

// Message box styles and answers keep the classic numeric values, so the
// commands read the same way as the dialogs they ask for.
namespace MsgStyle {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Exclamation = 48;
constexpr int YesNoExclamation = YesNo + Exclamation;  // 52
// The low bits name the buttons as one value, not as flags: 5 is
// Retry/Cancel, not Yes/No and something more.
constexpr int buttons(int style)
{
    return style & 0x0F;
}
}  // namespace MsgStyle

namespace MsgAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace MsgAnswer

// The title every box shows when its caller passes none.
inline const QString applicationTitle = QStringLiteral("Quillet");

// The shared file dialog's properties. They live in the caller so that they
// persist from one command to the next, whatever shows the dialog.
struct CommonDialog {
    bool CancelError = false;  // a cancel ends the calling command
    QString Filter;            // "description|pattern|..." with a trailing "|"
    QString DefaultExt;        // added to a name typed without an extension
    QString FileName;          // in: the proposed name; out: the chosen path
};

// Where a previewed page came from, which decides how its bytes are read.
enum class PageOrigin { Written, Loaded };

// What the pane makes of a page before it shows it, as the chosen handsets
// read it: from the page's text as decoded and the folder the page is in,
// the text to show.
using PageReading = std::function<QString(const QString& page, const QString& folder)>;

// A handset's screen, as the preview shows a page on it.
struct HandsetScreen {
    enum Tones { BlackAndWhite, Colour };
    int width = 0;              // dots
    int height = 0;             // dots
    int charactersPerLine = 0;  // full-width characters
    Tones tones = Colour;
};

// The window-system services the program logic uses. The Qt implementation
// lives in host/qt; tests use a scripted fake, so every command can run
// without a display.
class HostUi {
public:
    virtual ~HostUi() = default;

    // Modal message box; returns the answer (MsgAnswer). An empty title means
    // the application's title. Line feeds in `text` start new lines.
    virtual int msgBox(const QString& text, int style = MsgStyle::OkOnly,
                       const QString& title = QString()) = 0;

    // Runs one of the program's own dialogs modal; returns its result
    // (QDialog::Accepted or Rejected).
    virtual int execDialog(QDialog& dialog) = 0;

    // Modal open and save dialogs on the shared dialog's properties. On
    // confirmation `dialog.FileName` holds the chosen full path, written with
    // the platform's separators, and the call returns true; a cancel returns
    // false and leaves the properties alone.
    virtual bool showOpen(CommonDialog& dialog) = 0;
    virtual bool showSave(CommonDialog& dialog) = 0;

    // Replaces the file at `path` with `text` in code page 932, atomically:
    // on failure the previous file is left as it was.
    virtual Result<> writeTextFile(const QString& path, const QString& text) = 0;

    // Writes each of `files` (path, then text) as writeTextFile does, all
    // or none: each goes to a temporary file beside its target, and all
    // take their targets' places only once every one is written. On any
    // failure no new file is left, every old one is as it was, and the
    // failure names the file (failedPath) and why. Anything but a regular
    // file at a target is refused before anything is written.
    virtual Result<> writeTextFiles(const QList<std::pair<QString, QString>>& files) = 0;

    // Reads a body file as text (code page 932, or Unicode when the bytes
    // plainly are). Only a regular file of reasonable size is read.
    virtual Result<QString> readTextFile(const QString& path) = 0;

    // The bare file name when an ordinary file exists at `path`, else "".
    virtual QString existingFileName(const QString& path) = 0;

    // Types `keys` into `target` as if typed, and returns once they have
    // been processed. Keys are ASCII characters: other text has no key of
    // its own to press, and is inserted as the input method would.
    virtual void sendKeys(QWidget* target, const QString& keys) = 0;

    // Shows the page at `address` in the embedded browser pane held by
    // `frame`, creating the pane on first use, laid out on `screen` at its
    // size in dots (smaller where the frame is smaller), as `reading` makes
    // it. A page the program wrote is read as code page 932; a loaded
    // document is decoded as its body was.
    // Returns at once; loading goes on in the background. A missing file
    // shows the browser's own error page; anything but a regular file of
    // reasonable size is refused, with the reason, and the pane is left
    // as it was.
    virtual Result<> navigateEmbedded(QWidget* frame, const QString& address, PageOrigin origin,
                                      const HandsetScreen& screen, const PageReading& reading) = 0;

    // Loads what the embedded browser needs, once a preview is likely to
    // follow, so the first one costs about what the engine itself needs.
    // Returns at once; the loading runs when the event loop is next idle.
    virtual void preloadEmbedded() = 0;

    // Opens `address` in a new standalone browser window. What the preview
    // refuses is refused here too, with the reason (a pipe would leave the
    // browser waiting); a missing file is the browser's to report. When no
    // browser could be started, it fails without a reason.
    virtual Result<> openInStandaloneBrowser(const QString& address) = 0;

    // Shows a top-level window modeless and without an owner, or brings it
    // to the front when it is already shown.
    virtual void showWindow(QWidget* window) = 0;

protected:
    HostUi() = default;
    HostUi(const HostUi&) = default;
    HostUi& operator=(const HostUi&) = default;
    HostUi(HostUi&&) = default;
    HostUi& operator=(HostUi&&) = default;
};

}  // namespace quillet
