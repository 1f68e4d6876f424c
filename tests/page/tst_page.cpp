#include "ByteCounter.h"
#include "CodePage.h"
#include "FakeHostUi.h"
#include "HandsetMarks.h"
#include "HandsetPage.h"
#include "PageChain.h"
#include "PageSize.h"
#include "SubPageWriter.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray crlfLines(std::initializer_list<QByteArray> lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

// The worked example: title Menu, body "Hello あ", link sub101.html.
QByteArray workedExample(bool withLink, const char* body = "Hello \x82\xA0")
{
    const QByteArray head = crlfLines({"<HTML>", "<HEAD>", "<TITLE>Menu</TITLE>", "</HEAD>",
                                       "<BODY>", " ", "<div align=\"left\">", body, "</div>"});
    const QByteArray link =
        crlfLines({"<center>", "<A href=\"sub101.html\">\x8E\x9F\x82\xD6</A>", "</center>"});
    const QByteArray tail = crlfLines({"<HR>", "</BODY>", "</HTML>"});
    return head + (withLink ? link : QByteArray()) + tail;
}

}  // namespace

class TestPage : public QObject {
    Q_OBJECT

private slots:
    void init();

    // The page file
    void workedExampleIsExact_data();
    void workedExampleIsExact();
    void linkBlockFollowsTheAddress_data();
    void linkBlockFollowsTheAddress();
    void fieldsGoInVerbatim_data();
    void fieldsGoInVerbatim();

    // The writer and the create command
    void createConfirmsWrittenPage();
    void emptyOutputPathOnlyAsks();
    void emptyLinkResetsAfterWriting();
    void secondRunReplacesFirst();
    void failedWriteIsReportedAndLosesNothing_data();
    void failedWriteIsReportedAndLosesNothing();

    // The byte counter
    void byteCount_data();
    void byteCount();

    // What a handset will make of it
    void pageSize_data();
    void pageSize();
    void handsetMarks_data();
    void handsetMarks();
    void firstSeriesToShow_data();
    void firstSeriesToShow();
    void oldestHandset_data();
    void oldestHandset();
    void pageAsHandsetReads_data();
    void pageAsHandsetReads();
    void picturesCountOnce();

    // A chain of pages
    void splitBody_data();
    void splitBody();
    void nextPageName_data();
    void nextPageName();
    void chainLinksAndTitlesItsPages();

private:
    QString pagePath() const { return dir_->filePath(u"sub100.html"_s); }

    std::unique_ptr<QTemporaryDir> dir_;
    FakeHostUi host_;
};

void TestPage::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    host_ = FakeHostUi();
}

void TestPage::workedExampleIsExact_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("nextLink");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("size");
    QTest::newRow("with link") << u"Hello あ"_s << u"sub101.html"_s << workedExample(true) << 172;
    QTest::newRow("default address")
        << u"Hello あ"_s << u"http://"_s << workedExample(false) << 119;
    // Emoji as an input method types them become the handsets' pictograms.
    QTest::newRow("pictograms") << u"晴れ\u2600\u2764\uFE0F\U0001F4F1#\uFE0F\u20E3"_s
                                << u"http://"_s
                                << workedExample(false,
                                                 "\x90\xB0\x82\xEA\xF8\x9F\xF9\x91\xF8\xE9\xF9\x85")
                                << 123;
    QTest::newRow("half-width kana")
        << u"ｱｲ"_s << u"http://"_s << workedExample(false, "\xB1\xB2") << 113;
}

void TestPage::workedExampleIsExact()
{
    QFETCH(QString, body);
    QFETCH(QString, nextLink);
    QFETCH(QByteArray, expected);
    QFETCH(int, size);

    StoredSubPage page({pagePath(), u"Menu"_s, body, nextLink});
    SubPageWriter(page, host_).Command1_Click();

    const QByteArray written = readAll(pagePath());
    QCOMPARE(written.size(), size);
    QCOMPARE(written, expected);
    QVERIFY(written.endsWith("</HTML>\r\n"));
    QCOMPARE(pageByteSize(u"Menu"_s, body, nextLink), size);  // what the tooltip gives
    QCOMPARE(host_.messageTexts(), QStringList{u"作成しました。"_s});
}

void TestPage::linkBlockFollowsTheAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("linked");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("initial http://") << u"http://"_s << false;
    QTest::newRow("upper case") << u"HTTP://"_s << true;
    QTest::newRow("leading space") << u" http://"_s << true;
    QTest::newRow("trailing space") << u"http:// "_s << true;
    QTest::newRow("relative name") << u"sub101.html"_s << true;
    QTest::newRow("full address") << u"http://example.com/i/2.html"_s << true;
}

