#include "Accessibility.h"
#include "BodyEditor.h"
#include "ByteCounter.h"
#include "CodePage.h"
#include "FakeHostUi.h"
#include "Form1.h"
#include "HandsetDecorator.h"
#include "ModalDialogs.h"
#include "Module1.h"
#include "QtHostUi.h"
#include "TestFiles.h"
#include "main1.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>

#include <sys/stat.h>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Start-up
    void startUpState();
    void geometry_data();
    void geometry();
    void resizingMovesNothing();
    void tabOrder();
    void fonts_data();
    void fonts();
    void screenReaderNames();

    // Create command and byte count from the window's fields
    void createWritesWindowFields();
    void countFollowsEveryChange();
    void handsetMarksOnlyShow();
    void pageSizeShows();
    void chosenHandsetRulesMarksCountAndPreview();
    void pasteTakesOnlyText_data();
    void pasteTakesOnlyText();

    // Output file choice
    void outputFileChoice_data();
    void outputFileChoice();
    void clearEmptiesOnlyThePath();

    // Body load
    void loadAndLock_data();
    void loadAndLock();
    void loadAfterHtmlKeepsLock();
    void cancelledLoadKeepsEverything();
    void failedLoadSaysSoAndKeepsEverything();

    // Body save
    void saveWritesCp932WithCrLf();
    void lossySaveAsksFirst_data();
    void lossySaveAsksFirst();

    void dialogPropertiesPersist();

    // Line-break insertion
    void lineBreakAtCaret_data();
    void lineBreakAtCaret();
    void lineBreakTwice();

    // Pictogram palette
    void paletteCellWritesItsCode_data();
    void paletteCellWritesItsCode();
    void paletteByKeyboard();

    // Preview, external browser, help
    void preview_data();
    void preview();
    void previewRewritesEveryTime();
    void doubleClickOpensHtmlOnly_data();
    void doubleClickOpensHtmlOnly();
    void helpOpensOnceOnAnyButton();
    void helpOutlivesEditor();

    void realDialogsEndToEnd();

