#pragma once

#include "Handsets.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace quillet {

// A long body written as a chain of sub-pages, each linked to the next by
// its "次へ": where the body is cut, what each page is called, and what it
// holds. Nothing here touches a file.

// The file name after `fileName` in a chain: its last run of digits counted
// up, keeping its width (sub099.html, sub100.html) and growing only when it
// must (sub999.html, sub1000.html). A name without digits gets 2 before its
// extension (page.html, page2.html).
QString nextPageName(const QString& fileName);

// How a part of the body is measured against its budget.
enum class PartMeasure {
    Count,     // as the byte count counts: 2 for a unit from U+1000 up, else 1
    CodePage,  // the bytes the page file will hold
};

// One page's share of a body: the text from `from` to `to`, where the
// elements left open by the pages before are opened again at its start,
// and those it leaves open are closed at its end, so that it stands alone.
struct BodyPart {
    qsizetype from = 0;
    qsizetype to = 0;
    QString opening;  // start tags, as the body wrote them, outermost first
    QString closing;  // end tags, innermost first

    QString text(QStringView body) const
    {
        return opening + body.sliced(from, to - from) + closing;
    }
};

// What part `index` (0 first) may take; the last part's may differ, as its
// link does.
using PartBudget = std::function<qsizetype(qsizetype index, bool last)>;

struct BodySplit {
    QList<BodyPart> parts;
    // The line (1 first) of a tag, comment or reference that no page holds,
    // when there is one; there are no parts then.
    qsizetype refusedLine = 0;
};

// Cuts `body` into parts within their budgets: as many whole lines as fit,
// the line break between two parts left out. A line longer than a page is
// cut after "。", "！", "？", "、" (and a closing bracket after them) or
// "<br>" where one fits, else between two characters. A cut never falls
// inside a tag, a comment, a character reference, a pictogram or a
// surrogate pair, nor between a line's last character and its break.
BodySplit splitBody(QStringView body, PartMeasure measure, const PartBudget& budget);

// The help's rule for a body: 2,000 bytes as the count counts.
inline constexpr qsizetype chainBodyLimit = 2000;

// What the author asked of a chain.
struct ChainRequest {
    QString outputPath;  // the first page; the others are named after it
    QString title;
    QString body;
    QString nextLink;  // the last page's link, under the writer's rule
    // Whose page limit each whole page keeps; none for the body's 2,000.
    std::optional<Series> pageLimitOf;
    bool numberTitles = true;  // "タイトル（2/5）", where there are pages to count
};

// One page of a chain: the writer's four fields.
struct ChainPage {
    QString path;
    QString title;
    QString body;
    QString nextLink;
};

struct PageChain {
    QList<ChainPage> pages;
    QString refusal;  // why the body cannot be split; empty when it can
};
PageChain planChain(const ChainRequest& request);

// What the chain's list tells of a page.
struct ChainPageSummary {
    QString firstWords;  // of its text, without tags
    qsizetype bodyBytes = 0;
    qsizetype pageBytes = 0;
    std::optional<Series> oldest;  // the oldest series that shows it
    qsizetype lost = 0;            // characters written as "?"
};
ChainPageSummary summarizePage(const ChainPage& page);

}  // namespace quillet
