#include "main1.h"

#include "BodyEditor.h"
#include "ByteCounter.h"
#include "CodePage.h"
#include "Form1.h"
#include "HandsetDecorator.h"
#include "HandsetMarks.h"
#include "HandsetPage.h"
#include "JapaneseFaces.h"
#include "PageSize.h"
#include "PictogramPalette.h"
#include "TextBox.h"
#include "Twips.h"
#include "WindowAccessibles.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString versionCaption = u"ver "_s + u"1.06"_s;

// Whether `text`, centred in `label`, shows whole inside a parent whose
// client area is `clientWidth` wide: a label may reach past the edge.
bool centredTextShows(const QLabel& label, const QString& text, int clientWidth)
{
    const int shown = std::min(label.geometry().right() + 1, clientWidth) - label.x();
    const qreal room = label.width() - 2.0 * (label.width() - shown);  // the centre stays put
    return QFontMetricsF(label.font()).horizontalAdvance(text) <= room;
}

template <typename Control>
Control* place(QWidget* parent, const QString& name, const QRect& rect)
{
    auto* control = new Control(parent);  // owned by its parent
    control->setObjectName(name);
    control->setGeometry(rect);
    return control;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& rect)
{
    auto* control = place<QPushButton>(parent, name, rect);
    control->setText(caption);
    return control;
}

// Labels never read markup: a path or caption shows exactly as it is.
QLabel* label(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto* control = place<QLabel>(parent, name, rect);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(alignment);
    control->setText(caption);
    return control;
}

// Opaque in the window-background colour, as an edit box is.
void fillWithWindowBackground(QWidget* control)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void flatBorder(QLabel* control)
{
    control->setFrameShape(QFrame::Box);
    control->setLineWidth(1);
}

}  // namespace

main1::main1(HostUi& host, Module1& module, QWidget* parent)
    : QWidget(parent), host_(host), module_(module), writer_(*this, host)
{
    setWindowTitle(u"Quillet (i-mode用SUB･HP作成ﾂｰﾙ)"_s);
    resize(twipsToPixels(4395), twipsToPixels(6705));
    setFont(dialogFont(font()));
    installWindowAccessibles();
    createControls();
    describeForScreenReaders();
    connectEvents();
    Form_Load();
    chooseHandset(Series::S501i);  // at every start: nothing is kept between runs
    rtext1_Change();               // the count shows " 0" from the start
    Command1->setFocus();
}

// The focus watch reads the pane, which goes before this object does.
main1::~main1()
{
    disconnect(qApp, nullptr, this, nullptr);
}

// Created in tab order, so the focus chain is the creation order. No layout:
// every control keeps its place when the window is resized.
void main1::createControls()
{
    Command1 = button(this, u"Command1"_s, u"ＨＰ作成"_s, twipsRect(3360, 6240, 975, 375));

    rtext1 = place<BodyEditor>(this, u"rtext1"_s, twipsRect(120, 1680, 1815, 3375));
    handsetMarks_ = new HandsetDecorator(rtext1);  // owned by the body
    const QStringList installedFamilies = QFontDatabase::families();
    rtext1->setTextFont(japaneseFont(minchoFamily(installedFamilies), 9));

    Command2 =
        button(this, u"Command2"_s, u"テキストファイル読込"_s, twipsRect(2040, 4320, 2295, 375));
    Command3 =
        button(this, u"Command3"_s, u"テキストファイル書込"_s, twipsRect(2040, 4800, 2295, 375));
    Command4 = button(this, u"Command4"_s, u"作成ファイル名指定"_s, twipsRect(120, 120, 2055, 255));

    Label1 = label(this, u"Label1"_s, QString(), twipsRect(120, 480, 4215, 495));
    Label1->setWordWrap(true);
    flatBorder(Label1);
    fillWithWindowBackground(Label1);

    Command5 = button(this, u"Command5"_s, u"クリア"_s, twipsRect(2280, 120, 735, 255));

    auto* title = place<TextBox>(this, u"Text1"_s, twipsRect(120, 1080, 2175, 375));
    title->setOffersPictograms(true);
    Text1 = title;
    Text1->setText(u"ここにタイトル"_s);
    Text1->setAlignment(Qt::AlignCenter);
    Text2 = place<TextBox>(this, u"Text2"_s, twipsRect(120, 5880, 4215, 270));
    Text2->setText(defaultNextLink);

    const QString gothic = pGothicFamily(installedFamilies);
    Label2 = label(this, u"Label2"_s, u"次へボタンを最下部に追加可能。(ここに URL 記入)"_s,
                   twipsRect(0, 5640, 4455, 255), Qt::AlignHCenter | Qt::AlignTop);
    Label2->setFont(japaneseFont(gothic, 9.75));
    Label3 = label(this, u"Label3"_s, QString(), twipsRect(3600, 120, 855, 255),
                   Qt::AlignHCenter | Qt::AlignTop);
    // It reaches past the window's right edge: a face wider than the
    // layout's (the C locale's DejaVu Sans) lost the last pixels of
    // "ver 1.06" there. Then it too takes the Gothic.
    if (!centredTextShows(*Label3, versionCaption, width()))
        Label3->setFont(japaneseFont(gothic, font().pointSizeF()));

    Picture1 = label(this, u"Picture1"_s, QString(), twipsRect(3120, 120, 480, 180));
    flatBorder(Picture1);
    fillWithWindowBackground(Picture1);
    Picture1->setPixmap(QPixmap(u":/help-link.png"_s));

    Label4 = label(this, u"Label4"_s, QString(), twipsRect(3360, 5235, 615, 255),
                   Qt::AlignHCenter | Qt::AlignTop);
    flatBorder(Label4);
    Label5 = label(this, u"Label5"_s, u"バイト数＝"_s, twipsRect(2520, 5280, 855, 255));

    Frame1 = place<QGroupBox>(this, u"Frame1"_s, twipsRect(2040, 1560, 2295, 2415));
    Frame1->setTitle(u"ページ表示(参考)"_s);
    WebBrowser1 = place<QWidget>(Frame1, u"WebBrowser1"_s, twipsRect(120, 240, 2055, 2055));
    fillWithWindowBackground(WebBrowser1);
    WebBrowser1->setFocusPolicy(Qt::StrongFocus);  // its menu, by the Menu key, before any page

    Command6 = button(this, u"Command6"_s, u"表　示"_s, twipsRect(2400, 1080, 735, 375));
    Label8 = label(this, u"Label8"_s, u"横桁数は漢字８字が普通"_s, twipsRect(2040, 4080, 2295, 255),
                   Qt::AlignHCenter | Qt::AlignTop);
    Command7 =
        button(this, u"Command7"_s, u"ｶｰｿﾙ位置に強制改行挿入"_s, twipsRect(0, 5160, 2415, 375));
    Label6 = label(this, u"Label6"_s, u"姉妹品 Tessaline で TOPﾍﾟｰｼﾞを作成しよう"_s,
                   twipsRect(0, 6360, 3375, 255));
    Label6->setFont(japaneseFont(gothic, 8.25));
}