private:
    template <typename T>
    T* control(const char* name) const
    {
        auto* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QLineEdit* textBox(const char* name) const { return control<QLineEdit>(name); }
    QPlainTextEdit* body() const { return control<QPlainTextEdit>("rtext1"); }
    HandsetDecorator* marks() const { return body()->findChild<HandsetDecorator*>(); }
    void click(const char* name) const
    {
        QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
    }
    QString file(const QString& name) const { return dir_->filePath(name); }
    // The palette, opened from the body's context menu entry.
    QListWidget* openPalette() const
    {
        QMetaObject::invokeMethod(body(), "pictogramsWanted");
        auto* cells = window_->findChild<QListWidget*>();
        if (!cells || !cells->window()->isVisible())
            qFatal("the pictogram palette did not open");
        cells->doItemsLayout();
        return cells;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeHostUi> host_;
    std::unique_ptr<main1> window_;
};

void TestEditor::init()
{
    Module1::loadedFileName.clear();
    dir_ = std::make_unique<QTemporaryDir>();
    host_ = std::make_unique<FakeHostUi>();
    window_ = std::make_unique<main1>(*host_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestEditor::cleanup()
{
    window_.reset();
    host_.reset();
}

void TestEditor::startUpState()
{
    QCOMPARE(window_->windowTitle(), u"Quillet (i-mode用SUB･HP作成ﾂｰﾙ)"_s);
    QCOMPARE(window_->size(), QSize(293, 447));
    QCOMPARE(textBox("Text1")->text(), u"ここにタイトル"_s);
    QCOMPARE(textBox("Text2")->text(), u"http://"_s);
    QVERIFY(!textBox("Text1")->isReadOnly());
    QVERIFY(!textBox("Text2")->isReadOnly());
    QCOMPARE(textBox("Text1")->alignment(), Qt::AlignCenter);
    QVERIFY(window_->body().isEmpty());
    QVERIFY(label("Label1")->text().isEmpty());
    QCOMPARE(label("Label3")->text(), u"ver 1.06"_s);
    QCOMPARE(label("Label4")->text(), u" 0"_s);
    QCOMPARE(window_->focusWidget(), control<QPushButton>("Command1"));
    QVERIFY(Module1::loadedFileName.isEmpty());
    QVERIFY(host_->messages.isEmpty());
}

void TestEditor::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");  // left, top, width, height

    const auto row = [](const char* name, const QString& caption, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << QRect(l, t, w, h);
    };
    row("Command1", u"ＨＰ作成"_s, 3360, 6240, 975, 375);
    row("rtext1", QString(), 120, 1680, 1815, 3375);
    row("Command2", u"テキストファイル読込"_s, 2040, 4320, 2295, 375);
    row("Command3", u"テキストファイル書込"_s, 2040, 4800, 2295, 375);
    row("Command4", u"作成ファイル名指定"_s, 120, 120, 2055, 255);
    row("Label1", QString(), 120, 480, 4215, 495);
    row("Command5", u"クリア"_s, 2280, 120, 735, 255);
    row("Text1", u"ここにタイトル"_s, 120, 1080, 2175, 375);
    row("Text2", u"http://"_s, 120, 5880, 4215, 270);
    row("Label2", u"次へボタンを最下部に追加可能。(ここに URL 記入)"_s, 0, 5640, 4455, 255);
    row("Label3", u"ver 1.06"_s, 3600, 120, 855, 255);
    row("Picture1", QString(), 3120, 120, 480, 180);
    row("Label4", u" 0"_s, 3360, 5235, 615, 255);
    row("Label5", u"バイト数＝"_s, 2520, 5280, 855, 255);
    row("Frame1", u"ページ表示(参考)"_s, 2040, 1560, 2295, 2415);
    row("WebBrowser1", QString(), 120, 240, 2055, 2055);
    row("Command6", u"表　示"_s, 2400, 1080, 735, 375);
    row("Label8", u"横桁数は漢字８字が普通"_s, 2040, 4080, 2295, 255);
    row("Command7", u"ｶｰｿﾙ位置に強制改行挿入"_s, 0, 5160, 2415, 375);
    row("Label6", u"姉妹品 Tessaline で TOPﾍﾟｰｼﾞを作成しよう"_s, 0, 6360, 3375, 255);
}

void TestEditor::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    const QWidget* widget = window_->findChild<QWidget*>(name);
    QVERIFY(widget);
    const QRect expected(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    QCOMPARE(widget->geometry(), expected);

    QString shown;
    if (const auto* button = qobject_cast<const QPushButton*>(widget))
        shown = button->text();
    else if (const auto* text = qobject_cast<const QLabel*>(widget))
        shown = text->text();
    else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        shown = edit->text();
    else if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        shown = frame->title();
    QCOMPARE(shown, caption);
}

void TestEditor::resizingMovesNothing()
{
    QList<QRect> before;
    const QList<QWidget*> controls = window_->findChildren<QWidget*>();
    for (const QWidget* widget : controls) before.append(widget->geometry());

    window_->resize(800, 900);
    QCoreApplication::processEvents();
    for (qsizetype i = 0; i < controls.size(); ++i) QCOMPARE(controls[i]->geometry(), before[i]);
}

void TestEditor::tabOrder()
{
    const QStringList expected{u"Command1"_s,    u"rtext1"_s,   u"Command2"_s, u"Command3"_s,
                               u"Command4"_s,    u"Command5"_s, u"Text1"_s,    u"Text2"_s,
                               u"WebBrowser1"_s, u"Command6"_s, u"Command7"_s};
    QStringList order;
    QWidget* widget = control<QPushButton>("Command1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != control<QPushButton>("Command1"));
    order.removeAll(QString());  // the editor's viewport and other internals
    QCOMPARE(order, expected);
}

void TestEditor::fonts_data()
{
    QTest::addColumn<QString>("path");  // how the body first gets text or its caret
    for (const char* path : {"focus", "typed", "loaded", "pasted", "palette"})
        QTest::newRow(path) << QString::fromLatin1(path);
}

// The body's face is loaded only with its first text or caret, and must be
// there by then, however the text comes: the setup installs the IPA faces,
// and the named Windows faces map onto them (named in Japanese on a
// Japanese desktop). In either locale the window draws Latin
// proportionally, so "ver 1.06" fits.
void TestEditor::fonts()
{
    QFETCH(QString, path);
    if (path == u"focus"_s) {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        body()->setFocus();
    } else if (path == u"typed"_s) {
        QTest::keyClicks(body(), u"ab"_s);
    } else if (path == u"loaded"_s) {
        static_cast<BodyEditor*>(body())->setText(u"本文"_s);
    } else if (path == u"pasted"_s) {
        QGuiApplication::clipboard()->setText(u"本文"_s);
        QTest::keyClick(body(), Qt::Key_V, Qt::ControlModifier);
    } else {
        QListWidget* cells = openPalette();
        QTest::mouseClick(cells->viewport(), Qt::LeftButton, {},
                          cells->visualItemRect(cells->item(0)).center());
    }
    QCOMPARE(body()->document()->defaultFont(), body()->font());
    QCOMPARE(body()->font().pointSizeF(), 9.0);
    const QRegularExpression mincho(u"Mincho|明朝"_s);
    const QRegularExpression gothic(u"PGothic|Pゴシック"_s);
    QVERIFY2(QFontInfo(body()->font()).family().contains(mincho),
             qPrintable(QFontInfo(body()->font()).family()));
    QCOMPARE(label("Label2")->font().pointSizeF(), 9.75);
    QCOMPARE(label("Label6")->font().pointSizeF(), 8.25);
    QVERIFY2(QFontInfo(label("Label2")->font()).family().contains(gothic),
             qPrintable(QFontInfo(label("Label2")->font()).family()));
    const QFontMetrics latin(label("Label3")->font());
    QVERIFY(latin.horizontalAdvance(u'i') < latin.horizontalAdvance(u'M'));
    QVERIFY(latin.horizontalAdvance(label("Label3")->text()) <= label("Label3")->width());
}

void TestEditor::screenReaderNames()
{
    QCOMPARE(namelessControls(window_.get()), QStringList());
    const auto name = [this](const char* control) {
        return window_->findChild<QWidget*>(QString::fromLatin1(control))->accessibleName();
    };
    QCOMPARE(name("rtext1"), u"本文"_s);
    QCOMPARE(label("Label1")->accessibleDescription(), u"作成ファイル名"_s);
    QCOMPARE(label("Label4")->accessibleDescription(), u"本文のバイト数"_s);

    const QString path = file(u"sub100.html"_s);
    host_->dialogPaths = {path};
    click("Command4");
    QCOMPARE(name("Label1"), path);  // the value itself is read out
    click("Command5");
    QVERIFY(!name("Label1").isEmpty());
    QCOMPARE(namelessControls(window_.get()), QStringList());
}

void TestEditor::createWritesWindowFields()
{
    host_->dialogPaths = {file(u"sub100.html"_s)};
    click("Command4");
    textBox("Text1")->setText(u"Menu"_s);
    body()->setFocus();
    QTest::keyClicks(body(), u"Hello "_s);
    body()->insertPlainText(u"あ"_s);  // as an input method commits it
    textBox("Text2")->clear();
    click("Command1");

    QCOMPARE(host_->messageTexts(), QStringList{u"作成しました。"_s});
    QCOMPARE(readAll(file(u"sub100.html"_s)).size(), 119);
    QCOMPARE(textBox("Text2")->text(), u"http://"_s);
}

void TestEditor::countFollowsEveryChange()
{
    body()->setFocus();
    QTest::keyClicks(body(), u"abc"_s);
    QCOMPARE(label("Label4")->text(), u" 3"_s);
    QTest::keyClick(body(), Qt::Key_Return);
    body()->insertPlainText(u"あい"_s);
    QCOMPARE(label("Label4")->text(), u" 9"_s);  // the break counts 2 (CR LF)
    QCOMPARE(window_->body(), u"abc\r\nあい"_s);
    QTest::keyClick(body(), Qt::Key_Return, Qt::ShiftModifier);  // a break within the block
    QCOMPARE(window_->body(), u"abc\r\nあい\r\n"_s);
    QCOMPARE(label("Label4")->text(), u" 11"_s);
    body()->clear();
    QCOMPARE(label("Label4")->text(), u" 0"_s);
}

// The marks change how the body is drawn, nothing else: not its text, not
// the count, not the page.
void TestEditor::handsetMarksOnlyShow()
{
    const auto edit = [this](bool marks) {
        window_ = std::make_unique<main1>(*host_);
        window_->show();
        auto* editor = control<BodyEditor>("rtext1");
        this->marks()->setEnabled(marks);
        const QString page = file(marks ? u"marked.html"_s : u"plain.html"_s);
        host_->dialogPaths = {page};
        click("Command4");
        editor->setFocus();
        QTest::keyClicks(editor, u"<table>"_s);
        editor->insertPlainText(u"①한☀<font"_s);  // as an input method commits it
        click("Command7");
        click("Command1");
        this->marks()->update();
        return std::tuple(window_->body(), label("Label4")->text(), readAll(page),
                          editor->textCursor().position(), this->marks()->marks().size());
    };
    const auto [text, count, page, caret, noMarks] = edit(false);
    QCOMPARE(noMarks, 0);
    const auto marked = edit(true);
    QCOMPARE(std::get<0>(marked), text);
    QCOMPARE(std::get<1>(marked), count);
    QCOMPARE(std::get<2>(marked), page);
    QCOMPARE(std::get<3>(marked), caret);
    QCOMPARE(std::get<4>(marked), 6);  // <table>, its name, ①, 한, <font<br>, <br>
    // The pictogram is drawn in colour, in the layout only.
    QCOMPARE(control<BodyEditor>("rtext1")->document()->firstBlock().layout()->formats().size(), 1);

    // The tooltips, where the pointer rests on a mark, shown as they read.
    auto* editor = control<BodyEditor>("rtext1");
    for (const auto& [character, tip] :
         {std::pair(u'한', u"Shift-JIS で表せない文字です。ページには「?」と書き込まれます。"_s),
          std::pair(u'b', u"<table> は i-mode HTML 6.0（902i）以降の端末だけが表示します。"_s)}) {
        QTextCursor at(editor->document());
        at.setPosition(int(text.indexOf(character)));
        const QPoint pointer = editor->cursorRect(at).center() + QPoint(3, 0);
        QHelpEvent help(QEvent::ToolTip, pointer, editor->viewport()->mapToGlobal(pointer));
        QApplication::sendEvent(editor->viewport(), &help);
        QVERIFY2(QToolTip::text().contains(tip.toHtmlEscaped()), qPrintable(QToolTip::text()));
    }
    editor->clear();
    marks()->update();
    QCOMPARE(marks()->marks().size(), 0);
}

// The whole page's size, as the writer would write it: the count turns red
// at the size the first handsets could not hold.
void TestEditor::pageSizeShows()
{
    QLabel* count = label("Label4");
    const QColor normal = count->palette().color(QPalette::WindowText);
    textBox("Text1")->setText(u"Menu"_s);
    body()->setPlainText(u"Hello あ"_s);
    QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), count->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(count, &help);
    QCOMPARE(count->toolTip(), u"ページ全体 119 バイト（1 パケット）\n表示できる端末: 501i 以降"_s);

    body()->setPlainText(QString(5008, u'a'));
    QCOMPARE(count->palette().color(QPalette::WindowText), normal);
    textBox("Text1")->setText(u"Menu!"_s);  // one byte more: 5,120
    QCOMPARE(count->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(count->text(), u" 5008"_s);  // the count keeps its rule

    body()->setPlainText(u"Hello あ"_s);
    QCOMPARE(count->palette().color(QPalette::WindowText), normal);
    QCOMPARE(QAccessible::queryAccessibleInterface(count)->text(QAccessible::Description),
             u"本文のバイト数。ページ全体 120 バイト（1 パケット）\n表示できる端末: 501i 以降"_s);
}

// Chosen in the preview pane's menu before any page is shown: the marks,
// the count's colour and the preview's screen follow it; no file is
// written for it, and the page shown is shown again on the new screen.
void TestEditor::chosenHandsetRulesMarksCountAndPreview()
{
    const QString output = file(u"out.html"_s);
    host_->dialogPaths = {output};
    click("Command4");
    textBox("Text1")->setText(u"Menu"_s);
    body()->setPlainText(u"<table>"_s + QString(5002, u'a'));  // 5,120 bytes in all
    click("Command6");
    marks()->update();
    QCOMPARE(marks()->marks().size(), 2);  // the tag, and its name: 902i on
    QCOMPARE(label("Label4")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(host_->embeddedScreens.last().charactersPerLine, 8);

    auto* pane = control<QWidget>("WebBrowser1");
    QStringList entries;
    QTimer::singleShot(0, this, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const QList<QAction*> handsets = menu->actions().constFirst()->menu()->actions();
        for (const QAction* handset : handsets)
            entries += handset->text() + (handset->isChecked() ? u" ✓"_s : QString());
        handsets.last()->trigger();
        menu->close();
    });
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, pane->rect().center(),
                              pane->mapToGlobal(pane->rect().center()));
    QApplication::sendEvent(pane, &menuKey);
    QCOMPARE(entries.size(), 7);
    QCOMPARE(entries.first(), u"501i（D501i 8×6字 モノクロ 5KB） ✓"_s);
    QCOMPARE(entries.last(), u"902i（SH902i 12×12字 26万色 100KB・テキスト30KB）"_s);

    marks()->update();
    QCOMPARE(marks()->marks().size(), 1);
    QCOMPARE(label("Label4")->palette().color(QPalette::WindowText),
             window_->palette().color(QPalette::WindowText));
    QCOMPARE(host_->embeddedAddresses, (QStringList{output, output}));
    QCOMPARE(host_->writtenPaths, QStringList{output});
    QCOMPARE(host_->embeddedScreens.last().charactersPerLine, 12);
    QVERIFY(pane->accessibleDescription().contains(u"902i（SH902i"_s));
}

// What an X clipboard with no owner hands over, what an unknown program
// offers, and plain text; by every path that brings data into a box, with
// the box's whole text selected, as Tab or a triple-click leaves it.
void TestEditor::pasteTakesOnlyText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("path");      // "keys", "menu" (its Paste entry) or "drop"
    QTest::addColumn<QString>("offered");   // "nothing", "unknown", "markdown" or the text
    QTest::addColumn<QString>("expected");  // the box's text afterwards

    for (const char* box : {"rtext1", "Text1", "Text2"}) {
        for (const char* path : {"keys", "menu", "drop"}) {
            const auto row = [&](const char* offered, const QString& expected) {
                QTest::addRow("%s, %s, %s", box, path, offered)
                    << QString::fromLatin1(box) << QString::fromLatin1(path)
                    << QString::fromLatin1(offered) << expected;
            };
            row("nothing", u"abc"_s);
            row("unknown", u"abc"_s);
        }
    }
    QTest::newRow("rtext1, keys, text") << u"rtext1"_s << u"keys"_s << u"x\ny"_s << u"x\r\ny"_s;
    QTest::newRow("rtext1, menu, text") << u"rtext1"_s << u"menu"_s << u"x\ny"_s << u"x\r\ny"_s;
    QTest::newRow("rtext1, drop, text")  // at the drop point, before the old text
        << u"rtext1"_s << u"drop"_s << u"x\ny"_s << u"x\r\nyabc"_s;
    QTest::newRow("rtext1, keys, markdown")  // tags stay tags
        << u"rtext1"_s << u"keys"_s << u"markdown"_s << u"x<br>y"_s;
    QTest::newRow("Text1, keys, text") << u"Text1"_s << u"keys"_s << u"xy"_s << u"xy"_s;
}

void TestEditor::pasteTakesOnlyText()
{
    QFETCH(QString, box);
    QFETCH(QString, path);
    QFETCH(QString, offered);
    QFETCH(QString, expected);

    auto* data = new QMimeData;  // the clipboard owns it
    if (offered == u"unknown"_s)
        data->setData(u"application/x-unknown-program"_s, "\x01\x02");
    else if (offered == u"markdown"_s) {
        data->setData(u"text/markdown"_s, "x<br>y");  // first, as some programs offer it
        data->setText(u"x<br>y"_s);
    } else if (offered != u"nothing"_s)
        data->setText(offered);
    QGuiApplication::clipboard()->setMimeData(data);

    auto* target = control<QWidget>(box.toLatin1().constData());
    auto* line = qobject_cast<QLineEdit*>(target);  // none for the body
    const auto text = [&] { return line ? line->text() : window_->body(); };
    if (line)
        line->setText(u"abc"_s);
    else
        body()->setPlainText(u"abc"_s);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QSignalSpy changes(body(), &QPlainTextEdit::textChanged);

    if (path == u"keys"_s) {
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    } else if (path == u"menu"_s) {
        const std::unique_ptr<QMenu> menu(line ? line->createStandardContextMenu()
                                               : body()->createStandardContextMenu());
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().startsWith(u"&Paste"_s))
                paste = action;
        QVERIFY(paste);
        QCOMPARE(paste->isEnabled(), expected != u"abc"_s);
        paste->trigger();
    } else {
        QWidget* dropTarget = line ? target : body()->viewport();
        // A drop reaches only a box that took the drag when it entered.
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dropTarget, &enter);
        QCOMPARE(enter.isAccepted(), expected != u"abc"_s);
        QDropEvent drop(QPointF(1, 1), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(dropTarget, &drop);
    }

    QCOMPARE(text(), expected);
    if (line)
        return;
    QCOMPARE(changes.size(), expected == u"abc"_s ? 0 : 1);
    QCOMPARE(label("Label4")->text(), byteCountCaption(expected));
    body()->undo();
    QCOMPARE(window_->body(), u"abc"_s);
}

