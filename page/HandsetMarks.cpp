#include "HandsetMarks.h"

#include "PageSize.h"

#include <algorithm>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isNameCharacter(QChar c)
{
    return isAsciiLetter(c) || c.isDigit() || c == u'-' || c == u'_' || c == u':';
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || isLineEnd(c);
}

qsizetype lineEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && !isLineEnd(text[from])) ++from;
    return from;
}

qsizetype skipSpace(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && isSpace(text[at])) ++at;
    return at;
}

// A mark for what only the handsets of `since` on show, when the chosen
// series is older; whether it was marked.
bool markLater(Series chosen, qsizetype start, qsizetype length, HtmlVersion since,
               const QString& label, QList<HandsetMark>& marks)
{
    if (since <= handsetSeries(chosen).html)
        return false;
    marks.append({start, length, HandsetMark::Later, label, since});
    return true;
}

// The dated attributes of the start tag of `element`, from `from` to the
// tag's ">" at `gt`, as a browser reads them: a name, then "=" and a value
// in quotes or up to a space.
void markAttributes(QStringView text, const QString& element, qsizetype from, qsizetype gt,
                    Series chosen, QList<HandsetMark>& marks)
{
    for (qsizetype at = skipSpace(text, from, gt); at < gt; at = skipSpace(text, at, gt)) {
        const qsizetype nameStart = at;
        while (at < gt && isNameCharacter(text[at])) ++at;
        if (at == nameStart) {
            ++at;  // a stray character, such as "/" in "<br />"
            continue;
        }
        const QString name = text.sliced(nameStart, at - nameStart).toString().toLower();
        QStringView value;
        qsizetype afterName = skipSpace(text, at, gt);
        if (afterName < gt && text[afterName] == u'=') {
            at = skipSpace(text, afterName + 1, gt);
            const QChar quote = at < gt ? text[at] : QChar();
            const bool quoted = quote == u'"' || quote == u'\'';
            const qsizetype valueStart = quoted ? at + 1 : at;
            qsizetype valueEnd = valueStart;
            while (valueEnd < gt && (quoted ? text[valueEnd] != quote : !isSpace(text[valueEnd])))
                ++valueEnd;
            value = text.sliced(valueStart, valueEnd - valueStart);
            at = quoted && valueEnd < gt ? valueEnd + 1 : valueEnd;
        }
        if (const auto dated = attributeSince(element, name, value))
            markLater(chosen, nameStart, name.size(), dated->since, dated->label, marks);
    }
}

// The marks of the tag from `lt` to `gt`: its colour, and its name's when
// no handset knows it, or only later ones do; then its attributes'.
void markTag(QStringView text, qsizetype lt, qsizetype gt, Series chosen, QList<HandsetMark>& marks)
{
    marks.append({lt, gt + 1 - lt, HandsetMark::Tag, QString(), HtmlVersion::V1_0});
    qsizetype nameStart = lt + 1;
    const bool endTag = text[nameStart] == u'/';
    if (endTag)
        ++nameStart;
    if (text[nameStart] == u'!')
        return;  // a declaration such as <!DOCTYPE>, not an element
    qsizetype nameEnd = nameStart;
    while (nameEnd < gt && (isAsciiLetter(text[nameEnd]) || text[nameEnd].isDigit())) ++nameEnd;
    if (nameEnd == nameStart)
        return;
    const QString name = text.sliced(nameStart, nameEnd - nameStart).toString().toLower();
    const QString label = u'<' + name + u'>';
    const std::optional<HtmlVersion> since = elementSince(name);
    if (!since) {
        marks.append(
            {nameStart, nameEnd - nameStart, HandsetMark::UnknownTag, label, HtmlVersion::V1_0});
        return;
    }
    if (markLater(chosen, nameStart, nameEnd - nameStart, *since, label, marks))
        return;  // its attributes come with it
    if (!endTag)
        markAttributes(text, name, nameEnd, gt, chosen, marks);
}

// Returns where scanning goes on.
qsizetype markFrom(QStringView text, qsizetype lt, bool bodyGoesOn, Series chosen,
                   QList<HandsetMark>& marks)
{
    if (text.sliced(lt).startsWith(u"<!--")) {
        const qsizetype close = text.indexOf(u"-->", lt + 4);
        const qsizetype end = close < 0 ? text.size() : close + 3;
        marks.append({lt, end - lt, HandsetMark::Comment, QString(), HtmlVersion::V1_0});
        return end;
    }
    qsizetype next = lt + 1;
    while (next < text.size() && text[next] != u'>' && text[next] != u'<') ++next;
    if (next == text.size() && bodyGoesOn)
        return next;
    if (next == text.size() || text[next] == u'<') {
        marks.append(
            {lt, lineEnd(text, lt) - lt, HandsetMark::UnclosedTag, QString(), HtmlVersion::V1_0});
        return next;
    }
    markTag(text, lt, next, chosen, marks);
    return next + 1;
}

void markTags(QStringView text, bool bodyGoesOn, Series chosen, QList<HandsetMark>& marks)
{
    for (qsizetype at = text.indexOf(u'<'); at >= 0 && at < text.size();) {
        const QChar after = at + 1 < text.size() ? text[at + 1] : QChar();
        // As a browser reads it: "a < b" is text, not a tag.
        const bool opensTag = isAsciiLetter(after) || after == u'/' || after == u'!';
        at = opensTag ? markFrom(text, at, bodyGoesOn, chosen, marks) : at + 1;
        at = text.indexOf(u'<', at);
    }
}

