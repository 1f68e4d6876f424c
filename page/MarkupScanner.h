#pragma once

#include "Pictograms.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace quillet {

// One attribute of a start tag, as written.
struct MarkupAttribute {
    QStringView name;         // as written; compare without case
    QStringView value;        // as written, without its quotes; empty when it has none
    qsizetype nameStart = 0;  // index of the name in the scanned text
    // The value as a browser reads it, its character references decoded.
    QString decodedValue() const;
};

// A run of a page's text, read as a browser's tokenizer reads it.
struct MarkupToken {
    enum Kind {
        Text,         // characters shown as they are
        StartTag,     // "<a href=x>"
        EndTag,       // "</a>"
        Declaration,  // "<!DOCTYPE html>", "<?xml?>": shows nothing, means nothing here
        Comment,      // "<!--" to "-->"
    };
    Kind kind = Text;
    qsizetype start = 0;  // index in the scanned text
    qsizetype length = 0;
    // Whether its ">" (or "-->") came. A tag without one ends where the
    // text does, or before a "<" outside quotes: a browser would read on,
    // but the author plainly left the tag open there.
    bool closed = true;
    QStringView name;  // of a tag, as written
    qsizetype nameStart = 0;
    QList<MarkupAttribute> attributes;  // of a start tag, in page order

    qsizetype end() const { return start + length; }
    bool isTag() const { return kind == StartTag || kind == EndTag; }
};

// What a text leaves open at its end, for reading on in the next one.
enum class MarkupState : quint8 { InText, InTag, InComment };

// Reads `text` token by token; the tokens cover it exactly once, in order.
// `from` says what an earlier text left open: a comment goes on until its
// "-->". A text never starts inside a tag: a reader goes back to its "<".
class MarkupScanner {
public:
    explicit MarkupScanner(QStringView text, MarkupState from = MarkupState::InText);

    // The next token; false at the end of the text.
    bool next(MarkupToken& token);
    // What the text leaves open, once every token is read.
    MarkupState stateAtEnd() const { return state_; }

private:
    void readText(MarkupToken& token);
    void readComment(MarkupToken& token, qsizetype bodyStart);
    void readDeclaration(MarkupToken& token);
    void readTag(MarkupToken& token);

    QStringView text_;
    qsizetype at_ = 0;
    MarkupState state_;
};

// Every token of `text`.
QList<MarkupToken> scanMarkup(QStringView text, MarkupState from = MarkupState::InText);

// What `text` leaves open at its end when read from `from`.
MarkupState markupStateAfter(QStringView text, MarkupState from);

// `text` with the references a browser decodes in an attribute: &amp;,
// &lt;, &gt;, &quot;, &apos; and numeric ones (&#38;, &#x26;). A reference
// to no character becomes U+FFFD, as a browser shows it; anything else is
// left as written.
QString decodeReferences(QStringView text);

// The character a numeric reference at `text`'s start ("&#63647;",
// "&#xF89F;") names, and how many characters it takes; nothing when the
// text starts with none.
struct NumericReference {
    char32_t value = 0;    // may be no character at all: 0, a surrogate, past U+10FFFF
    qsizetype length = 0;  // 0 when there is no reference
};
NumericReference numericReferenceAt(QStringView text);

// Where a character reference that starts at `amp` ("&amp;", or any name a
// handset may know, up to its ";"; "&#38;" or "&#38", as numericReferenceAt
// reads it) ends; `amp` when none does. No cut of a page may fall inside
// one.
qsizetype characterReferenceEnd(QStringView text, qsizetype amp);

// The pictograms a page writes as references to their Shift-JIS codes,
// "&#63647;" or "&#xF89F;" for ☀, as pages of the time did where an editor
// could not type them. Each span covers the whole reference.
QList<PictogramSpan> pictogramReferences(QStringView text);

}  // namespace quillet