void TestEditor::outputFileChoice_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("earlierPath");
    QTest::addColumn<int>("answer");  // to the overwrite question, if asked
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("chosenShown");
    QTest::newRow("new file") << false << false << 0 << false << true;
    QTest::newRow("existing, Yes") << true << false << int(MsgAnswer::Yes) << false << true;
    QTest::newRow("existing, No, earlier path")
        << true << true << int(MsgAnswer::No) << false << false;
    QTest::newRow("existing, No, no path") << true << false << int(MsgAnswer::No) << false << false;
    QTest::newRow("cancel") << false << true << 0 << true << false;
}

void TestEditor::outputFileChoice()
{
    QFETCH(bool, exists);
    QFETCH(bool, earlierPath);
    QFETCH(int, answer);
    QFETCH(bool, cancel);
    QFETCH(bool, chosenShown);

    const QString earlier = file(u"earlier.html"_s);
    if (earlierPath) {
        host_->dialogPaths = {earlier};
        click("Command4");
    }
    const QString chosen = file(u"chosen.html"_s);
    if (exists)
        writeFile(chosen, oldPageBytes);
    // Locked, as after loading an HTML file: the unlock shows whether the
    // command reached its last step.
    textBox("Text1")->setReadOnly(true);
    textBox("Text2")->setReadOnly(true);
    host_->dialogs.clear();
    host_->preloads = 0;

    host_->dialogPaths = {cancel ? std::nullopt : std::optional<QString>(chosen)};
    host_->answers = {answer};
    click("Command4");

    QCOMPARE(host_->dialogs.size(), 1);
    const CommonDialog& shown = host_->dialogs[0].shown;
    QVERIFY(host_->dialogs[0].save);
    QCOMPARE(shown.FileName, u"sub100.html"_s);
    QCOMPARE(shown.Filter, u"htmlﾌｧｲﾙ|*.html|All Files|*.*|"_s);
    QVERIFY(shown.CancelError);

    if (exists && !cancel) {
        QCOMPARE(host_->messages.size(), 1);
        QCOMPARE(host_->messages[0].text, u"\n"_s + chosen + u" のファイルに上書きしますか？\n"_s);
        QCOMPARE(host_->messages[0].title, u"ファイル上書き確認"_s);
        QCOMPARE(host_->messages[0].style, MsgStyle::YesNoExclamation);
    } else {
        QVERIFY(host_->messages.isEmpty());
    }
    const QString expectedPath = chosenShown ? chosen : earlierPath ? earlier : QString();
    QCOMPARE(label("Label1")->text(), expectedPath);
    QCOMPARE(textBox("Text1")->isReadOnly(), cancel);
    QCOMPARE(textBox("Text2")->isReadOnly(), cancel);
    QCOMPARE(readAll(chosen), exists ? oldPageBytes : QByteArray());  // choosing writes nothing
    QCOMPARE(host_->preloads, chosenShown ? 1 : 0);  // the browser is readied for a preview

    if (expectedPath.isEmpty()) {
        click("Command1");  // still no output file: the writer asks for one
        QCOMPARE(host_->messageTexts().constLast(), u"ファイル名を指定してください。"_s);
    }
}

