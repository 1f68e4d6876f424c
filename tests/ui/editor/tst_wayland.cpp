// The editor window on a real Wayland compositor (headless sway), as a
// desktop on Wayland shows it: run by on_wayland.sh. Keys come through the
// compositor's virtual keyboard (wtype), as a user's do.
#include "Module1.h"
#include "Processes.h"
#include "QtHostUi.h"
#include "TestFiles.h"
#include "main1.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMutex>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void typedTextArrives();
    void windowCarriesTheDesktopEntrysName();
    void firstPreviewKeepsTheWindow();

private:
    std::unique_ptr<QtHostUi> host_;
    std::unique_ptr<Module1> module_;
    std::unique_ptr<main1> window_;
};

namespace {

// The compositor's windows of this process: their container ids by app_id.
QMultiMap<QString, qint64> windowsOfThisProcess()
{
    QMultiMap<QString, qint64> windows;
    QList<QJsonObject> nodes{
        QJsonDocument::fromJson(
            runHandlingEvents(u"swaymsg"_s, {u"-t"_s, u"get_tree"_s, u"-r"_s}).value_or(""))
            .object()};
    while (!nodes.isEmpty()) {
        const QJsonObject node = nodes.takeLast();
        if (node.value(u"pid"_s).toInteger() == QCoreApplication::applicationPid())
            windows.insert(node.value(u"app_id"_s).toString(), node.value(u"id"_s).toInteger());
        for (const auto* children : {"nodes", "floating_nodes"})
            for (const QJsonValue child : node.value(QLatin1StringView(children)).toArray())
                nodes.append(child.toObject());
    }
    return windows;
}

// What Qt is given to log while one of these lives, each message still
// passed on as before. The engine logs from threads of its own.
class LogRecorder {
public:
    LogRecorder() : previous_(qInstallMessageHandler(&record)) { current() = this; }
    ~LogRecorder()
    {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    QStringList messages() const
    {
        const QMutexLocker lock(&mutex_);
        return messages_;
    }

private:
    static LogRecorder*& current()
    {
        static LogRecorder* recorder = nullptr;
        return recorder;
    }
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        LogRecorder* self = current();
        if (!self)  // a thread late after the recorder went
            return;
        {
            const QMutexLocker lock(&self->mutex_);
            self->messages_.append(QLatin1StringView(context.category) + u": "_s + text);
        }
        if (self->previous_)
            self->previous_(type, context, text);
    }

    QtMessageHandler previous_;
    mutable QMutex mutex_;
    QStringList messages_;
};

}  // namespace

void TestWayland::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"wayland"_s);
    QVERIFY2(runHandlingEvents(u"swaymsg"_s, {u"-t"_s, u"get_version"_s}), "no sway to talk to");
}

void TestWayland::init()
{
    host_ = std::make_unique<QtHostUi>();
    module_ = std::make_unique<Module1>();
    window_ = std::make_unique<main1>(*host_, *module_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTRY_VERIFY(window_->isActiveWindow());  // the compositor gives the new window the keyboard
}

void TestWayland::cleanup()
{
    window_.reset();
    module_.reset();
    host_.reset();
}

void TestWayland::typedTextArrives()
{
    auto* body = window_->findChild<QPlainTextEdit*>(u"rtext1"_s);
    body->setFocus();
    // The compositor has no keyboard but wtype's own, which the window
    // takes up only once it exists: wtype waits for that before it types.
    QVERIFY(runHandlingEvents(u"wtype"_s, {u"-s"_s, u"500"_s, u"お店 shop<br>"_s}));
    QTRY_COMPARE(window_->body(), u"お店 shop<br>"_s);
    QCOMPARE(window_->findChild<QLabel*>(u"Label4"_s)->text(), u" 13"_s);
}

void TestWayland::windowCarriesTheDesktopEntrysName()
{
    const QString entry = QFileInfo(QStringLiteral(QUILLET_DESKTOP_ENTRY)).completeBaseName();
    QCOMPARE(desktopEntryName, entry);
    QTRY_COMPARE(windowsOfThisProcess().keys(), QStringList{entry});
}

void TestWayland::firstPreviewKeepsTheWindow()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.html"_s);
    writeFile(page, "<HTML><BODY BGCOLOR=\"#000000\"></BODY></HTML>");
    QTRY_COMPARE(windowsOfThisProcess().size(), 1);
    const qint64 container = windowsOfThisProcess().first();
    const WId id = window_->winId();
    const LogRecorder log;

    module_->loadedFileName = page;
    window_->findChild<QPlainTextEdit*>(u"rtext1"_s)->setPlainText(u"<HTML>"_s);
    QTest::mouseClick(window_->findChild<QPushButton*>(u"Command6"_s), Qt::LeftButton);
    auto* pane = window_->findChild<QWidget*>(u"WebEngineView"_s);
    QVERIFY2(pane, "the browser module did not load");
    QSignalSpy loaded(pane, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded.wait(30000));
    QVERIFY(loaded.constFirst().constFirst().toBool());

    // The compositor still has the one window it had: none made anew.
    QCOMPARE(window_->winId(), id);
    QCOMPARE(windowsOfThisProcess().values(), QList<qint64>{container});
    // Loading the browser and starting its engine went without a word,
    // but for the engine naming the harness's choice of no sandbox.
    QStringList logged = log.messages();
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        logged.removeAll(u"default: Sandboxing disabled by user."_s);
    QCOMPARE(logged, QStringList());
}

int main(int argc, char* argv[])
{
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    nameApplication();
    TestWayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
