#include "PictogramPalette.h"

#include "CodePage.h"
#include "Handsets.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int cellSize = 34;  // pixels, a cell's side
constexpr int columns = 16;
constexpr int visibleRows = 8;

// With the reference a page may write it as, where an editor cannot type
// it; the extended pictograms say that older handsets show nothing there.
QString cellName(const PictogramEntry& pictogram)
{
    QString name = pictogram.name + u" ("_s + QString::number(pictogram.code, 16).toUpper() +
                   u", &#"_s + QString::number(pictogram.code) + u";)"_s;
    if (isExtendedPictogram(pictogram.code))
        name += u"（"_s + seriesName(firstSeriesWith(extendedPictogramsSince)) + u" 以降）"_s;
    return name;
}

// As a handset shows it: with the emoji presentation selector where the
// character alone would default to a plain glyph. Only drawn, never typed.
QString shownAsEmoji(quint16 code)
{
    const char bytes[] = {char(code >> 8), char(code & 0xFF)};
    return fromCp932(QByteArrayView(bytes, 2), PictogramStyle::AsEmoji);
}

}  // namespace

QString pictogramPaletteCaption()
{
    return u"絵文字を挿入"_s;
}

QFont pictogramFont(qreal pointSize)
{
    const QStringList faces = colourEmojiFaces();
    QFont font(faces.first());
    font.setFamilies(faces);
    font.setPointSizeF(pointSize);
    // With font merging Qt 6.4 takes a keycap's digit from another face,
    // and the keycap never forms.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

PictogramPalette::PictogramPalette(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(pictogramPaletteCaption());
    cells_ = new QListWidget(this);  // owned by the palette
    cells_->setAccessibleName(windowTitle());
    cells_->setViewMode(QListView::IconMode);
    cells_->setMovement(QListView::Static);
    cells_->setResizeMode(QListView::Adjust);
    cells_->setUniformItemSizes(true);
    cells_->setTextElideMode(Qt::ElideNone);
    cells_->setGridSize(QSize(cellSize, cellSize));
    cells_->setFont(pictogramFont(16));
    for (const PictogramEntry& pictogram : pictogramEntries()) {
        auto* cell =
            new QListWidgetItem(shownAsEmoji(pictogram.code), cells_);  // owned by the list
        cell->setData(Qt::UserRole, pictogram.text);
        cell->setToolTip(cellName(pictogram));
        cell->setData(Qt::AccessibleTextRole, cellName(pictogram));
        cell->setTextAlignment(Qt::AlignCenter);
    }
    cells_->setCurrentRow(0);
    cells_->installEventFilter(this);
    connect(cells_, &QListWidget::itemClicked, this, [this](const QListWidgetItem* cell) {
        emit chosen(cell->data(Qt::UserRole).toString());
    });

    auto* layout = new QVBoxLayout(this);  // owned by the palette
    layout->addWidget(cells_);
    const int frame = 2 * cells_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    cells_->setMinimumSize(columns * cellSize + frame + 4, visibleRows * cellSize + frame);
}

// Return chooses the current cell. Not the view's "activated", which a
// single click also raises on some desktops: a click would insert twice.
bool PictogramPalette::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cells_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && cells_->currentItem()) {
            emit chosen(cells_->currentItem()->data(Qt::UserRole).toString());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PictogramPalette::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    cells_->setFocus();
}

}  // namespace quillet
