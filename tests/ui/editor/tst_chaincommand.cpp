// The body written as a chain of pages: all of it, or, whatever goes
// wrong, nothing at all.
#include "CodePage.h"
#include "EditorFixture.h"
#include "PageChainDialog.h"
#include "SubPageWriter.h"
#include "TestFiles.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <sys/stat.h>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestChainCommand : public EditorFixture {
    Q_OBJECT

private slots:
    void writesEveryPageLinked();
    void noOutputFileOnlyAsks();
    void nothingOrAll_data();
    void nothingOrAll();

private:
    void chooseOutputFile(const QString& name)
    {
        host_->dialogPaths = {file(name)};
        host_->answers = {MsgAnswer::Yes};
        click("Command4");
        host_->messages.clear();
    }
    QStringList folder() const
    {
        return QDir(dir_->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
};

void TestChainCommand::writesEveryPageLinked()
{
    chooseOutputFile(u"sub100.html"_s);
    const QString line = QString(999, u'字') + u"。"_s;  // 2,000 bytes: a page each
    body()->setPlainText(QStringList(4, line).join(u'\n'));
    textBox("Text1")->setText(u"話"_s);
    window_->mnuSplitPages_Click();

    QCOMPARE(host_->messageTexts(), QStringList{u"4 ページを作成しました。"_s});
    QCOMPARE(folder(),
             (QStringList{u"sub100.html"_s, u"sub101.html"_s, u"sub102.html"_s, u"sub103.html"_s}));
    QCOMPARE(readAll(file(u"sub102.html"_s)),
             toCp932(subPageText(u"話（3/4）"_s, line, u"sub103.html"_s)));
    QCOMPARE(readAll(file(u"sub103.html"_s)),
             toCp932(subPageText(u"話（4/4）"_s, line, u"http://"_s)));
    // The pane shows the chain's first page as written.
    QCOMPARE(host_->embeddedAddresses, QStringList{file(u"sub100.html"_s)});
    // The fields stay as they were.
    QCOMPARE(window_->outputPath(), file(u"sub100.html"_s));
    QCOMPARE(window_->title(), u"話"_s);
}

void TestChainCommand::noOutputFileOnlyAsks()
{
    body()->setPlainText(u"本文"_s);
    bool shown = false;
    host_->onDialog = [&shown](QDialog&) {
        shown = true;
        return int(QDialog::Rejected);
    };
    window_->mnuSplitPages_Click();
    QCOMPARE(host_->messageTexts(), QStringList{u"ファイル名を指定してください。"_s});
    QVERIFY(!shown);
    QCOMPARE(folder(), QStringList());
}

// Three pages over two old files: a No to the question, a write that fails
// on the second page, a pipe where the third would go. Each time the
// folder holds exactly what it held.
void TestChainCommand::nothingOrAll_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<qint64>("sizeLimit");
    QTest::addColumn<QString>("message");  // its start; none: only the question
    QTest::newRow("No") << int(MsgAnswer::No) << false << qint64(0) << QString();
    QTest::newRow("a write fails in the middle")
        << int(MsgAnswer::Yes) << false << qint64(1000)
        << u"ページを書き込めませんでした。\n"_s + u"sub101.html"_s;
    QTest::newRow("a named pipe among the targets")
        << int(MsgAnswer::Yes) << true << qint64(0)
        << u"ページを書き込めませんでした。\n"_s + u"sub102.html"_s;
}

void TestChainCommand::nothingOrAll()
{
    QFETCH(int, answer);
    QFETCH(bool, pipe);
    QFETCH(qint64, sizeLimit);
    QFETCH(QString, message);
    writeFile(file(u"sub100.html"_s), oldPageBytes);
    chooseOutputFile(u"sub100.html"_s);
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(file(u"sub102.html"_s)).constData(), 0644), 0);
    else
        writeFile(file(u"sub102.html"_s), oldPageBytes);
    // A short page, one of 1,999 bytes, a short one.
    body()->setPlainText(u"a\n"_s + QString(1999, u'x') + u"\nb"_s);
    const QStringList before = folder();

    host_->answers = {answer};
    {
        const FileSizeLimit limit(sizeLimit);
        window_->mnuSplitPages_Click();
    }
    const QStringList texts = host_->messageTexts();
    QCOMPARE(texts.size(), (message.isEmpty() || pipe) ? 1 : 2);
    if (!pipe)
        QCOMPARE(texts[0], u"\nsub102.html\nのファイルに上書きしますか？\n"_s);
    if (!message.isEmpty()) {
        const QString folderPath = QDir::toNativeSeparators(dir_->path()) + QDir::separator();
        QVERIFY2(
            texts.constLast().startsWith(QString(message).replace(u"\n"_s, u"\n"_s + folderPath)),
            qPrintable(texts.constLast()));
    }
    QCOMPARE(folder(), before);
    QCOMPARE(readAll(file(u"sub100.html"_s)), oldPageBytes);
    if (!pipe)
        QCOMPARE(readAll(file(u"sub102.html"_s)), oldPageBytes);
}

QTEST_MAIN(TestChainCommand)
#include "tst_chaincommand.moc"
