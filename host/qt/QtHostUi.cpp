#include "QtHostUi.h"

#include "CodePage.h"
#include "TextFile.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

int QtHostUi::msgBox(const QString& text, int style, const QString& title) {
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
    if ((style & MsgStyle::Exclamation) == MsgStyle::Exclamation) box.setIcon(QMessageBox::Warning);

    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Ok;
    }
}

bool QtHostUi::showOpen(CommonDialog&) {
    return false;  // the file dialogs arrive with the editor window
}

bool QtHostUi::showSave(CommonDialog&) {
    return false;  // the file dialogs arrive with the editor window
}

FileResult QtHostUi::writeTextFile(const QString& path, const QString& text) {
    return replaceFileContents(path, toCp932(text));
}

TextReadResult QtHostUi::readTextFile(const QString&) {
    return {false, QString(), u"読み込みはまだ使えません。"_s};
}

QString QtHostUi::existingFileName(const QString& path) {
    return existingOrdinaryFileName(path);
}

void QtHostUi::sendKeys(const QString&) {}

void QtHostUi::navigateEmbedded(QWidget*, const QString&) {}

bool QtHostUi::openInStandaloneBrowser(const QString& address) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(address));
}

void QtHostUi::showWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace quillet
