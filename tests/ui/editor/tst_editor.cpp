// The editor window itself: its layout, start-up, fonts and screen-reader
// names, the create command and the byte count from its fields, the handset
// marks, pasting, line breaks, the pictogram palette and the help picture.
#include "Accessibility.h"
#include "BodyEditor.h"
#include "ByteCounter.h"
#include "CodePage.h"
#include "EditorFixture.h"
#include "Form1.h"
#include "HandsetDecorator.h"
#include "TestFiles.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestEditor : public EditorFixture {
    Q_OBJECT

private slots:
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
    void marksInViewKnowWhatIsAbove_data();
    void marksInViewKnowWhatIsAbove();
    void pageSizeShows();
    void chosenHandsetRulesMarksCountAndPreview();
    void pasteTakesOnlyText_data();
    void pasteTakesOnlyText();

    // Line-break insertion
    void lineBreakAtCaret_data();
    void lineBreakAtCaret();
    void lineBreakTwice();

    // Pictogram palette
    void paletteCellWritesItsCode_data();
    void paletteCellWritesItsCode();
    void paletteByKeyboard();

    // Help
    void helpOpensOnceOnAnyButton();
    void helpOutlivesEditor();
};

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
    QVERIFY(module_->loadedFileName.isEmpty());
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

    // The pane draws no focus of its own; the margin around it shows it.
    auto* pane = control<QWidget>("WebBrowser1");
    const QPoint margin(pane->x() - 3, pane->geometry().center().y());
    const auto marginColour = [pane, margin] {
        return pane->parentWidget()->grab().toImage().pixelColor(margin);
    };
    const QColor unfocused = marginColour();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    textBox("Text2")->setFocus();
    QTest::keyClick(textBox("Text2"), Qt::Key_Tab);
    QVERIFY(pane->hasFocus());
    QVERIFY(marginColour() != unfocused);
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
// Japanese desktop). In either locale the window and its menus draw Latin
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
    const QFontMetrics menus(QApplication::font("QMenu"));  // and tooltips, message boxes
    QVERIFY(menus.horizontalAdvance(u'i') < menus.horizontalAdvance(u'M'));
    // Centred, and reaching past the window's edge, it shows whole only
    // inside what is left once as much is taken from its left.
    const int beyond = label("Label3")->geometry().right() + 1 - window_->width();
    QVERIFY(latin.horizontalAdvance(label("Label3")->text()) <=
            label("Label3")->width() - 2 * beyond);
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
        newWindow();
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

// The view shows the end of a long body; what opened far above it, or was
// opened above it since it was last marked, rules the tags in view.
void TestEditor::marksInViewKnowWhatIsAbove_data()
{
    QTest::addColumn<QString>("opening");     // the body's first line
    QTest::addColumn<QString>("typedAbove");  // typed at its start once the view is marked
    QTest::addColumn<QString>("inView");      // the body's last line
    QTest::addColumn<QString>("marks");       // the kinds of the marks that reach into it
    QTest::newRow("inside a long comment")
        << u"<!--"_s << QString() << u"<table>-->"_s << u"comment"_s;
    QTest::newRow("after a comment closed above")
        << u"<!-- -->"_s << QString() << u"<table>"_s << u"tag later"_s;
    QTest::newRow("inside a quoted value")
        << u"<input value=\""_s << QString() << u"<br>\" istyle=1>"_s << u"tag later"_s;
    QTest::newRow("comment opened above since")
        << QString() << u"<!--"_s << u"<table>"_s << u"unclosedComment"_s;
}

void TestEditor::marksInViewKnowWhatIsAbove()
{
    QFETCH(QString, opening);
    QFETCH(QString, typedAbove);
    QFETCH(QString, inView);
    QFETCH(QString, marks);
    HandsetDecorator* decorator = this->marks();
    static const QStringList kinds{u"lost"_s,     u"platform"_s,       u"tag"_s,
                                   u"comment"_s,  u"unknown"_s,        u"later"_s,
                                   u"unclosed"_s, u"unclosedComment"_s};
    auto* editor = control<BodyEditor>("rtext1");
    QString filler;
    for (int line = 0; line < 2500; ++line) filler += u"あ\n"_s;  // past any fixed look-back
    editor->setPlainText(opening + u'\n' + filler + inView);
    editor->moveCursor(QTextCursor::End);
    decorator->update();
    if (!typedAbove.isEmpty()) {
        QTextCursor(editor->document()).insertText(typedAbove);
        editor->moveCursor(QTextCursor::End);
        decorator->update();
    }
    QVERIFY(editor->verticalScrollBar()->value() > 0);
    const qsizetype lineStart = editor->document()->characterCount() - 1 - inView.size();
    QStringList found;
    for (const HandsetMark& mark : decorator->marks()) {
        if (mark.start + mark.length > lineStart)
            found += kinds[mark.kind];
    }
    QCOMPARE(found.join(u' '), marks);
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
        // By the paste key the entry names, which reads the same in any
        // language as the entry it is written in.
        const QString pasteKey =
            u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().endsWith(pasteKey))
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
             u"BLACK SUN WITH RAYS (F89F, &#63647;)"_s);
    QCOMPARE(cells->findItems(u"#\uFE0F\u20E3"_s, Qt::MatchExactly).value(0)->toolTip(),
             u"NUMBER SIGN KEYCAP (F985, &#63877;)"_s);
    const QList<PictogramEntry> entries = pictogramEntries();
    const auto copyright =
        std::find_if(entries.begin(), entries.end(),
                     [](const PictogramEntry& entry) { return entry.code == 0xF9D6; });
    QCOMPARE(cells->item(int(copyright - entries.begin()))->toolTip(),
             u"COPYRIGHT SIGN (F9D6, &#63958;)（504i 以降）"_s);  // an extended pictogram
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

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
