#include "DesktopKeys.h"
#include "ModalDialogs.h"
#include "QtHostUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include <functional>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
};

SeenBox look(const QMessageBox& box)
{
    return {box.windowTitle(),
            box.text(),
            box.standardButtons(),
            box.icon(),
            box.standardButton(box.defaultButton()),
            box.textFormat()};
}

}  // namespace

class TestQtHostUi : public QObject {
    Q_OBJECT

private slots:
    void messageBox_data();
    void messageBox();
    void dialogFilters_data();
    void dialogFilters();
    void proposalInAMissingFolderStaysThatPath();
    void keysGoToTheirTarget();
    void shiftF10OpensTheMenuAtTheCaret();
    void ctrlTabLeavesMultiLineText();
    void standaloneBrowserIsTheDefaultBrowser();
};

void TestQtHostUi::messageBox_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("press");  // a button, or 0 for Escape
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("answer");

    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("OK box, application title")
        << 0 << QString() << int(QMessageBox::Ok) << u"Quillet"_s << int(QMessageBox::Ok)
        << int(QMessageBox::NoIcon) << MsgAnswer::Ok;
    QTest::newRow("Yes/No answered Yes")
        << 52 << u"ファイル上書き確認"_s << int(QMessageBox::Yes) << u"ファイル上書き確認"_s
        << yesNo << int(QMessageBox::Warning) << MsgAnswer::Yes;
    QTest::newRow("Yes/No answered No") << 52 << u"t"_s << int(QMessageBox::No) << u"t"_s << yesNo
                                        << int(QMessageBox::Warning) << MsgAnswer::No;
    QTest::newRow("Escape answers No")
        << 52 << u"t"_s << 0 << u"t"_s << yesNo << int(QMessageBox::Warning) << MsgAnswer::No;
}

void TestQtHostUi::messageBox()
{
    QFETCH(int, style);
    QFETCH(QString, title);
    QFETCH(int, press);
    QFETCH(QString, shownTitle);
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(int, answer);

    QtHostUi host;
    const QString text = u"\n/tmp/<a&b>.html のファイルに上書きしますか？\n"_s;
    SeenBox seen;
    QString problem;
    // Runs once msgBox has opened its box and waits in its event loop.
    QTimer::singleShot(0, [&] {
        auto* box = activeModal<QMessageBox>(problem);
        if (!box)
            return;
        seen = look(*box);
        if (press)
            box->button(QMessageBox::StandardButton(press))->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    const int got = host.msgBox(text, style, title);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    QCOMPARE(got, answer);
    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(int(seen.buttons), buttons);
    QCOMPARE(int(seen.icon), icon);
    if (style == MsgStyle::YesNoExclamation)
        QCOMPARE(seen.defaultButton, QMessageBox::Yes);
}

void TestQtHostUi::dialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("body files") << u"html|*.html|text|*.txt|All Files|*.*|"_s
                                << QStringList{u"html (*.html)"_s, u"text (*.txt)"_s,
                                               u"All Files (*)"_s};
    QTest::newRow("output file") << u"htmlﾌｧｲﾙ|*.html|All Files|*.*|"_s
                                 << QStringList{u"htmlﾌｧｲﾙ (*.html)"_s, u"All Files (*)"_s};
    QTest::newRow("no trailing bar") << u"text|*.txt"_s << QStringList{u"text (*.txt)"_s};
    QTest::newRow("none") << QString() << QStringList();
}

void TestQtHostUi::dialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(nameFiltersFromDialogFilter(filter), nameFilters);
}

// A path typed into a folder that does not exist yet is proposed again as
// that path: taken as proposed, it is the same path, wherever the dialog
// opens.
void TestQtHostUi::proposalInAMissingFolderStaysThatPath()
{
    QTemporaryDir dir;
    CommonDialog properties;
    properties.FileName = QDir::toNativeSeparators(dir.filePath(u"missing/deeper/sub100.html"_s));
    const QString proposed = properties.FileName;
    QString problem;
    QTimer::singleShot(0, [&problem] {
        if (auto* dialog = activeModal<QFileDialog>(problem))
            QMetaObject::invokeMethod(dialog, "accept");  // as Enter does
    });
    QVERIFY(QtHostUi().showSave(properties));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(properties.FileName, proposed);
}

void TestQtHostUi::keysGoToTheirTarget()
{
    // The body may not hold the focus (an inactive window): the keys must
    // still land in it, and nowhere else.
    QWidget window;
    auto* body = new QPlainTextEdit(u"ab"_s, &window);
    auto* elsewhere = new QLineEdit(&window);
    window.show();
    elsewhere->setFocus();
    body->moveCursor(QTextCursor::End);

    QtHostUi().sendKeys(body, u"<br>あ😀b"_s);  // what has no key is committed whole
    QCOMPARE(body->toPlainText(), u"ab<br>あ😀b"_s);
    QVERIFY(elsewhere->text().isEmpty());
}

