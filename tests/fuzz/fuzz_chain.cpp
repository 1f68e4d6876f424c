// Cutting a body into pages, on arbitrary text and budgets: the parts, less
// the tags carried over and with the line breaks between them, give the
// body back; each part keeps its budget, or the body is refused as a
// whole; no cut falls inside a tag, a comment, a reference or a surrogate
// pair. The code page's widths add up to what the encoder writes.
#include "ByteCounter.h"
#include "CodePage.h"
#include "MarkupScanner.h"
#include "PageChain.h"

#include <QString>
#include <cstdlib>
#include <numeric>

using namespace quillet;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

// Whether a part may begin or end at `at`.
bool cleanCut(QStringView body, const QList<MarkupToken>& tokens, qsizetype at)
{
    if (at > 0 && at < body.size() && body[at - 1].isHighSurrogate() && body[at].isLowSurrogate())
        return false;
    for (const MarkupToken& token : tokens) {
        if (token.start >= at || token.end() <= at)
            continue;
        if (token.kind != MarkupToken::Text)
            return false;
        const qsizetype amp = body.first(at).lastIndexOf(u'&');
        return amp < token.start || characterReferenceEnd(body, amp) <= at;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype budget = 1 + data[0] % 64 * 8;  // small, so texts make many parts
    const PartMeasure measure = data[1] & 1 ? PartMeasure::CodePage : PartMeasure::Count;
    const QString body(reinterpret_cast<const QChar*>(data + 2), qsizetype((size - 2) / 2));

    const QList<quint8> widths = cp932Widths(body);
    require(std::accumulate(widths.cbegin(), widths.cend(), qsizetype(0)) == toCp932(body).size());

    const BodySplit split = splitBody(body, measure, [budget](qsizetype, bool) { return budget; });
    if (split.refusedLine > 0) {
        require(split.parts.isEmpty() && split.refusedLine <= body.count(u'\n') + 1);
        return 0;
    }
    require(!split.parts.isEmpty());
    const QList<MarkupToken> tokens = scanMarkup(body);
    qsizetype at = 0;
    for (const BodyPart& part : split.parts) {
        if (part.from != at) {
            require(part.from == at + 2 && body.sliced(at, 2) == u"\r\n");
        }
        require(part.to >= part.from && cleanCut(body, tokens, part.from) &&
                cleanCut(body, tokens, part.to));
        const QString text = part.text(body);
        require((measure == PartMeasure::Count ? bodyByteCount(text) : toCp932(text).size()) <=
                budget);
        at = part.to;
    }
    require(split.parts.constFirst().from == 0 && at == body.size());
    return 0;
}
