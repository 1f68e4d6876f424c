#include "Pictograms.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <optional>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// A pictogram's code, and the Unicode character or keycap sequence it
// stands for (second is 0 for a single character).
struct Pictogram {
    quint16 code;
    char32_t first;
    char32_t second;
};
#include "Pictograms.inc"

constexpr char16_t emojiPresentation = 0xFE0F;
constexpr char16_t combiningKeycap = 0x20E3;

// Below this, only a keycap sequence can be a pictogram: most text is
// passed over without a look-up.
constexpr char32_t lowestSinglePictogram = [] {
    char32_t lowest = 0x10FFFF;
    for (const Pictogram& pictogram : pictogramsByText) {
        if (!pictogram.second && pictogram.first < lowest)
            lowest = pictogram.first;
    }
    return lowest;
}();

// Which stretches of 64 code points of the Basic Multilingual Plane hold
// the first character of a pictogram: kana and kanji, most of a Japanese
// body, are passed over without a look-up.
constexpr std::array<quint64, 16> pictogramStretches = [] {
    std::array<quint64, 16> stretches{};
    const auto mark = [&stretches](char32_t c) {
        stretches.at(c >> 12) |= quint64(1) << ((c >> 6) & 63);
    };
    for (const Pictogram& pictogram : pictogramsByText) {
        // Beyond the plane, by the high surrogate that starts it.
        mark(pictogram.first < 0x10000 ? pictogram.first : QChar::highSurrogate(pictogram.first));
    }
    return stretches;
}();

// For a UTF-16 unit.
constexpr bool mayStartPictogram(char16_t c)
{
    return ((pictogramStretches.at(c >> 12) >> ((c >> 6) & 63)) & 1) != 0;
}

const Pictogram* pictogramFor(char32_t first, char32_t second)
{
    const auto byText = [](const Pictogram& p, std::pair<char32_t, char32_t> key) {
        return std::pair(p.first, p.second) < key;
    };
    const auto* const end = std::end(pictogramsByText);
    const auto* found =
        std::lower_bound(std::begin(pictogramsByText), end, std::pair(first, second), byText);
    return found != end && found->first == first && found->second == second ? found : nullptr;
}

// The pictogram that the text at `at` stands for, if any.
std::optional<PictogramSpan> pictogramAt(QStringView text, qsizetype at)
{
    const auto unit = [&text](qsizetype i) -> char16_t {
        return i < text.size() ? text[i].unicode() : u'\0';
    };
    qsizetype end = at + 1;
    char32_t first = unit(at);
    if (!mayStartPictogram(char16_t(first)))
        return std::nullopt;
    if (QChar::isHighSurrogate(first) && QChar::isLowSurrogate(unit(end)))
        first = QChar::surrogateToUcs4(unit(at), unit(end++));
    const qsizetype keycap = unit(end) == emojiPresentation ? end + 1 : end;
    if (first < lowestSinglePictogram && unit(keycap) != combiningKeycap)
        return std::nullopt;
    const Pictogram* pictogram = nullptr;
    if (unit(keycap) == combiningKeycap && (pictogram = pictogramFor(first, combiningKeycap)))
        end = keycap + 1;
    else
        pictogram = pictogramFor(first, 0);
    if (!pictogram)
        return std::nullopt;
    if (unit(end) == emojiPresentation)
        ++end;
    return PictogramSpan{at, end - at, pictogram->code};
}

}  // namespace

QList<PictogramSpan> pictogramSpans(QStringView text)
{
    QList<PictogramSpan> spans;
    for (qsizetype at = 0; at < text.size();) {
        const std::optional<PictogramSpan> pictogram = pictogramAt(text, at);
        if (pictogram)
            spans.append(*pictogram);
        at += pictogram ? pictogram->length : 1;
    }
    return spans;
}

QString pictogramText(quint16 code, PictogramStyle style)
{
    const auto* const end = std::end(pictogramsByCode);
    const auto* found =
        std::lower_bound(std::begin(pictogramsByCode), end, code,
                         [](const Pictogram& p, quint16 key) { return p.code < key; });
    if (found == end || found->code != code)
        return QString();
    QString text = QString::fromUcs4(&found->first, 1);
    const bool keycap = found->second != 0;
    if (style == PictogramStyle::AsEmoji &&
        (keycap || !u_hasBinaryProperty(UChar32(found->first), UCHAR_EMOJI_PRESENTATION)))
        text += QChar(emojiPresentation);  // a keycap takes it before the keycap mark
    if (keycap)
        text += QChar(char16_t(found->second));
    return text;
}

QStringList colourEmojiFaces()
{
    return {u"Noto Color Emoji"_s, u"Segoe UI Emoji"_s, u"Apple Color Emoji"_s};
}

QList<PictogramEntry> pictogramEntries()
{
    static_assert(std::size(pictogramNamesByCode) == std::size(pictogramsByCode));
    QList<PictogramEntry> entries;
    entries.reserve(qsizetype(std::size(pictogramsByCode)));
    for (std::size_t i = 0; i < std::size(pictogramsByCode); ++i) {
        const Pictogram& pictogram = pictogramsByCode[i];
        QString text = QString::fromUcs4(&pictogram.first, 1);
        if (pictogram.second)
            text += QChar(char16_t(pictogram.second));
        entries.append({pictogram.code, text, QString::fromLatin1(pictogramNamesByCode[i])});
    }
    return entries;
}

QList<char32_t> textStylePictograms()
{
    QList<char32_t> characters;
    for (const Pictogram& pictogram : pictogramsByText) {
        if (!pictogram.second &&
            !u_hasBinaryProperty(UChar32(pictogram.first), UCHAR_EMOJI_PRESENTATION))
            characters.append(pictogram.first);
    }
    return characters;
}

}  // namespace quillet
