#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quillet {

// The credits as the help window composes them: six lines, CR LF after each.
QString helpCredits();

// The help window: an annotated picture of the editor window and the
// credits. It has no owner and deletes itself when closed.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(const QPixmap& helpPicture);
    ~Form1() override = default;
    Q_DISABLE_COPY_MOVE(Form1)

    void Command1_Click();

private:
    void Form_Load();

    QPushButton* Command1 = nullptr;  // closes the window ("終　了")
    QPlainTextEdit* Text1 = nullptr;  // the credits
    QLabel* Picture1 = nullptr;       // the annotated picture of the editor
};

}  // namespace quillet
