#include "HandsetPage.h"
#include "Handsets.h"
#include "QtHostUi.h"
#include "TestFiles.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <tuple>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

// The real browser engine in the preview pane.
class TestWebPane : public QObject {
    Q_OBJECT

private slots:
    void pageTextReadsBack_data();
    void pageTextReadsBack();
    void imageNextToThePageShows();
    void linesAreAHandsetWide_data();
    void linesAreAHandsetWide();
    void handsetDrawsWhatItHas_data();
    void handsetDrawsWhatItHas();
    void handsetKeysFollowLinks();
    void screenReaderReadsThePage();
};

void TestWebPane::pageTextReadsBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("origin");
    QTest::addColumn<QString>("text");
    const int written = int(PageOrigin::Written);
    const int loaded = int(PageOrigin::Loaded);
    // As the writer makes them: Shift-JIS, and no charset anywhere. The
    // engine's own guess reads half-width kana as Cyrillic.
    QTest::newRow("Shift-JIS, worked example")
        << QByteArray("<HTML><BODY>Hello \x82\xA0</BODY></HTML>") << written << u"Hello あ"_s;
    QTest::newRow("Shift-JIS, half-width kana")
        << QByteArray("<HTML><BODY>\xB1\xB2\xB3</BODY></HTML>") << written << u"ｱｲｳ"_s;
    // Drawn as colour emoji, as a handset shows them, not as plain glyphs.
    QTest::newRow("pictograms show as emoji")
        << QByteArray("<HTML><BODY>\xF8\x9F\xF9\x91\xF8\xE9\xF9\x85</BODY></HTML>") << written
        << u"\u2600\uFE0F\u2764\uFE0F\U0001F4F1#\uFE0F\u20E3"_s;
    QTest::newRow("written page that looks like UTF-8")
        << QByteArray("<HTML><BODY>\xE6\xAC\xA1</BODY></HTML>") << written << u"谺｡"_s;
    QTest::newRow("UTF-8 document")
        << QByteArray("<html><body>\xE6\xAC\xA1</body></html>") << loaded << u"次"_s;
    // A handset runs no script, and a loaded page is not ours to trust.
    QTest::newRow("script neither changes the page nor navigates")
        << QByteArray(
               "<html><body>original<script>document.body.textContent = 'changed';"
               "location.href = 'http://127.0.0.1:9/';</script></body></html>")
        << loaded << u"original"_s;
}

// What the handsets of `series` make of a page, as the preview asks.
PageReading handsetReading(Series series)
{
    return [series](const QString& page, const QString&) {
        return pageAsHandsetReads(page, series).html;
    };
}

// The page at `path` shown in a pane inside `place` on the screen of
// `series`, once it has loaded; nullptr, with the reason in `problem`, when
// it could not be.
QWebEngineView* showPage(QWidget& place, const QString& path, PageOrigin origin, QString& problem,
                         Series series = Series::S501i, const PageReading& reading = {})
{
    QtHostUi host;
    if (!host.navigateEmbedded(&place, path, origin, handsetSeries(series).screen, reading).ok()) {
        problem = u"the page was refused"_s;
        return nullptr;
    }
    auto* view = place.findChild<QWebEngineView*>();
    if (!view) {
        problem = u"the browser module did not load"_s;
        return nullptr;
    }
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    if (!loaded.wait(30000) || !loaded.constFirst().constFirst().toBool()) {
        problem = u"the page failed to load, or took over 30 s"_s;
        return nullptr;
    }
    return view;
}

void TestWebPane::pageTextReadsBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, origin);
    QFETCH(QString, text);

    QTemporaryDir dir;
    const QString page = dir.filePath(u"sub100.html"_s);
    writeFile(page, bytes);
    QWidget place;
    place.resize(137, 137);
    place.show();

    QString problem;
    QWebEngineView* view = showPage(place, page, PageOrigin(origin), problem);
    QVERIFY2(view, qPrintable(problem));
    QCOMPARE(view->geometry(), QRect(20, 32, 96, 72));  // the first handsets' screen, centred

    // The page's text comes back from the engine once the page has been
    // parsed, so after any navigation that a script in it would have begun.
    QSignalSpy navigations(view, &QWebEngineView::loadStarted);
    QString shown;
    view->page()->toPlainText([&shown](const QString& result) { shown = result; });
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 10000);
    QCOMPARE(shown.trimmed(), text);
    QCOMPARE(navigations.size(), 0);
    QCOMPARE(view->url(), QUrl::fromLocalFile(page));
    // Screen readers find the window the pane is in, and no other.
    QCOMPARE(QAccessible::queryAccessibleInterface(qApp)->childCount(), 1);

    // A second preview reuses the pane.
    QVERIFY(QtHostUi()
                .navigateEmbedded(&place, page, PageOrigin(origin),
                                  handsetSeries(Series::S501i).screen, {})
                .ok());
    QCOMPARE(place.findChildren<QWebEngineView*>().size(), 1);
}

