#pragma once

#include <QString>

namespace quillet {

// The first handsets could not hold a page of this many bytes or more; the
// carrier recommended 2 KB or less.
inline constexpr qsizetype firstHandsetPageLimit = 5120;
inline constexpr qsizetype recommendedPageSize = 2048;
// What a handset receives at a time.
inline constexpr qsizetype packetSize = 128;

// The exact size of the page the writer would write from these fields.
qsizetype pageByteSize(const QString& title, const QString& body, const QString& nextLink);

// Whether that page reaches firstHandsetPageLimit. Encodes the page only
// when its length alone cannot tell, near the limit, so it costs nothing
// per keystroke on a large body.
bool pageTooLargeForFirstHandsets(const QString& title, const QString& body,
                                  const QString& nextLink);

// "ページ全体 1,402 バイト（11 パケット）", and, at the limit or above, why
// that is too large.
QString pageSizeText(qsizetype bytes);

}  // namespace quillet
