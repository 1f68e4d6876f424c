// The tag scanner and the marks on arbitrary text: tokens cover the text
// exactly once, every mark lies inside it, and a text read line by line,
// carrying what each line leaves open, reads as the whole does.
#include "HandsetMarks.h"
#include "MarkupScanner.h"

#include <QString>
#include <cstdlib>
#include <tuple>

using namespace quillet;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));

    qsizetype covered = 0;
    for (const MarkupToken& token : scanMarkup(text)) {
        require(token.start == covered && token.length > 0);
        covered = token.end();
        for (const MarkupAttribute& attribute : token.attributes) {
            require(attribute.nameStart > token.start && attribute.nameStart < token.end());
            require(attribute.value.isNull() ||
                    (attribute.value.data() >= text.data() + token.start &&
                     attribute.value.data() + attribute.value.size() <= text.data() + token.end()));
            std::ignore = attribute.decodedValue();
        }
    }
    require(covered == text.size());

    HandsetMarker marker;
    for (const HandsetMark& mark : marker.marks(text))
        require(mark.start >= 0 && mark.length >= 0 && mark.start + mark.length <= text.size());

    // The editor stores what each line leaves open and reads on from it; it
    // goes back to the "<" of a tag instead.
    if (const qsizetype lineBreak = text.indexOf(u'\n'); lineBreak >= 0) {
        const MarkupState first =
            markupStateAfter(QStringView(text).first(lineBreak + 1), MarkupState::InText);
        if (first != MarkupState::InTag)
            require(markupStateAfter(QStringView(text).sliced(lineBreak + 1), first) ==
                    markupStateAfter(text, MarkupState::InText));
    }
    return 0;
}
