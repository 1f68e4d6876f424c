#include "PageSize.h"

#include "CodePage.h"
#include "Pictograms.h"
#include "SubPageWriter.h"

#include <QLocale>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

qsizetype pageByteSize(const QString& title, const QString& body, const QString& nextLink)
{
    return toCp932(subPageText(title, body, nextLink)).size();
}

bool pageTooLargeFor(Series series, const QString& title, const QString& body,
                     const QString& nextLink)
{
    // The encoder writes at most 2 bytes for a UTF-16 unit, and at least 1
    // for every 2: the longest pictogram is the one that packs tightest.
    static_assert(longestPictogram / pictogramBytes == 2);
    const qsizetype units = subPageText(title, QString(), nextLink).size() + body.size();
    if (pageFits(series, 2 * units))
        return false;
    if (!pageFits(series, units / 2))
        return true;
    return !pageFits(series, pageByteSize(title, body, nextLink));
}

QString pageSizeText(qsizetype bytes, Series series, qsizetype pictures)
{
    const qsizetype packets = (bytes + packetSize - 1) / packetSize;
    QString text = u"ページ全体 "_s + groupedNumber(bytes) + u" バイト（"_s +
                   groupedNumber(packets) + u" パケット）"_s;
    if (pictures > 0)
        text += u"・画像 "_s + groupedNumber(pictures) + u" バイト"_s;
    if (pageFits(series, bytes + pictures))
        return text;
    // The pictures took the same cache as the page.
    const QString handsets =
        (pageFits(series, bytes) ? u"画像を含めると"_s : QString()) +
        (series == Series::S501i ? u"初期の携帯端末"_s : seriesName(series) + u" の端末"_s);
    return text + u'\n' + handsets + u"では表示できない大きさです（表示できるのは "_s +
           pageLimitText(series) + u"）。推奨は 2 KB（"_s + groupedNumber(recommendedPageSize) +
           u" バイト）以下です。"_s;
}

QString groupedNumber(qsizetype number)
{
    return QLocale(QLocale::English).toString(number);
}

QString pageLimitText(Series series)
{
    const PageLimit limit = pageLimit(series);
    return groupedNumber(limit.bytes) + (limit.held ? u" バイトまで"_s : u" バイト未満"_s);
}

}  // namespace quillet
