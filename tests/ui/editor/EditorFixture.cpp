#include "EditorFixture.h"

#include "HandsetDecorator.h"
#include "JapaneseFaces.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace quillet {

void EditorFixture::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    host_ = std::make_unique<FakeHostUi>();
    chooseApplicationFace();  // as the program does; once it is chosen, it stays
    newWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void EditorFixture::cleanup()
{
    window_.reset();
    module_.reset();
    host_.reset();
}

void EditorFixture::newWindow()
{
    window_.reset();
    module_ = std::make_unique<Module1>();
    window_ = std::make_unique<main1>(*host_, *module_);
    window_->show();
}

QLabel* EditorFixture::label(const char* name) const
{
    return control<QLabel>(name);
}

QLineEdit* EditorFixture::textBox(const char* name) const
{
    return control<QLineEdit>(name);
}

QPlainTextEdit* EditorFixture::body() const
{
    return control<QPlainTextEdit>("rtext1");
}

HandsetDecorator* EditorFixture::marks() const
{
    return body()->findChild<HandsetDecorator*>();
}

void EditorFixture::click(const char* name) const
{
    QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
}

QListWidget* EditorFixture::openPalette() const
{
    QMetaObject::invokeMethod(body(), "pictogramsWanted");
    auto* cells = window_->findChild<QListWidget*>();
    if (!cells || !cells->window()->isVisible())
        qFatal("the pictogram palette did not open");
    cells->doItemsLayout();
    return cells;
}

}  // namespace quillet