void TestPage::linkBlockFollowsTheAddress()
{
    QFETCH(QString, address);
    QFETCH(bool, linked);

    const QString page = subPageText(u"t"_s, u"b"_s, address);
    const QString linkLine = u"<A href=\""_s + address + u"\">次へ</A>\r\n"_s;
    QCOMPARE(page.contains(u"<center>\r\n"_s + linkLine + u"</center>\r\n"_s), linked);
    QCOMPARE(page.contains(u"center>"_s), linked);
}

void TestPage::fieldsGoInVerbatim_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("middle");  // lines 3 to 12 as they must stand

    const QString div = u"</HEAD>\r\n<BODY>\r\n \r\n<div align=\"left\">\r\n"_s;
    QTest::newRow("initial window")
        << u"ここにタイトル"_s << QString() << u"http://"_s
        << u"<TITLE>ここにタイトル</TITLE>\r\n"_s + div + u"\r\n</div>\r\n"_s;
    QTest::newRow("empty title and body") << QString() << QString() << u"http://"_s
                                          << u"<TITLE></TITLE>\r\n"_s + div + u"\r\n</div>\r\n"_s;
    QTest::newRow("three body lines")
        << u"t"_s << u"a\r\nb\r\nc"_s << u"http://"_s
        << u"<TITLE>t</TITLE>\r\n"_s + div + u"a\r\nb\r\nc\r\n</div>\r\n"_s;
    QTest::newRow("body ends with a break")
        << u"t"_s << u"a\r\n"_s << u"http://"_s
        << u"<TITLE>t</TITLE>\r\n"_s + div + u"a\r\n\r\n</div>\r\n"_s;
    QTest::newRow("markup kept") << u"<b>&\"</b>"_s << u"<br>&amp;"_s << u"a.html?x=1&y=\"2\""_s
                                 << u"<TITLE><b>&\"</b></TITLE>\r\n"_s + div +
                                        u"<br>&amp;\r\n</div>\r\n<center>\r\n"
                                        u"<A href=\"a.html?x=1&y=\"2\"\">次へ</A>\r\n"
                                        u"</center>\r\n"_s;
}

void TestPage::fieldsGoInVerbatim()
{
    QFETCH(QString, title);
    QFETCH(QString, body);
    QFETCH(QString, link);
    QFETCH(QString, middle);

    QCOMPARE(subPageText(title, body, link),
             u"<HTML>\r\n<HEAD>\r\n"_s + middle + u"<HR>\r\n</BODY>\r\n</HTML>\r\n"_s);
}

void TestPage::createConfirmsWrittenPage()
{
    StoredSubPage page({pagePath(), u"Menu"_s, u"Hello あ"_s, u"sub101.html"_s});
    SubPageWriter(page, host_).Command1_Click();

    QCOMPARE(host_.messages.size(), 1);
    QCOMPARE(host_.messages[0].text, u"作成しました。"_s);
    QCOMPARE(host_.messages[0].style, MsgStyle::OkOnly);
    QVERIFY(host_.messages[0].title.isEmpty());
    QCOMPARE(page.page().nextLink, u"sub101.html"_s);
}

void TestPage::emptyOutputPathOnlyAsks()
{
    StoredSubPage page({QString(), u"Menu"_s, u"body"_s, QString()});
    SubPageWriter(page, host_).Command1_Click();

    QCOMPARE(host_.messageTexts(), QStringList{u"ファイル名を指定してください。"_s});
    QCOMPARE(host_.messages[0].style, MsgStyle::OkOnly);
    QVERIFY(host_.messages[0].title.isEmpty());
    QVERIFY(host_.writtenPaths.isEmpty());
    QCOMPARE(page.page().nextLink, QString());  // only a run that writes resets it
}

void TestPage::emptyLinkResetsAfterWriting()
{
    StoredSubPage page({pagePath(), u"Menu"_s, u"Hello あ"_s, QString()});
    SubPageWriter writer(page, host_);

    QVERIFY(writer.hpmake().ok());
    QCOMPARE(page.page().nextLink, u"http://"_s);
    const QByteArray first = readAll(pagePath());
    QCOMPARE(first, workedExample(false));

    QVERIFY(writer.hpmake().ok());
    QCOMPARE(readAll(pagePath()), first);
    QVERIFY(host_.messages.isEmpty());  // the writer itself confirms nothing
}

void TestPage::secondRunReplacesFirst()
{
    StoredSubPage longPage({pagePath(), u"Menu"_s, QString(2000, u'x'), u"sub101.html"_s});
    SubPageWriter(longPage, host_).Command1_Click();
    StoredSubPage shortPage({pagePath(), u"Menu"_s, u"Hello あ"_s, u"sub101.html"_s});
    SubPageWriter(shortPage, host_).Command1_Click();

    QCOMPARE(readAll(pagePath()), workedExample(true));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"sub100.html"_s});
}