void TestWebPane::imageNextToThePageShows()
{
    QTemporaryDir dir;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    QVERIFY(picture.save(dir.filePath(u"pic.png"_s)));
    const QString page = dir.filePath(u"sub100.html"_s);
    writeFile(page, "<HTML><BODY><img src=\"pic.png\"></BODY></HTML>");
    QWidget place;
    place.show();

    QString problem;
    QWebEngineView* view = showPage(place, page, PageOrigin::Written, problem);
    QVERIFY2(view, qPrintable(problem));
    // The page's own scripts are off; the test's run in a world of its own.
    QVariant width;
    view->page()->runJavaScript(u"document.images[0].naturalWidth"_s,
                                QWebEngineScript::ApplicationWorld,
                                [&width](const QVariant& result) { width = result; });
    QTRY_VERIFY_WITH_TIMEOUT(width.isValid(), 10000);
    QCOMPARE(width.toInt(), 3);
}

void TestWebPane::linesAreAHandsetWide_data()
{
    QTest::addColumn<Series>("series");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("lines");
    const QByteArray kanji = "\x8A\xBF";  // 漢
    const auto measured = [](const QByteArray& text) -> QByteArray {
        return "<span id=t>" + text + "</span>";
    };
    const Series first = Series::S501i;
    QTest::newRow("8 full-width characters fill a line")
        << first << measured(kanji.repeated(8)) << 1;
    QTest::newRow("the ninth wraps") << first << measured(kanji.repeated(9)) << 2;
    QTest::newRow("preformatted text wraps too")
        << first << "<pre>" + measured(kanji.repeated(12)) + "</pre>" << 2;
    QTest::newRow("a long word wraps") << first << measured("http://example.com/" + kanji) << 2;
    // 240 dots, shrunk to the pane.
    QTest::newRow("12 a line on 902i") << Series::S902i << measured(kanji.repeated(12)) << 1;
    QTest::newRow("the 13th wraps on 902i") << Series::S902i << measured(kanji.repeated(13)) << 2;
}

// On the handset's screen in dots, and nothing scrolls sideways.
void TestWebPane::linesAreAHandsetWide()
{
    QFETCH(Series, series);
    QFETCH(QByteArray, body);
    QFETCH(int, lines);
    QTemporaryDir dir;
    const QString page = dir.filePath(u"sub100.html"_s);
    writeFile(page, "<HTML><BODY>" + body + "</BODY></HTML>");
    QWidget place;
    place.resize(137, 137);
    place.show();

    QString problem;
    QWebEngineView* view = showPage(place, page, PageOrigin::Written, problem, series);
    QVERIFY2(view, qPrintable(problem));
    QVariant layout;
    view->page()->runJavaScript(
        u"const lines = Array.from(document.getElementById('t').getClientRects());"
        u"[lines.length, Math.max(...lines.map(line => line.right)) <= innerWidth, innerWidth]"_s,
        QWebEngineScript::ApplicationWorld, [&layout](const QVariant& result) { layout = result; });
    QTRY_VERIFY_WITH_TIMEOUT(layout.isValid(), 10000);
    QCOMPARE(layout.toList().value(0).toInt(), lines);
    QVERIFY2(layout.toList().value(1).toBool(), "a line runs past the screen");
    QCOMPARE(layout.toList().value(2).toInt(), handsetSeries(series).screen.width);
}

// The page as the chosen handsets read it, drawn: what a series lacks
// draws exactly as the text it holds, and a 501i draws its pictograms dark.
void TestWebPane::handsetDrawsWhatItHas_data()
{
    QTest::addColumn<Series>("series");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("bare");  // what it must draw as, or differ from
    QTest::addColumn<bool>("same");
    const QByteArray text = "\x95\xB6\x8E\x9A";  // 文字
    const QByteArray table = "<table border=\"1\"><tr><td>" + text + "</td></tr></table>";
    const QByteArray sun = "\xF8\x9F";  // ☀ as the page holds it
    QTest::newRow("a table on 501i") << Series::S501i << table << text << true;
    QTest::newRow("a table on 902i") << Series::S902i << table << text << false;
    QTest::newRow("marquee on 501i")
        << Series::S501i << "<marquee>" + text + "</marquee>" << text << true;
    QTest::newRow("a pictogram reference")
        << Series::S902i << QByteArray("&#63647;") << sun << true;
    QTest::newRow("pictograms on 501i")
        << Series::S501i << sun.repeated(8) << QByteArray() << false;
}