// Buttons and fixed labels are read by their captions. The boxes are named
// by their role; the labels that show a value are read by that value, with
// their role as the description.
void main1::describeForScreenReaders()
{
    rtext1->setAccessibleName(u"本文"_s);
    Text1->setAccessibleName(u"タイトル"_s);
    Text2->setAccessibleName(u"次のページのアドレス"_s);
    Label1->setAccessibleDescription(u"作成ファイル名"_s);
    Label4->setAccessibleDescription(u"本文のバイト数"_s);
    Picture1->setAccessibleName(u"help"_s);
    Picture1->setAccessibleDescription(u"ヘルプ画面を開きます（F1）"_s);
    WebBrowser1->setAccessibleName(Frame1->title());
    setOutputPath(QString());
}

void main1::setOutputPath(const QString& path)
{
    Label1->setText(path);
    Label1->setAccessibleName(path.isEmpty() ? u"作成ファイル名は未指定"_s : path);
}

void main1::connectEvents()
{
    connect(Command1, &QPushButton::clicked, this, &main1::Command1_Click);
    connect(rtext1, &QPlainTextEdit::textChanged, this, &main1::rtext1_Change);
    connect(Command2, &QPushButton::clicked, this, &main1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &main1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &main1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &main1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &main1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &main1::Command7_Click);
    // The page's size is the title's and the link's too.
    connect(Text1, &QLineEdit::textChanged, this, [this] { showPageSize(body()); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { showPageSize(body()); });
    connect(rtext1, &BodyEditor::pictogramsWanted, this, [this] { showPictograms(rtext1); });
    connect(rtext1, &BodyEditor::chainWanted, this, &main1::mnuSplitPages_Click);
    connect(static_cast<TextBox*>(Text1), &TextBox::pictogramsWanted, this,
            [this] { showPictograms(Text1); });
    // The desktop's help key, wherever the focus is in this window.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &main1::Picture1_MouseUp);  // the shortcut is owned by the window
    Label1->installEventFilter(this);
    Label4->installEventFilter(this);
    Picture1->installEventFilter(this);
    WebBrowser1->installEventFilter(this);
    Frame1->installEventFilter(this);  // the pane's focus frame, in the margin around it
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (inPane(old) != inPane(now))
            Frame1->update();
    });
}

bool main1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonDblClick)
        Label1_DblClick();
    else if (watched == Picture1 && event->type() == QEvent::MouseButtonRelease)
        Picture1_MouseUp();  // any button
    else if (watched == Label4 && event->type() == QEvent::ToolTip)
        Label4->setToolTip(pageReport());
    else if (watched == WebBrowser1 && event->type() == QEvent::ContextMenu)
        showPaneMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
    else if (watched == Frame1 && event->type() == QEvent::Paint &&
             inPane(QApplication::focusWidget()))
        drawPaneFocus();
    return QWidget::eventFilter(watched, event);
}