void TestEditor::clearEmptiesOnlyThePath()
{
    writeFile(file(u"top.html"_s), "<HTML></HTML>");
    host_->dialogPaths = {file(u"top.html"_s), file(u"out.html"_s)};
    click("Command2");
    click("Command4");
    textBox("Text1")->setReadOnly(true);  // clearing must not unlock
    textBox("Text1")->setText(u"t"_s);

    click("Command5");
    QVERIFY(label("Label1")->text().isEmpty());
    QVERIFY(textBox("Text1")->isReadOnly());
    QCOMPARE(textBox("Text1")->text(), u"t"_s);
    QCOMPARE(Module1::loadedFileName, file(u"top.html"_s));
    click("Command5");
    QVERIFY(label("Label1")->text().isEmpty());
}

void TestEditor::loadAndLock_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("html");

    const QByteArray sjis("<HTML>\r\n\x82\xA0\r\n</HTML>\r\n");
    const QString decoded = u"<HTML>\r\nあ\r\n</HTML>\r\n"_s;
    QTest::newRow("top.html") << u"top.html"_s << sjis << decoded << u" 21"_s << true;
    QTest::newRow("top.htm") << u"top.htm"_s << sjis << decoded << u" 21"_s << true;
    QTest::newRow("TOP.HTML is case-sensitive")
        << u"TOP.HTML"_s << sjis << decoded << u" 21"_s << false;
    QTest::newRow("myhtml, no dot") << u"myhtml"_s << sjis << decoded << u" 21"_s << true;
    QTest::newRow("notes.txt") << u"notes.txt"_s << QByteArray("a\r\nb") << u"a\r\nb"_s << u" 4"_s
                               << false;
    QTest::newRow("LF-only file") << u"lf.txt"_s << QByteArray("a\nb\n") << u"a\r\nb\r\n"_s
                                  << u" 6"_s << false;
    QTest::newRow("UTF-8 file") << u"utf8.txt"_s << QByteArray("次へ ~\\") << u"次へ ~\\"_s
                                << u" 7"_s << false;
    QTest::newRow("UTF-8 with BOM")
        << u"bom.txt"_s << QByteArray("\xEF\xBB\xBFok") << u"ok"_s << u" 2"_s << false;
}

