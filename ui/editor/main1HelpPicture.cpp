// The help window's picture: this window itself, filled in with a sample
// page and annotated with the work steps, so it always matches the window
// it explains.
#include "main1.h"

#include "BodyEditor.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize pictureSize(500, 474);
constexpr QPoint clientOrigin(8, 24);  // where the window's client area is drawn
constexpr int titleBarHeight = 18;
constexpr int noteLeft = 310;
constexpr int noteWidth = 184;

struct Callout {
    QRect target;   // in client coordinates
    QString badge;  // the step number, or "" for a note beside the steps
    QColor colour;
    QString text;
};

void drawWindowFrame(QPainter& painter, const QPixmap& client, const QString& title)
{
    const QRect frame(clientOrigin.x() - 2, clientOrigin.y() - titleBarHeight - 2,
                      client.width() + 4, client.height() + titleBarHeight + 4);
    painter.fillRect(frame, QColor(0xd4, 0xd0, 0xc8));
    QLinearGradient bar(frame.topLeft(), frame.topRight());
    bar.setColorAt(0, QColor(0x0a, 0x24, 0x6a));
    bar.setColorAt(1, QColor(0x3a, 0x6e, 0xa5));
    const QRect titleRect(clientOrigin.x(), frame.top() + 2, client.width(), titleBarHeight - 2);
    painter.fillRect(titleRect, bar);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(titleRect.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.drawPixmap(clientOrigin, client);
}

QRect noteTextBounds(const QFontMetrics& metrics, const QString& text)
{
    return metrics.boundingRect(QRect(0, 0, noteWidth - 10, 1000), Qt::TextWordWrap, text);
}

void drawBadge(QPainter& painter, const QPointF& at, const Callout& callout)
{
    const qreal radius = callout.badge.isEmpty() ? 3.5 : 8;
    painter.setPen(Qt::NoPen);
    painter.setBrush(callout.colour);
    painter.drawEllipse(at, radius, radius);
    if (callout.badge.isEmpty())
        return;
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius),
                     Qt::AlignCenter, callout.badge);
    painter.restore();
}

// Notes down the right side, spread over the picture's height, each joined
// by a line to the control it explains.
void drawCallouts(QPainter& painter, const QList<Callout>& callouts)
{
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(false);
    painter.setFont(font);
    const QFontMetrics metrics(font);

    int notesHeight = 0;
    for (const Callout& callout : callouts)
        notesHeight += noteTextBounds(metrics, callout.text).height() + 8;
    const int gap =
        qMax(2, (pictureSize.height() - 8 - notesHeight) / qMax(1, int(callouts.size()) - 1));

    painter.setRenderHint(QPainter::Antialiasing);
    int top = 4;
    for (const Callout& callout : callouts) {
        const QRect note(noteLeft, top, noteWidth,
                         noteTextBounds(metrics, callout.text).height() + 8);
        top = note.bottom() + 1 + gap;
        const QRect target = callout.target.translated(clientOrigin);
        const QPointF anchor(target.right() - 2, target.center().y());

        painter.setPen(QPen(callout.colour, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(target).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.drawLine(anchor, QPointF(note.left(), note.center().y()));
        painter.setBrush(QColor(255, 255, 255, 235));
        painter.drawRoundedRect(note, 4, 4);
        painter.setPen(Qt::black);
        painter.drawText(note.adjusted(5, 4, -5, -4), Qt::TextWordWrap, callout.text);
        drawBadge(painter, anchor, callout);
    }
}

}  // namespace

QPixmap main1::renderHelpPicture(HostUi& host)
{
    Module1 sampleState;  // its own: the sample loads nothing
    main1 sample(host, sampleState);
    sample.setAttribute(Qt::WA_DontShowOnScreen);
    sample.setOutputPath(QDir::toNativeSeparators(QDir::home().filePath(u"imode/sub100.html"_s)));
    sample.Text1->setText(u"お店のご案内"_s);
    sample.rtext1->setText(u"営業時間は10時から19時です。<br>\r\n定休日は水曜日です。"_s);
    sample.Text2->setText(u"sub101.html"_s);
    const QPixmap client = sample.grab();

    const QColor step(0xd3, 0x2f, 0x2f);
    const QColor note(0x1e, 0x88, 0xe5);
    // In the order of the notes down the right side, so no lines cross.
    const QList<Callout> callouts{
        {sample.Command4->geometry(), u"1"_s, step, u"① ファイル名を決めます。"_s},
        {sample.Text1->geometry(), u"2"_s, step,
         u"② タイトルを入れます。ブックマークに表示される名前です。"_s},
        {sample.Command6->geometry(), u"4"_s, step,
         u"④ 押すと出来上がりを確かめられます。思い通りでなければ③に戻って書き直します。"_s},
        {sample.rtext1->geometry(), u"3"_s, step,
         u"③ 本文を書きます。改行したい所では、下の「ｶｰｿﾙ位置に強制改行挿入」を押します。"_s},
        {sample.Command2->geometry().united(sample.Command3->geometry()), QString(), note,
         u"本文は外部ファイルから読込・書込ができます。ツールを閉じた後で直すときは、"
         u"ファイル名を指定せずに「読込→表示→書込」の順で使います。"_s},
        {sample.Label4->geometry(), QString(), note,
         u"本文のバイト数です。普通は2000以内に収めます。"_s},
        {sample.Text2->geometry(), QString(), note,
         u"アドレスを入れると、ページの最下部に「次へ」ボタンが付きます。"_s},
        {sample.Command1->geometry(), u"5"_s, step,
         u"⑤ 上で決めたファイル名でHTMLファイルを作成します。"_s},
    };

    QPixmap picture(pictureSize);
    picture.fill(QColor(0xfa, 0xf8, 0xf0));
    QPainter painter(&picture);
    drawWindowFrame(painter, client, sample.windowTitle());
    drawCallouts(painter, callouts);
    return picture;
}

}  // namespace quillet
