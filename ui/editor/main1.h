#pragma once

#include "Handsets.h"
#include "HostUi.h"
#include "Module1.h"
#include "SubPage.h"
#include "SubPageWriter.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillet {

class BodyEditor;
class Form1;
class HandsetDecorator;
class PictogramPalette;

// The editor window: every field of the page being made lives in its
// controls, and each control event runs one command to its end.
class main1 final : public QWidget, public SubPageSource {
    Q_OBJECT

public:
    main1(HostUi& host, Module1& module, QWidget* parent = nullptr);
    ~main1() override;
    Q_DISABLE_COPY_MOVE(main1)

    // The page fields as the writer reads them.
    QString outputPath() const override;
    QString title() const override;
    QString body() const override;
    QString nextLink() const override;
    void setNextLink(const QString& address) override;

    // The shared file dialog's properties, kept from one command to the next.
    const CommonDialog& fileDialog() const { return cob1; }

    // The whole page's size, whether the chosen handsets hold it, and the
    // oldest handsets that show it, as Label4's tooltip gives them.
    QString pageReport() const;
    // The handsets whose screen the preview shows and whose limits the
    // marks and the count follow; 501i at start.
    void chooseHandset(Series series);

    void Command1_Click();
    void rtext1_Change();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Label1_DblClick();
    void Command7_Click();
    // The body's "ページに分けて作成…": the body written as a chain of pages.
    void mnuSplitPages_Click();
    void Picture1_MouseUp();

    // The editor as the help window shows it: drawn from this window's own
    // controls with sample content, annotated with the work steps.
    static QPixmap renderHelpPicture(HostUi& host);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void describeForScreenReaders();
    // Sets the output path, the caption of Label1, and what a screen reader
    // reads for it.
    void setOutputPath(const QString& path);
    void connectEvents();
    void Form_Load();
    // Shows whether the page written from `body` is too large for the
    // chosen handsets.
    void showPageSize(const QString& body);
    // The preview pane's menu: which handsets it shows the page on.
    void showPaneMenu(const QPoint& globalPos);
    // Whether `widget` is the pane: its place, or the browser view that
    // takes that place after the first preview.
    bool inPane(const QWidget* widget) const;
    // The desktop's focus frame around the pane, which draws none of its own.
    void drawPaneFocus();
    // Shows the page at `path` in the pane, on the chosen handset's screen.
    Result<> showInPane(const QString& path, PageOrigin origin);
    // The same, or says why it cannot.
    void showPage(const QString& path, PageOrigin origin);
    // Opens the pictogram palette for `box`, the body or the title.
    void showPictograms(QWidget* box);
    void insertPictogram(const QString& text);

    // What the pane shows, so that another handset shows it too.
    struct Shown {
        QString path;
        PageOrigin origin;
    };

    HostUi& host_;
    Module1& module_;  // what the commands share beyond the controls
    SubPageWriter writer_;
    CommonDialog cob1;                     // the open/save dialog shared by the file commands
    QPointer<Form1> help_;                 // the help window while it is open
    Series series_ = Series::S501i;        // the handsets the pane, the count and the marks follow
    bool pageTooLarge_ = false;            // whether Label4 shows the count in red
    std::optional<Shown> shown_;           // the page in the pane, once there is one
    PictogramPalette* palette_ = nullptr;  // made on first use; a child window of this one
    QPointer<QWidget> pictogramBox_;       // the box the palette types into

    QPushButton* Command1 = nullptr;            // writes the page ("ＨＰ作成")
    BodyEditor* rtext1 = nullptr;               // the page body
    HandsetDecorator* handsetMarks_ = nullptr;  // rtext1's marks; knows the chosen handsets
    QPushButton* Command2 = nullptr;            // loads a text file into the body
    QPushButton* Command3 = nullptr;            // saves the body to a text file
    QPushButton* Command4 = nullptr;            // chooses the output file
    QLabel* Label1 = nullptr;                   // the output path; its only store
    QPushButton* Command5 = nullptr;            // clears the output path
    QLineEdit* Text1 = nullptr;                 // the page title
    QLineEdit* Text2 = nullptr;                 // the next page's address
    QLabel* Label2 = nullptr;                   // caption of the next-link box
    QLabel* Label3 = nullptr;                   // the version
    QLabel* Picture1 = nullptr;                 // the help link picture
    QLabel* Label4 = nullptr;                   // the body's byte count
    QLabel* Label5 = nullptr;                   // caption of the byte count
    QGroupBox* Frame1 = nullptr;                // frame of the preview pane
    QWidget* WebBrowser1 = nullptr;             // the preview pane's place, blank until used
    QPushButton* Command6 = nullptr;            // preview
    QLabel* Label8 = nullptr;                   // hint on the preview's line width
    QPushButton* Command7 = nullptr;            // types "<br>" at the caret
    QLabel* Label6 = nullptr;                   // hint on the sister product
};

}  // namespace quillet
