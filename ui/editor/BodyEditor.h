#pragma once

#include <QPlainTextEdit>

#include <optional>
#include <utility>

namespace quillet {

// The document ends blocks with U+2029, and Shift+Enter puts a U+2028
// inside one: both are line breaks to the user.
constexpr bool isBlockBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// The page body: plain text in, plain text out, line breaks as CR LF
// whatever the file or paste that brought them.
class BodyEditor final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit BodyEditor(QWidget* parent = nullptr);

    // The whole content, line breaks as CR LF, every character as typed
    // (no-break spaces stay no-break spaces).
    QString Text() const;
    // Replaces the whole content, taking CR LF, LF or a lone CR as a line
    // break; raises one change notification.
    void setText(const QString& text);
    // The document positions from the start of the first block in view to
    // the end of the last: whole lines, as a handset's marks are read.
    std::pair<int, int> shownRange() const;

    // The face of the text, loaded once the body first holds text or the
    // focus: an empty body without a caret draws nothing in it, so the
    // first frame need not wait for a face only the body uses.
    void setTextFont(const QFont& font);

signals:
    // The context menu's "絵文字を挿入".
    void pictogramsWanted();
    // The context menu's "ページに分けて作成…".
    void chainWanted();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Every paste, middle-button paste and drop comes through here.
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void applyTextFont();

    std::optional<QFont> pendingFont_;  // the text face until it is first needed
};

}  // namespace quillet
