#include "Accessibility.h"
#include "Form1.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void creditsAreSixLines();
    void windowLayout();
    void closeButtonAndCloseBoxUnload_data();
    void closeButtonAndCloseBoxUnload();
};

void TestHelp::creditsAreSixLines()
{
    const QString credits = helpCredits();
    QVERIFY(credits.endsWith(u"\r\n"_s));
    const QStringList lines = credits.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 7);  // six lines, each ended by CR LF
    QCOMPARE(lines[0], u"Quillet　（ｉ－ｍｏｄｅ用ＨＰ作成ツール）"_s);
    QCOMPARE(lines[1], u"作者：Pelloma"_s);
    QVERIFY(lines[2].startsWith(u"ＨＰ：https://"_s));
    QVERIFY(lines[3].startsWith(u"メール："_s) && lines[3].endsWith(u"@example.com"_s));
    QVERIFY(lines[4].isEmpty());
    QCOMPARE(lines[5], u"雑誌掲載時は、作者への掲載誌送付が必要です。"_s);
    QVERIFY(credits.contains(u"@example.com\r\n\r\n雑誌"_s));
}

void TestHelp::windowLayout()
{
    QPixmap picture(500, 474);
    picture.fill(Qt::yellow);
    auto* help = new Form1(picture);
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));

    QCOMPARE(help->windowTitle(), u"ＨＥＬＰ"_s);
    QCOMPARE(help->size(), QSize(519, 576));
    auto* close = help->findChild<QPushButton*>(u"Command1"_s);
    QCOMPARE(close->text(), u"終　了"_s);
    QCOMPARE(close->geometry(), QRect(456, 544, 57, 28));
    QCOMPARE(help->focusWidget(), close);
    auto* credits = help->findChild<QPlainTextEdit*>(u"Text1"_s);
    QCOMPARE(credits->geometry(), QRect(8, 488, 321, 81));
    QVERIFY(!credits->isReadOnly());
    QCOMPARE(credits->toPlainText().split(u'\n').size(), 7);
    auto* frame = help->findChild<QLabel*>(u"Picture1"_s);
    QCOMPARE(frame->geometry(), QRect(8, 8, 504, 478));
    QCOMPARE(frame->contentsRect().size(), picture.size());  // the picture plus its border
    QCOMPARE(namelessControls(help), QStringList());
    help->close();
}

void TestHelp::closeButtonAndCloseBoxUnload_data()
{
    QTest::addColumn<bool>("button");
    QTest::newRow("終　了") << true;
    QTest::newRow("close box") << false;
}

void TestHelp::closeButtonAndCloseBoxUnload()
{
    QFETCH(bool, button);
    QPointer<Form1> help = new Form1(QPixmap());
    help->show();
    help->findChild<QPlainTextEdit*>(u"Text1"_s)->appendPlainText(u"typed"_s);
    if (button)
        QTest::mouseClick(help->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    else
        help->close();
    QTRY_VERIFY(help.isNull());

    Form1 again{QPixmap()};  // a new load composes the text afresh
    QVERIFY(!again.findChild<QPlainTextEdit*>(u"Text1"_s)->toPlainText().contains(u"typed"_s));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
