#pragma once

#include "Handsets.h"

#include <QString>

namespace quillet {

// The carrier recommended pages of 2 KB or less.
inline constexpr qsizetype recommendedPageSize = 2048;
// What a handset receives at a time.
inline constexpr qsizetype packetSize = 128;

// The exact size of the page the writer would write from these fields.
qsizetype pageByteSize(const QString& title, const QString& body, const QString& nextLink);

// Whether that page is too large for the handsets of `series`. Encodes the
// page only when its length alone cannot tell, near the limit, so it costs
// nothing per keystroke on a large body.
bool pageTooLargeFor(Series series, const QString& title, const QString& body,
                     const QString& nextLink);

// "ページ全体 1,402 バイト（11 パケット）", with the `pictures` it shows
// from its folder, and, when the handsets of `series` cannot hold it with
// them, why.
QString pageSizeText(qsizetype bytes, Series series, qsizetype pictures = 0);

// "1,402".
QString groupedNumber(qsizetype number);

// The page limit of `series` in words: "5,120 バイト未満", "30,720 バイトまで".
QString pageLimitText(Series series);

}  // namespace quillet