void TestEditor::loadAndLock()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, count);
    QFETCH(bool, html);

    host_->dialogPaths = {file(u"out.html"_s)};
    click("Command4");
    textBox("Text1")->setText(u"Menu"_s);
    textBox("Text2")->setText(u"sub101.html"_s);
    writeFile(file(name), bytes);
    host_->dialogPaths = {file(name)};
    click("Command2");

    QCOMPARE(host_->dialogs.constLast().shown.Filter, u"html|*.html|text|*.txt|All Files|*.*|"_s);
    QVERIFY(!host_->dialogs.constLast().save);
    QCOMPARE(window_->body(), text);
    QCOMPARE(label("Label4")->text(), count);
    QCOMPARE(Module1::loadedFileName, file(name));
    QCOMPARE(label("Label1")->text(), html ? QString() : file(u"out.html"_s));
    QCOMPARE(textBox("Text1")->text(), html ? QString() : u"Menu"_s);
    QCOMPARE(textBox("Text2")->text(), html ? u"http://"_s : u"sub101.html"_s);
    QCOMPARE(textBox("Text1")->isReadOnly(), html);
    QCOMPARE(textBox("Text2")->isReadOnly(), html);
    QVERIFY(host_->messages.isEmpty());
}

void TestEditor::loadAfterHtmlKeepsLock()
{
    writeFile(file(u"top.html"_s), "<HTML></HTML>");
    writeFile(file(u"notes.txt"_s), "notes");
    host_->dialogPaths = {file(u"top.html"_s), file(u"notes.txt"_s)};
    click("Command2");
    click("Command2");

    QCOMPARE(window_->body(), u"notes"_s);
    QCOMPARE(Module1::loadedFileName, file(u"notes.txt"_s));
    QVERIFY(textBox("Text1")->isReadOnly());
    QVERIFY(textBox("Text2")->isReadOnly());
}

