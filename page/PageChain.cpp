#include "PageChain.h"

#include "ByteCounter.h"
#include "CodePage.h"
#include "HandsetMarks.h"
#include "MarkupScanner.h"
#include "PageSize.h"
#include "SubPageWriter.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Where a reader would turn the page inside a sentence.
bool endsClause(QChar c)
{
    return c == u'。' || c == u'！' || c == u'？' || c == u'、';
}

// A closing bracket or quote belongs with the clause it closes: 「…。」
bool closesQuote(QChar c)
{
    return QStringView(u"」』）〕】》〉”’").contains(c);
}

// Elements that, left open at a cut, would lose their effect on the next
// page: each is closed at the cut and opened again after it. A table or a
// form cut in two stays as written; no page could hold half of one.
bool carriedOver(QStringView name)
{
    static constexpr QStringView names[] = {
        u"a",  u"blink", u"blockquote", u"center", u"div",     u"dl", u"font", u"h1", u"h2",
        u"h3", u"h4",    u"h5",         u"h6",     u"marquee", u"ol", u"pre",  u"ul"};
    return std::any_of(std::begin(names), std::end(names), [name](QStringView known) {
        return name.compare(known, Qt::CaseInsensitive) == 0;
    });
}

bool isLineBreak(QStringView body, qsizetype at)
{
    return at + 1 < body.size() && body[at] == u'\r' && body[at + 1] == u'\n';
}

// An element open at some point of the body: one node of a stack that the
// whole body shares, so that a cut anywhere knows what is open there.
struct OpenElement {
    int parent = -1;
    QStringView tag;     // the start tag as written
    QStringView name;    // as written
    qint64 opening = 0;  // what opening it and those around it costs
    qint64 closing = 0;  // what closing it and those around it costs
};

// Where a part may end: at `end`, the next starting at `next` (past the
// line break left out), with `open` open there.
struct Cut {
    qsizetype end = 0;
    qsizetype next = 0;
    int open = -1;
};

// The body read as pieces no cut may fall inside, from some point on.
struct Piece {
    enum Kind { Character, LineBreak, Markup };
    Kind kind = Character;
    qsizetype start = 0;
    qsizetype end = 0;
    bool cutAfter = true;    // whether a part may end after it
    bool clauseEnd = false;  // after it a reader would turn the page
};

class Splitter {
public:
    Splitter(QStringView body, PartMeasure measure, const PartBudget& budget)
        : body_(body), budget_(budget), pictograms_(pictogramSpans(body))
    {
        if (measure == PartMeasure::CodePage)
            widths_ = cp932Widths(body);
    }

    BodySplit split()
    {
        BodySplit result;
        Cut from;
        while (true) {
            const std::optional<Cut> cut = partFrom(from, result.parts.size());
            if (!cut) {
                result.parts.clear();
                result.refusedLine = body_.first(from.next).count(u'\n') + 1;
                return result;
            }
            result.parts.append({from.next, cut->end, openingText(from.open),
                                 cut->end == body_.size() ? QString() : closingText(cut->open)});
            if (cut->end == body_.size())
                return result;
            from = *cut;
        }
    }

private:
    qint64 cost(qsizetype from, qsizetype to) const
    {
        qint64 sum = 0;
        if (!widths_.isEmpty()) {
            for (qsizetype at = from; at < to; ++at) sum += widths_[at];
        } else {
            sum = bodyByteCount(body_.sliced(from, to - from));
        }
        return sum;
    }

    qint64 opening(int open) const { return open < 0 ? 0 : stack_[open].opening; }
    qint64 closing(int open) const { return open < 0 ? 0 : stack_[open].closing; }

    QString openingText(int open) const
    {
        QString text;
        for (; open >= 0; open = stack_[open].parent) text.prepend(stack_[open].tag);
        return text;
    }

    QString closingText(int open) const
    {
        QString text;
        for (; open >= 0; open = stack_[open].parent) text += u"</"_s + stack_[open].name + u'>';
        return text;
    }

