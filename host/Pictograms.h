#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace quillet {

// The handsets' pictograms: two-byte codes of their own in the code page's
// user-defined area (F89F to F9FC), each standing for a Unicode character
// or keycap sequence, as Unicode's EmojiSources.txt maps them.

// Where a text holds pictograms: each a character or keycap sequence (a
// digit or "#", the keycap mark, and an emoji presentation selector between
// the two as input methods type it), with the emoji presentation selector
// after it if it has one.
struct PictogramSpan {
    qsizetype start = 0;   // UTF-16 index
    qsizetype length = 0;  // UTF-16 units
    quint16 code = 0;      // its two bytes in a page
};

QList<PictogramSpan> pictogramSpans(QStringView text);

// The most UTF-16 units a pictogram takes: a keycap with both selectors.
inline constexpr qsizetype longestPictogram = 4;
// The fewest bytes a pictogram takes in a page: every code is two bytes.
inline constexpr qsizetype pictogramBytes = 2;

// How a pictogram code reads: as the character or keycap sequence Unicode
// maps it to, which writes back byte for byte, or with the emoji
// presentation selector as well, so that a browser draws the colour emoji
// a handset shows where the character would default to a plain glyph.
enum class PictogramStyle { AsMapped, AsEmoji };

// The text of the pictogram with `code`; empty when the code is none.
QString pictogramText(quint16 code, PictogramStyle style);

// The faces that draw pictograms as colour pictures, best first: the one
// the setup installs, then Windows' and macOS's own.
QStringList colourEmojiFaces();

// One of the handsets' pictograms, as a palette offers it.
struct PictogramEntry {
    quint16 code = 0;  // its two bytes in a page, F89F for the first
    QString text;      // what typing it puts in a box: no presentation selector
    QString name;      // Unicode's name, "BLACK SUN WITH RAYS"
};
// Every pictogram, in the order of their codes.
QList<PictogramEntry> pictogramEntries();

// The pictograms' single characters that a browser draws as a plain glyph
// wherever the page's font has one (☀ in the Japanese faces), selector or
// not.
QList<char32_t> textStylePictograms();

}  // namespace quillet