void TestPage::failedWriteIsReportedAndLosesNothing_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("read-only file") << int(Fault::ReadOnlyFile);
    QTest::newRow("missing folder") << int(Fault::MissingFolder);
    QTest::newRow("folder in the way") << int(Fault::FolderAsTarget);
    QTest::newRow("write cut by size limit") << int(Fault::SizeLimit);
}

void TestPage::failedWriteIsReportedAndLosesNothing()
{
    QFETCH(int, fault);
    const FaultyTarget target(*dir_, Fault(fault));
    const int openFiles = openFileCount();

    StoredSubPage page({target.path, u"Menu"_s, QString(4000, u'あ'), QString()});
    {
        const FileSizeLimit limit(fault == int(Fault::SizeLimit) ? 1024 : 0);
        SubPageWriter(page, host_).Command1_Click();
    }

    QCOMPARE(host_.messages.size(), 1);
    const FakeHostUi::Message& message = host_.messages[0];
    QVERIFY2(message.text.startsWith(u"ページを書き込めませんでした。\n"_s),
             qPrintable(message.text));
    QVERIFY(message.text.contains(QDir::toNativeSeparators(target.path)));
    QVERIFY2(!message.text.section(u"\n\n"_s, 1).trimmed().isEmpty(), "the reason is missing");
    QCOMPARE(message.style, MsgStyle::OkOnly);
    QCOMPARE(page.page().nextLink, QString());  // nothing was written
    QVERIFY2(target.changes().isEmpty(), qPrintable(target.changes()));
    QCOMPARE(openFileCount(), openFiles);
}

void TestPage::byteCount_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("caption");
    QTest::newRow("empty") << QString() << u" 0"_s;
    QTest::newRow("abc") << u"abc"_s << u" 3"_s;
    QTest::newRow("three hiragana") << u"あいう"_s << u" 6"_s;
    QTest::newRow("Hello あ") << u"Hello あ"_s << u" 8"_s;
    QTest::newRow("two lines") << u"abc\r\ndef"_s << u" 8"_s;
    QTest::newRow("tab") << u"\t"_s << u" 1"_s;
    QTest::newRow("half-width katakana") << u"ｱｲｳ"_s << u" 6"_s;
    QTest::newRow("Greek, Cyrillic, Latin-1") << u"αЖ×°"_s << u" 4"_s;
    QTest::newRow("U+0FFF counts one") << QString(QChar(0x0FFF)) << u" 1"_s;
    QTest::newRow("U+1000 counts two") << QString(QChar(0x1000)) << u" 2"_s;
    QTest::newRow("U+FFFF counts two") << QString(QChar(0xFFFF)) << u" 2"_s;
    QTest::newRow("hangul") << u"한"_s << u" 2"_s;
    QTest::newRow("outside the BMP") << u"😀"_s << u" 4"_s;
    QTest::newRow("large body") << QString(300000, u'あ') + u"a"_s << u" 600001"_s;
}

void TestPage::byteCount()
{
    QFETCH(QString, body);
    QFETCH(QString, caption);
    QCOMPARE(byteCountCaption(body), caption);
}

void TestPage::pageSize_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Series>("series");
    QTest::addColumn<bool>("tooLarge");
    QTest::addColumn<int>("pictures");  // bytes, beside the page
    // Without a link the fixed lines take 111 bytes.
    QTest::newRow("worked example")
        << u"Hello あ"_s << u"ページ全体 119 バイト（1 パケット）"_s << Series::S501i << false << 0;
    QTest::newRow("one byte under the limit")
        << QString(5008, u'a') << u"ページ全体 5,119 バイト（40 パケット）"_s << Series::S501i
        << false << 0;
    QTest::newRow("at the limit") << QString(5009, u'a')
                                  << u"ページ全体 5,120 バイト（40 パケット）"_s << Series::S501i
                                  << true << 0;
    // Counted as 2 each, written as 1: the length alone cannot tell.
    QTest::newRow("half-width kana under the limit")
        << QString(5008, u'ｱ') << u"ページ全体 5,119 バイト（40 パケット）"_s << Series::S501i
        << false << 0;
    QTest::newRow("Japanese far over the limit")
        << QString(20000, u'あ') << u"ページ全体 40,111 バイト（314 パケット）"_s << Series::S501i
        << true << 0;
    QTest::newRow("502i holds what 501i cannot")
        << QString(5009, u'a') << u"ページ全体 5,120 バイト（40 パケット）"_s << Series::S502i
        << false << 0;
    QTest::newRow("502i at its limit")
        << QString(10129, u'a') << u"ページ全体 10,240 バイト（80 パケット）"_s << Series::S502i
        << true << 0;
    QTest::newRow("900i holds 30 KB of text")
        << QString(30609, u'a') << u"ページ全体 30,720 バイト（240 パケット）"_s << Series::S900i
        << false << 0;
    QTest::newRow("900i, a byte more")
        << QString(30610, u'a') << u"ページ全体 30,721 バイト（241 パケット）"_s << Series::S900i
        << true << 0;
    QTest::newRow("pictures past the limit")
        << QString(4000, u'a') << u"ページ全体 4,111 バイト（33 パケット）・画像 1,009 バイト"_s
        << Series::S501i << true << 1009;
}