    // What is open after `token`, given what was open before it.
    int afterTag(const MarkupToken& token, int open)
    {
        if (!token.closed || !carriedOver(token.name))
            return open;
        if (token.kind == MarkupToken::StartTag) {
            const QStringView tag = body_.sliced(token.start, token.length);
            const qint64 closeCost = qint64(token.name.size()) + 3;  // "</" name ">", all ASCII
            stack_.push_back({open, tag, token.name, opening(open) + cost(token.start, token.end()),
                              closing(open) + closeCost});
            return int(stack_.size()) - 1;
        }
        // An end tag closes its element and whatever was left open inside.
        for (int at = open; at >= 0; at = stack_[at].parent) {
            if (stack_[at].name.compare(token.name, Qt::CaseInsensitive) == 0)
                return stack_[at].parent;
        }
        return open;
    }

    // The pieces of a text token, one after another.
    template <typename OnPiece>
    bool readText(qsizetype from, qsizetype to, OnPiece&& onPiece)
    {
        auto pictogram = std::lower_bound(
            pictograms_.cbegin(), pictograms_.cend(), from,
            [](const PictogramSpan& span, qsizetype at) { return span.start < at; });
        bool inClause = false;
        for (qsizetype at = from; at < to;) {
            Piece piece{Piece::Character, at, at + 1};
            if (isLineBreak(body_, at)) {
                piece = {Piece::LineBreak, at, at + 2};
            } else if (pictogram != pictograms_.cend() && pictogram->start == at) {
                piece.end = at + pictogram->length;
                ++pictogram;
            } else if (body_[at] == u'&') {
                piece.end = std::max(at + 1, characterReferenceEnd(body_, at));
            } else if (body_[at].isHighSurrogate() && at + 1 < to &&
                       body_[at + 1].isLowSurrogate()) {
                piece.end = at + 2;
            }
            const QChar last = body_[piece.end - 1];
            inClause = endsClause(last) || (inClause && closesQuote(last));
            piece.clauseEnd = inClause && piece.end - piece.start == 1;
            // A line's last character stays with its break.
            piece.cutAfter = piece.kind == Piece::Character && !isLineBreak(body_, piece.end);
            if (!onPiece(piece))
                return false;
            at = piece.end;
            while (pictogram != pictograms_.cend() && pictogram->start < at) ++pictogram;
        }
        return true;
    }

    // The last cut after `from` that keeps part `index` within its budget:
    // the end of the body, else the last whole line, else the last clause,
    // else the last piece. None when not even one piece fits.
    std::optional<Cut> partFrom(const Cut& from, qsizetype index)
    {
        const qint64 budget = budget_(index, false);
        const qint64 lastBudget = budget_(index, true);
        qint64 used = opening(from.open);
        int open = from.open;
        std::optional<Cut> line;
        std::optional<Cut> clause;
        std::optional<Cut> any;
        bool ended = true;  // the loop read to the body's end
        const auto take = [&](const Piece& piece) {
            if (piece.kind == Piece::LineBreak) {
                if (piece.start > from.next && used + closing(open) <= budget)
                    line = Cut{piece.start, piece.end, open};
            }
            used += cost(piece.start, piece.end);
            if (used > std::max(budget, lastBudget)) {
                ended = false;
                return false;  // the pieces only add up
            }
            if (piece.cutAfter && piece.end < body_.size() && used + closing(open) <= budget) {
                any = Cut{piece.end, piece.end, open};
                if (piece.clauseEnd)
                    clause = any;
            }
            return true;
        };

        MarkupScanner scanner(body_.sliced(from.next));
        for (MarkupToken token; scanner.next(token);) {
            const qsizetype start = from.next + token.start;
            if (token.kind == MarkupToken::Text) {
                if (!readText(start, start + token.length, take))
                    break;
                continue;
            }
            open = afterTag(token, open);
            // A "<br>" stays with the line break after it, as a character does.
            Piece piece{Piece::Markup, start, start + token.length,
                        token.closed && !isLineBreak(body_, start + token.length)};
            piece.clauseEnd = token.kind == MarkupToken::StartTag &&
                              token.name.compare(u"br", Qt::CaseInsensitive) == 0;
            if (!take(piece))
                break;
        }
        if (ended && used <= lastBudget)
            return Cut{body_.size(), body_.size(), open};
        if (line)
            return line;
        return clause ? clause : any;
    }

    QStringView body_;
    const PartBudget& budget_;
    const QList<PictogramSpan> pictograms_;
    QList<quint8> widths_;  // the code page's bytes, when those are measured
    std::vector<OpenElement> stack_;
};

qsizetype digitCount(qsizetype number)
{
    return QString::number(number).size();
}

