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

QByteArray encode(QStringView text, qsizetype& substituted)
{
    const Converter converter = openCp932();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), substituteAndCount, &substituted, nullptr, nullptr,
                          &status);

    QByteArray out;
    out.reserve(text.size() + text.size() / 2);
    const char16_t* source = text.utf16();
    const char16_t* const sourceEnd = source + text.size();
    std::array<char, 16 * 1024> chunk{};
    // Streamed in chunks so any length converts, and a surrogate pair split
    // across chunks is still one character.
    do {
        status = U_ZERO_ERROR;
        char* target = chunk.data();
        ucnv_fromUnicode(converter.get(), &target, chunk.data() + chunk.size(), &source, sourceEnd,
                         nullptr, /*flush=*/true, &status);
        out.append(chunk.data(), target - chunk.data());
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    return out;
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

QString fromCp932(QByteArrayView bytes)
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

QString decodeTextFile(QByteArrayView bytes)
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
    return fromCp932(bytes);
}

}  // namespace quillet
