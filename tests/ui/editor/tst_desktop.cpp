// The editor window on a real X display, as a user's desktop shows it:
// run by on_display.sh, with and without a window manager.
#include "DesktopKeys.h"
#include "Module1.h"
#include "PageChainDialog.h"
#include "QtHostUi.h"
#include "TestFiles.h"
#include "main1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <memory>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestDesktop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstPreviewKeepsTheWindow();
    void chainByKeyboard();
};

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool hasProperty(xcb_connection_t* connection, xcb_window_t window, const char* name)
{
    const auto cookie = xcb_get_property(connection, 0, window, atom(connection, name),
                                         XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &free);
    return reply && reply->type != XCB_ATOM_NONE;
}

// True once the window manager, if one runs, has framed and placed the
// window: it sets WM_STATE on the windows it manages.
bool placed(WId window)
{
    xcb_connection_t* connection =
        qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    return !hasProperty(connection, root, "_NET_SUPPORTING_WM_CHECK") ||
           hasProperty(connection, xcb_window_t(window), "WM_STATE");
}

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
    Module1 module;
    main1 window(host, module);
    window.move(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(placed(window.winId()));
    const WId id = window.winId();
    const QPoint place = onScreen(id);

    // A document loaded earlier is shown as it stands: nothing to choose.
    // Its black background is 502i's: the first handsets had none.
    window.chooseHandset(Series::S502i);
    module.loadedFileName = page;
    window.findChild<QPlainTextEdit*>(u"rtext1"_s)->setPlainText(u"<HTML>"_s);
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command6"_s), Qt::LeftButton);
    auto* pane = window.findChild<QWidget*>(u"WebEngineView"_s);
    QVERIFY2(pane, "the browser module did not load");
    QSignalSpy loaded(pane, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded.wait(30000));

    // The page's black shows in the pane, on the screen itself: a window
    // made anew would by then have been mapped, and placed.
    const QRect paneOnScreen(pane->mapToGlobal(QPoint(0, 0)), pane->size());
    QTRY_COMPARE(window.screen()
                     ->grabWindow(0, paneOnScreen.x(), paneOnScreen.y(), paneOnScreen.width(),
                                  paneOnScreen.height())
                     .toImage()
                     .pixelColor(paneOnScreen.width() / 2, paneOnScreen.height() / 2),
                 QColor(Qt::black));
    QCOMPARE(window.winId(), id);
    QCOMPARE(onScreen(window.winId()), place);

    // The widget the view draws the page with, made with the page, keeps
    // the pane's place in the tab order rather than joining it last.
    QWidget* next = window.findChild<QWidget*>(u"Text2"_s)->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    QVERIFY2(pane->isAncestorOf(next), next->metaObject()->className());
}

// The body's menu by the Menu key's other chord, the dialog by keys alone,
// and four pages on the disk: what a user without a mouse does.
void TestDesktop::chainByKeyboard()
{
    QTemporaryDir dir;
    QtHostUi host;
    Module1 module;
    main1 window(host, module);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(placed(window.winId()));
    auto* body = window.findChild<QPlainTextEdit*>(u"rtext1"_s);
    body->setPlainText(QStringList(4, QString(999, u'字') + u"。"_s).join(u'\n'));

    const DesktopKeys keys(qApp);  // Shift+F10, as the program has it
    // Whatever is open next gets the keys a user would press there, once
    // this check has returned: each opens the next in a loop of its own.
    QString listed;
    QStringList said;
    QTimer user;
    const auto press = [](QWidget* target, Qt::Key key) {
        QTimer::singleShot(0, target, [target, key] { QTest::keyClick(target, key); });
    };
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QTest::keyClick(menu, Qt::Key_Up);  // its last entry
            press(menu, Qt::Key_Return);
        } else if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            files->selectFile(dir.filePath(u"sub100.html"_s));
            press(files, Qt::Key_Return);
        } else if (auto* chain =
                       qobject_cast<PageChainDialog*>(QApplication::activeModalWidget())) {
            const auto* list = chain->findChild<QAbstractItemView*>();
            listed = list->accessibleName() + u' ' + QString::number(list->model()->rowCount());
            press(QApplication::focusWidget(), Qt::Key_Return);  // "作成", the default
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said.append(box->text());
            press(box, Qt::Key_Return);
        }
    });
    user.start(100);
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command4"_s), Qt::LeftButton);
    window.activateWindow();
    body->setFocus();
    QTRY_VERIFY(body->hasFocus());
    QTest::keyClick(body, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(listed, u"ページの一覧 4"_s);
    QCOMPARE(said, QStringList{u"4 ページを作成しました。"_s});
    for (const char* name : {"sub100.html", "sub101.html", "sub102.html", "sub103.html"})
        QVERIFY2(QFileInfo(dir.filePath(QString::fromLatin1(name))).size() > 2000, name);
}

int main(int argc, char* argv[])
{
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    TestDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
