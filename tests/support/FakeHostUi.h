#pragma once

#include "HostUi.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillet {

// A HostUi for headless tests: records what the program asks of the window
// system and answers from a script. Files are real: reading, writing, the
// existence test and the preview's check of its page go to the same code
// the program uses, and keys are typed into the widget they are sent to.
class FakeHostUi final : public HostUi {
public:
    struct Message {
        QString text;
        int style = MsgStyle::OkOnly;
        QString title;
    };
    struct DialogCall {
        bool save = false;
        CommonDialog shown;  // the properties as the dialog opened
    };

    // Answers for the coming Yes/No boxes, first one first. An OK box needs
    // none; a Yes/No box without a scripted answer is answered No, as
    // Escape would.
    QList<int> answers;
    // Paths the coming dialogs return, first one first; nullopt cancels.
    QList<std::optional<QString>> dialogPaths;
    bool browserAvailable = true;
    // Plays the user in the program's own dialogs; by default each is
    // accepted as it opened.
    std::function<int(QDialog&)> onDialog;

    QList<Message> messages;
    QList<DialogCall> dialogs;
    QStringList writtenPaths;
    QStringList sentKeys;
    QStringList embeddedAddresses;
    QList<PageOrigin> embeddedOrigins;
    QList<HandsetScreen> embeddedScreens;
    QStringList embeddedPages;  // each page as the pane would show it
    int preloads = 0;
    QStringList browserAddresses;

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

    QStringList messageTexts() const;

private:
    bool answerDialog(bool save, CommonDialog& dialog);
};

}  // namespace quillet
