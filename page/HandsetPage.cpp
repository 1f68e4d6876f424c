#include "HandsetPage.h"

#include "CodePage.h"
#include "MarkupScanner.h"
#include "PageSize.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// A keycap also names its key, so that a screen without colours can draw
// the key itself rather than the keycap's shape.
QString pictogramSpan(const QString& pictogram)
{
    constexpr char16_t keycapMark = 0x20E3;
    const QString key = pictogram.contains(QChar(keycapMark))
                            ? u" data-key=\""_s + pictogram.first(1).toHtmlEscaped() + u'"'
                            : QString();
    return u"<span class=\"quillet-pictogram\""_s + key + u'>' + pictogram + u"</span>"_s;
}

// A "<" that stood for itself must not open a tag once the tags around it
// are gone ("<<span>b>").
void appendPlain(QChar c, QString& out)
{
    if (c == u'<')
        out += u"&lt;"_s;
    else
        out += c;
}

// A text run as the handset shows it: references to pictograms become the
// pictograms, and each pictogram is marked for the pane.
void appendText(QStringView text, QString& out)
{
    const QList<PictogramSpan> references = pictogramReferences(text);
    const QList<PictogramSpan> typed = pictogramSpans(text);
    if (references.isEmpty() && typed.isEmpty() && !text.contains(u'<')) {
        out += text;
        return;
    }
    auto reference = references.cbegin();
    auto pictogram = typed.cbegin();
    for (qsizetype at = 0; at < text.size();) {
        if (reference != references.cend() && reference->start == at) {
            out += pictogramSpan(pictogramText(reference->code, PictogramStyle::AsEmoji));
            at += reference->length;
            ++reference;
        } else if (pictogram != typed.cend() && pictogram->start == at) {
            out += pictogramSpan(text.sliced(at, pictogram->length).toString());
            at += pictogram->length;
            ++pictogram;
        } else {
            appendPlain(text[at++], out);
        }
        // Past what this step took.
        while (pictogram != typed.cend() && pictogram->start < at) ++pictogram;
    }
}

bool isVoidElement(QStringView name)
{
    for (const QStringView empty : {u"br", u"hr", u"img", u"input", u"meta", u"base", u"param"}) {
        if (name == empty)
            return true;
    }
    return false;
}

// Reads the tokens into the page the handset shows, keeping the elements
// left open, so that a note after a cut can close them first.
class Reader {
public:
    Reader(QStringView text, HtmlVersion html) : text_(text), html_(html) {}

    QString read()
    {
        MarkupScanner scanner(text_);
        for (MarkupToken token; scanner.next(token);) {
            if (!hiddenUntil_.isEmpty()) {
                if (token.kind == MarkupToken::EndTag && lower(token.name) == hiddenUntil_)
                    hiddenUntil_.clear();
                continue;
            }
            readToken(token);
        }
        return out_;
    }

    // The elements the text leaves open, innermost last.
    const QStringList& leftOpen() const { return open_; }

private:
    static QString lower(QStringView name) { return name.toString().toLower(); }

    void readToken(const MarkupToken& token)
    {
        const QStringView written = text_.sliced(token.start, token.length);
        switch (token.kind) {
        case MarkupToken::Text:
            appendText(written, out_);
            return;
        case MarkupToken::Comment:
        case MarkupToken::Declaration:
            // One left open hides the rest of the page, and nothing more:
            // not what the pane adds after it.
            if (token.closed)
                out_ += written;
            return;
        case MarkupToken::StartTag:
        case MarkupToken::EndTag:
            break;
        }
        if (!token.closed) {
            // A tag left open at the end shows nothing, as in a browser; one
            // that the next tag cut short shows as the text it is, as its
            // mark does, rather than join a tag the handset drops.
            if (token.end() < text_.size())
                appendText(written, out_);
            return;
        }
        const QString name = lower(token.name);
        const bool start = token.kind == MarkupToken::StartTag;
        if (name == u"script"_s || name == u"style"_s) {
            if (start)
                hiddenUntil_ = name;
            return;
        }
        const std::optional<HtmlVersion> since = elementSince(name);
        if (!since || *since > html_)
            return;  // ignored, its content shown
        if (!start) {
            out_ += u"</"_s + name + u'>';
            if (const qsizetype at = open_.lastIndexOf(name); at >= 0)
                open_.remove(at);
            return;
        }
        out_ += u'<' + name;
        for (const MarkupAttribute& attribute : token.attributes) {
            const QString attributeName = lower(attribute.name);
            const QString value = attribute.decodedValue();
            if (knowsAttribute(html_, name, attributeName, value))
                out_ += u' ' + attributeName + u"=\""_s + value.toHtmlEscaped() + u'"';
        }
        out_ += u'>';
        if (!isVoidElement(name) && name != u"html"_s && name != u"head"_s && name != u"body"_s)
            open_.append(name);
    }