void TestEditor::cancelledLoadKeepsEverything()
{
    writeFile(file(u"notes.txt"_s), "notes");
    host_->dialogPaths = {file(u"notes.txt"_s), std::nullopt};
    click("Command2");
    body()->setPlainText(u"edited"_s);
    click("Command2");

    QCOMPARE(Module1::loadedFileName, file(u"notes.txt"_s));
    QCOMPARE(window_->body(), u"edited"_s);
    QVERIFY(host_->messages.isEmpty());
}

void TestEditor::failedLoadSaysSoAndKeepsEverything()
{
    writeFile(file(u"notes.txt"_s), "notes");
    QDir(dir_->path()).mkdir(u"folder.html"_s);
    host_->dialogPaths = {file(u"notes.txt"_s), file(u"missing.html"_s), file(u"folder.html"_s)};
    click("Command2");
    body()->setPlainText(u"edited"_s);
    textBox("Text1")->setText(u"Menu"_s);

    for (const QString& bad : {file(u"missing.html"_s), file(u"folder.html"_s)}) {
        host_->messages.clear();
        click("Command2");
        QCOMPARE(host_->messages.size(), 1);
        const QString message = host_->messages[0].text;
        QVERIFY2(message.startsWith(u"ファイルを読み込めませんでした。\n"_s + bad + u"\n\n"_s),
                 qPrintable(message));
        QVERIFY(message.size() > message.indexOf(u"\n\n"_s) + 2);  // a reason follows
        QCOMPARE(window_->body(), u"edited"_s);
        QCOMPARE(textBox("Text1")->text(), u"Menu"_s);
        QVERIFY(!textBox("Text1")->isReadOnly());
        QCOMPARE(Module1::loadedFileName, file(u"notes.txt"_s));
    }
}

void TestEditor::saveWritesCp932WithCrLf()
{
    const QString path = file(u"body.txt"_s);
    writeFile(path, oldPageBytes);
    body()->setPlainText(u"あ\n～\\"_s);  // U+FF5E, the tilde input methods type
    host_->dialogPaths = {path};
    click("Command3");

    QCOMPARE(readAll(path), QByteArray("\x82\xA0\r\n\x81\x60\\"));
    QVERIFY(host_->messages.isEmpty());  // replaced without a question
    const CommonDialog& shown = host_->dialogs.constLast().shown;
    QVERIFY(host_->dialogs.constLast().save);
    QCOMPARE(shown.DefaultExt, u"html"_s);
    QCOMPARE(shown.Filter, u"html|*.html|text|*.txt|All Files|*.*|"_s);
    QVERIFY(shown.CancelError);
}

void TestEditor::lossySaveAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("Yes writes ? for each") << int(MsgAnswer::Yes) << QByteArray("a??");
    QTest::newRow("No writes nothing") << int(MsgAnswer::No) << oldPageBytes;
}

void TestEditor::lossySaveAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, result);

    const QString path = file(u"body.txt"_s);
    writeFile(path, oldPageBytes);
    body()->setPlainText(u"a😀한"_s);
    host_->dialogPaths = {path};
    host_->answers = {answer};
    click("Command3");

    QCOMPARE(host_->messages.size(), 1);
    QVERIFY2(host_->messages[0].text.contains(u" 2 文字"_s), qPrintable(host_->messages[0].text));
    QCOMPARE(host_->messages[0].style, MsgStyle::YesNoExclamation);
    QCOMPARE(readAll(path), result);
}

void TestEditor::dialogPropertiesPersist()
{
    const QString output = file(u"out.html"_s);
    host_->dialogPaths = {output, std::nullopt, file(u"b.html"_s), std::nullopt, std::nullopt};
    click("Command4");
    click("Command2");  // proposes the output file's name
    QCOMPARE(host_->dialogs[1].shown.FileName, output);
    QVERIFY(host_->dialogs[1].shown.DefaultExt.isEmpty());

    click("Command3");
    click("Command4");  // the save command's default extension stays in force
    QCOMPARE(host_->dialogs[3].shown.DefaultExt, u"html"_s);
    QCOMPARE(host_->dialogs[3].shown.FileName, u"sub100.html"_s);
    click("Command2");
    QCOMPARE(host_->dialogs[4].shown.DefaultExt, u"html"_s);
    QCOMPARE(host_->dialogs[4].shown.FileName, u"sub100.html"_s);
    QCOMPARE(window_->fileDialog().Filter, u"html|*.html|text|*.txt|All Files|*.*|"_s);
}

void TestEditor::lineBreakAtCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("count");
    QTest::newRow("empty body") << QString() << 0 << 0 << u"<br>"_s << u" 4"_s;
    QTest::newRow("caret at the end") << u"あいう"_s << 3 << 3 << u"あいう<br>"_s << u" 10"_s;
    QTest::newRow("caret mid-line") << u"ab\ncd"_s << 1 << 1 << u"a<br>b\r\ncd"_s << u" 10"_s;
    QTest::newRow("selection replaced") << u"abcdef"_s << 1 << 4 << u"a<br>ef"_s << u" 7"_s;
}

void TestEditor::lineBreakAtCaret()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, result);
    QFETCH(QString, count);

    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    body()->setPlainText(text);
    QTextCursor cursor = body()->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    body()->setTextCursor(cursor);
    click("Command7");

    QCOMPARE(window_->body(), result);
    QCOMPARE(body()->textCursor().position(), qMin(anchor, position) + 4);
    QCOMPARE(label("Label4")->text(), count);
    QCOMPARE(host_->sentKeys, QStringList{u"<br>"_s});
}

void TestEditor::lineBreakTwice()
{
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    click("Command7");
    click("Command7");
    QCOMPARE(window_->body(), u"<br><br>"_s);
    QCOMPARE(label("Label4")->text(), u" 8"_s);
}

