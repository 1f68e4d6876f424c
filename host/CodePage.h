#pragma once

#include "Pictograms.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <memory>

namespace quillet {

// Encodes to code page 932 (Shift-JIS as Windows writes it). Characters
// that input methods on other systems produce for common Japanese marks
// (U+301C wave dash, U+2212 minus, U+2016 double bar, ...) land on the bytes
// a Windows user would have typed; anything the code page cannot hold
// becomes one "?" per code point, an unpaired surrogate included.
// Emoji that the handsets have as pictograms (and the keycaps "#⃣", "0⃣" to
// "9⃣") become the handsets' two-byte codes, an emoji presentation
// selector after one included.
QByteArray toCp932(QStringView text);

// The bytes toCp932 writes for each UTF-16 unit of `text`: a character's
// all at the unit it starts at, 0 at the others (a surrogate pair's second
// unit, a keycap's mark). Their sum is the encoded size.
QList<quint8> cp932Widths(QStringView text);

// How many code points toCp932 would write as "?".
qsizetype cp932UnmappableCount(QStringView text);

// A character that toCp932 writes other than a handset shows it: as "?"
// (lost), or in the rows of the code page that only some makers' systems
// have (lead byte 87, ED, EE or FA to FC: NEC's special characters and the
// IBM extensions), which handsets may not show. The handsets' own
// pictograms are neither.
struct Cp932Risk {
    enum Kind { Lost, PlatformDependent };
    qsizetype start = 0;   // UTF-16 index in the text
    qsizetype length = 0;  // UTF-16 units: 2 for a surrogate pair
    Kind kind = Lost;
    friend bool operator==(const Cp932Risk& a, const Cp932Risk& b)
    {
        return a.start == b.start && a.length == b.length && a.kind == b.kind;
    }
};

// Finds the risky characters of texts with the very encoder toCp932 uses,
// opening its converter on the first text that needs it and keeping it for
// the next.
class Cp932RiskFinder {
public:
    Cp932RiskFinder();
    ~Cp932RiskFinder();
    Cp932RiskFinder(const Cp932RiskFinder&) = delete;
    Cp932RiskFinder& operator=(const Cp932RiskFinder&) = delete;

    // Also appends the pictograms of `text` to `pictograms`, if given: they
    // are found on the way.
    QList<Cp932Risk> risks(QStringView text, QList<PictogramSpan>* pictograms = nullptr);

private:
    struct Converter;
    std::unique_ptr<Converter> converter_;
};

// Decodes code page 932; a byte sequence it does not define becomes U+FFFD,
// and a pictogram code the emoji it stands for.
QString fromCp932(QByteArrayView bytes, PictogramStyle style = PictogramStyle::AsMapped);

// Decodes a body file or a loaded document. Code page 932 is the format of
// record, but most text files on today's desktops are Unicode: a file with
// a UTF-8 or UTF-16 byte-order mark is read as such (without the mark), and
// so is valid UTF-8 that holds a sequence of three bytes or more, as every
// Japanese character in UTF-8 does.
QString decodeTextFile(QByteArrayView bytes, PictogramStyle style = PictogramStyle::AsMapped);

}  // namespace quillet