bool main1::inPane(const QWidget* widget) const
{
    return widget && (widget == WebBrowser1 || WebBrowser1->isAncestorOf(widget));
}

// Drawn before the group box's own painting, which leaves that margin alone.
void main1::drawPaneFocus()
{
    QStyleOptionFocusRect option;
    option.initFrom(Frame1);  // the style shows it only after a focus change by keyboard
    option.state |= QStyle::State_HasFocus;
    option.rect = WebBrowser1->geometry().adjusted(-3, -3, 3, 3);
    QPainter painter(Frame1);
    Frame1->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, Frame1);
}

void main1::Form_Load()
{
    Label3->setText(versionCaption);
}

QString main1::outputPath() const
{
    return Label1->text();
}
QString main1::title() const
{
    return Text1->text();
}
QString main1::body() const
{
    return rtext1->Text();
}
QString main1::nextLink() const
{
    return Text2->text();
}
void main1::setNextLink(const QString& address)
{
    Text2->setText(address);
}

void main1::Command1_Click()
{
    writer_.Command1_Click();
}

void main1::rtext1_Change()
{
    const QString text = rtext1->Text();
    Label4->setText(byteCountCaption(text));
    showPageSize(text);
}

// Only shown: the count keeps its own rule. The exact size takes encoding
// the whole page, so it is worked out when it is read, as a tooltip or by a
// screen reader, and the colour only encodes when the page is near the limit.
void main1::showPageSize(const QString& body)
{
    const bool tooLarge = pageTooLargeFor(series_, title(), body, nextLink());
    if (tooLarge != pageTooLarge_) {
        pageTooLarge_ = tooLarge;
        QPalette red;
        red.setColor(QPalette::WindowText, Qt::red);
        Label4->setPalette(tooLarge ? red : QPalette());  // back to the window's own
    }
}

QString main1::pageReport() const
{
    const QString page = subPageText(title(), body(), nextLink());
    const qsizetype bytes = toCp932(page).size();
    // Read from the disk only when asked: the pictures next to the page.
    const QString folder =
        outputPath().isEmpty() ? QString() : QFileInfo(outputPath()).absolutePath();
    const qsizetype pictures = pictureBytes(page, folder);
    return pageSizeText(bytes, series_, pictures) + u'\n' +
           oldestHandsetText(oldestHandset(page, bytes + pictures));
}

// Display only: the page, its files and its count stay as they are. The
// pane shows the page it showed on the new screen, from its file as it
// stands, without writing it again.
void main1::chooseHandset(Series series)
{
    series_ = series;
    handsetMarks_->setSeries(series);
    showPageSize(body());
    WebBrowser1->setAccessibleDescription(u"端末: "_s + seriesMenuText(series) +
                                          u"。メニューで端末を選べます。"_s);
    if (shown_)
        showPage(shown_->path, shown_->origin);
}

void main1::showPaneMenu(const QPoint& globalPos)
{
    QMenu menu;
    QMenu* handsets = menu.addMenu(u"端末"_s);
    auto* choice = new QActionGroup(&menu);  // owned by the menu
    for (const Series series : allSeries) {
        QAction* action = handsets->addAction(seriesMenuText(series));
        action->setCheckable(true);
        action->setChecked(series == series_);
        action->setActionGroup(choice);
        connect(action, &QAction::triggered, this, [this, series] { chooseHandset(series); });
    }
    menu.exec(globalPos);
}

void main1::showPictograms(QWidget* box)
{
    if (!palette_) {
        palette_ = new PictogramPalette(this);
        connect(palette_, &PictogramPalette::chosen, this, &main1::insertPictogram);
    }
    pictogramBox_ = box;
    host_.showWindow(palette_);
}

// At the caret, as typing would put it: the change notification runs and
// undo takes it back. The title may have been locked since the palette
// opened.
void main1::insertPictogram(const QString& text)
{
    if (pictogramBox_ == rtext1)
        rtext1->insertPlainText(text);
    else if (pictogramBox_ == Text1 && !Text1->isReadOnly())
        Text1->insert(text);
}

void main1::Picture1_MouseUp()
{
    if (!help_)
        help_ = new Form1(renderHelpPicture(host_));  // deletes itself when closed
    host_.showWindow(help_);
}

void main1::Command7_Click()
{
    // The click took the focus; the tag goes where the user left the caret.
    // The keys go to the body itself: the focus may not follow when the
    // window is not active (a screen reader pressing the button, say).
    rtext1->setFocus();
    host_.sendKeys(rtext1, u"<br>"_s);
}

}  // namespace quillet