    QStringView text_;
    HtmlVersion html_;
    QString out_;
    QStringList open_;
    QString hiddenUntil_;  // the end tag of the script or style being hidden
};

// How much of `page` the series takes: the longest start whose bytes, with
// the pictures', fit it.
qsizetype fittingLength(QStringView page, Series series, qsizetype pictures)
{
    const QList<quint8> widths = cp932Widths(page);
    const qsizetype room = pageLimit(series).largestPage() - pictures;
    qsizetype bytes = 0;
    qsizetype fits = 0;
    while (fits < page.size() && bytes + widths[fits] <= room) bytes += widths[fits++];
    return fits;
}

// The cut moved back to the last whole character, tag and reference.
qsizetype wholeCut(QStringView page, qsizetype cut)
{
    if (cut > 0 && cut < page.size() && page[cut - 1].isHighSurrogate() &&
        page[cut].isLowSurrogate())
        --cut;
    // A keycap sequence is one character too.
    const qsizetype from = std::max<qsizetype>(0, cut - longestPictogram);
    const qsizetype to = std::min(page.size(), cut + longestPictogram);
    for (const PictogramSpan& span : pictogramSpans(page.sliced(from, to - from))) {
        if (from + span.start < cut && from + span.start + span.length > cut)
            cut = from + span.start;
    }
    // Read as the whole page reads: a "<" just before the cut may open a tag.
    MarkupScanner scanner(page);
    MarkupToken around;
    while (scanner.next(around) && around.end() <= cut) {
    }
    if (around.start >= cut || around.end() <= cut)
        return cut;  // between two tokens
    if (around.kind != MarkupToken::Text)
        return around.start;
    const qsizetype amp = page.first(cut).lastIndexOf(u'&');
    return amp >= around.start && characterReferenceEnd(page, amp) > cut ? amp : cut;
}

}  // namespace

qsizetype pictureBytes(QStringView page, const QString& folder)
{
    if (folder.isEmpty())
        return 0;
    const QDir base(folder);
    QSet<QString> counted;
    qsizetype bytes = 0;
    MarkupScanner scanner(page);
    for (MarkupToken token; scanner.next(token);) {
        if (token.kind != MarkupToken::StartTag || token.name.compare(u"img", Qt::CaseInsensitive))
            continue;
        for (const MarkupAttribute& attribute : token.attributes) {
            if (attribute.name.compare(u"src", Qt::CaseInsensitive) != 0)
                continue;
            const QUrl source(attribute.decodedValue());
            if (!source.isRelative() || source.path().startsWith(u'/'))
                continue;  // elsewhere: fetched from the network, never here
            const QString path = QDir::cleanPath(base.filePath(source.path()));
            const QFileInfo picture(path);
            if (picture.isFile() && !base.relativeFilePath(path).startsWith(u"../"_s) &&
                !counted.contains(path)) {
                counted.insert(path);
                bytes += picture.size();
            }
        }
    }
    return bytes;
}

QString cutNote(Series series)
{
    return u"―― "_s + seriesName(series) + u" はここまで（"_s + pageLimitText(series) + u"）"_s;
}

HandsetPage pageAsHandsetReads(QStringView page, Series series, qsizetype pictures)
{
    HandsetPage shown;
    // A page twice its length in bytes surely fits; else it is measured.
    qsizetype length = page.size();
    if (!pageFits(series, 2 * page.size() + pictures) &&
        !pageFits(series, toCp932(page).size() + pictures)) {
        length = wholeCut(page, fittingLength(page, series, pictures));
        shown.cut = true;
    }
    shown.kept = length;
    Reader reader(page.first(length), handsetSeries(series).html);
    shown.html = reader.read();
    if (shown.cut) {
        // What the cut left open closes before the note, which stands apart.
        QStringList open = reader.leftOpen();
        while (!open.isEmpty()) shown.html += u"</"_s + open.takeLast() + u'>';
        shown.html +=
            u"<div role=\"note\" style=\"margin-top:0.5em;border-top:1px dashed;"
            u"padding-top:0.25em\">"_s +
            cutNote(series).toHtmlEscaped() + u"</div>"_s;
    }
    return shown;
}

}  // namespace quillet
