#include "QtHostUi.h"
#include "TestFiles.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

// The real browser engine in the preview pane.
class TestWebPane : public QObject {
    Q_OBJECT

private slots:
    void pageTextReadsBack_data();
    void pageTextReadsBack();
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
    QTest::newRow("written page that looks like UTF-8")
        << QByteArray("<HTML><BODY>\xE6\xAC\xA1</BODY></HTML>") << written << u"谺｡"_s;
    QTest::newRow("UTF-8 document")
        << QByteArray("<html><body>\xE6\xAC\xA1</body></html>") << loaded << u"次"_s;
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

    QtHostUi host;
    host.navigateEmbedded(&place, page, PageOrigin(origin));
    auto* view = place.findChild<QWebEngineView*>();
    if (!view)
        QSKIP("the browser module could not be loaded here");
    QCOMPARE(view->geometry(), place.rect());

    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    if (!loaded.wait(30000))
        QSKIP("the browser engine did not start here within 30 s");
    QVERIFY(loaded.constFirst().constFirst().toBool());

    QString shown;
    view->page()->toPlainText([&shown](const QString& result) { shown = result; });
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 10000);
    QCOMPARE(shown.trimmed(), text);

    host.navigateEmbedded(&place, page, PageOrigin(origin));  // a second preview reuses the pane
    QCOMPARE(place.findChildren<QWebEngineView*>().size(), 1);
}

int main(int argc, char* argv[])
{
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    TestWebPane test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpane.moc"
