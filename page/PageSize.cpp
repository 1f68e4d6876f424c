#include "PageSize.h"

#include "CodePage.h"
#include "SubPageWriter.h"

#include <QLocale>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

qsizetype pageByteSize(const QString& title, const QString& body, const QString& nextLink)
{
    return toCp932(subPageText(title, body, nextLink)).size();
}

bool pageTooLargeForFirstHandsets(const QString& title, const QString& body,
                                  const QString& nextLink)
{
    // The encoder writes at most 2 bytes for a UTF-16 unit, and at least 1
    // for every 2 (a pictogram's keycap sequence with its selectors is 4
    // units for 2 bytes).
    const qsizetype units = subPageText(title, QString(), nextLink).size() + body.size();
    if (2 * units < firstHandsetPageLimit)
        return false;
    if (units / 2 >= firstHandsetPageLimit)
        return true;
    return pageByteSize(title, body, nextLink) >= firstHandsetPageLimit;
}

QString pageSizeText(qsizetype bytes)
{
    const QLocale grouping(QLocale::English);  // "1,402"
    const qsizetype packets = (bytes + packetSize - 1) / packetSize;
    QString text = u"ページ全体 "_s + grouping.toString(bytes) + u" バイト（"_s +
                   grouping.toString(packets) + u" パケット）"_s;
    if (bytes >= firstHandsetPageLimit)
        text += u"\n初期の携帯端末では表示できない大きさです（"_s +
                grouping.toString(firstHandsetPageLimit) + u" バイト以上）。推奨は 2 KB（"_s +
                grouping.toString(recommendedPageSize) + u" バイト）以下です。"_s;
    return text;
}

}  // namespace quillet
