#pragma once

#include <QLineEdit>

namespace quillet {

// A single-line field (the title, the next page's address) that leaves its
// text alone when a paste brings none.
class TextBox final : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    // Whether the context menu offers "絵文字を挿入" while the box is editable.
    void setOffersPictograms(bool offers) { offersPictograms_ = offers; }

signals:
    void pictogramsWanted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool offersPictograms_ = false;
};

}  // namespace quillet
