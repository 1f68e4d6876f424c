#include "CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <QStringDecoder>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>

namespace quillet {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openCp932()
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status))
        qFatal("ICU has no windows-31j converter (%s): the ICU data is incomplete",
               u_errorName(status));
    // Fallbacks map the look-alike code points of other platforms' input
    // methods onto the code page's own characters.
    ucnv_setFallback(converter.get(), true);
    status = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return converter;
}

// Writes the "?" for every code point the code page lacks, and counts them.
// ICU's own substitute callback would silently drop the default-ignorable
// ones (U+200B, U+2060, U+FEFF, ...), losing them without a trace.
void substituteAndCount(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                        UChar32, UConverterCallbackReason reason, UErrorCode* status)
{
    if (reason > UCNV_IRREGULAR)
        return;  // reset, close or clone: nothing to replace
    ++*static_cast<qsizetype*>(const_cast<void*>(context));
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteSub(args, 0, status);
}

// The converter reads the code page's user-defined codes, F040 to F9FC,
// in order as the private-use characters U+E000 to U+E757.
bool isUserDefined(QChar c)
{
    return c.unicode() >= 0xE000 && c.unicode() <= 0xE757;
}

quint16 userDefinedCode(QChar c)
{
    const int index = c.unicode() - 0xE000;
    const int trail = index % 188;  // 40-7E, then 80-FC
    return quint16(((0xF0 + index / 188) << 8) | (trail < 0x3F ? 0x40 + trail : 0x41 + trail));
}

// Converts `text` through ICU and appends the bytes.
void appendConverted(UConverter* converter, QStringView text, QByteArray& out)
{
    const char16_t* source = text.utf16();
    const char16_t* const sourceEnd = source + text.size();
    std::array<char, 16 * 1024> chunk{};
    UErrorCode status = U_ZERO_ERROR;
    // Streamed in chunks so any length converts, and a surrogate pair split
    // across chunks is still one character.
    do {
        status = U_ZERO_ERROR;
        char* target = chunk.data();
        ucnv_fromUnicode(converter, &target, chunk.data() + chunk.size(), &source, sourceEnd,
                         nullptr, /*flush=*/true, &status);
        out.append(chunk.data(), target - chunk.data());
    } while (status == U_BUFFER_OVERFLOW_ERROR);
}

// Calls `onRun` for each stretch of text between pictograms and
// `onPictogram` for each pictogram, in order. Pictograms are picked out
// first, since a keycap's digit alone is a character of the code page.
template <typename OnRun, typename OnPictogram>
void splitAtPictograms(QStringView text, OnRun&& onRun, OnPictogram&& onPictogram)
{
    qsizetype run = 0;
    for (const PictogramSpan& pictogram : pictogramSpans(text)) {
        onRun(run, text.sliced(run, pictogram.start - run));
        onPictogram(pictogram);
        run = pictogram.start + pictogram.length;
    }
    onRun(run, text.sliced(run));
}

void countSubstitutions(UConverter* converter, qsizetype& substituted)
{
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, substituteAndCount, &substituted, nullptr, nullptr, &status);
}

QByteArray encode(QStringView text, qsizetype& substituted)
{
    const Converter converter = openCp932();
    countSubstitutions(converter.get(), substituted);
    QByteArray out;
    out.reserve(text.size() + text.size() / 2);
    splitAtPictograms(
        text, [&](qsizetype, QStringView run) { appendConverted(converter.get(), run, out); },
        [&out](const PictogramSpan& pictogram) {
            out.append(char(pictogram.code >> 8)).append(char(pictogram.code & 0xFF));
        });
    return out;
}

// A lead byte of a two-byte character in code page 932.
bool isLeadByte(uchar byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Rows 13 (NEC's special characters), 89 to 92 (NEC's selection of IBM's
// extensions) and 115 to 119 (IBM's extensions).
bool isPlatformDependentLead(uchar byte)
{
    return byte == 0x87 || byte == 0xED || byte == 0xEE || byte >= 0xFA;
}

qsizetype codePointLength(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2
                                                                                               : 1;
}

// Converts one stretch without pictograms, keeping for every byte the
// index of the character it came from, and reads the risks off the bytes.
void appendRisks(UConverter* converter, QStringView run, qsizetype base, QList<Cp932Risk>& risks)
{
    const char16_t* const runStart = run.utf16();
    const char16_t* source = runStart;
    const char16_t* const sourceEnd = source + run.size();
    // Left uninitialised: the converter writes what is read, and clearing
    // 20 KB for the few characters in view cost more than converting them.
    std::array<char, 4 * 1024> chunk;       // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::array<int32_t, 4 * 1024> offsets;  // NOLINT(cppcoreguidelines-pro-type-member-init)
    UErrorCode status = U_ZERO_ERROR;
    // A character's trail byte may come at the start of the next chunk.
    qsizetype skip = 0;
    do {
        status = U_ZERO_ERROR;
        const qsizetype callStart = source - runStart;
        char* target = chunk.data();
        ucnv_fromUnicode(converter, &target, chunk.data() + chunk.size(), &source, sourceEnd,
                         offsets.data(), /*flush=*/true, &status);
        const qsizetype written = target - chunk.data();
        qsizetype i = skip;
        for (; i < written; ++i) {
            const auto byte = uchar(chunk[i]);
            const qsizetype at = callStart + offsets[i];
            if (isLeadByte(byte)) {
                if (isPlatformDependentLead(byte))
                    risks.append(
                        {base + at, codePointLength(run, at), Cp932Risk::PlatformDependent});
                ++i;  // the trail byte
            } else if (byte == '?' && run[at] != u'?') {
                risks.append({base + at, codePointLength(run, at), Cp932Risk::Lost});
            }
        }
        skip = i - written;
    } while (status == U_BUFFER_OVERFLOW_ERROR);
}

// Adds to `widths` the bytes the converter writes for each character of
// one stretch without pictograms, at the index the character starts.
void addWidths(UConverter* converter, QStringView run, quint8* widths)
{
    const char16_t* source = run.utf16();
    const char16_t* const sourceEnd = source + run.size();
    std::array<char, 4 * 1024> chunk;       // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::array<int32_t, 4 * 1024> offsets;  // NOLINT(cppcoreguidelines-pro-type-member-init)
    UErrorCode status = U_ZERO_ERROR;
    do {
        status = U_ZERO_ERROR;
        const qsizetype callStart = source - run.utf16();
        char* target = chunk.data();
        ucnv_fromUnicode(converter, &target, chunk.data() + chunk.size(), &source, sourceEnd,
                         offsets.data(), /*flush=*/true, &status);
        for (qsizetype i = 0; i < target - chunk.data(); ++i) ++widths[callStart + offsets[i]];
    } while (status == U_BUFFER_OVERFLOW_ERROR);
}

// A lead byte of a UTF-8 sequence of three or four bytes. Every Japanese
// character in UTF-8 is one; short code page 932 text, whose half-width
// kana pairs often look like two-byte UTF-8, practically never forms one.
bool hasLongUtf8Lead(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char byte) { return (uchar(byte) & 0xF0) >= 0xE0; });
}

