#pragma once

#include <QDialog>

class QListWidget;

namespace quillet {

// The handsets' pictograms in a grid, in the order of their codes, each
// drawn in colour and named for the tooltip and a screen reader. Choosing
// one, by a click or by Return, hands over its text; Escape closes it.
class PictogramPalette final : public QDialog {
    Q_OBJECT

public:
    explicit PictogramPalette(QWidget* parent = nullptr);

signals:
    void chosen(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* cells_ = nullptr;  // one cell a pictogram
};

// The palette's title, and the menu entry that opens it.
QString pictogramPaletteCaption();

// The face the handsets' pictograms are drawn from, in colour, keycaps
// as keycaps.
QFont pictogramFont(qreal pointSize);

}  // namespace quillet
