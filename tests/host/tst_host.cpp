#include "CodePage.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestHost : public QObject {
    Q_OBJECT

private slots:
    void cp932Vectors_data();
    void cp932Vectors();
    void cp932LongTextKeepsEveryCharacter();
    void unmappableCount_data();
    void unmappableCount();
    void textFileDecoding_data();
    void textFileDecoding();
    void everyPictogramRoundTrips_data();
    void everyPictogramRoundTrips();

    void newFileGetsOrdinaryPermissions();
    void replacingKeepsPermissionsAndOwner();
    void symlinkIsWrittenThrough();
    void existenceTest_data();
    void existenceTest();
};

void TestHost::cp932Vectors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("hiragana a") << u"あ"_s << QByteArray("\x82\xA0");
    QTest::newRow("next") << u"次へ"_s << QByteArray("\x8E\x9F\x82\xD6");
    QTest::newRow("U+FF5E fullwidth tilde") << u"\uFF5E"_s << QByteArray("\x81\x60");
    QTest::newRow("U+301C wave dash") << u"\u301C"_s << QByteArray("\x81\x60");
    QTest::newRow("U+2212 minus") << u"\u2212"_s << QByteArray("\x81\x7C");
    QTest::newRow("U+2016 double bar") << u"\u2016"_s << QByteArray("\x81\x61");
    QTest::newRow("U+2460 circled one") << u"\u2460"_s << QByteArray("\x87\x40");
    QTest::newRow("U+FFE2 not sign") << u"\uFFE2"_s << QByteArray("\x81\xCA");
    QTest::newRow("U+FF3C fullwidth backslash") << u"\uFF3C"_s << QByteArray("\x81\x5F");
    QTest::newRow("backslash") << u"\\"_s << QByteArray("\x5C");
    QTest::newRow("tilde") << u"~"_s << QByteArray("\x7E");
    QTest::newRow("U+00A5 yen") << u"\u00A5"_s << QByteArray("\x5C");
    QTest::newRow("U+FF71 half-width a") << u"\uFF71"_s << QByteArray("\xB1");
    QTest::newRow("U+E000 private use") << u"\uE000"_s << QByteArray("\xF0\x40");
    QTest::newRow("U+1F600 one ? per code point") << u"\U0001F600"_s << QByteArray("?");
    // The handsets' pictograms. "©" has no mark of its own in the code
    // page, so its pictogram is the closest a page can get.
    QTest::newRow("U+2600 sun pictogram") << u"\u2600"_s << QByteArray("\xF8\x9F");
    QTest::newRow("U+2764 heart pictogram") << u"\u2764"_s << QByteArray("\xF9\x91");
    QTest::newRow("U+1F4F1 phone pictogram") << u"\U0001F4F1"_s << QByteArray("\xF8\xE9");
    QTest::newRow("keycap #") << u"#\u20E3"_s << QByteArray("\xF9\x85");
    QTest::newRow("U+00A9 copyright pictogram") << u"\u00A9"_s << QByteArray("\xF9\xD6");
    QTest::newRow("selector after a pictogram absorbed") << u"\u2764\uFE0Fa"_s
                                                         << QByteArray(
                                                                "\xF9\x91"
                                                                "a");
    QTest::newRow("keycap as input methods type it")
        << u"#\uFE0F\u20E3"_s << QByteArray("\xF9\x85");
    QTest::newRow("selector alone lost") << u"a\uFE0F"_s << QByteArray("a?");
    QTest::newRow("keycap mark after a letter lost") << u"a\u20E3"_s << QByteArray("a?");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u"a"_s << QByteArray("?a");
    QTest::newRow("lone low surrogate") << u"a"_s + QChar(0xDE00) << QByteArray("a?");
    QTest::newRow("reversed pair") << QString(QChar(0xDE00)) + QChar(0xD83D) << QByteArray("??");
    QTest::newRow("invisible marks kept as ?")
        << u"a\u200Bb\u2060\uFEFF\u206F"_s << QByteArray("a?b???");
    QTest::newRow("CR LF kept") << u"a\r\nb"_s << QByteArray("a\r\nb");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestHost::cp932Vectors()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp932(text), bytes);
}

void TestHost::cp932LongTextKeepsEveryCharacter()
{
    // Long enough to cross the converter's chunk boundaries at every
    // alignment, a pair and a double-byte character among them.
    QString text;
    QByteArray expected;
    for (int i = 0; i < 20000; ++i) {
        text += u"aあ\U0001F600"_s;
        expected += "a\x82\xA0?";
    }
    QCOMPARE(toCp932(text), expected);
}

void TestHost::unmappableCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("plain Japanese") << u"あ次へｱ\\~"_s << 0;
    QTest::newRow("fallbacks are not losses") << u"\u301C\u2212\u00A5"_s << 0;
    QTest::newRow("pair counts once") << u"\U0001F600"_s << 1;
    QTest::newRow("hangul and lone surrogate") << u"한"_s + QChar(0xD800) << 2;
    QTest::newRow("zero-width space") << u"\u200B"_s << 1;
    QTest::newRow("pictograms are kept") << u"\u2600\u2764\uFE0F\U0001F4F1#\uFE0F\u20E3"_s << 0;
}

void TestHost::unmappableCount()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(cp932UnmappableCount(text), count);
}