// The text when the bytes are plainly UTF-8: valid, and holding a sequence
// of three bytes or more.
std::optional<QString> decodeIfPlainlyUtf8(QByteArrayView bytes)
{
    if (!hasLongUtf8Lead(bytes))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

QString decodeAs(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

QString decodeWithConverter(QByteArrayView bytes)
{
    const Converter converter = openCp932();
    QString out;
    out.reserve(bytes.size());
    const char* source = bytes.data();
    const char* const sourceEnd = source + bytes.size();
    std::array<char16_t, 8 * 1024> chunk{};
    UErrorCode status = U_ZERO_ERROR;
    do {
        status = U_ZERO_ERROR;
        char16_t* target = chunk.data();
        ucnv_toUnicode(converter.get(), &target, chunk.data() + chunk.size(), &source, sourceEnd,
                       nullptr, /*flush=*/true, &status);
        out.append(QStringView(chunk.data(), target - chunk.data()));
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    return out;
}

}  // namespace

QByteArray toCp932(QStringView text)
{
    qsizetype substituted = 0;
    return encode(text, substituted);
}

qsizetype cp932UnmappableCount(QStringView text)
{
    qsizetype substituted = 0;
    encode(text, substituted);
    return substituted;
}

QList<quint8> cp932Widths(QStringView text)
{
    QList<quint8> widths(text.size(), 0);
    qsizetype substituted = 0;  // outlives the converter that counts into it
    Converter converter;
    splitAtPictograms(
        text,
        [&](qsizetype start, QStringView run) {
            if (std::none_of(run.begin(), run.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
                std::fill_n(widths.begin() + start, run.size(), quint8(1));
                return;
            }
            if (!converter) {
                converter = openCp932();
                countSubstitutions(converter.get(), substituted);  // writes "?" as toCp932 does
            }
            addWidths(converter.get(), run, widths.data() + start);
        },
        [&widths](const PictogramSpan& pictogram) { widths[pictogram.start] = pictogramBytes; });
    return widths;
}

struct Cp932RiskFinder::Converter {
    Converter() { countSubstitutions(converter.get(), substituted); }
    quillet::Converter converter = openCp932();
    qsizetype substituted = 0;  // the callback's count, unused here
};

Cp932RiskFinder::Cp932RiskFinder() = default;
Cp932RiskFinder::~Cp932RiskFinder() = default;

QList<Cp932Risk> Cp932RiskFinder::risks(QStringView text, QList<PictogramSpan>* pictograms)
{
    QList<Cp932Risk> found;
    splitAtPictograms(
        text,
        [&](qsizetype start, QStringView run) {
            // Plain ASCII is never at risk; most of a page is tags.
            if (std::none_of(run.begin(), run.end(), [](QChar c) { return c.unicode() >= 0x80; }))
                return;
            if (!converter_)
                converter_ = std::make_unique<Converter>();  // not at start-up: ICU loads its table
            appendRisks(converter_->converter.get(), run, start, found);
        },
        [pictograms](const PictogramSpan& pictogram) {
            if (pictograms)
                pictograms->append(pictogram);
        });
    return found;
}

QString fromCp932(QByteArrayView bytes, PictogramStyle style)
{
    QString text = decodeWithConverter(bytes);
    if (std::none_of(text.cbegin(), text.cend(), isUserDefined))
        return text;
    QString withPictograms;
    withPictograms.reserve(text.size());
    for (const QChar c : text) {
        const QString pictogram =
            isUserDefined(c) ? pictogramText(userDefinedCode(c), style) : QString();
        withPictograms += pictogram.isEmpty() ? QString(c) : pictogram;
    }
    return withPictograms;
}

QString decodeTextFile(QByteArrayView bytes, PictogramStyle style)
{
    // A byte-order mark says it all; the decoders drop it.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeAs(QStringDecoder::Utf8, bytes);
    if (bytes.startsWith("\xFF\xFE"))
        return decodeAs(QStringDecoder::Utf16LE, bytes);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeAs(QStringDecoder::Utf16BE, bytes);
    if (std::optional<QString> text = decodeIfPlainlyUtf8(bytes))
        return *std::move(text);
    return fromCp932(bytes, style);
}

}  // namespace quillet