void TestPage::pageSize()
{
    QFETCH(QString, body);
    QFETCH(QString, text);
    QFETCH(Series, series);
    QFETCH(bool, tooLarge);
    QFETCH(int, pictures);
    const qsizetype bytes = pageByteSize(u"Menu"_s, body, u"http://"_s);
    const QStringList lines = pageSizeText(bytes, series, pictures).split(u'\n');
    QCOMPARE(lines.first(), text);
    QCOMPARE(lines.size(), tooLarge ? 2 : 1);  // the warning
    QCOMPARE(lines.last().startsWith(u"画像を含めると"_s), pictures > 0 && tooLarge);
    if (pictures == 0)  // the count's colour reads no files
        QCOMPARE(pageTooLargeFor(series, u"Menu"_s, body, u"http://"_s), tooLarge);
}

void TestPage::handsetMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bodyGoesOn");
    QTest::addColumn<Series>("series");
    QTest::addColumn<QString>("marks");
    const Series first = Series::S501i;
    QTest::newRow("ordinary page")
        << u"お知らせ<br>\r\n<center>中央</center>\r\n<A href=\"sub101.html\">次へ</A>\r\n<HR>"_s
        << false << first
        << u"tag:<br> tag:<center> tag:</center> tag:<A href=\"sub101.html\"> tag:</A> tag:<HR>"_s;
    QTest::newRow("later handsets' tags")
        << u"<font color=red>赤</font><MARQUEE>"_s << false << first
        << u"tag:<font color=red> later:font tag:</font> later:font tag:<MARQUEE> later:MARQUEE"_s;
    QTest::newRow("a tag no handset knows, and one 902i shows")
        << u"<table><Script>"_s << false << first
        << u"tag:<table> later:table tag:<Script> unknown:Script"_s;
    QTest::newRow("tables on 902i")
        << u"<table><tr><td>"_s << false << Series::S902i << u"tag:<table> tag:<tr> tag:<td>"_s;
    QTest::newRow("plaintext on the first handsets")
        << u"<plaintext>"_s << false << first << u"tag:<plaintext>"_s;
    QTest::newRow("plaintext on 902i")
        << u"<plaintext>"_s << false << Series::S902i << u"tag:<plaintext>"_s;
    QTest::newRow("later attributes of older tags")
        << u"<body bgcolor=red><hr size=2 color=\"red\"><img align='center'><img align=top>"_s
        << false << first
        << u"tag:<body bgcolor=red> later:bgcolor tag:<hr size=2 color=\"red\"> later:color "
           u"tag:<img align='center'> later:align tag:<img align=top>"_s;
    QTest::newRow("the same on 504i")
        << u"<body bgcolor=red><hr size=2 color=\"red\">"_s << false << Series::S504i
        << u"tag:<body bgcolor=red> tag:<hr size=2 color=\"red\">"_s;
    QTest::newRow("extended pictograms before 504i") << u"©☀"_s << false << first << u"later:©"_s;
    QTest::newRow("extended pictograms on 504i") << u"©☀"_s << false << Series::S504i << QString();
    QTest::newRow("lost characters") << u"한と😀?"_s << false << first << u"lost:한 lost:😀"_s;
    QTest::newRow("platform-dependent rows, not their standard twins")
        << u"①Ⅰ髙∵￢"_s << false << first << u"platform:① platform:Ⅰ platform:髙"_s;
    QTest::newRow("pictograms are the handsets' own")
        << u"☀#\uFE0F\u20E3"_s << false << first << QString();
    QTest::newRow("a character inside a tag")
        << u"<a href=\"①\">"_s << false << first << u"tag:<a href=\"①\"> platform:①"_s;
    QTest::newRow("trail byte across the converter's chunks")
        << QString(4095, u'a') + u"髙あ"_s << false << first << u"platform:髙"_s;
    QTest::newRow("unclosed, to the end of its line")
        << u"<a href=x\r\n次へ"_s << false << first << u"unclosed:<a href=x"_s;
    QTest::newRow("unclosed before the next tag")
        << u"<b <br>"_s << false << first << u"unclosed:<b <br> tag:<br>"_s;
    QTest::newRow("cut from a longer body") << u"<a href=x"_s << true << first << QString();
    QTest::newRow("not tags") << u"a < b > c <3"_s << false << first << QString();
    QTest::newRow("comment") << u"<!-- <table> -->x"_s << false << first
                             << u"comment:<!-- <table> -->"_s;
    QTest::newRow("declaration") << u"<!DOCTYPE html>"_s << false << first
                                 << u"tag:<!DOCTYPE html>"_s;
    QTest::newRow("quoted > and <, and values without quotes")
        << u"<input value=\"次へ>>\" istyle=1><input type=submit value='<<前へ'>"_s << false
        << first
        << u"tag:<input value=\"次へ>>\" istyle=1> later:istyle "
           u"tag:<input type=submit value='<<前へ'>"_s;
    QTest::newRow("attributes without values")
        << u"<select multiple name=s><option selected>"_s << false << first
        << u"tag:<select multiple name=s> later:multiple tag:<option selected>"_s;
    QTest::newRow("references in values")
        << u"<a href=\"mailto:a@b.jp?cc=c&amp;subject=hi\"><img align=&#x63;enter>"_s << false
        << first
        << u"tag:<a href=\"mailto:a@b.jp?cc=c&amp;subject=hi\"> later:href "
           u"tag:<img align=&#x63;enter> later:align"_s;
    QTest::newRow("comments hide tags and pictograms")
        << u"<!-- © <table> -->©"_s << false << first << u"comment:<!-- © <table> --> later:©"_s;
    QTest::newRow("unclosed comment, to the end")
        << u"a<!-- <hr>\r\n次へ"_s << false << first << u"unclosedComment:<!-- <hr>\r\n次へ"_s;
    QTest::newRow("comment cut from a longer body")
        << u"<!-- <hr>"_s << true << first << u"comment:<!-- <hr>"_s;
    QTest::newRow("end tag begun") << u"a</"_s << false << first << u"unclosed:</"_s;
    QTest::newRow("pictogram references") << u"&#xF9B3;&#63647;<!-- &#xF9B3; -->"_s << false
                                          << first << u"later:&#xF9B3; comment:<!-- &#xF9B3; -->"_s;
}

