#include "MarkupScanner.h"

#include <algorithm>
#include <iterator>

namespace quillet {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A browser's white space, and the editor's own line breaks.
bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' ||
           c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Whether the "<" at `at` opens markup rather than standing for itself, as
// in "a < b" or "<3".
bool opensMarkup(QStringView text, qsizetype at)
{
    if (at + 1 >= text.size())
        return false;
    // "</" opens markup even at the end, as "<!" does: a text read line by
    // line must read the same as the whole, where a line break follows.
    const QChar after = text[at + 1];
    return isAsciiLetter(after) || after == u'/' || after == u'!' || after == u'?';
}

qsizetype skipSpace(QStringView text, qsizetype at)
{
    while (at < text.size() && isSpace(text[at])) ++at;
    return at;
}

// Where the run from `at` ends: at a space, ">", or "<", or one of `more`.
qsizetype runEnd(QStringView text, qsizetype at, QStringView more = {})
{
    while (at < text.size() && !isSpace(text[at]) && text[at] != u'>' && text[at] != u'<' &&
           !more.contains(text[at]))
        ++at;
    return at;
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int value = 99;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

constexpr char32_t pastUnicode = 0x110000;
constexpr char32_t firstPictogramCode = 0xF89F;
constexpr char32_t lastPictogramCode = 0xF9FC;

bool isCharacter(char32_t value)
{
    return value != 0 && value < pastUnicode && !(value >= 0xD800 && value <= 0xDFFF);
}

struct NamedReference {
    QStringView name;  // with its ";"
    QChar character;
};
constexpr NamedReference namedReferences[] = {
    {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''},
};

bool isReferenceCharacter(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'#';
}

}  // namespace

qsizetype characterReferenceEnd(QStringView text, qsizetype amp)
{
    // A numeric one as a browser decodes it, its ";" or not.
    if (const NumericReference numeric = numericReferenceAt(text.sliced(amp)); numeric.length > 0)
        return amp + numeric.length;
    qsizetype at = amp + 1;
    while (at < text.size() && isReferenceCharacter(text[at])) ++at;
    return at < text.size() && text[at] == u';' && at > amp + 1 ? at + 1 : amp;
}

QString MarkupAttribute::decodedValue() const
{
    return decodeReferences(value);
}

MarkupScanner::MarkupScanner(QStringView text, MarkupState from) : text_(text), state_(from) {}

bool MarkupScanner::next(MarkupToken& token)
{
    if (at_ >= text_.size())
        return false;
    token.kind = MarkupToken::Text;
    token.start = at_;
    token.closed = true;
    token.name = QStringView();
    token.nameStart = 0;
    token.attributes.clear();
    if (state_ == MarkupState::InComment) {
        readComment(token, at_);
    } else if (text_[at_] == u'<' && opensMarkup(text_, at_)) {
        const QChar after = text_[at_ + 1];
        if (text_.sliced(at_).startsWith(u"<!--"))
            readComment(token, at_ + 4);
        else if (isAsciiLetter(after) ||
                 (after == u'/' && at_ + 2 < text_.size() && isAsciiLetter(text_[at_ + 2])))
            readTag(token);
        else
            readDeclaration(token);
    } else {
        readText(token);
    }
    at_ = token.end();
    return true;
}

void MarkupScanner::readText(MarkupToken& token)
{
    qsizetype end = token.start + 1;
    while (end < text_.size() && !(text_[end] == u'<' && opensMarkup(text_, end))) ++end;
    token.length = end - token.start;
}

// "<!-->" and "<!--->" close at once, as a browser reads them.
void MarkupScanner::readComment(MarkupToken& token, qsizetype bodyStart)
{
    token.kind = MarkupToken::Comment;
    const QStringView body = text_.sliced(bodyStart);
    qsizetype end = -1;
    if (state_ == MarkupState::InText && body.startsWith(u'>'))
        end = bodyStart + 1;
    else if (state_ == MarkupState::InText && body.startsWith(u"->"))
        end = bodyStart + 2;
    else if (const qsizetype close = body.indexOf(u"-->"); close >= 0)
        end = bodyStart + close + 3;
    token.closed = end >= 0;
    state_ = token.closed ? MarkupState::InText : MarkupState::InComment;
    token.length = (token.closed ? end : text_.size()) - token.start;
}

void MarkupScanner::readDeclaration(MarkupToken& token)
{
    token.kind = MarkupToken::Declaration;
    const qsizetype close = text_.indexOf(u'>', token.start);
    token.closed = close >= 0;
    state_ = token.closed ? MarkupState::InText : MarkupState::InTag;
    token.length = (token.closed ? close + 1 : text_.size()) - token.start;
}

// The tag's name, then its attributes: a name, and "=" with a value in
// quotes, which may hold "<" and ">", or up to a space or ">".
void MarkupScanner::readTag(MarkupToken& token)
{
    const bool endTag = text_[token.start + 1] == u'/';
    token.kind = endTag ? MarkupToken::EndTag : MarkupToken::StartTag;
    token.nameStart = token.start + (endTag ? 2 : 1);
    qsizetype at = runEnd(text_, token.nameStart, u"/");
    token.name = text_.sliced(token.nameStart, at - token.nameStart);
    const auto finish = [&](qsizetype end, bool closed) {
        token.closed = closed;
        token.length = end - token.start;
        state_ = !closed && end == text_.size() ? MarkupState::InTag : MarkupState::InText;
    };
    for (;;) {
        while (at < text_.size() && (isSpace(text_[at]) || text_[at] == u'/')) ++at;
        if (at == text_.size() || text_[at] == u'<') {
            finish(at, false);
            return;
        }
        if (text_[at] == u'>') {
            finish(at + 1, true);
            return;
        }
        MarkupAttribute attribute;
        attribute.nameStart = at;
        at = runEnd(text_, at + 1, u"/=");  // a name may start with "="
        attribute.name = text_.sliced(attribute.nameStart, at - attribute.nameStart);
        if (const qsizetype equals = skipSpace(text_, at);
            equals < text_.size() && text_[equals] == u'=') {
            at = skipSpace(text_, equals + 1);
            const QChar quote = at < text_.size() ? text_[at] : QChar();
            if (quote == u'"' || quote == u'\'') {
                const qsizetype close = text_.indexOf(quote, at + 1);
                const qsizetype valueEnd = close < 0 ? text_.size() : close;
                attribute.value = text_.sliced(at + 1, valueEnd - at - 1);
                at = close < 0 ? text_.size() : close + 1;
            } else {
                const qsizetype valueEnd = runEnd(text_, at);
                attribute.value = text_.sliced(at, valueEnd - at);
                at = valueEnd;
            }
        }
        if (!endTag)
            token.attributes.append(attribute);
    }
}

QList<MarkupToken> scanMarkup(QStringView text, MarkupState from)
{
    QList<MarkupToken> tokens;
    MarkupScanner scanner(text, from);
    for (MarkupToken token; scanner.next(token);) tokens.append(token);
    return tokens;
}

MarkupState markupStateAfter(QStringView text, MarkupState from)
{
    MarkupScanner scanner(text, from);
    for (MarkupToken token; scanner.next(token);) {
    }
    return scanner.stateAtEnd();
}

NumericReference numericReferenceAt(QStringView text)
{
    if (!text.startsWith(u"&#"))
        return {};
    const bool hex = text.size() > 2 && (text[2] == u'x' || text[2] == u'X');
    const int base = hex ? 16 : 10;
    qsizetype at = hex ? 3 : 2;
    const qsizetype digits = at;
    char32_t value = 0;
    for (int digit = 0; at < text.size() && (digit = digitValue(text[at], base)) >= 0; ++at)
        value = std::min<char32_t>(value * char32_t(base) + char32_t(digit), pastUnicode);
    if (at == digits)
        return {};  // "&#;", "&#x;": no reference, only text
    if (at < text.size() && text[at] == u';')
        ++at;
    return {value, at};
}

QString decodeReferences(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype at = 0; at < text.size();) {
        const QStringView rest = text.sliced(at);
        if (const NumericReference numeric = numericReferenceAt(rest); numeric.length > 0) {
            if (isCharacter(numeric.value))
                decoded += QString::fromUcs4(&numeric.value, 1);
            else
                decoded += QChar::ReplacementCharacter;
            at += numeric.length;
            continue;
        }
        const auto* const named = std::find_if(
            std::begin(namedReferences), std::end(namedReferences),
            [rest](const NamedReference& reference) { return rest.startsWith(reference.name); });
        if (named != std::end(namedReferences)) {
            decoded += named->character;
            at += named->name.size();
        } else {
            decoded += text[at++];
        }
    }
    return decoded;
}

QList<PictogramSpan> pictogramReferences(QStringView text)
{
    QList<PictogramSpan> spans;
    for (qsizetype at = text.indexOf(u"&#"); at >= 0; at = text.indexOf(u"&#", at + 1)) {
        const NumericReference reference = numericReferenceAt(text.sliced(at));
        if (reference.value < firstPictogramCode || reference.value > lastPictogramCode)
            continue;
        const auto code = quint16(reference.value);
        if (!pictogramText(code, PictogramStyle::AsMapped).isEmpty())
            spans.append({at, reference.length, code});
    }
    return spans;
}

}  // namespace quillet
