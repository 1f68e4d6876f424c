#include "FakeHostUi.h"

#include "CodePage.h"
#include "TextFile.h"

#include <QDialog>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

int FakeHostUi::msgBox(const QString& text, int style, const QString& title)
{
    messages.append({text, style, title});
    if (MsgStyle::buttons(style) != MsgStyle::YesNo)
        return MsgAnswer::Ok;
    return answers.isEmpty() ? MsgAnswer::No : answers.takeFirst();
}

int FakeHostUi::execDialog(QDialog& dialog)
{
    return onDialog ? onDialog(dialog) : int(QDialog::Accepted);
}

bool FakeHostUi::answerDialog(bool save, CommonDialog& dialog)
{
    dialogs.append({save, dialog});
    const std::optional<QString> path =
        dialogPaths.isEmpty() ? std::nullopt : dialogPaths.takeFirst();
    if (!path)
        return false;
    dialog.FileName = *path;
    return true;
}

bool FakeHostUi::showOpen(CommonDialog& dialog)
{
    return answerDialog(false, dialog);
}

bool FakeHostUi::showSave(CommonDialog& dialog)
{
    return answerDialog(true, dialog);
}

Result<> FakeHostUi::writeTextFile(const QString& path, const QString& text)
{
    writtenPaths.append(path);
    return replaceFileContents(path, toCp932(text));
}

Result<> FakeHostUi::writeTextFiles(const QList<std::pair<QString, QString>>& files)
{
    for (const auto& file : files) writtenPaths.append(file.first);
    return replaceTextFiles(files);
}

Result<QString> FakeHostUi::readTextFile(const QString& path)
{
    return readTextFileContents(path);
}

QString FakeHostUi::existingFileName(const QString& path)
{
    return existingOrdinaryFileName(path);
}

void FakeHostUi::sendKeys(QWidget* target, const QString& keys)
{
    sentKeys.append(keys);
    QTest::keyClicks(target, keys);
}

Result<> FakeHostUi::navigateEmbedded(QWidget*, const QString& address, PageOrigin origin,
                                      const HandsetScreen& screen, const PageReading& reading)
{
    embeddedAddresses.append(address);
    embeddedOrigins.append(origin);
    embeddedScreens.append(screen);
    const auto page = readRegularFile(address);
    if (!page.ok())
        return failure(page.error());
    const QByteArray bytes = page.value().value_or(QByteArray());
    const QString text = origin == PageOrigin::Written ? fromCp932(bytes) : decodeTextFile(bytes);
    embeddedPages.append(reading ? reading(text, QFileInfo(address).absolutePath()) : text);
    return {};
}

void FakeHostUi::preloadEmbedded()
{
    ++preloads;
}

Result<> FakeHostUi::openInStandaloneBrowser(const QString& address)
{
    if (const auto page = readRegularFile(address); !page.ok())
        return failure(page.error());
    browserAddresses.append(address);
    if (browserAvailable)
        return {};
    return failure();
}

void FakeHostUi::showWindow(QWidget* window)
{
    window->show();
}

QStringList FakeHostUi::messageTexts() const
{
    QStringList texts;
    for (const Message& message : messages) texts.append(message.text);
    return texts;
}

}  // namespace quillet