void TestPage::handsetMarks()
{
    QFETCH(QString, text);
    QFETCH(bool, bodyGoesOn);
    QFETCH(Series, series);
    QFETCH(QString, marks);
    static const QStringList kinds{u"lost"_s,     u"platform"_s,       u"tag"_s,
                                   u"comment"_s,  u"unknown"_s,        u"later"_s,
                                   u"unclosed"_s, u"unclosedComment"_s};
    HandsetMarker marker;
    marker.setSeries(series);
    QStringList found;
    for (const HandsetMark& mark : marker.marks(text, bodyGoesOn))
        found += kinds[mark.kind] + u':' + text.sliced(mark.start, mark.length);
    QCOMPARE(found.join(u' '), marks);
}

// Each tag or dated attribute, and the first series whose handsets show it.
void TestPage::firstSeriesToShow_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("series");
    const auto row = [](const char* tag, const QString& series) {
        QTest::newRow(tag) << QString::fromUtf8(tag) << series;
    };
    row("<plaintext>", u"501i"_s);
    row("<a accesskey=1 href=x>", u"501i"_s);
    row("<script>", u"501i"_s);  // no handset shows it, so it asks for none
    row("<blink>", u"502i"_s);
    row("<marquee>", u"502i"_s);
    row("<font color=red>", u"502i"_s);
    row("<body text=red>", u"502i"_s);
    row("<input istyle=1>", u"502i"_s);
    row("<select multiple>", u"502i"_s);
    row("<object>", u"503i"_s);
    row("<a ijam=x>", u"503i"_s);
    row("<form utn>", u"503i"_s);
    row("<a href=\"mailto:a@b?subject=hi\">", u"503i"_s);
    row("<a href=\"mailto:a@b\">", u"501i"_s);
    row("<a href=\"mailto:a@b?cc=c&amp;subject=hi\">", u"503i"_s);
    row("<input value=\"次へ>>\" istyle=\"1\">", u"502i"_s);
    row("<!-- © <hr color=red> -->", u"501i"_s);
    row("<param>", u"504i"_s);
    row("<body vlink=red>", u"504i"_s);
    row("<hr color=red>", u"504i"_s);
    row("<img align=CENTER>", u"504i"_s);
    row("<img align=middle>", u"501i"_s);
    row("<ul type=disc>", u"504i"_s);
    row("<a ilet=x>", u"505i"_s);
    row("<table>", u"902i"_s);
    row("<td>", u"902i"_s);
    row("<body background=a.gif>", u"902i"_s);
}

void TestPage::firstSeriesToShow()
{
    QFETCH(QString, tag);
    QFETCH(QString, series);
    const std::optional<Series> oldest = quillet::oldestHandset(tag, 100).series;
    QVERIFY(oldest);
    QCOMPARE(seriesName(*oldest), series);
}

