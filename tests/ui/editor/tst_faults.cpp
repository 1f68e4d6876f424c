// Every command that reads or writes a file, against awkward and broken
// targets: the program keeps running, says what went wrong, and leaves no
// file truncated or half-written.
#include "CodePage.h"
#include "FakeHostUi.h"
#include "Module1.h"
#include "SubPageWriter.h"
#include "TestFiles.h"
#include "main1.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

enum class Command { Create, Preview, Save, Load };

const QString sampleBody = u"本文 body"_s;

}  // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyFileCommand_data();
    void everyFileCommand();
    void hugeBodyIsWrittenWhole();
    void binaryFileRoundTrips();
    void unpairedSurrogatesBecomeQuestionMarks();

private:
    void click(const char* name) const
    {
        QTest::mouseClick(window_->findChild<QPushButton*>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    }
    QPlainTextEdit* body() const { return window_->findChild<QPlainTextEdit*>(u"rtext1"_s); }
    void chooseOutputFile(const QString& path);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeHostUi> host_;
    std::unique_ptr<Module1> module_;
    std::unique_ptr<main1> window_;
};

void TestFaults::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    host_ = std::make_unique<FakeHostUi>();
    module_ = std::make_unique<Module1>();
    window_ = std::make_unique<main1>(*host_, *module_);
    window_->show();
}

void TestFaults::cleanup()
{
    window_.reset();
    module_.reset();
    host_.reset();
}

void TestFaults::chooseOutputFile(const QString& path)
{
    host_->dialogPaths = {path};
    host_->answers = {MsgAnswer::Yes};
    click("Command4");
    QCOMPARE(window_->outputPath(), path);
    host_->messages.clear();
}

void TestFaults::everyFileCommand_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("fault");
    const std::pair<Command, const char*> commands[] = {{Command::Create, "create"},
                                                        {Command::Preview, "preview"},
                                                        {Command::Save, "save body"},
                                                        {Command::Load, "load body"}};
    const std::pair<Fault, const char*> faults[] = {
        {Fault::ReadOnlyFile, "read-only file"},
        {Fault::MissingFolder, "missing folder"},
        {Fault::InvalidName, "name too long"},
        {Fault::FolderAsTarget, "folder in the way"},
        {Fault::SizeLimit, "size limit"},
        {Fault::NamedPipe, "named pipe"},
        {Fault::EndlessDevice, "endless device"},
        {Fault::OverReadLimit, "file over the read limit"},
        {Fault::WriteProtectedFolder, "write-protected folder"},
        {Fault::WriteProtectedFolderSizeLimit, "write-protected folder, size limit"},
        {Fault::WriteProtectedFolderFailingDisk, "write-protected folder, failing disk"},
        {Fault::JapaneseNameWithSpaces, "Japanese name with spaces"},
        {Fault::Symlink, "symlink"},
    };
    for (const auto& [command, commandName] : commands) {
        for (const auto& [fault, faultName] : faults) {
            if (command == Command::Load ? fault == Fault::SizeLimit
                                         : fault == Fault::EndlessDevice)
                continue;  // reading is not limited; a device is never a target
            QTest::addRow("%s, %s", commandName, faultName) << int(command) << int(fault);
        }
    }
}

