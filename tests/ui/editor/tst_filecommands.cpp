// The commands that move text between the window and files: choosing and
// clearing the output file, loading and saving the body, the shared dialog's
// properties, and the real dialogs from end to end.
#include "EditorFixture.h"
#include "ModalDialogs.h"
#include "QtHostUi.h"
#include "TestFiles.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestFileCommands : public EditorFixture {
    Q_OBJECT

private slots:
    // Output file choice
    void outputFileChoice_data();
    void outputFileChoice();
    void clearEmptiesOnlyThePath();

    // Body load
    void loadAndLock_data();
    void loadAndLock();
    void loadAfterHtmlKeepsLock();
    void cancelledLoadKeepsEverything();
    void failedLoadSaysSoAndKeepsEverything();

    // Body save
    void saveWritesCp932WithCrLf();
    void lossySaveAsksFirst_data();
    void lossySaveAsksFirst();

    void dialogPropertiesPersist();

    void realDialogsEndToEnd();
};

void TestFileCommands::outputFileChoice_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("earlierPath");
    QTest::addColumn<int>("answer");  // to the overwrite question, if asked
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("chosenShown");
    QTest::newRow("new file") << false << false << 0 << false << true;
    QTest::newRow("existing, Yes") << true << false << int(MsgAnswer::Yes) << false << true;
    QTest::newRow("existing, No, earlier path")
        << true << true << int(MsgAnswer::No) << false << false;
    QTest::newRow("existing, No, no path") << true << false << int(MsgAnswer::No) << false << false;
    QTest::newRow("cancel") << false << true << 0 << true << false;
}

void TestFileCommands::outputFileChoice()
{
    QFETCH(bool, exists);
    QFETCH(bool, earlierPath);
    QFETCH(int, answer);
    QFETCH(bool, cancel);
    QFETCH(bool, chosenShown);

    const QString earlier = file(u"earlier.html"_s);
    if (earlierPath) {
        host_->dialogPaths = {earlier};
        click("Command4");
    }
    const QString chosen = file(u"chosen.html"_s);
    if (exists)
        writeFile(chosen, oldPageBytes);
    // Locked, as after loading an HTML file: the unlock shows whether the
    // command reached its last step.
    textBox("Text1")->setReadOnly(true);
    textBox("Text2")->setReadOnly(true);
    host_->dialogs.clear();
    host_->preloads = 0;

    host_->dialogPaths = {cancel ? std::nullopt : std::optional<QString>(chosen)};
    host_->answers = {answer};
    click("Command4");

    QCOMPARE(host_->dialogs.size(), 1);
    const CommonDialog& shown = host_->dialogs[0].shown;
    QVERIFY(host_->dialogs[0].save);
    QCOMPARE(shown.FileName, u"sub100.html"_s);
    QCOMPARE(shown.Filter, u"htmlﾌｧｲﾙ|*.html|All Files|*.*|"_s);
    QVERIFY(shown.CancelError);

    if (exists && !cancel) {
        QCOMPARE(host_->messages.size(), 1);
        QCOMPARE(host_->messages[0].text, u"\n"_s + chosen + u" のファイルに上書きしますか？\n"_s);
        QCOMPARE(host_->messages[0].title, u"ファイル上書き確認"_s);
        QCOMPARE(host_->messages[0].style, MsgStyle::YesNoExclamation);
    } else {
        QVERIFY(host_->messages.isEmpty());
    }
    const QString expectedPath = chosenShown ? chosen : earlierPath ? earlier : QString();
    QCOMPARE(label("Label1")->text(), expectedPath);
    QCOMPARE(textBox("Text1")->isReadOnly(), cancel);
    QCOMPARE(textBox("Text2")->isReadOnly(), cancel);
    QCOMPARE(readAll(chosen), exists ? oldPageBytes : QByteArray());  // choosing writes nothing
    QCOMPARE(host_->preloads, chosenShown ? 1 : 0);  // the browser is readied for a preview

    if (expectedPath.isEmpty()) {
        click("Command1");  // still no output file: the writer asks for one
        QCOMPARE(host_->messageTexts().constLast(), u"ファイル名を指定してください。"_s);
    }
}

void TestFileCommands::clearEmptiesOnlyThePath()
{
    writeFile(file(u"top.html"_s), "<HTML></HTML>");
    host_->dialogPaths = {file(u"top.html"_s), file(u"out.html"_s)};
    click("Command2");
    click("Command4");
    textBox("Text1")->setReadOnly(true);  // clearing must not unlock
    textBox("Text1")->setText(u"t"_s);

    click("Command5");
    QVERIFY(label("Label1")->text().isEmpty());
    QVERIFY(textBox("Text1")->isReadOnly());
    QCOMPARE(textBox("Text1")->text(), u"t"_s);
    QCOMPARE(module_->loadedFileName, file(u"top.html"_s));
    click("Command5");
    QVERIFY(label("Label1")->text().isEmpty());
}