// The oldest handsets that show the whole page, as the count's tooltip says.
void TestPage::oldestHandset_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain page") << u"Hello あ<br>"_s << u"表示できる端末: 501i 以降"_s;
    QTest::newRow("font colour") << u"<font color=\"red\">赤</font>"_s
                                 << u"表示できる端末: 502i 以降（<font>）"_s;
    QTest::newRow("copyright sign") << u"©2001"_s << u"表示できる端末: 504i 以降（拡張絵文字 ©）"_s;
    QTest::newRow("pictogram reference")
        << u"&#63923;"_s << u"表示できる端末: 504i 以降（拡張絵文字 👕）"_s;
    QTest::newRow("only the newest needs are named")
        << u"<font>©</font><hr color=red>"_s
        << u"表示できる端末: 504i 以降（拡張絵文字 ©、<hr color>）"_s;
    QTest::newRow("table") << u"<table><tr><td>1</td></tr></table>"_s
                           << u"表示できる端末: 902i 以降（<table>、<tr>、<td>）"_s;
    QTest::newRow("6,000-byte page")
        << QString(5889, u'a') << u"表示できる端末: 502i 以降（ページ 6,000 バイト）"_s;
    QTest::newRow("31 KB page") << QString(31633, u'a')
                                << u"表示できる端末: なし（ページ全体 31,744 バイト。"
                                   u"文字とタグは 30,720 バイトまで）"_s;
}

void TestPage::oldestHandset()
{
    QFETCH(QString, body);
    QFETCH(QString, text);
    const QString page = subPageText(u"Menu"_s, body, u"http://"_s);
    QCOMPARE(oldestHandsetText(quillet::oldestHandset(page, toCp932(page).size())), text);
}

// What the pane shows of a page on a series: what the series lacks is
// gone, its content kept; pictograms as the handset draws them; and a page
// past the limit cut after the last whole piece that fits.
void TestPage::pageAsHandsetReads_data()
{
    QTest::addColumn<Series>("series");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("pictures");   // bytes
    QTest::addColumn<QString>("shown");  // before the note, when cut
    QTest::addColumn<bool>("cut");
    const Series first = Series::S501i;
    const QString table = u"<table border=\"1\"><tr><td>字</td></tr></table>"_s;
    const QString sun = u"<span class=\"quillet-pictogram\">☀\uFE0F</span>"_s;
    const auto row = [](const char* name, Series series, const QString& page, const QString& shown,
                        int pictures = 0, bool cut = false) {
        QTest::newRow(name) << series << page << pictures << shown << cut;
    };
    row("a table flows as text before 902i", Series::S900i, table, u"字"_s);
    row("a table on 902i", Series::S902i, table, table);
    row("marquee and blink are text on 501i", first, u"<marquee>流</marquee><blink>点</blink>"_s,
        u"流点"_s);
    row("marquee on 502i", Series::S502i, u"<MARQUEE>流</MARQUEE>"_s, u"<marquee>流</marquee>"_s);
    row("no colour on 501i", first, u"<font color=red>赤</font>"_s, u"赤"_s);
    row("hr color before 504i", Series::S503i, u"<hr color=red size=2>"_s, u"<hr size=\"2\">"_s);
    row("hr color on 504i", Series::S504i, u"<hr color=red size=2>"_s,
        u"<hr color=\"red\" size=\"2\">"_s);
    row("body colours before 502i", first, u"<body bgcolor=red text=blue>"_s, u"<body>"_s);
    row("centred picture before 504i", Series::S503i,
        u"<img src=a.gif align=center><img src='b.gif' align=top>"_s,
        u"<img src=\"a.gif\"><img src=\"b.gif\" align=\"top\">"_s);
    row("tags no version has", Series::S902i, u"<b>太</b><span class=x>字</span>"_s, u"太字"_s);
    row("attributes no version has", first,
        u"<a href=\"x.html?a=1&amp;b=2\" style=\"color:red\" onclick=\"y()\" accesskey=1>次</a>"_s,
        u"<a href=\"x.html?a=1&amp;b=2\" accesskey=\"1\">次</a>"_s);
    row("a mailto link keeps its address before 503i", first,
        u"<a href=\"mailto:a@b.jp?subject=hi\">x</a>"_s,
        u"<a href=\"mailto:a@b.jp?subject=hi\">x</a>"_s);
    row("script and style show nothing", first,
        u"a<script>x<b>y</b></script>b<STYLE>p{color:red}</STYLE>c"_s, u"abc"_s);
    row("pictogram references, decimal and hexadecimal", first, u"&#63647;&#xf89f;☀"_s,
        sun + sun + u"<span class=\"quillet-pictogram\">☀</span>"_s);
    row("a keycap names its key", first, u"&#63879;"_s,
        u"<span class=\"quillet-pictogram\" data-key=\"1\">1\uFE0F\u20E3</span>"_s);
    row("references to no pictogram stay", first, u"&#63646;&#99999999;&#x;&amp;"_s,
        u"&#63646;&#99999999;&#x;&amp;"_s);
    row("a comment left open hides the rest, and only that", first, u"a<!-- b -->c<!-- d<hr>"_s,
        u"a<!-- b -->c"_s);
    row("501i holds under 5,120 bytes", first, QString(5119, u'a'), QString(5119, u'a'));
    row("cut at the limit", first, QString(6000, u'a'), QString(5119, u'a'), 0, true);
    row("900i holds 30 KB", Series::S900i, QString(30720, u'a'), QString(30720, u'a'));
    row("never inside a tag", first, QString(5116, u'a') + u"<br>b"_s, QString(5116, u'a'), 0,
        true);
    row("never inside a reference", first, QString(5115, u'a') + u"&#63647;"_s, QString(5115, u'a'),
        0, true);
    row("never inside a character", first, QString(5118, u'a') + u"あ"_s, QString(5118, u'a'), 0,
        true);
    row("never inside a keycap", Series::S501i, QString(5118, u'a') + u"#\uFE0F\u20E3"_s,
        QString(5118, u'a'), 0, true);
    row("pictures count", first, QString(4500, u'a'), QString(4119, u'a'), 1000, true);
    row("what the cut leaves open is closed", Series::S502i,
        u"<center><font color=red>"_s + QString(11000, u'a'),
        u"<center><font color=\"red\">"_s + QString(10215, u'a') + u"</font></center>"_s, 0, true);
}