void TestHost::textFileDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("code page 932") << QByteArray("\x8E\x9F\x82\xD6 \xB1") << u"次へ ｱ"_s;
    QTest::newRow("UTF-8") << QByteArray("\xE6\xAC\xA1\xE3\x81\xB8") << u"次へ"_s;
    QTest::newRow("UTF-8 byte-order mark dropped") << QByteArray(
                                                          "\xEF\xBB\xBF"
                                                          "a")
                                                   << u"a"_s;
    QTest::newRow("half-width kana that also form UTF-8")
        << QByteArray("\xCA\xB2 \xC4\xB8") << u"ﾊｲ ﾄｸ"_s;
    QTest::newRow("UTF-8 Japanese, no mark")
        << QByteArray("<p>\xE3\x81\x93\xE3\x82\x93 \xEF\xBD\xB1</p>\r\n") << u"<p>こん ｱ</p>\r\n"_s;
    QTest::newRow("UTF-16 little-endian with mark")
        << QByteArray("\xFF\xFE\x21\x6B\x78\x30\x0D\x00\x0A\x00", 10) << u"次へ\r\n"_s;
    QTest::newRow("UTF-16 big-endian with mark")
        << QByteArray("\xFE\xFF\x6B\x21\x30\x78", 6) << u"次へ"_s;
    QTest::newRow("ASCII") << QByteArray("a\\~\r\n") << u"a\\~\r\n"_s;
    QTest::newRow("undefined byte") << QByteArray("a\xA0") << u"a\uFFFD"_s;
    QTest::newRow("pictograms") << QByteArray("\xF8\x9F\xF9\x91") << u"\u2600\u2764"_s;
    QTest::newRow("other user-defined code") << QByteArray("\xF0\x40") << u"\uE000"_s;
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestHost::textFileDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeTextFile(bytes), text);
}

void TestHost::everyPictogramRoundTrips_data()
{
    // Unicode's own mapping, the file the program's table is made from;
    // field 1 holds the code of the handsets these pages are for.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QFile sources(QStringLiteral(QUILLET_EMOJI_SOURCES));
    QVERIFY(sources.open(QIODevice::ReadOnly | QIODevice::Text));
    int rows = 0;
    while (!sources.atEnd()) {
        const QList<QByteArray> fields = sources.readLine().trimmed().split(';');
        if (fields.size() < 2 || fields[0].startsWith('#') || fields[1].isEmpty())
            continue;
        QString text;
        for (const QByteArray& point : fields[0].split(' ')) {
            const char32_t codePoint = point.toUInt(nullptr, 16);
            text += QString::fromUcs4(&codePoint, 1);
        }
        QTest::newRow(fields[0].constData()) << text << QByteArray::fromHex(fields[1]);
        ++rows;
    }
    QCOMPARE(rows, 244);
}

void TestHost::everyPictogramRoundTrips()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp932(text), bytes);
    QCOMPARE(fromCp932(bytes), text);
}

void TestHost::newFileGetsOrdinaryPermissions()
{
    // A page must be readable by whatever uploads or serves it, as a file
    // made by any other editor would be.
    QTemporaryDir dir;
    const QString reference = dir.filePath(u"reference"_s);
    writeFile(reference, "x");
    const QString page = dir.filePath(u"page.html"_s);

    QVERIFY(replaceFileContents(page, "abc").ok());
    QCOMPARE(readAll(page), QByteArray("abc"));
    QCOMPARE(QFile::permissions(page), QFile::permissions(reference));
}

void TestHost::replacingKeepsPermissionsAndOwner()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.html"_s);
    writeFile(page, oldPageBytes);
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    QFile::setPermissions(page, permissions);
    // Only root can give a file away; as anyone else the owner is the
    // user's own either way.
    const bool root = ::geteuid() == 0;
    const uint owner = root ? UnprivilegedFileAccess::nobody : ::geteuid();
    const uint group = root ? UnprivilegedFileAccess::nobody : ::getegid();
    QCOMPARE(::chown(QFile::encodeName(page).constData(), owner, group), 0);

    QVERIFY(replaceFileContents(page, "new").ok());
    QCOMPARE(readAll(page), QByteArray("new"));
    QCOMPARE(QFile::permissions(page) & 0x7077, permissions);
    QCOMPARE(QFileInfo(page).ownerId(), owner);
    QCOMPARE(QFileInfo(page).groupId(), group);
}

void TestHost::symlinkIsWrittenThrough()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"real.html"_s);
    const QString link = dir.filePath(u"link.html"_s);
    writeFile(target, oldPageBytes);
    QVERIFY(QFile::link(target, link));

    QVERIFY(replaceFileContents(link, "new").ok());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("new"));
}

void TestHost::existenceTest_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("answer");
    QTest::newRow("ordinary file") << u"sub100.html"_s << u"sub100.html"_s;
    QTest::newRow("hidden file counts") << u".draft.html"_s << u".draft.html"_s;
    QTest::newRow("link to a file") << u"link.html"_s << u"link.html"_s;
    QTest::newRow("folder") << u"folder.html"_s << QString();
    QTest::newRow("missing") << u"none.html"_s << QString();
    QTest::newRow("dangling link") << u"dangling.html"_s << QString();
    QTest::newRow("Japanese name with spaces") << u"次の ページ.html"_s << u"次の ページ.html"_s;
}

void TestHost::existenceTest()
{
    QFETCH(QString, entry);
    QFETCH(QString, answer);

    QTemporaryDir dir;
    writeFile(dir.filePath(u"sub100.html"_s), "x");
    writeFile(dir.filePath(u".draft.html"_s), "x");
    writeFile(dir.filePath(u"次の ページ.html"_s), "x");
    QDir(dir.path()).mkdir(u"folder.html"_s);
    QFile::link(dir.filePath(u"sub100.html"_s), dir.filePath(u"link.html"_s));
    QFile::link(dir.filePath(u"gone.html"_s), dir.filePath(u"dangling.html"_s));

    QCOMPARE(existingOrdinaryFileName(dir.filePath(entry)), answer);
}

QTEST_GUILESS_MAIN(TestHost)
#include "tst_host.moc"
