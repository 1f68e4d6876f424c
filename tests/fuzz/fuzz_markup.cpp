// The tag scanner, the marks and the page as a handset reads it, on
// arbitrary text: tokens cover the text exactly once, every mark lies
// inside it, a text read line by line, carrying what each line leaves
// open, reads as the whole does; the handset's page never shows more text
// than the page holds, and its cut fits and splits no character, tag or
// reference.
#include "CodePage.h"
#include "HandsetMarks.h"
#include "HandsetPage.h"
#include "MarkupScanner.h"

#include <QString>
#include <cstdlib>
#include <tuple>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

// The characters a browser shows of `html`, the selectors and keycap marks
// that a pictogram gains aside; and a tag that the next one cut short,
// which the handset's page shows as text.
qsizetype shownCharacters(QStringView html)
{
    qsizetype count = 0;
    for (const MarkupToken& token : scanMarkup(html)) {
        const bool cutShort = token.isTag() && !token.closed && token.end() < html.size();
        if (token.kind != MarkupToken::Text && !cutShort)
            continue;
        for (const char32_t c : decodeReferences(html.sliced(token.start, token.length)).toUcs4())
            count += c == 0xFE0F || c == 0x20E3 ? 0 : 1;
    }
    return count;
}

void requireWholeCut(QStringView page, const HandsetPage& shown, Series series)
{
    require(shown.kept <= page.size());
    if (!shown.cut)
        return;
    const QStringView kept = page.first(shown.kept);
    require(pageFits(series, toCp932(kept).size()));
    require(shown.kept == 0 ||
            !(page[shown.kept - 1].isHighSurrogate() && page[shown.kept].isLowSurrogate()));
    // Inside no tag, comment or declaration of the whole page.
    MarkupToken around;
    for (MarkupScanner scanner(page); scanner.next(around) && around.end() <= shown.kept;) {
    }
    const bool inside = around.start < shown.kept && around.end() > shown.kept;
    require(!inside || around.kind == MarkupToken::Text);
    // No reference, "&" to ";", runs past the cut.
    const qsizetype amp = kept.lastIndexOf(u'&');
    if (amp < 0 || !inside || amp < around.start)
        return;
    qsizetype end = amp + 1;
    while (end < page.size() && (page[end].isLetterOrNumber() || page[end] == u'#') &&
           page[end].unicode() < 0x80)
        ++end;
    require(!(end < page.size() && page[end] == u';' && end > amp + 1) || end < shown.kept);
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
    // Repeated past the first handsets' limit, so that the cut falls
    // anywhere in the input.
    const QString page = text.isEmpty() ? text : text.repeated(5200 / text.size() + 1);
    const HandsetPage shown = pageAsHandsetReads(page, Series::S501i);
    requireWholeCut(page, shown, Series::S501i);
    const qsizetype note = shown.html.indexOf(u"<div role=\"note\""_s);
    require(shownCharacters(QStringView(shown.html).first(note < 0 ? shown.html.size() : note)) <=
            shownCharacters(page));
    return 0;
}