void markPictograms(QStringView text, const QList<PictogramSpan>& pictograms, Series chosen,
                    QList<HandsetMark>& marks)
{
    if (extendedPictogramsSince <= handsetSeries(chosen).html)
        return;
    for (const PictogramSpan& span : pictograms) {
        if (!isExtendedPictogram(span.code))
            continue;
        QString shown = text.sliced(span.start, span.length).toString();
        shown.remove(QChar(0xFE0F));  // the presentation selector draws nothing of its own
        markLater(chosen, span.start, span.length, extendedPictogramsSince,
                  u"拡張絵文字 "_s + shown, marks);
    }
}

}  // namespace

void sortByStart(QList<HandsetMark>& marks)
{
    std::stable_sort(marks.begin(), marks.end(),
                     [](const HandsetMark& a, const HandsetMark& b) { return a.start < b.start; });
}

QList<HandsetMark> HandsetMarker::marks(QStringView text, bool bodyGoesOn)
{
    QList<HandsetMark> found = tagMarks(text, bodyGoesOn) + characterMarks(text);
    sortByStart(found);
    return found;
}

QList<HandsetMark> HandsetMarker::tagMarks(QStringView text, bool bodyGoesOn) const
{
    QList<HandsetMark> found;
    markTags(text, bodyGoesOn, series_, found);
    return found;
}

QList<HandsetMark> HandsetMarker::characterMarks(QStringView text, QList<PictogramSpan>* pictograms)
{
    QList<HandsetMark> found;
    QList<PictogramSpan> spans;
    for (const Cp932Risk& risk : characters_.risks(text, &spans)) {
        const auto kind = risk.kind == Cp932Risk::Lost ? HandsetMark::LostCharacter
                                                       : HandsetMark::PlatformCharacter;
        found.append({risk.start, risk.length, kind, QString(), HtmlVersion::V1_0});
    }
    markPictograms(text, spans, series_, found);
    if (pictograms)
        pictograms->append(spans);
    return found;
}

QString handsetMarkTip(const HandsetMark& mark)
{
    switch (mark.kind) {
    case HandsetMark::LostCharacter:
        return u"Shift-JIS で表せない文字です。ページには「?」と書き込まれます。"_s;
    case HandsetMark::PlatformCharacter:
        return u"携帯端末では表示されないことがある文字（機種依存文字）です。"_s;
    case HandsetMark::UnknownTag:
        return mark.label + u" は携帯端末の HTML にないタグです。表示されません。"_s;
    case HandsetMark::Later:
        return mark.label + u" は "_s + htmlVersionName(mark.since) + u"（"_s +
               seriesName(firstSeriesWith(mark.since)) + u"）以降の端末だけが表示します。"_s;
    case HandsetMark::UnclosedTag:
        return u"「>」がありません。ここから後ろが表示されないことがあります。"_s;
    case HandsetMark::Tag:
    case HandsetMark::Comment:
        break;
    }
    return QString();
}

OldestHandset oldestHandset(QStringView page, qsizetype pageBytes)
{
    // Against the first series, every feature of a later one is a mark.
    QList<HandsetMark> later;
    markTags(page, false, Series::S501i, later);
    markPictograms(page, pictogramSpans(page), Series::S501i, later);
    sortByStart(later);
    later.removeIf([](const HandsetMark& mark) { return mark.kind != HandsetMark::Later; });

    HtmlVersion html = HtmlVersion::V1_0;
    for (const HandsetMark& mark : later) html = std::max(html, mark.since);
    const auto* const fits = std::find_if(allSeries.begin(), allSeries.end(),
                                          [pageBytes](Series s) { return pageFits(s, pageBytes); });
    OldestHandset oldest;
    oldest.pageBytes = pageBytes;
    if (fits == allSeries.end())
        return oldest;
    oldest.series = std::max(firstSeriesWith(html), *fits);
    for (const HandsetMark& mark : later) {
        if (firstSeriesWith(mark.since) == *oldest.series && !oldest.reasons.contains(mark.label))
            oldest.reasons.append(mark.label);
    }
    if (*fits == *oldest.series && *fits != Series::S501i)
        oldest.reasons.append(u"ページ "_s + groupedNumber(pageBytes) + u" バイト"_s);
    return oldest;
}

QString oldestHandsetText(const OldestHandset& oldest)
{
    const QString heading = u"表示できる端末: "_s;
    if (!oldest.series) {
        const HandsetSeries& newest = handsetSeries(allSeries.back());
        return heading + u"なし（ページ全体 "_s + groupedNumber(oldest.pageBytes) +
               u" バイト。文字とタグは "_s + groupedNumber(newest.pageLimit) + u" バイトまで）"_s;
    }
    QString text = heading + seriesName(*oldest.series) + u" 以降"_s;
    if (oldest.reasons.isEmpty())
        return text;
    constexpr qsizetype shownReasons = 4;
    text +=
        u"（"_s + oldest.reasons.first(std::min(shownReasons, oldest.reasons.size())).join(u"、"_s);
    if (oldest.reasons.size() > shownReasons)
        text += u" ほか"_s;
    return text + u"）"_s;
}

}  // namespace quillet
