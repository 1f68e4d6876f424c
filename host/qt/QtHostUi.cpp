#include "QtHostUi.h"

#include "CodePage.h"
#include "DefaultBrowser.h"
#include "PreviewPane.h"
#include "TextFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

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
    // On Linux, Qt WebEngine 6.4 gives a screen reader on the bus a page's
    // tree only when this is set (later releases unless it is "0"). The
    // engine's own switch builds the tree whether or not one has said it
    // runs, for whatever asks Qt's accessibility for the page. The pane's
    // pages are small, and so is the cost.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    const QByteArray engineFlags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!engineFlags.contains("--force-renderer-accessibility"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", engineFlags + (engineFlags.isEmpty() ? "" : " ") +
                                                  "--force-renderer-accessibility");
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

int QtHostUi::execDialog(QDialog& dialog)
{
    return dialog.exec();
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

Result<> QtHostUi::writeTextFiles(const QList<std::pair<QString, QString>>& files)
{
    return replaceTextFiles(files);
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
    return PreviewPane::in(*frame).show(address, origin, screen, reading);
}

void QtHostUi::preloadEmbedded()
{
    preloadPreviewPane();
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
