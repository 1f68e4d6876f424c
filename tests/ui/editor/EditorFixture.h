#pragma once

#include "FakeHostUi.h"
#include "Module1.h"
#include "main1.h"

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace quillet {

class HandsetDecorator;

// A new editor window for every test, on the scripted host, with a folder
// of its own for the files it writes. Each test suite of the editor's
// commands derives from it.
class EditorFixture : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

protected:
    template <typename T>
    T* control(const char* name) const
    {
        auto* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLabel* label(const char* name) const;
    QLineEdit* textBox(const char* name) const;
    QPlainTextEdit* body() const;
    HandsetDecorator* marks() const;
    void click(const char* name) const;
    QString file(const QString& name) const { return dir_->filePath(name); }
    // The palette, opened from the body's context menu entry.
    QListWidget* openPalette() const;
    // A window of its own in place of the test's, on the same host.
    void newWindow();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeHostUi> host_;
    std::unique_ptr<Module1> module_;
    std::unique_ptr<main1> window_;
};

}  // namespace quillet
