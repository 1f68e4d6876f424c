#include "CodePage.h"

#include <unicode/ucnv.h>

#include <QtGlobal>
#include <array>
#include <memory>

namespace quillet {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openCp932() {
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

}  // namespace

QByteArray toCp932(QStringView text) {
    const Converter converter = openCp932();
    QByteArray out;
    out.reserve(text.size() + text.size() / 2);

    const char16_t* source = text.utf16();
    const char16_t* const sourceEnd = source + text.size();
    std::array<char, 16 * 1024> chunk{};
    // Streamed in chunks so any length converts, and a surrogate pair split
    // across chunks is still one character.
    UErrorCode status = U_ZERO_ERROR;
    do {
        status = U_ZERO_ERROR;
        char* target = chunk.data();
        ucnv_fromUnicode(converter.get(), &target, chunk.data() + chunk.size(), &source, sourceEnd,
                         nullptr, /*flush=*/true, &status);
        out.append(chunk.data(), target - chunk.data());
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    return out;
}

}  // namespace quillet
