// The editor window on a real X display, as a user's desktop shows it:
// run by on_display.sh, with and without a window manager.
#include "Module1.h"
#include "QtHostUi.h"
#include "TestFiles.h"
#include "main1.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <memory>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestDesktop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstPreviewKeepsTheWindow();
};

namespace {

// Where the X server has the window's client area, whatever Qt believes.
QPoint onScreen(WId window)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto cookie = xcb_translate_coordinates(connection, xcb_window_t(window), root, 0, 0);
    const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&free)> reply(
        xcb_translate_coordinates_reply(connection, cookie, nullptr), &free);
    return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint(-1, -1);
}

}  // namespace

void TestDesktop::initTestCase()
{
    QVERIFY2(qApp->nativeInterface<QNativeInterface::QX11Application>(),
             "needs an X display (QT_QPA_PLATFORM=xcb)");
}

void TestDesktop::firstPreviewKeepsTheWindow()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.html"_s);
    writeFile(page, "<HTML><BODY BGCOLOR=\"#000000\"></BODY></HTML>");

    QtHostUi host;
    main1 window(host);
    window.move(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300);  // the window manager's frame and placement
    const WId id = window.winId();
    const QPoint place = onScreen(id);

    // A document loaded earlier is shown as it stands: nothing to choose.
    Module1::loadedFileName = page;
    window.findChild<QPlainTextEdit*>(u"rtext1"_s)->setPlainText(u"<HTML>"_s);
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command6"_s), Qt::LeftButton);
    auto* pane = window.findChild<QWidget*>(u"WebEngineView"_s);
    QVERIFY2(pane, "the browser module did not load");
    QSignalSpy loaded(pane, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded.wait(30000));
    QTest::qWait(300);

    QCOMPARE(window.winId(), id);
    QCOMPARE(onScreen(window.winId()), place);
    // The page's black shows in the pane, on the screen itself.
    const QRect paneOnScreen(pane->mapToGlobal(QPoint(0, 0)), pane->size());
    QTRY_COMPARE(window.screen()
                     ->grabWindow(0, paneOnScreen.x(), paneOnScreen.y(), paneOnScreen.width(),
                                  paneOnScreen.height())
                     .toImage()
                     .pixelColor(paneOnScreen.width() / 2, paneOnScreen.height() / 2),
                 QColor(Qt::black));
}

int main(int argc, char* argv[])
{
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    TestDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
