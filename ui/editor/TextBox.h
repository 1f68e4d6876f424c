#pragma once

#include <QLineEdit>

namespace quillet {

// A single-line field (the title, the next page's address) that leaves its
// text alone when a paste brings none.
class TextBox final : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quillet