void TestFileCommands::loadAndLock_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("html");

    const QByteArray sjis("<HTML>\r\n\x82\xA0\r\n</HTML>\r\n");
    const QString decoded = u"<HTML>\r\nあ\r\n</HTML>\r\n"_s;
    QTest::newRow("top.html") << u"top.html"_s << sjis << decoded << u" 21"_s << true;
    QTest::newRow("top.htm") << u"top.htm"_s << sjis << decoded << u" 21"_s << true;
    QTest::newRow("TOP.HTML is case-sensitive")
        << u"TOP.HTML"_s << sjis << decoded << u" 21"_s << false;
    QTest::newRow("myhtml, no dot") << u"myhtml"_s << sjis << decoded << u" 21"_s << true;
    QTest::newRow("notes.txt") << u"notes.txt"_s << QByteArray("a\r\nb") << u"a\r\nb"_s << u" 4"_s
                               << false;
    QTest::newRow("LF-only file") << u"lf.txt"_s << QByteArray("a\nb\n") << u"a\r\nb\r\n"_s
                                  << u" 6"_s << false;
    QTest::newRow("UTF-8 file") << u"utf8.txt"_s << QByteArray("次へ ~\\") << u"次へ ~\\"_s
                                << u" 7"_s << false;
    QTest::newRow("UTF-8 with BOM")
        << u"bom.txt"_s << QByteArray("\xEF\xBB\xBFok") << u"ok"_s << u" 2"_s << false;
}

void TestFileCommands::loadAndLock()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, count);
    QFETCH(bool, html);

    host_->dialogPaths = {file(u"out.html"_s)};
    click("Command4");
    textBox("Text1")->setText(u"Menu"_s);
    textBox("Text2")->setText(u"sub101.html"_s);
    writeFile(file(name), bytes);
    host_->dialogPaths = {file(name)};
    click("Command2");

    QCOMPARE(host_->dialogs.constLast().shown.Filter, u"html|*.html|text|*.txt|All Files|*.*|"_s);
    QVERIFY(!host_->dialogs.constLast().save);
    QCOMPARE(window_->body(), text);
    QCOMPARE(label("Label4")->text(), count);
    QCOMPARE(module_->loadedFileName, file(name));
    QCOMPARE(label("Label1")->text(), html ? QString() : file(u"out.html"_s));
    QCOMPARE(textBox("Text1")->text(), html ? QString() : u"Menu"_s);
    QCOMPARE(textBox("Text2")->text(), html ? u"http://"_s : u"sub101.html"_s);
    QCOMPARE(textBox("Text1")->isReadOnly(), html);
    QCOMPARE(textBox("Text2")->isReadOnly(), html);
    QVERIFY(host_->messages.isEmpty());
}

void TestFileCommands::loadAfterHtmlKeepsLock()
{
    writeFile(file(u"top.html"_s), "<HTML></HTML>");
    writeFile(file(u"notes.txt"_s), "notes");
    host_->dialogPaths = {file(u"top.html"_s), file(u"notes.txt"_s)};
    click("Command2");
    click("Command2");

    QCOMPARE(window_->body(), u"notes"_s);
    QCOMPARE(module_->loadedFileName, file(u"notes.txt"_s));
    QVERIFY(textBox("Text1")->isReadOnly());
    QVERIFY(textBox("Text2")->isReadOnly());
}

void TestFileCommands::cancelledLoadKeepsEverything()
{
    writeFile(file(u"notes.txt"_s), "notes");
    host_->dialogPaths = {file(u"notes.txt"_s), std::nullopt};
    click("Command2");
    body()->setPlainText(u"edited"_s);
    click("Command2");

    QCOMPARE(module_->loadedFileName, file(u"notes.txt"_s));
    QCOMPARE(window_->body(), u"edited"_s);
    QVERIFY(host_->messages.isEmpty());
}

void TestFileCommands::failedLoadSaysSoAndKeepsEverything()
{
    writeFile(file(u"notes.txt"_s), "notes");
    QDir(dir_->path()).mkdir(u"folder.html"_s);
    host_->dialogPaths = {file(u"notes.txt"_s), file(u"missing.html"_s), file(u"folder.html"_s)};
    click("Command2");
    body()->setPlainText(u"edited"_s);
    textBox("Text1")->setText(u"Menu"_s);

    for (const QString& bad : {file(u"missing.html"_s), file(u"folder.html"_s)}) {
        host_->messages.clear();
        click("Command2");
        QCOMPARE(host_->messages.size(), 1);
        const QString message = host_->messages[0].text;
        QVERIFY2(message.startsWith(u"ファイルを読み込めませんでした。\n"_s + bad + u"\n\n"_s),
                 qPrintable(message));
        QVERIFY(message.size() > message.indexOf(u"\n\n"_s) + 2);  // a reason follows
        QCOMPARE(window_->body(), u"edited"_s);
        QCOMPARE(textBox("Text1")->text(), u"Menu"_s);
        QVERIFY(!textBox("Text1")->isReadOnly());
        QCOMPARE(module_->loadedFileName, file(u"notes.txt"_s));
    }
}

