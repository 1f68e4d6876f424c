// Japanese typed through a real input method (IBus with Mozc), keys and
// clicks sent through the X server: run by on_display.sh --ibus.
#include "CodePage.h"
#include "FakeHostUi.h"
#include "InputMethodGuard.h"
#include "Processes.h"
#include "TestFiles.h"
#include "main1.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <tuple>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestTyping : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneCopyOfWhatWasTyped_data();
    void oneCopyOfWhatWasTyped();

private:
    template <typename T>
    T* control(const char* name) const
    {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }
    QPlainTextEdit* body() const { return control<QPlainTextEdit>("rtext1"); }
    // The composition the body shows, not yet part of its text.
    QString bodyComposition() const
    {
        return body()->textCursor().block().layout()->preeditAreaText();
    }

    std::unique_ptr<FakeHostUi> host_;
    std::unique_ptr<Module1> module_;
    std::unique_ptr<main1> window_;
};

namespace {

// Every text an input method commits anywhere in the application, before
// the program's own filters see it.
class Commits final : public QObject {
public:
    explicit Commits(QObject* application) : QObject(application)
    {
        application->installEventFilter(this);
    }
    QStringList texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::InputMethod) {
            const QString& commit = static_cast<QInputMethodEvent*>(event)->commitString();
            if (!commit.isEmpty())
                texts.append(commit);
        }
        return false;
    }
};

// What the body shows so far: its text, and its composition.
QString shownIn(const QPlainTextEdit& body)
{
    return body.toPlainText() + u'|' + body.textCursor().block().layout()->preeditAreaText();
}

// Romaji not yet made into kana, as in "nihong".
bool halfTyped(const QPlainTextEdit& body)
{
    const QString composition = body.textCursor().block().layout()->preeditAreaText();
    return std::any_of(composition.begin(), composition.end(),
                       [](QChar c) { return c.isLetter() && c.unicode() < 0x80; });
}

// Through the X server, so the keys pass the input method as a user's do.
// The window goes on handling events meanwhile: a key missing from the key
// map is looked up while xdotool has it mapped.
bool xdotool(const QStringList& arguments)
{
    return runHandlingEvents(u"xdotool"_s, arguments).has_value();
}

bool clickOn(const QWidget* widget)
{
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    return xdotool({u"mousemove"_s, QString::number(centre.x()), QString::number(centre.y()),
                    u"click"_s, u"1"_s});
}

// Romaji as typed into `body`, and named keys between braces:
// "nihongo{space}{Return}". Each key and word changes what the body shows.
bool type(const QPlainTextEdit& body, const QString& keys)
{
    for (const QString& part : keys.split(u'{', Qt::SkipEmptyParts)) {
        const QString before = shownIn(body);
        const qsizetype close = part.indexOf(u'}');
        if (close > 0 && !xdotool({u"key"_s, part.left(close)}))
            return false;
        const QString text = part.mid(close + 1);
        if (!text.isEmpty() && !xdotool({u"type"_s, u"--delay"_s, u"60"_s, text}))
            return false;
        // The engine answers each key over D-Bus: the next waits until the
        // body shows what this part did.
        if (!QTest::qWaitFor([&] { return shownIn(body) != before && !halfTyped(body); }, 10000))
            return false;
    }
    return true;
}

}  // namespace

void TestTyping::initTestCase()
{
    QVERIFY2(qApp->nativeInterface<QNativeInterface::QX11Application>(),
             "needs an X display (QT_QPA_PLATFORM=xcb)");
    QCOMPARE(qgetenv("QT_IM_MODULE"), QByteArray("ibus"));
    new InputMethodGuard(qApp);  // as the program has it; the application owns it

    // Mozc is set to start with input on. Nothing composed means the input
    // method did not start: a failure, not a skip.
    init();
    QVERIFY(clickOn(body()));
    QVERIFY(type(*body(), u"ka"_s));
    QTRY_COMPARE_WITH_TIMEOUT(bodyComposition(), u"か"_s, 10000);
    QVERIFY(type(*body(), u"{Escape}"_s));
    QCOMPARE(bodyComposition(), QString());
    cleanup();
}

void TestTyping::init()
{
    host_ = std::make_unique<FakeHostUi>();
    module_ = std::make_unique<Module1>();
    window_ = std::make_unique<main1>(*host_, *module_);
    window_->move(100, 100);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TestTyping::cleanup()
{
    window_.reset();
    module_.reset();
    host_.reset();
}

void TestTyping::oneCopyOfWhatWasTyped_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("then");  // the control clicked while composing, if any
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("count");

    QTest::newRow("converted and confirmed, then left composing, title clicked")
        << u"nihongo{space}{Return}kana"_s << u"Text1"_s << u"日本語かな"_s << u" 10"_s;
    QTest::newRow("left composing, line-break button")
        << u"tesuto"_s << u"Command7"_s << u"てすと<br>"_s << u" 10"_s;
    QTest::newRow("the same word twice on purpose")
        << u"kana{Return}kana{Return}"_s << u"Text1"_s << u"かなかな"_s << u" 8"_s;
}

void TestTyping::oneCopyOfWhatWasTyped()
{
    QFETCH(QString, keys);
    QFETCH(QString, then);
    QFETCH(QString, body);
    QFETCH(QString, count);

    const QTemporaryDir dir;
    const QString page = dir.filePath(u"sub100.html"_s);
    host_->dialogPaths = {page};
    QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
    QVERIFY(clickOn(this->body()));
    QVERIFY(type(*this->body(), keys));
    // Left composing, the composition is committed twice on the click: by
    // Qt, then by the engine once IBus has reset it. The check waits for
    // the engine's copy (some engines send none).
    const QString composing = bodyComposition();
    const Commits commits(qApp);
    QVERIFY(clickOn(control<QWidget>(then.toLatin1().constData())));
    if (!composing.isEmpty())
        std::ignore = QTest::qWaitFor([&] { return commits.texts.count(composing) >= 2; }, 10000);

    QCOMPARE(window_->body(), body);
    QCOMPARE(control<QLineEdit>("Text1")->text(), u"ここにタイトル"_s);
    QCOMPARE(control<QLabel>("Label4")->text(), count);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(readAll(page).count(toCp932(body)), 1);
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestTyping test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_typing.moc"
