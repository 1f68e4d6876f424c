// The commands that show the page: the preview in the window's pane, and the
// double-click that opens it in the user's browser.
#include "EditorFixture.h"
#include "TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <sys/stat.h>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestPreviewCommands : public EditorFixture {
    Q_OBJECT

private slots:
    void preview_data();
    void preview();
    void previewRewritesEveryTime();
    void doubleClickOpensHtmlOnly_data();
    void doubleClickOpensHtmlOnly();
};

void TestPreviewCommands::preview_data()
{
    QTest::addColumn<QString>("loadedFile");  // read into the body first, or none
    QTest::addColumn<QString>("text");        // the body when the preview runs
    QTest::addColumn<bool>("outputPath");
    QTest::addColumn<QString>("shows");  // "loaded", "written" or "asks"

    QTest::newRow("loaded document, lower case")
        << u"top.html"_s << u"<html><body>x"_s << true << u"loaded"_s;
    QTest::newRow("typed document, nothing loaded")
        << QString() << u"<HTML>x"_s << true << u"written"_s;
    QTest::newRow("typed document, no path") << QString() << u"<HTML>x"_s << false << u"asks"_s;
    QTest::newRow("text file edited into a document")
        << u"notes.txt"_s << u"<HTML>x"_s << false << u"loaded"_s;
    QTest::newRow("leading space") << u"top.html"_s << u" <HTML>"_s << true << u"written"_s;
    QTest::newRow("document type line")
        << u"top.html"_s << u"<!DOCTYPE html>"_s << true << u"written"_s;
    QTest::newRow("tag with attributes")
        << u"top.html"_s << u"<HTML lang=ja>"_s << true << u"written"_s;
    QTest::newRow("shorter than six") << u"top.html"_s << u"<HTML"_s << true << u"written"_s;
    QTest::newRow("nothing to show") << QString() << u"text"_s << false << u"asks"_s;
}

void TestPreviewCommands::preview()
{
    QFETCH(QString, loadedFile);
    QFETCH(QString, text);
    QFETCH(bool, outputPath);
    QFETCH(QString, shows);

    if (!loadedFile.isEmpty()) {
        writeFile(file(loadedFile), "<HTML>on disk</HTML>");
        host_->dialogPaths = {file(loadedFile)};
        click("Command2");
    }
    const QString output = file(u"out.html"_s);
    if (outputPath) {
        host_->dialogPaths = {output};
        click("Command4");
    }
    body()->setPlainText(text);
    host_->messages.clear();
    click("Command6");

    if (shows == u"loaded"_s) {
        QCOMPARE(host_->embeddedAddresses, QStringList{file(loadedFile)});
        QCOMPARE(host_->embeddedOrigins, QList{PageOrigin::Loaded});  // decoded as a body file
        QVERIFY(host_->writtenPaths.isEmpty());
        QVERIFY(host_->messages.isEmpty());
    } else if (shows == u"written"_s) {
        QCOMPARE(host_->embeddedAddresses, QStringList{output});
        QCOMPARE(host_->embeddedOrigins, QList{PageOrigin::Written});  // always Shift-JIS
        QCOMPARE(host_->writtenPaths, QStringList{output});
        QVERIFY(readAll(output).contains(text.toLatin1()));
        QVERIFY(host_->messages.isEmpty());  // no confirmation, unlike the create command
    } else {
        QVERIFY(host_->embeddedAddresses.isEmpty());
        QVERIFY(host_->writtenPaths.isEmpty());
        QCOMPARE(host_->messageTexts(), QStringList{u"上の作成ファイル名の指定をして下さい"_s});
        QCOMPARE(host_->messages[0].style, MsgStyle::OkOnly);
    }
}

void TestPreviewCommands::previewRewritesEveryTime()
{
    const QString output = file(u"out.html"_s);
    host_->dialogPaths = {output};
    click("Command4");
    textBox("Text2")->clear();
    body()->setPlainText(u"first"_s);
    click("Command6");
    QVERIFY(readAll(output).contains("first"));
    QCOMPARE(textBox("Text2")->text(), u"http://"_s);  // the writer's reset happens here too

    body()->setPlainText(u"second"_s);
    click("Command6");
    QVERIFY(readAll(output).contains("second"));
    QVERIFY(!readAll(output).contains("first"));
    QCOMPARE(host_->embeddedAddresses, (QStringList{output, output}));
}

void TestPreviewCommands::doubleClickOpensHtmlOnly_data()
{
    QTest::addColumn<QString>("name");  // of the output file, or none
    QTest::addColumn<bool>("opens");
    QTest::newRow("no output file") << QString() << false;
    QTest::newRow(".txt") << u"page.txt"_s << false;
    QTest::newRow(".HTM") << u"PAGE.HTM"_s << true;
    QTest::newRow(".Html") << u"page.Html"_s << true;
    QTest::newRow("ending without a dot") << u"myhtml"_s << true;
    QTest::newRow("named pipe, refused as the preview refuses it") << u"pipe.html"_s << false;
}

void TestPreviewCommands::doubleClickOpensHtmlOnly()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);

    const bool pipe = name == u"pipe.html"_s;
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(file(name)).constData(), 0644), 0);
    if (!name.isEmpty()) {
        host_->dialogPaths = {file(name)};
        click("Command4");
    }
    host_->messages.clear();
    host_->browserAvailable = false;  // nothing is said when no browser starts
    QTest::mouseDClick(label("Label1"), Qt::LeftButton);
    QTest::mouseDClick(label("Label1"), Qt::LeftButton);

    const QStringList expected = opens ? QStringList{file(name), file(name)} : QStringList();
    QCOMPARE(host_->browserAddresses, expected);
    QCOMPARE(host_->messages.size(), pipe ? 2 : 0);
    if (pipe)
        QVERIFY(host_->messages[0].text.startsWith(u"ページを表示できませんでした。\n"_s));
}

QTEST_MAIN(TestPreviewCommands)
#include "tst_previewcommands.moc"