// Where the Menu key would open it: at the caret of a text, else the centre.
void TestQtHostUi::shiftF10OpensTheMenuAtTheCaret()
{
    const DesktopKeys keys(QCoreApplication::instance());
    QWidget window;
    auto* line = new QLineEdit(u"abc"_s, &window);
    auto* plain = new QWidget(&window);
    plain->setGeometry(0, 40, 100, 60);
    window.show();
    for (QWidget* widget : {static_cast<QWidget*>(line), plain}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        QSignalSpy menu(widget, &QWidget::customContextMenuRequested);
        QTest::keyClick(widget, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(menu.size(), 1);
        // A widget without text gives its centre as its caret.
        QCOMPARE(menu.constFirst().constFirst().toPoint(),
                 widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().center());
    }
    QSignalSpy unaffected(line, &QWidget::customContextMenuRequested);
    QTest::keyClick(line, Qt::Key_F10);  // F10 alone is the menu bar's
    QCOMPARE(unaffected.size(), 0);
}

// Tab is typed into a multi-line text; Ctrl+Tab and Ctrl+Shift+Tab leave it.
void TestQtHostUi::ctrlTabLeavesMultiLineText()
{
    const DesktopKeys keys(QCoreApplication::instance());
    QWidget window;
    QWidget* const before = new QLineEdit(&window);
    auto* const plain = new QPlainTextEdit(&window);
    auto* const rich = new QTextEdit(&window);
    QWidget* const after = new QLineEdit(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const struct {
        QWidget* edit;
        std::function<QString()> text;
        QWidget* previous;
        QWidget* next;
    } fields[] = {{plain, [plain] { return plain->toPlainText(); }, before, rich},
                  {rich, [rich] { return rich->toPlainText(); }, plain, after}};
    for (const auto& field : fields) {
        field.edit->setFocus();
        QTest::keyClick(field.edit, Qt::Key_Tab);
        QCOMPARE(field.text(), u"\t"_s);
        QTest::keyClick(field.edit, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), field.next);
        field.edit->setFocus();
        QTest::keyClick(field.edit, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), field.previous);
        QCOMPARE(field.text(), u"\t"_s);
    }
}

namespace {

void writeText(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

}  // namespace

void TestQtHostUi::standaloneBrowserIsTheDefaultBrowser()
{
    // A desktop whose default browser writes down what it was started with.
    QTemporaryDir home;
    const QString browser = home.filePath(u"browser"_s);
    const QString opened = home.filePath(u"opened"_s);
    writeText(browser,
              u"#!/bin/sh\nprintf '%s\\n' \"$1\" \"${QTWEBENGINE_DISABLE_SANDBOX-unset}\" > \""_s +
                  opened + u".new\" && mv \""_s + opened + u".new\" \""_s + opened + u"\"\n"_s);
    QFile::setPermissions(browser, QFile::permissions(browser) | QFileDevice::ExeOwner);
    QVERIFY(QDir(home.path()).mkpath(u"data/applications"_s));
    writeText(home.filePath(u"data/applications/test-browser.desktop"_s),
              u"[Desktop Entry]\nType=Application\nName=Test browser\nExec="_s + browser +
                  u" %u\nMimeType=x-scheme-handler/https;\n"_s);
    QVERIFY(QDir(home.path()).mkpath(u"config"_s));
    writeText(home.filePath(u"config/mimeapps.list"_s),
              u"[Default Applications]\nx-scheme-handler/https=test-browser.desktop\n"_s);
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(u"data"_s)));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"config"_s)));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(home.filePath(u"none"_s)));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.filePath(u"none"_s)));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");  // as when running as root

    // Not written yet, and with a space: the browser shows its error page.
    const QString page = home.filePath(u"sub 100.html"_s);
    QVERIFY(QtHostUi().openInStandaloneBrowser(page).ok());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(opened), 10000);
    QFile result(opened);
    QVERIFY(result.open(QIODevice::ReadOnly));
    const QStringList got = QString::fromLocal8Bit(result.readAll()).split(u'\n');
    // GIO hands a local file:// address over as its path, which every
    // browser takes.
    QCOMPARE(QUrl::fromUserInput(got.value(0)), QUrl::fromLocalFile(page));
    QCOMPARE(got.value(1), u"unset"_s);
}

QTEST_MAIN(TestQtHostUi)
#include "tst_qthostui.moc"
