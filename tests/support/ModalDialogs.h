#pragma once

#include <QApplication>
#include <QDialog>
#include <QString>

namespace quillet {

// For checks that run inside a modal dialog's event loop, where a failed
// check cannot end the test: the open modal dialog when it is a `Dialog`.
// Otherwise the dialog that is open is closed, so the code that opened it
// returns, and `problem` says what was wrong, for the test to fail with.
template <typename Dialog>
Dialog* activeModal(QString& problem)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<Dialog*>(modal))
        return dialog;
    problem = QStringLiteral("expected an open %1, found %2")
                  .arg(QLatin1StringView(Dialog::staticMetaObject.className()),
                       modal ? QLatin1StringView(modal->metaObject()->className())
                             : QLatin1StringView("none"));
    if (auto* other = qobject_cast<QDialog*>(modal))
        other->reject();
    return nullptr;
}

}  // namespace quillet