void TestFaults::everyFileCommand()
{
    QFETCH(int, command);
    QFETCH(int, fault);
    const FaultyTarget target(*dir_, Fault(fault));
    body()->setPlainText(sampleBody);
    const int openFiles = openFileCount();

    QString headline;
    QByteArray expected;
    switch (Command(command)) {
    case Command::Create:
    case Command::Preview: {
        chooseOutputFile(target.path);
        const FileSizeLimit limit(target.sizeLimit(64));
        click(Command(command) == Command::Create ? "Command1" : "Command6");
        headline = u"ページを書き込めませんでした。"_s;
        expected = toCp932(subPageText(u"ここにタイトル"_s, sampleBody, u"http://"_s));
        if (Command(command) == Command::Preview)
            QCOMPARE(host_->embeddedAddresses, QStringList{target.path});
        break;
    }
    case Command::Save: {
        host_->dialogPaths = {target.path};
        const FileSizeLimit limit(target.sizeLimit(4));
        click("Command3");
        headline = u"ファイルに書き込めませんでした。"_s;
        expected = toCp932(sampleBody);
        break;
    }
    case Command::Load:
        host_->dialogPaths = {target.path};
        click("Command2");
        headline = u"ファイルを読み込めませんでした。"_s;
        QCOMPARE(window_->body(), target.readable() ? fromCp932(oldPageBytes) : sampleBody);
        break;
    }

    const bool fails = Command(command) == Command::Load ? !target.readable() : !target.writable();
    if (fails) {
        QCOMPARE(host_->messages.size(), 1);
        QVERIFY2(host_->messages[0].text.startsWith(headline + u'\n' + target.path + u"\n\n"_s),
                 qPrintable(host_->messages[0].text));
        // Where even the old bytes could not be put back, the user is told.
        QCOMPARE(host_->messages[0].text.contains(u"ファイルは壊れています"_s),
                 Fault(fault) == Fault::WriteProtectedFolderFailingDisk);
    } else if (Command(command) == Command::Create) {
        QCOMPARE(host_->messageTexts(), QStringList{u"作成しました。"_s});
    } else {
        QCOMPARE(host_->messageTexts(), QStringList());
    }
    if (Command(command) != Command::Load)
        QVERIFY2(target.changes(expected).isEmpty(), qPrintable(target.changes(expected)));
    QCOMPARE(openFileCount(), openFiles);
}

void TestFaults::hugeBodyIsWrittenWhole()
{
    const QString line = u"今日のお知らせ: Shop open 10:00-19:00。<br>\r\n"_s;  // 45 bytes
    const qsizetype lines = 50 * 1024 * 1024 / (2 * line.size()) + 1;  // over 50 MiB of text
    const QString huge = line.repeated(lines);
    body()->setPlainText(huge);
    QCOMPARE(window_->body(), huge);

    const QString page = dir_->filePath(u"huge.html"_s);
    chooseOutputFile(page);
    click("Command1");
    QCOMPARE(host_->messageTexts(), QStringList{u"作成しました。"_s});
    QCOMPARE(QFileInfo(page).size(), 121 + lines * 45);  // the initial title's page around it

    host_->dialogPaths = {dir_->filePath(u"huge.txt"_s)};
    click("Command3");
    QCOMPARE(QFileInfo(dir_->filePath(u"huge.txt"_s)).size(), lines * 45);
}

void TestFaults::binaryFileRoundTrips()
{
    const QByteArray binary("ab\0cd\x01\r\n\x7f", 9);
    const QString path = dir_->filePath(u"binary.txt"_s);
    writeFile(path, binary);
    host_->dialogPaths = {path, path};
    click("Command2");
    QCOMPARE(window_->body().size(), 9);  // nothing cut at the NUL
    click("Command3");
    QCOMPARE(readAll(path), binary);
    QCOMPARE(host_->messageTexts(), QStringList());
}

void TestFaults::unpairedSurrogatesBecomeQuestionMarks()
{
    body()->setPlainText(u"a"_s + QChar(0xD800) + u"b"_s + QChar(0xDC00));
    chooseOutputFile(dir_->filePath(u"page.html"_s));
    click("Command1");
    QVERIFY(readAll(dir_->filePath(u"page.html"_s)).contains("\r\na?b?\r\n"));

    host_->dialogPaths = {dir_->filePath(u"body.txt"_s)};
    host_->answers = {MsgAnswer::Yes};
    click("Command3");
    QVERIFY(host_->messageTexts().constLast().contains(u" 2 文字"_s));
    QCOMPARE(readAll(dir_->filePath(u"body.txt"_s)), QByteArray("a?b?"));
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
