#pragma once

#include <QPlainTextEdit>

namespace quillet {

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

protected:
    // Every paste, middle-button paste and drop comes through here.
    void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace quillet
