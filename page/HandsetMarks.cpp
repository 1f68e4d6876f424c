#include "HandsetMarks.h"

#include <algorithm>
#include <array>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// The elements of Compact HTML, the W3C Note "Compact HTML for Small
// Information Appliances" (https://www.w3.org/TR/1998/NOTE-compactHTML-19980209,
// section 3.3 and its DTD): what the first handsets' browsers know.
constexpr std::array<std::u16string_view, 35> compactHtmlTags{
    u"a",   u"base",   u"blockquote", u"body", u"br",     u"center",   u"dd",    u"dfn",  u"dir",
    u"div", u"dl",     u"dt",         u"form", u"h1",     u"h2",       u"h3",    u"h4",   u"h5",
    u"h6",  u"head",   u"hr",         u"html", u"img",    u"input",    u"li",    u"menu", u"meta",
    u"ol",  u"option", u"p",          u"pre",  u"select", u"textarea", u"title", u"ul"};

// Added by the second generation of handsets, i-mode HTML 2.0 (1999).
constexpr std::array<std::u16string_view, 3> laterTags{u"blink", u"font", u"marquee"};

template <std::size_t N>
bool contains(const std::array<std::u16string_view, N>& names, QStringView name)
{
    const std::u16string_view key(name.utf16(), std::size_t(name.size()));
    return std::find(names.begin(), names.end(), key) != names.end();
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

qsizetype lineEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && !isLineEnd(text[from])) ++from;
    return from;
}

// The marks of the tag from `lt` to `gt`: its colour, and its name's when
// handsets do not know it, or only later ones do.
void markTag(QStringView text, qsizetype lt, qsizetype gt, QList<HandsetMark>& marks)
{
    marks.append({lt, gt + 1 - lt, HandsetMark::Tag, QString()});
    qsizetype nameStart = lt + 1;
    if (text[nameStart] == u'/')
        ++nameStart;
    if (text[nameStart] == u'!')
        return;  // a declaration such as <!DOCTYPE>, not an element
    qsizetype nameEnd = nameStart;
    while (nameEnd < gt && (isAsciiLetter(text[nameEnd]) || text[nameEnd].isDigit())) ++nameEnd;
    if (nameEnd == nameStart)
        return;
    const QString name = text.sliced(nameStart, nameEnd - nameStart).toString().toLower();
    if (contains(compactHtmlTags, name))
        return;
    const auto kind = contains(laterTags, name) ? HandsetMark::LaterTag : HandsetMark::UnknownTag;
    marks.append({nameStart, nameEnd - nameStart, kind, name});
}

// Returns where scanning goes on.
qsizetype markFrom(QStringView text, qsizetype lt, bool bodyGoesOn, QList<HandsetMark>& marks)
{
    if (text.sliced(lt).startsWith(u"<!--")) {
        const qsizetype close = text.indexOf(u"-->", lt + 4);
        const qsizetype end = close < 0 ? text.size() : close + 3;
        marks.append({lt, end - lt, HandsetMark::Comment, QString()});
        return end;
    }
    qsizetype next = lt + 1;
    while (next < text.size() && text[next] != u'>' && text[next] != u'<') ++next;
    if (next == text.size() && bodyGoesOn)
        return next;
    if (next == text.size() || text[next] == u'<') {
        marks.append({lt, lineEnd(text, lt) - lt, HandsetMark::UnclosedTag, QString()});
        return next;
    }
    markTag(text, lt, next, marks);
    return next + 1;
}

void markTags(QStringView text, bool bodyGoesOn, QList<HandsetMark>& marks)
{
    for (qsizetype at = text.indexOf(u'<'); at >= 0 && at < text.size();) {
        const QChar after = at + 1 < text.size() ? text[at + 1] : QChar();
        // As a browser reads it: "a < b" is text, not a tag.
        const bool opensTag = isAsciiLetter(after) || after == u'/' || after == u'!';
        at = opensTag ? markFrom(text, at, bodyGoesOn, marks) : at + 1;
        at = text.indexOf(u'<', at);
    }
}

}  // namespace

QList<HandsetMark> HandsetMarker::marks(QStringView text, bool bodyGoesOn)
{
    QList<HandsetMark> found;
    markTags(text, bodyGoesOn, found);
    for (const Cp932Risk& risk : characters_.risks(text)) {
        const auto kind = risk.kind == Cp932Risk::Lost ? HandsetMark::LostCharacter
                                                       : HandsetMark::PlatformCharacter;
        found.append({risk.start, risk.length, kind, QString()});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const HandsetMark& a, const HandsetMark& b) { return a.start < b.start; });
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
        return u"<"_s + mark.tagName + u"> は携帯端末の HTML にないタグです。表示されません。"_s;
    case HandsetMark::LaterTag:
        return u"<"_s + mark.tagName + u"> は i-mode HTML 2.0 以降の端末だけが表示します。"_s;
    case HandsetMark::UnclosedTag:
        return u"「>」がありません。ここから後ろが表示されないことがあります。"_s;
    case HandsetMark::Tag:
    case HandsetMark::Comment:
        break;
    }
    return QString();
}

}  // namespace quillet
