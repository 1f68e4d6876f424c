#pragma once

#include "QtHostUi.h"

#include <QString>

namespace quillet {

class main1;

// Mixed Japanese and ASCII, with line breaks, as a real body reads.
QString mixedBody(qsizetype codeUnits);

// The real host, except that the save dialog always picks one file and no
// box waits for an answer.
class BenchHost final : public HostUi {
public:
    explicit BenchHost(QString outputPath) : outputPath_(std::move(outputPath)) {}

    int msgBox(const QString&, int, const QString&) override { return MsgAnswer::Yes; }
    bool showOpen(CommonDialog&) override { return false; }
    bool showSave(CommonDialog& dialog) override
    {
        dialog.FileName = outputPath_;
        return true;
    }
    FileResult writeTextFile(const QString& path, const QString& text) override
    {
        return real_.writeTextFile(path, text);
    }
    TextReadResult readTextFile(const QString& path) override { return real_.readTextFile(path); }
    QString existingFileName(const QString& path) override { return real_.existingFileName(path); }
    void sendKeys(QWidget* target, const QString& keys) override { real_.sendKeys(target, keys); }
    FileResult navigateEmbedded(QWidget* frame, const QString& address, PageOrigin origin,
                                const HandsetScreen& screen) override
    {
        return real_.navigateEmbedded(frame, address, origin, screen);
    }
    void preloadEmbedded() override { real_.preloadEmbedded(); }
    FileResult openInStandaloneBrowser(const QString&) override { return {false, QString()}; }
    void showWindow(QWidget* window) override { real_.showWindow(window); }

private:
    QtHostUi real_;
    QString outputPath_;
};

// Clicks the preview and waits until the pane has loaded the page; false
// when there is no pane (no browser engine) or it took over 30 s.
bool previewAndWait(main1& window);

}  // namespace quillet
