#include "HandsetMarks.h"

#include "PageSize.h"

#include <algorithm>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

qsizetype lineEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && !isLineEnd(text[from])) ++from;
    return from;
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

// The marks of a closed tag: its colour, and its name's when no handset
// knows it, or only later ones do; then its attributes', each tested on
// its value as a browser reads it.
void markTag(const MarkupToken& tag, Series chosen, QList<HandsetMark>& marks)
{
    marks.append({tag.start, tag.length, HandsetMark::Tag, QString(), HtmlVersion::V1_0});
    const QString name = tag.name.toString().toLower();
    const QString label = u'<' + name + u'>';
    const std::optional<HtmlVersion> since = elementSince(name);
    if (!since) {
        marks.append(
            {tag.nameStart, tag.name.size(), HandsetMark::UnknownTag, label, HtmlVersion::V1_0});
        return;
    }
    if (markLater(chosen, tag.nameStart, tag.name.size(), *since, label, marks))
        return;  // its attributes come with it
    for (const MarkupAttribute& attribute : tag.attributes) {
        const auto dated =
            attributeSince(name, attribute.name.toString().toLower(), attribute.decodedValue());
        if (dated)
            markLater(chosen, attribute.nameStart, attribute.name.size(), dated->since,
                      dated->label, marks);
    }
}

// A tag or comment that reaches the end of a text cut from a longer body
// may yet be closed there.
void markToken(QStringView text, const MarkupToken& token, bool bodyGoesOn, Series chosen,
               QList<HandsetMark>& marks)
{
    const bool mayGoOn = bodyGoesOn && token.end() == text.size();
    switch (token.kind) {
    case MarkupToken::Text:
        return;
    case MarkupToken::Comment:
        marks.append({token.start, token.length,
                      token.closed || mayGoOn ? HandsetMark::Comment : HandsetMark::UnclosedComment,
                      QString(), HtmlVersion::V1_0});
        return;
    case MarkupToken::Declaration:
    case MarkupToken::StartTag:
    case MarkupToken::EndTag:
        break;
    }
    if (!token.closed) {
        if (!mayGoOn)
            marks.append({token.start, lineEnd(text, token.start) - token.start,
                          HandsetMark::UnclosedTag, QString(), HtmlVersion::V1_0});
    } else if (token.kind == MarkupToken::Declaration) {
        marks.append({token.start, token.length, HandsetMark::Tag, QString(), HtmlVersion::V1_0});
    } else {
        markTag(token, chosen, marks);
    }
}

void markTags(QStringView text, MarkupState from, bool bodyGoesOn, Series chosen,
              QList<HandsetMark>& marks)
{
    MarkupScanner scanner(text, from);
    for (MarkupToken token; scanner.next(token);) markToken(text, token, bodyGoesOn, chosen, marks);
}

void markPictograms(const QList<PictogramSpan>& pictograms, Series chosen,
                    QList<HandsetMark>& marks)
{
    if (extendedPictogramsSince <= handsetSeries(chosen).html)
        return;
    for (const PictogramSpan& span : pictograms) {
        if (!isExtendedPictogram(span.code))
            continue;
        // As the pictogram shows, whether typed or written as a reference.
        markLater(chosen, span.start, span.length, extendedPictogramsSince,
                  u"拡張絵文字 "_s + pictogramText(span.code, PictogramStyle::AsMapped), marks);
    }
}

}  // namespace

void arrangeMarks(QList<HandsetMark>& marks)
{
    std::stable_sort(marks.begin(), marks.end(),
                     [](const HandsetMark& a, const HandsetMark& b) { return a.start < b.start; });
    // Only pictograms can be later inside a comment: its tags are no tags.
    qsizetype commentEnd = 0;
    marks.removeIf([&commentEnd](const HandsetMark& mark) {
        if (mark.kind == HandsetMark::Comment || mark.kind == HandsetMark::UnclosedComment)
            commentEnd = std::max(commentEnd, mark.start + mark.length);
        return mark.kind == HandsetMark::Later && mark.start < commentEnd;
    });
}

QList<HandsetMark> HandsetMarker::marks(QStringView text, bool bodyGoesOn)
{
    QList<HandsetMark> found = tagMarks(text, bodyGoesOn) + characterMarks(text);
    arrangeMarks(found);
    return found;
}

QList<HandsetMark> HandsetMarker::tagMarks(QStringView text, bool bodyGoesOn,
                                           MarkupState from) const
{
    QList<HandsetMark> found;
    markTags(text, from, bodyGoesOn, series_, found);
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
    markPictograms(spans + pictogramReferences(text), series_, found);
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
    case HandsetMark::UnclosedComment:
        return u"コメント「<!--」を閉じる「-->」がありません。携帯端末ではここから後ろが何も表示されません。"_s;
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
    markTags(page, MarkupState::InText, false, Series::S501i, later);
    markPictograms(pictogramSpans(page) + pictogramReferences(page), Series::S501i, later);
    arrangeMarks(later);
    later.removeIf([](const HandsetMark& mark) { return mark.kind != HandsetMark::Later; });

    HtmlVersion html = HtmlVersion::V1_0;
    for (const HandsetMark& mark : later) html = std::max(html, mark.since);
    const std::optional<Series> fits = oldestSeriesHolding(pageBytes);
    OldestHandset oldest;
    oldest.pageBytes = pageBytes;
    if (!fits)
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
        return heading + u"なし（ページ全体 "_s + groupedNumber(oldest.pageBytes) +
               u" バイト。文字とタグは "_s + pageLimitText(allSeries.back()) + u"）"_s;
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