QString numberedTitle(const QString& title, qsizetype page, qsizetype pages)
{
    return title + u"（"_s + QString::number(page) + u'/' + QString::number(pages) + u"）"_s;
}

// The file names of a chain, made as far as they are asked for.
class PageNames {
public:
    explicit PageNames(const QString& first) : names_{first} {}
    const QString& at(qsizetype index)
    {
        while (names_.size() <= index) names_.append(nextPageName(names_.constLast()));
        return names_[index];
    }

private:
    QStringList names_;
};

}  // namespace

QString nextPageName(const QString& fileName)
{
    qsizetype end = fileName.size();
    while (end > 0 && !isDigit(fileName[end - 1])) --end;
    if (end == 0) {
        const qsizetype dot = fileName.lastIndexOf(u'.');
        const qsizetype at = dot > 0 ? dot : fileName.size();
        return fileName.first(at) + u'2' + fileName.sliced(at);
    }
    QString next = fileName;
    qsizetype at = end - 1;
    for (; at >= 0 && next[at] == u'9'; --at) next[at] = u'0';
    if (at >= 0 && isDigit(next[at]))
        next[at] = QChar(next[at].unicode() + 1);
    else
        next.insert(at + 1, u'1');  // sub999 runs on to sub1000
    return next;
}

BodySplit splitBody(QStringView body, PartMeasure measure, const PartBudget& budget)
{
    return Splitter(body, measure, budget).split();
}

PageChain planChain(const ChainRequest& request)
{
    const QFileInfo output(request.outputPath);
    const QString folder =
        request.outputPath.first(request.outputPath.size() - output.fileName().size());
    PageNames names(output.fileName());
    // A page alone is no chain: it keeps its title.
    const auto titleOf = [&](qsizetype page, qsizetype pages) {
        return request.numberTitles && pages > 1 ? numberedTitle(request.title, page + 1, pages)
                                                 : request.title;
    };
    const auto linkOf = [&](qsizetype page, bool last) {
        return last ? request.nextLink : names.at(page + 1);
    };

    // The title holds the number of pages, known only once the body is cut:
    // cut again while that number has more digits than was assumed.
    BodySplit split;
    for (qsizetype assumed = 9;; assumed = split.parts.size()) {
        PartBudget budget = [](qsizetype, bool) { return chainBodyLimit; };
        if (request.pageLimitOf) {
            const qsizetype whole = pageLimit(*request.pageLimitOf).largestPage();
            budget = [&, whole, assumed](qsizetype page, bool last) {
                return whole - pageByteSize(titleOf(page, assumed), QString(), linkOf(page, last));
            };
        }
        split = splitBody(request.body,
                          request.pageLimitOf ? PartMeasure::CodePage : PartMeasure::Count, budget);
        if (!request.pageLimitOf || split.refusedLine > 0 ||
            digitCount(split.parts.size()) <= digitCount(assumed))
            break;
    }

    PageChain chain;
    if (split.refusedLine > 0) {
        chain.refusal = QString::number(split.refusedLine) +
                        u" 行目のタグ・コメント・文字参照が長すぎて、1 ページに収まりません。"_s;
        return chain;
    }
    const qsizetype pages = split.parts.size();
    for (qsizetype page = 0; page < pages; ++page) {
        const bool last = page == pages - 1;
        chain.pages.append({folder + names.at(page), titleOf(page, pages),
                            split.parts[page].text(request.body), linkOf(page, last)});
    }
    return chain;
}

ChainPageSummary summarizePage(const ChainPage& page)
{
    ChainPageSummary summary;
    const QString text = subPageText(page.title, page.body, page.nextLink);
    summary.bodyBytes = bodyByteCount(page.body);
    summary.pageBytes = toCp932(text).size();
    summary.oldest = oldestHandset(text, summary.pageBytes).series;
    summary.lost = cp932UnmappableCount(page.body);

    constexpr qsizetype shownCharacters = 20;
    MarkupScanner scanner(
        QStringView(page.body).first(std::min<qsizetype>(page.body.size(), 1000)));
    for (MarkupToken token; scanner.next(token) && summary.firstWords.size() < shownCharacters;) {
        if (token.kind == MarkupToken::Text)
            summary.firstWords += page.body.sliced(token.start, token.length).simplified() + u' ';
    }
    summary.firstWords = summary.firstWords.simplified().left(shownCharacters);
    return summary;
}

}  // namespace quillet
