#pragma once

#include "CodePage.h"
#include "Handsets.h"
#include "MarkupScanner.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace quillet {

// What a handset will make of a stretch of the body, as the editor marks it.
struct HandsetMark {
    enum Kind {
        LostCharacter,      // written as "?"
        PlatformCharacter,  // a row only some systems have
        Tag,                // "<" to ">", coloured
        Comment,            // "<!--" to "-->", greyed
        UnknownTag,         // the name of a tag no handset knows
        Later,              // a tag, attribute or pictogram only later handsets show
        UnclosedTag,        // "<" to the end of its line, no ">" follows
        UnclosedComment,    // "<!--" to the end, no "-->" follows: a handset shows nothing more
    };
    qsizetype start = 0;  // UTF-16 index in the text
    qsizetype length = 0;
    Kind kind = Tag;
    QString label;  // for UnknownTag and Later: "<table>", "<hr color>", "拡張絵文字 ©"
    HtmlVersion since = HtmlVersion::V1_0;  // for Later: the version that shows it

    friend bool operator==(const HandsetMark& a, const HandsetMark& b)
    {
        return a.start == b.start && a.length == b.length && a.kind == b.kind &&
               a.label == b.label && a.since == b.since;
    }
};

// Finds the marks of texts for the handsets of a chosen series, keeping the
// code page converter between texts.
class HandsetMarker {
public:
    // The first handsets until told otherwise.
    void setSeries(Series series) { series_ = series; }
    Series series() const { return series_; }

    // In text order of their starts; a character mark may lie inside a tag.
    // When `text` is cut from a longer body (`bodyGoesOn`), a tag that runs
    // past its end may yet be closed, and is not marked unclosed.
    QList<HandsetMark> marks(QStringView text, bool bodyGoesOn = false);
    // The two halves of that: the marks of the tags and comments, which
    // need the text around a stretch to be read right (`from` says what
    // the text before it left open), and those of single characters and
    // pictograms, which need nothing but the stretch.
    QList<HandsetMark> tagMarks(QStringView text, bool bodyGoesOn = false,
                                MarkupState from = MarkupState::InText) const;
    // Appends the pictograms found on the way to `pictograms`, if given.
    QList<HandsetMark> characterMarks(QStringView text, QList<PictogramSpan>* pictograms = nullptr);

private:
    Cp932RiskFinder characters_;
    Series series_ = Series::S501i;
};

// Puts the marks of both halves in text order of their starts, keeping the
// order of marks that start together, and drops the pictograms' marks
// that a comment hides.
void arrangeMarks(QList<HandsetMark>& marks);

// The tooltip of a mark; empty for the kinds that only colour.
QString handsetMarkTip(const HandsetMark& mark);

// The oldest series whose handsets show all of a page, and why no older
// one does.
struct OldestHandset {
    std::optional<Series> series;  // none when the page is too large for any
    QStringList reasons;           // what needs that series, in page order
    qsizetype pageBytes = 0;
};
// From the page's text as written and its size in bytes. A tag no version
// knows raises nothing: no handset shows it.
OldestHandset oldestHandset(QStringView page, qsizetype pageBytes);

// "表示できる端末: 504i 以降（拡張絵文字 ©、<hr color>）".
QString oldestHandsetText(const OldestHandset& oldest);

}  // namespace quillet