void TestFileCommands::saveWritesCp932WithCrLf()
{
    const QString path = file(u"body.txt"_s);
    writeFile(path, oldPageBytes);
    body()->setPlainText(u"あ\n～\\"_s);  // U+FF5E, the tilde input methods type
    host_->dialogPaths = {path};
    click("Command3");

    QCOMPARE(readAll(path), QByteArray("\x82\xA0\r\n\x81\x60\\"));
    QVERIFY(host_->messages.isEmpty());  // replaced without a question
    const CommonDialog& shown = host_->dialogs.constLast().shown;
    QVERIFY(host_->dialogs.constLast().save);
    QCOMPARE(shown.DefaultExt, u"html"_s);
    QCOMPARE(shown.Filter, u"html|*.html|text|*.txt|All Files|*.*|"_s);
    QVERIFY(shown.CancelError);
}

void TestFileCommands::lossySaveAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("Yes writes ? for each") << int(MsgAnswer::Yes) << QByteArray("a??");
    QTest::newRow("No writes nothing") << int(MsgAnswer::No) << oldPageBytes;
}

void TestFileCommands::lossySaveAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, result);

    const QString path = file(u"body.txt"_s);
    writeFile(path, oldPageBytes);
    body()->setPlainText(u"a😀한"_s);
    host_->dialogPaths = {path};
    host_->answers = {answer};
    click("Command3");

    QCOMPARE(host_->messages.size(), 1);
    QVERIFY2(host_->messages[0].text.contains(u" 2 文字"_s), qPrintable(host_->messages[0].text));
    QCOMPARE(host_->messages[0].style, MsgStyle::YesNoExclamation);
    QCOMPARE(readAll(path), result);
}

void TestFileCommands::dialogPropertiesPersist()
{
    const QString output = file(u"out.html"_s);
    host_->dialogPaths = {output, std::nullopt, file(u"b.html"_s), std::nullopt, std::nullopt};
    click("Command4");
    click("Command2");  // proposes the output file's name
    QCOMPARE(host_->dialogs[1].shown.FileName, output);
    QVERIFY(host_->dialogs[1].shown.DefaultExt.isEmpty());

    click("Command3");
    click("Command4");  // the save command's default extension stays in force
    QCOMPARE(host_->dialogs[3].shown.DefaultExt, u"html"_s);
    QCOMPARE(host_->dialogs[3].shown.FileName, u"sub100.html"_s);
    click("Command2");
    QCOMPARE(host_->dialogs[4].shown.DefaultExt, u"html"_s);
    QCOMPARE(host_->dialogs[4].shown.FileName, u"sub100.html"_s);
    QCOMPARE(window_->fileDialog().Filter, u"html|*.html|text|*.txt|All Files|*.*|"_s);
}

void TestFileCommands::realDialogsEndToEnd()
{
    window_.reset();
    QtHostUi qtHost;
    Module1 module;
    main1 window(qtHost, module);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QString path = file(u"real page.html"_s);

    QString problem;
    QStringList filters;
    QString proposed;
    QTimer::singleShot(0, [&] {
        auto* dialog = activeModal<QFileDialog>(problem);
        // The type list as the user sees it: Qt's own dialog names it so,
        // in every language.
        auto* types = dialog ? dialog->findChild<QComboBox*>(u"fileTypeCombo"_s) : nullptr;
        if (!types) {
            problem += u" (no type list)"_s;
            if (dialog)
                dialog->reject();
            return;
        }
        for (int i = 0; i < types->count(); ++i) filters.append(types->itemText(i));
        proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->selectFile(path);  // typed over the proposal, then Enter
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command4"_s), Qt::LeftButton);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(filters, (QStringList{u"htmlﾌｧｲﾙ"_s, u"All Files"_s}));  // captions alone
    QCOMPARE(proposed, u"sub100.html"_s);
    QCOMPARE(window.outputPath(), path);

    QString confirmation;
    QTimer::singleShot(0, [&] {
        if (auto* box = activeModal<QMessageBox>(problem)) {
            confirmation = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(confirmation, u"作成しました。"_s);
    QCOMPARE(readAll(path).size(), 121);  // the initial title, an empty body, no link

#ifdef QUILLET_BROWSER
    // The browser module, loaded by name on the first preview as in the
    // program, with no OpenGL here.
    prepareEmbeddedBrowser();  // read when the engine starts
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command6"_s), Qt::LeftButton);
    auto* pane = window.findChild<QWidget*>(u"WebEngineView"_s);
    QVERIFY2(pane, "the browser module did not load");
    QSignalSpy loaded(pane, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded.wait(30000));
    QVERIFY(loaded.constFirst().constFirst().toBool());
#endif
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
