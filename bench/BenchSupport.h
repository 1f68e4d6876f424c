#pragma once

#include "Module1.h"
#include "QtHostUi.h"
#include "main1.h"

#include <QString>

namespace quillet {

// Mixed Japanese and ASCII, with line breaks, as a real body reads.
QString mixedBody(qsizetype codeUnits);

// The real host, except that the save dialog always picks one file and no
// box waits for an answer.
class BenchHost final : public HostUi {
public:
    explicit BenchHost(QString outputPath) : outputPath_(std::move(outputPath)) {}

    int msgBox(const QString&, int, const QString&) override { return MsgAnswer::Yes; }
    int execDialog(QDialog& dialog) override { return real_.execDialog(dialog); }
    bool showOpen(CommonDialog&) override { return false; }
    bool showSave(CommonDialog& dialog) override
    {
        dialog.FileName = outputPath_;
        return true;
    }
    Result<> writeTextFile(const QString& path, const QString& text) override
    {
        return real_.writeTextFile(path, text);
    }
    Result<> writeTextFiles(const QList<std::pair<QString, QString>>& files) override
    {
        return real_.writeTextFiles(files);
    }
    Result<QString> readTextFile(const QString& path) override { return real_.readTextFile(path); }
    QString existingFileName(const QString& path) override { return real_.existingFileName(path); }
    void sendKeys(QWidget* target, const QString& keys) override { real_.sendKeys(target, keys); }
    Result<> navigateEmbedded(QWidget* frame, const QString& address, PageOrigin origin,
                              const HandsetScreen& screen, const PageReading& reading) override
    {
        return real_.navigateEmbedded(frame, address, origin, screen, reading);
    }
    void preloadEmbedded() override { real_.preloadEmbedded(); }
    Result<> openInStandaloneBrowser(const QString&) override { return failure(); }
    void showWindow(QWidget* window) override { real_.showWindow(window); }

private:
    QtHostUi real_;
    QString outputPath_;
};

// An editor window on the bench's host, with its own shared state.
struct BenchWindow {
    explicit BenchWindow(const QString& outputPath = QString())
        : host(outputPath), window(host, module)
    {
    }
    BenchHost host;
    Module1 module;
    main1 window;
};

// Clicks the preview and waits until the pane has loaded the page; false
// when there is no pane (no browser engine) or it took over 30 s.
bool previewAndWait(main1& window);

}  // namespace quillet