// Every cell of the palette, from the same generated table the writer uses.
void TestEditor::paletteCellWritesItsCode_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QByteArray>("bytes");
    const QList<PictogramEntry> pictograms = pictogramEntries();
    QCOMPARE(pictograms.size(), 244);
    for (int cell = 0; cell < pictograms.size(); ++cell) {
        const quint16 code = pictograms[cell].code;
        QTest::addRow("%s", qPrintable(pictograms[cell].name))
            << cell << QByteArray().append(char(code >> 8)).append(char(code & 0xFF));
    }
}

void TestEditor::paletteCellWritesItsCode()
{
    QFETCH(int, cell);
    QFETCH(QByteArray, bytes);
    host_->dialogPaths = {file(u"sub100.html"_s)};
    click("Command4");
    QListWidget* cells = openPalette();
    QListWidgetItem* item = cells->item(cell);
    cells->scrollToItem(item);
    QTest::mouseClick(cells->viewport(), Qt::LeftButton, {}, cells->visualItemRect(item).center());
    click("Command1");
    const QByteArray line = "<div align=\"left\">\r\n" + bytes + "\r\n";
    QVERIFY(readAll(file(u"sub100.html"_s)).contains(line));
}

// Keyboard alone, as a screen reader user would: the third cell by the
// arrow keys, Return, then Escape; undo takes the pictogram back.
void TestEditor::paletteByKeyboard()
{
    QListWidget* cells = openPalette();
    QCOMPARE(QAccessible::queryAccessibleInterface(cells)->child(0)->text(QAccessible::Name),
             u"BLACK SUN WITH RAYS (F89F)"_s);
    QCOMPARE(cells->findItems(u"#\uFE0F\u20E3"_s, Qt::MatchExactly).value(0)->toolTip(),
             u"NUMBER SIGN KEYCAP (F985)"_s);
    const QList<PictogramEntry> entries = pictogramEntries();
    const auto copyright =
        std::find_if(entries.begin(), entries.end(),
                     [](const PictogramEntry& entry) { return entry.code == 0xF9D6; });
    QCOMPARE(cells->item(int(copyright - entries.begin()))->toolTip(),
             u"COPYRIGHT SIGN (F9D6)（504i 以降）"_s);  // an extended pictogram
    QTest::keyClick(cells, Qt::Key_Right);
    QTest::keyClick(cells, Qt::Key_Right);
    QTest::keyClick(cells, Qt::Key_Return);
    QCOMPARE(window_->body(), pictogramEntries().at(2).text);
    QCOMPARE(label("Label4")->text(), byteCountCaption(pictogramEntries().at(2).text));
    QTest::keyClick(cells, Qt::Key_Escape);
    QVERIFY(!cells->window()->isVisible());
    body()->undo();
    QCOMPARE(window_->body(), QString());
}

void TestEditor::preview_data()
{
    QTest::addColumn<QString>("loadedFile");  // read into the body first, or none
    QTest::addColumn<QString>("text");        // the body when the preview runs
    QTest::addColumn<bool>("outputPath");
    QTest::addColumn<QString>("shows");  // "loaded", "written" or "asks"

    QTest::newRow("loaded document, lower case")
        << u"top.html"_s << u"<html><body>x"_s << true << u"loaded"_s;
    QTest::newRow("typed document, nothing loaded")
        << QString() << u"<HTML>x"_s << true << u"written"_s;
    QTest::newRow("typed document, no path") << QString() << u"<HTML>x"_s << false << u"asks"_s;
    QTest::newRow("text file edited into a document")
        << u"notes.txt"_s << u"<HTML>x"_s << false << u"loaded"_s;
    QTest::newRow("leading space") << u"top.html"_s << u" <HTML>"_s << true << u"written"_s;
    QTest::newRow("document type line")
        << u"top.html"_s << u"<!DOCTYPE html>"_s << true << u"written"_s;
    QTest::newRow("tag with attributes")
        << u"top.html"_s << u"<HTML lang=ja>"_s << true << u"written"_s;
    QTest::newRow("shorter than six") << u"top.html"_s << u"<HTML"_s << true << u"written"_s;
    QTest::newRow("nothing to show") << QString() << u"text"_s << false << u"asks"_s;
}

void TestEditor::preview()
{
    QFETCH(QString, loadedFile);
    QFETCH(QString, text);
    QFETCH(bool, outputPath);
    QFETCH(QString, shows);

    if (!loadedFile.isEmpty()) {
        writeFile(file(loadedFile), "<HTML>on disk</HTML>");
        host_->dialogPaths = {file(loadedFile)};
        click("Command2");
    }
    const QString output = file(u"out.html"_s);
    if (outputPath) {
        host_->dialogPaths = {output};
        click("Command4");
    }
    body()->setPlainText(text);
    host_->messages.clear();
    click("Command6");

    if (shows == u"loaded"_s) {
        QCOMPARE(host_->embeddedAddresses, QStringList{file(loadedFile)});
        QCOMPARE(host_->embeddedOrigins, QList{PageOrigin::Loaded});  // decoded as a body file
        QVERIFY(host_->writtenPaths.isEmpty());
        QVERIFY(host_->messages.isEmpty());
    } else if (shows == u"written"_s) {
        QCOMPARE(host_->embeddedAddresses, QStringList{output});
        QCOMPARE(host_->embeddedOrigins, QList{PageOrigin::Written});  // always Shift-JIS
        QCOMPARE(host_->writtenPaths, QStringList{output});
        QVERIFY(readAll(output).contains(text.toLatin1()));
        QVERIFY(host_->messages.isEmpty());  // no confirmation, unlike the create command
    } else {
        QVERIFY(host_->embeddedAddresses.isEmpty());
        QVERIFY(host_->writtenPaths.isEmpty());
        QCOMPARE(host_->messageTexts(), QStringList{u"上の作成ファイル名の指定をして下さい"_s});
        QCOMPARE(host_->messages[0].style, MsgStyle::OkOnly);
    }
}