void TestWebPane::handsetDrawsWhatItHas()
{
    QFETCH(Series, series);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, bare);
    QFETCH(bool, same);
    const PageReading reading = handsetReading(series);
    const auto drawn = [&](const QByteArray& pageBody) {
        QTemporaryDir dir;
        const QString page = dir.filePath(u"sub100.html"_s);
        writeFile(page, "<HTML><BODY>" + pageBody + "</BODY></HTML>");
        QWidget place;
        place.resize(250, 250);
        place.show();
        QString problem;
        QWebEngineView* view = showPage(place, page, PageOrigin::Written, problem, series, reading);
        if (!view)
            qWarning("%s", qPrintable(problem));
        QTest::qWait(500);  // the first frame after loading
        return view ? view->grab().toImage() : QImage();
    };
    const QImage page = drawn(body);
    const QImage expected = drawn(bare);
    QVERIFY(!page.isNull() && !expected.isNull());
    QCOMPARE(page == expected, same);
    if (!bare.isEmpty())
        return;
    // Dark, not lost to the black-and-white screen.
    int dark = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    }
    QVERIFY2(dark > 8 * 20, qPrintable(QString::number(dark)));
}

namespace {

// The page's text as the engine has it now.
QString shownText(QWebEngineView& view)
{
    QString shown;
    bool done = false;
    view.page()->toPlainText([&](const QString& result) {
        shown = result;
        done = true;
    });
    std::ignore = QTest::qWaitFor([&done] { return done; }, 10000);  // empty on a time-out
    return shown;
}

}  // namespace

// The keys 0 to 9, * and # follow the link they are the accesskey of: a
// page of the folder opens on the same screen, read as the handset reads
// it; one elsewhere is only named. Backspace goes back.
void TestWebPane::handsetKeysFollowLinks()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(u"sub100.html"_s),
              "<HTML><BODY><a href=\"sub101.html\" accesskey=\"1\">next</a>"
              "<a href=\"http://127.0.0.1:9/\" accesskey=\"#\">web</a></BODY></HTML>");
    writeFile(dir.filePath(u"sub101.html"_s), "<HTML><BODY>\x82\xA0&#63647;<b>!</b></BODY></HTML>");
    QWidget place;
    place.resize(137, 137);
    place.show();
    const PageReading reading = handsetReading(Series::S501i);
    QString problem;
    QWebEngineView* view = showPage(place, dir.filePath(u"sub100.html"_s), PageOrigin::Written,
                                    problem, Series::S501i, reading);
    QVERIFY2(view, qPrintable(problem));
    const QRect screen = view->geometry();
    QWidget* keys = view->focusProxy() ? view->focusProxy() : view;
    // Pressed, as a person would, until the page's keys are read; then the
    // next page shows.
    QSignalSpy started(view, &QWebEngineView::loadStarted);
    const auto pressUntilShown = [&](Qt::Key key, const QString& text) {
        started.clear();
        return QTest::qWaitFor(
                   [&] {
                       QTest::keyClick(keys, key);
                       QTest::qWait(200);
                       return !started.isEmpty();
                   },
                   20000) &&
               QTest::qWaitFor([&] { return shownText(*view).contains(text); }, 20000);
    };
    QVERIFY(pressUntilShown(Qt::Key_1, u"あ☀\uFE0F!"_s));
    QCOMPARE(view->geometry(), screen);
    QVERIFY(pressUntilShown(Qt::Key_Backspace, u"next"_s));
    QVERIFY(
        pressUntilShown(Qt::Key_NumberSign, u"http://127.0.0.1:9/ は、プレビューでは開きません"_s));
    QVERIFY(pressUntilShown(Qt::Key_Backspace, u"next"_s));
}

namespace {

void collectText(QAccessibleInterface* node, QString& text, int depth = 0)
{
    if (!node || depth > 32)
        return;
    text += node->text(QAccessible::Name) + u' ';
    for (int i = 0; i < node->childCount(); ++i) collectText(node->child(i), text, depth + 1);
}

}  // namespace

// What a screen reader finds in the pane: the page's words, and a
// pictogram reference as the pictogram it names.
void TestWebPane::screenReaderReadsThePage()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"sub100.html"_s);
    writeFile(page, "<HTML><BODY>\x93\x56\x8B\x43 &#63647;</BODY></HTML>");  // 天気
    QWidget place;
    place.resize(137, 137);
    place.show();
    const PageReading reading = handsetReading(Series::S501i);
    QString problem;
    QWebEngineView* view =
        showPage(place, page, PageOrigin::Written, problem, Series::S501i, reading);
    QVERIFY2(view, qPrintable(problem));
    QString read;
    QVERIFY(QTest::qWaitFor(
        [&] {
            read.clear();
            collectText(QAccessible::queryAccessibleInterface(view), read);
            return read.contains(u"天気"_s) && read.contains(u"☀"_s);
        },
        20000));
    QVERIFY2(!read.contains(u"&#"_s), qPrintable(read));
}

int main(int argc, char* argv[])
{
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    TestWebPane test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpane.moc"
