#pragma once

#include "HostUi.h"

#include <QStringList>

namespace quillet {

// The dialog's "description|pattern|..." filter as Qt name filters. The
// trailing "|" is ignored, and "*.*" becomes "*" so that names without a
// dot are listed too.
QStringList nameFiltersFromDialogFilter(const QString& filter);

// What the embedded browser needs before the application object exists:
// its start-up report left to debug logging, its pages' tree for screen
// readers, and for root only, no sandbox (the engine refuses to start as
// root with one).
void prepareEmbeddedBrowser();

// The desktop entry's name: a Wayland shell finds the window's icon and
// launcher by it, as its app_id.
inline const QString desktopEntryName = QStringLiteral("jp.quillet.Quillet");

// Names the application as the desktop knows it: on X11 by its window
// class, "Quillet", on Wayland by the desktop entry's name.
void nameApplication();

// The host services on Qt Widgets: real message boxes, dialogs and files.
// Kept thin; the decisions live in the commands that call it.
class QtHostUi final : public HostUi {
public:
    QtHostUi() = default;

    int msgBox(const QString& text, int style, const QString& title) override;
    int execDialog(QDialog& dialog) override;
    bool showOpen(CommonDialog& dialog) override;
    bool showSave(CommonDialog& dialog) override;
    Result<> writeTextFile(const QString& path, const QString& text) override;
    Result<> writeTextFiles(const QList<std::pair<QString, QString>>& files) override;
    Result<QString> readTextFile(const QString& path) override;
    QString existingFileName(const QString& path) override;
    void sendKeys(QWidget* target, const QString& keys) override;
    Result<> navigateEmbedded(QWidget* frame, const QString& address, PageOrigin origin,
                              const HandsetScreen& screen, const PageReading& reading) override;
    void preloadEmbedded() override;
    Result<> openInStandaloneBrowser(const QString& address) override;
    void showWindow(QWidget* window) override;
};

}  // namespace quillet
