#include "QtHostUi.h"

#include "CodePage.h"
#include "TextFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

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

namespace {

// One dialog from the shared properties. No overwrite question and no
// existence check: the commands ask and report themselves.
bool runFileDialog(CommonDialog& properties, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(nameFiltersFromDialogFilter(properties.Filter));
    dialog.setDefaultSuffix(properties.DefaultExt);
    if (!properties.FileName.isEmpty())
        dialog.selectFile(properties.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    properties.FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

}  // namespace

int QtHostUi::msgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? applicationTitle : title);
    // Plain text: a path may hold "<" or "&" and must show as typed.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if ((style & MsgStyle::YesNo) == MsgStyle::YesNo) {
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

FileResult QtHostUi::writeTextFile(const QString& path, const QString& text)
{
    return replaceFileContents(path, toCp932(text));
}

TextReadResult QtHostUi::readTextFile(const QString& path)
{
    return readTextFileContents(path);
}

QString QtHostUi::existingFileName(const QString& path)
{
    return existingOrdinaryFileName(path);
}

void QtHostUi::sendKeys(const QString& keys)
{
    // Sent, not posted: each key is processed before the next one goes.
    for (const QChar character : keys) {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            return;
        const int key = character.toUpper().unicode();  // Qt's key codes are ASCII
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

void QtHostUi::navigateEmbedded(QWidget*, const QString&) {}

bool QtHostUi::openInStandaloneBrowser(const QString& address)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(address));
}

void QtHostUi::showWindow(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace quillet
