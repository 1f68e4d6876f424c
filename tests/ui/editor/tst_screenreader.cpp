// What a screen reader gets over the accessibility bus (AT-SPI), as Orca
// reads it: the byte count's description with the page's size and the
// oldest handsets, and the previewed page's words, a pictogram reference
// read as its pictogram. Runs in a D-Bus session of its own that says a
// screen reader runs (tests/support/on_display.sh --atspi).
#include "Module1.h"
#include "PageChainDialog.h"
#include "QtHostUi.h"
#include "TestFiles.h"
#include "main1.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <thread>
#include <tuple>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

// Reads the accessible tree of every program on the bus, as a screen
// reader does: with blocking calls, so from a thread of its own while the
// program's own thread answers them.
class TreeReader {
public:
    explicit TreeReader(const QString& address)
        : bus_(QDBusConnection::connectToBus(address, u"tst_screenreader"_s))
    {
    }
    ~TreeReader() { QDBusConnection::disconnectFromBus(u"tst_screenreader"_s); }
    TreeReader(const TreeReader&) = delete;
    TreeReader& operator=(const TreeReader&) = delete;

    // Each node's name and description, one text.
    QString readAll()
    {
        QString text;
        const auto programs =
            children(u"org.a11y.atspi.Registry"_s, u"/org/a11y/atspi/accessible/root"_s);
        for (const auto& [service, path] : programs) read(service, path, 0, text);
        return text;
    }

private:
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return bus_.call(message, QDBus::Block, 5000);
    }

    QString property(const QString& service, const QString& path, const QString& name)
    {
        const QDBusMessage reply = call(service, path, u"org.freedesktop.DBus.Properties"_s,
                                        u"Get"_s, {u"org.a11y.atspi.Accessible"_s, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    }

    QList<std::pair<QString, QString>> children(const QString& service, const QString& path)
    {
        const QDBusMessage reply =
            call(service, path, u"org.a11y.atspi.Accessible"_s, u"GetChildren"_s);
        QList<std::pair<QString, QString>> found;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return found;
        const auto list = reply.arguments().constFirst().value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString childService;
            QDBusObjectPath childPath;
            list.beginStructure();
            list >> childService >> childPath;
            list.endStructure();
            found.append({childService, childPath.path()});
        }
        list.endArray();
        return found;
    }

    void read(const QString& service, const QString& path, int depth, QString& text)
    {
        constexpr int deepest = 40;
        if (depth > deepest)
            return;
        text += property(service, path, u"Name"_s) + u'\n' +
                property(service, path, u"Description"_s) + u'\n';
        for (const auto& [childService, childPath] : children(service, path))
            read(childService, childPath, depth + 1, text);
    }

    QDBusConnection bus_;
};

QString accessibilityBus()
{
    const QDBusMessage reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        u"org.a11y.Bus"_s, u"/org/a11y/bus"_s, u"org.a11y.Bus"_s, u"GetAddress"_s));
    return reply.arguments().value(0).toString();
}

// The whole tree as a screen reader reads it, read again until it holds
// every one of `words` (the program's own thread answers meanwhile); what
// it last read otherwise.
QString readUntilItHolds(const QString& address, const QStringList& words)
{
    QString text;
    std::atomic<bool> done = false;
    std::thread reader([&] {
        TreeReader tree(address);
        for (int tries = 0; tries < 40; ++tries) {
            text = tree.readAll();
            if (std::all_of(words.cbegin(), words.cend(),
                            [&text](const QString& word) { return text.contains(word); }))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        done = true;
    });
    // The reader gives up first.
    std::ignore = QTest::qWaitFor([&done] { return done.load(); }, 60000);
    reader.join();
    return text;
}

}  // namespace

class TestScreenReader : public QObject {
    Q_OBJECT

private slots:
    void readsTheCountAndThePage();
    void readsTheChainDialog();
};

void TestScreenReader::readsTheCountAndThePage()
{
    const QString address = accessibilityBus();
    QVERIFY2(!address.isEmpty(), "no accessibility bus (run under on_display.sh --atspi)");

    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.html"_s);
    writeFile(page, "<HTML><BODY>\x93\x56\x8B\x43 &#63647;</BODY></HTML>");  // 天気 ☀
    QtHostUi host;
    Module1 module;
    main1 window(host, module);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A document loaded earlier is previewed as it stands.
    module.loadedFileName = page;
    window.findChild<QPlainTextEdit*>(u"rtext1"_s)->setPlainText(u"<HTML>"_s);
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command6"_s), Qt::LeftButton);
    auto* pane = window.findChild<QWidget*>(u"WebEngineView"_s);
    QVERIFY2(pane, "the browser module did not load");
    QSignalSpy loaded(pane, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded.wait(30000));

    // The page's tree reaches the bus a while after the page has loaded.
    const QString text = readUntilItHolds(address, {u"天気"_s, u"☀"_s});
    QVERIFY2(text.contains(u"天気"_s) && text.contains(u"☀"_s), qPrintable(text));
    QVERIFY2(!text.contains(u"&#"_s), qPrintable(text));
    QVERIFY2(text.contains(u"本文のバイト数。ページ全体 "_s), qPrintable(text));
    QVERIFY2(text.contains(u"表示できる端末: 501i 以降"_s), qPrintable(text));
}

// Every control of the chain's dialog by its name, and the pages' files.
void TestScreenReader::readsTheChainDialog()
{
    const QString address = accessibilityBus();
    QVERIFY2(!address.isEmpty(), "no accessibility bus (run under on_display.sh --atspi)");
    PageChainDialog dialog(
        {u"/tmp/sub100.html"_s, u"話"_s, QString(3000, u'a'), u"http://"_s, std::nullopt, true},
        Series::S501i);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList words = {u"本文 2,000 バイトまで"_s,
                               u"501i のページ全体 5,120 バイト未満"_s,
                               u"ページの一覧"_s,
                               u"sub101.html"_s,
                               u"タイトルにページ番号を付ける"_s,
                               u"作成"_s,
                               u"キャンセル"_s};
    const QString text = readUntilItHolds(address, words);
    for (const QString& word : words) QVERIFY2(text.contains(word), qPrintable(word));
}

int main(int argc, char* argv[])
{
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    TestScreenReader test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenreader.moc"