void TestEditor::previewRewritesEveryTime()
{
    const QString output = file(u"out.html"_s);
    host_->dialogPaths = {output};
    click("Command4");
    textBox("Text2")->clear();
    body()->setPlainText(u"first"_s);
    click("Command6");
    QVERIFY(readAll(output).contains("first"));
    QCOMPARE(textBox("Text2")->text(), u"http://"_s);  // the writer's reset happens here too

    body()->setPlainText(u"second"_s);
    click("Command6");
    QVERIFY(readAll(output).contains("second"));
    QVERIFY(!readAll(output).contains("first"));
    QCOMPARE(host_->embeddedAddresses, (QStringList{output, output}));
}

void TestEditor::doubleClickOpensHtmlOnly_data()
{
    QTest::addColumn<QString>("name");  // of the output file, or none
    QTest::addColumn<bool>("opens");
    QTest::newRow("no output file") << QString() << false;
    QTest::newRow(".txt") << u"page.txt"_s << false;
    QTest::newRow(".HTM") << u"PAGE.HTM"_s << true;
    QTest::newRow(".Html") << u"page.Html"_s << true;
    QTest::newRow("ending without a dot") << u"myhtml"_s << true;
    QTest::newRow("named pipe, refused as the preview refuses it") << u"pipe.html"_s << false;
}

void TestEditor::doubleClickOpensHtmlOnly()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);

    const bool pipe = name == u"pipe.html"_s;
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(file(name)).constData(), 0644), 0);
    if (!name.isEmpty()) {
        host_->dialogPaths = {file(name)};
        click("Command4");
    }
    host_->messages.clear();
    host_->browserAvailable = false;  // nothing is said when no browser starts
    QTest::mouseDClick(label("Label1"), Qt::LeftButton);
    QTest::mouseDClick(label("Label1"), Qt::LeftButton);

    const QStringList expected = opens ? QStringList{file(name), file(name)} : QStringList();
    QCOMPARE(host_->browserAddresses, expected);
    QCOMPARE(host_->messages.size(), pipe ? 2 : 0);
    if (pipe)
        QVERIFY(host_->messages[0].text.startsWith(u"ページを表示できませんでした。\n"_s));
}

void TestEditor::helpOpensOnceOnAnyButton()
{
    const auto helpWindows = [] {
        QList<Form1*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<Form1*>(widget); help && help->isVisible())
                found.append(help);
        return found;
    };
    QLabel* picture = label("Picture1");
    QTest::mouseClick(picture, Qt::RightButton);
    QCOMPARE(helpWindows().size(), 1);
    QPointer<Form1> first = helpWindows().constFirst();
    QVERIFY(!first->parentWidget());
    QCOMPARE(first->findChild<QLabel*>(u"Picture1"_s)->pixmap().size(), QSize(500, 474));

    QTest::mouseClick(picture, Qt::MiddleButton, Qt::ShiftModifier, QPoint(1, 1));
    QCOMPARE(helpWindows(), QList<Form1*>{first.data()});

    first->close();
    QTRY_VERIFY(first.isNull());  // closing unloads it
    QTest::mouseClick(picture, Qt::LeftButton);
    QCOMPARE(helpWindows().size(), 1);
    helpWindows().constFirst()->close();

    // The help key, and a screen reader's press, do what the mouse does.
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(body(), Qt::Key_F1);
    QCOMPARE(helpWindows().size(), 1);
    QAccessible::queryAccessibleInterface(picture)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCOMPARE(helpWindows().size(), 1);
    QVERIFY(QAccessible::queryAccessibleInterface(picture)
                ->text(QAccessible::Description)
                .contains(u"F1"_s));
    helpWindows().constFirst()->close();
}

void TestEditor::helpOutlivesEditor()
{
    QTest::mouseClick(label("Picture1"), Qt::LeftButton);
    window_->close();
    window_.reset();
    QPointer<QWidget> help;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<Form1*>(widget))
            help = widget;
    QVERIFY(help);
    QVERIFY(help->isVisible());
    help->close();
    QTRY_VERIFY(help.isNull());
}

void TestEditor::realDialogsEndToEnd()
{
    window_.reset();
    QtHostUi qtHost;
    main1 window(qtHost);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QString path = file(u"real page.html"_s);

    QString problem;
    QStringList filters;
    QString proposed;
    QTimer::singleShot(0, [&] {
        auto* dialog = activeModal<QFileDialog>(problem);
        auto* name = dialog ? dialog->findChild<QLineEdit*>(u"fileNameEdit"_s) : nullptr;
        auto* types = dialog ? dialog->findChild<QComboBox*>(u"fileTypeCombo"_s) : nullptr;
        if (!name || !types) {
            problem += u" (no name field or type list)"_s;
            if (dialog)
                dialog->reject();
            return;
        }
        for (int i = 0; i < types->count(); ++i) filters.append(types->itemText(i));
        proposed = name->text();
        name->setText(path);  // typed over the proposal, then Enter
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command4"_s), Qt::LeftButton);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(filters, (QStringList{u"htmlﾌｧｲﾙ"_s, u"All Files"_s}));  // captions alone
    QCOMPARE(proposed, u"sub100.html"_s);
    QCOMPARE(window.outputPath(), path);

    QString confirmation;
    QTimer::singleShot(0, [&] {
        if (auto* box = activeModal<QMessageBox>(problem)) {
            confirmation = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(confirmation, u"作成しました。"_s);
    QCOMPARE(readAll(path).size(), 121);  // the initial title, an empty body, no link

#ifdef QUILLET_BROWSER
    // The browser module, loaded by name on the first preview as in the
    // program, with no OpenGL here.
    prepareEmbeddedBrowser();  // read when the engine starts
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command6"_s), Qt::LeftButton);
    auto* pane = window.findChild<QWidget*>(u"WebEngineView"_s);
    QVERIFY2(pane, "the browser module did not load");
    QSignalSpy loaded(pane, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded.wait(30000));
    QVERIFY(loaded.constFirst().constFirst().toBool());
#endif
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