void TestPage::pageAsHandsetReads()
{
    QFETCH(Series, series);
    QFETCH(QString, page);
    QFETCH(int, pictures);
    QFETCH(QString, shown);
    QFETCH(bool, cut);
    const HandsetPage read = quillet::pageAsHandsetReads(page, series, pictures);
    QCOMPARE(read.cut, cut);
    const qsizetype note = read.html.indexOf(u"<div role=\"note\""_s);
    QCOMPARE(read.html.first(note < 0 ? read.html.size() : note), shown);
    QCOMPARE(note >= 0, cut);
    if (cut)
        QVERIFY(read.html.endsWith(cutNote(series) + u"</div>"_s));
}

// Beside the page or below it, each once; nothing elsewhere, nothing missing.
void TestPage::picturesCountOnce()
{
    QVERIFY(QDir(dir_->path()).mkpath(u"pages/img"_s));
    writeFile(dir_->filePath(u"pages/a.gif"_s), QByteArray(100, 'x'));
    writeFile(dir_->filePath(u"pages/img/b.gif"_s), QByteArray(20, 'x'));
    writeFile(dir_->filePath(u"outside.gif"_s), QByteArray(1000, 'x'));
    const QString page =
        u"<img src=a.gif><IMG SRC=\"img/b.gif\"><img src=\"a.gif\"><img src=../outside.gif>"
        u"<img src=missing.gif><img src=http://example.com/c.gif><!-- <img src=a.gif> -->"_s;
    QCOMPARE(pictureBytes(page, dir_->filePath(u"pages"_s)), 120);
}

