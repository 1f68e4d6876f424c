#include "Form1.h"

#include "Twips.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

QString helpCredits()
{
    const QStringList lines{
        u"Quillet　（ｉ－ｍｏｄｅ用ＨＰ作成ツール）"_s,
        u"作者：Pelloma"_s,
        u"ＨＰ："_s + u"https://www.example.com/quillet/"_s,
        u"メール："_s + u"pelloma@example.com"_s,
        QString(),
        u"雑誌掲載時は、作者への掲載誌送付が必要です。"_s,
    };
    QString text;
    for (const QString& line : lines) text += line + u"\r\n"_s;
    return text;
}

Form1::Form1(const QPixmap& helpPicture)
{
    setAttribute(Qt::WA_DeleteOnClose);  // closing unloads it, whoever asks
    setWindowTitle(u"ＨＥＬＰ"_s);
    resize(twipsToPixels(7785), twipsToPixels(8640));
    setFont(dialogFont(font()));

    // Children are created in tab order; no layout, so nothing moves on resize.
    Command1 = new QPushButton(u"終　了"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setGeometry(twipsRect(6840, 8160, 855, 420));
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(u"Text1"_s);
    Text1->setGeometry(twipsRect(120, 7320, 4815, 1215));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(u"Picture1"_s);
    Picture1->setGeometry(twipsRect(120, 120, 7560, 7170));
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(helpPicture);

    Text1->setAccessibleName(u"作者と連絡先"_s);
    Picture1->setAccessibleName(u"使い方の図"_s);
    Picture1->setAccessibleDescription(u"編集画面の各部と作業の順番を示す図"_s);

    Form_Load();
    Command1->setFocus();
}

void Form1::Form_Load()
{
    QString text = helpCredits();
    text.replace(u"\r\n"_s, u"\n"_s);  // the editor control keeps lines, not CR LF pairs
    Text1->setPlainText(text);
}

void Form1::Command1_Click()
{
    close();
}

}  // namespace quillet
