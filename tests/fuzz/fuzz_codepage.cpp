// Code page 932 both ways on arbitrary input: bytes as a body file, and the
// same bytes as UTF-16 text, unpaired surrogates and all.
#include "ByteCounter.h"
#include "CodePage.h"

#include <QString>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString decoded = quillet::decodeTextFile(bytes);
    if (decoded.size() > bytes.size())
        std::abort();  // no byte sequence decodes to more units than bytes

    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QByteArray encoded = quillet::toCp932(text);
    const qsizetype lost = quillet::cp932UnmappableCount(text);
    // Each character becomes one or two bytes; each lost one is a "?".
    if (encoded.size() > 2 * text.size() || encoded.count('?') < lost)
        std::abort();
    if (quillet::bodyByteCount(text) < text.size())
        std::abort();
    return 0;
}