// Where a long body is cut, against budgets small enough to read.
void TestPage::splitBody_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<PartMeasure>("measure");
    QTest::addColumn<int>("budget");
    QTest::addColumn<QStringList>("parts");  // none: refused at line `refused`
    QTest::addColumn<int>("refused");
    const auto row = [](const char* name, const QString& body, int budget, const QStringList& parts,
                        int refused = 0, PartMeasure measure = PartMeasure::Count) {
        QTest::newRow(name) << body << measure << budget << parts << refused;
    };
    row("whole lines, the break between left out", u"aaa\r\nbbb\r\nccc"_s, 8,
        {u"aaa\r\nbbb"_s, u"ccc"_s});
    row("the 2,000 edge", QString(1998, u'a') + u"\r\nbb"_s, 2000, {QString(1998, u'a'), u"bb"_s});
    row("2,000 in one", QString(2000, u'a'), 2000, {QString(2000, u'a')});
    row("an empty body is one page", QString(), 2000, {QString()});
    row("wide characters count twice", u"あいう\r\nえ"_s, 6, {u"あいう"_s, u"え"_s});
    row("a long line after its clause", u"あ。いうえお"_s, 8, {u"あ。"_s, u"いうえお"_s});
    row("a clause keeps its closing bracket", u"「あ。」いう"_s, 8, {u"「あ。」"_s, u"いう"_s});
    row("else between characters", u"abcdefghij"_s, 4, {u"abcd"_s, u"efgh"_s, u"ij"_s});
    row("never inside a tag, and a <br> a clause", u"ab<br>cd"_s, 5, {u"ab"_s, u"<br>"_s, u"cd"_s});
    row("never between <br> and its break", u"ab<br>\r\ncd"_s, 7, {u"ab<br>"_s, u"cd"_s});
    row("never inside a comment", u"a<!-- xx -->b"_s, 12, {u"a<!-- xx -->"_s, u"b"_s});
    row("never inside a reference", u"ab&amp;c"_s, 6, {u"ab"_s, u"&amp;c"_s});
    row("nor one without its semicolon", u"ab&#38c"_s, 5, {u"ab"_s, u"&#38c"_s});
    row("never inside a surrogate pair", u"a😀b"_s, 4, {u"a"_s, u"😀"_s, u"b"_s});
    row("never inside a keycap", u"a1\uFE0F\u20E3b"_s, 2, {u"a"_s, u"1\uFE0F\u20E3"_s, u"b"_s}, 0,
        PartMeasure::CodePage);
    row("the code page's bytes", u"ｱｲｳｴｵｶ"_s, 5, {u"ｱｲｳｴｵ"_s, u"ｶ"_s}, 0, PartMeasure::CodePage);
    row("open elements closed and opened again", u"<center>ab\r\ncd</center>"_s, 19,
        {u"<center>ab</center>"_s, u"<center>cd</center>"_s});
    row("with their attributes, counted in both pages", u"<font color=red>あいうえおか</font>"_s,
        29, {u"<font color=red>あいう</font>"_s, u"<font color=red>えおか</font>"_s});
    row("a tag longer than a page", u"ab\r\n<a href=\"very-long\">x</a>"_s, 10, {}, 2);
}

void TestPage::splitBody()
{
    QFETCH(QString, body);
    QFETCH(PartMeasure, measure);
    QFETCH(int, budget);
    QFETCH(QStringList, parts);
    QFETCH(int, refused);
    const BodySplit split =
        quillet::splitBody(body, measure, [budget](qsizetype, bool) { return budget; });
    QStringList texts;
    for (const BodyPart& part : split.parts) texts.append(part.text(body));
    QCOMPARE(texts, parts);
    QCOMPARE(split.refusedLine, refused);
}

void TestPage::nextPageName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("next");
    QTest::newRow("counts up") << u"sub100.html"_s << u"sub101.html"_s;
    QTest::newRow("carries") << u"sub109.html"_s << u"sub110.html"_s;
    QTest::newRow("keeps its width") << u"sub099.html"_s << u"sub100.html"_s;
    QTest::newRow("grows when it must") << u"sub999.html"_s << u"sub1000.html"_s;
    QTest::newRow("the last run of digits") << u"ch1-05.htm"_s << u"ch1-06.htm"_s;
    QTest::newRow("no digits") << u"page.html"_s << u"page2.html"_s;
    QTest::newRow("no extension either") << u"page"_s << u"page2"_s;
}

void TestPage::nextPageName()
{
    QFETCH(QString, name);
    QFETCH(QString, next);
    QCOMPARE(quillet::nextPageName(name), next);
}

// Each page links the next by its bare name, the last as the author asked;
// on a series' limit, each whole page keeps it.
void TestPage::chainLinksAndTitlesItsPages()
{
    const QString line = u"あいうえおかきくけこ。<br>"_s;  // 26 bytes
    const QString body = QStringList(200, line).join(u"\r\n"_s);
    ChainRequest request{u"/d/sub099.html"_s, u"話"_s, body, u"http://"_s, std::nullopt, true};
    const PageChain chain = planChain(request);
    QCOMPARE(chain.pages.size(), 3);  // 71 lines of 26 and their breaks fit 2,000
    QCOMPARE(chain.pages[0].path, u"/d/sub099.html"_s);
    QCOMPARE(chain.pages[1].nextLink, u"sub101.html"_s);
    QCOMPARE(chain.pages[2].path, u"/d/sub101.html"_s);
    QCOMPARE(chain.pages[2].nextLink, u"http://"_s);
    QCOMPARE(chain.pages[1].title, u"話（2/3）"_s);
    QStringList bodies;
    for (const ChainPage& page : chain.pages) bodies.append(page.body);
    QCOMPARE(bodies.join(u"\r\n"_s), body);

    request.pageLimitOf = Series::S501i;
    request.numberTitles = false;
    request.body = body.repeated(3);
    const PageChain held = planChain(request);
    QCOMPARE(held.pages.size(), 4);
    for (const ChainPage& page : held.pages) {
        QCOMPARE(page.title, u"話"_s);
        QVERIFY(pageFits(Series::S501i, pageByteSize(page.title, page.body, page.nextLink)));
    }
}

QTEST_GUILESS_MAIN(TestPage)
#include "tst_page.moc"
