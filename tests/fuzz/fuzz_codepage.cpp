// Code page 932 both ways on arbitrary input: bytes as a body file, and the
// same bytes as UTF-16 text, unpaired surrogates and all, with the marks
// the editor draws on it.
#include "ByteCounter.h"
#include "CodePage.h"
#include "HandsetMarks.h"

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

    // The editor's marks lie inside the text and mark exactly the lost ones.
    qsizetype marked = 0;
    for (const quillet::HandsetMark& mark : quillet::HandsetMarker().marks(text)) {
        if (mark.start < 0 || mark.length <= 0 || mark.start + mark.length > text.size())
            std::abort();
        marked += mark.kind == quillet::HandsetMark::LostCharacter;
    }
    if (marked != lost)
        std::abort();
    return 0;
}
