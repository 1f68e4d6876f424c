#pragma once

#include "HostUi.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>
#include <string_view>

namespace quillet {

// The versions of the handsets' HTML, each a superset of the one before.
enum class HtmlVersion : quint8 { V1_0, V2_0, V3_0, V4_0, V5_0, V6_0 };

// "i-mode HTML 2.0".
QString htmlVersionName(HtmlVersion version);

// The series of handsets, oldest first. A series shows every page an older
// one shows.
enum class Series : quint8 { S501i, S502i, S503i, S504i, S505i, S900i, S902i };
inline constexpr std::array allSeries{Series::S501i, Series::S502i, Series::S503i, Series::S504i,
                                      Series::S505i, Series::S900i, Series::S902i};

// What the handsets of one series show. Its fields run in the order a row
// of the table reads, whatever the padding of seven rows costs.
struct HandsetSeries {  // NOLINT(clang-analyzer-optin.performance.Padding)
    Series series;
    HtmlVersion html;
    std::u16string_view name;  // as the carrier named it: "501i"
    // The series' smallest screen, the one an author must fit: fewest
    // characters a line, then fewest lines.
    std::u16string_view model;
    HandsetScreen screen;
    int lines;                    // full-width lines on that screen
    std::u16string_view colours;  // "モノクロ", "256色"
    int cacheKilobytes;           // what the handset holds of a page, pictures included
    // What of that the page's text and tags may take, when less than all.
    // A page takes under the whole cache, or up to its text's share.
    int textKilobytes = 0;
};

const HandsetSeries& handsetSeries(Series series);

// "501i".
QString seriesName(Series series);

// The oldest series whose handsets know `version`.
Series firstSeriesWith(HtmlVersion version);

// The largest page of text and tags the handsets of `series` show: under
// `bytes`, or up to them when `held`.
struct PageLimit {
    qsizetype bytes = 0;
    bool held = false;
    // The most bytes a page of text and tags may take.
    qsizetype largestPage() const { return held ? bytes : bytes - 1; }
};
PageLimit pageLimit(Series series);

// Whether a page of `bytes` fits the handsets of `series`.
bool pageFits(Series series, qsizetype bytes);
// The oldest series whose handsets hold a page of `bytes`; none for a page
// too large for all.
std::optional<Series> oldestSeriesHolding(qsizetype bytes);

// The series as the handset menu names it: "501i（D501i 8×6字 モノクロ 5KB）",
// "900i（D900i 10×10字 26万色 100KB・テキスト30KB）".
QString seriesMenuText(Series series);

// The version from which handsets know the element `name` (lower case);
// nothing for an element no version knows.
std::optional<HtmlVersion> elementSince(QStringView name);

// An attribute that later handsets added to an element older than it.
struct DatedAttribute {
    HtmlVersion since;
    QString label;  // as a tooltip names it: "<font color>"
    // Whether older handsets ignore the whole attribute; not so for a
    // mailto link, whose subject and body alone are later.
    bool whole = true;
};
// The version from which handsets know `attribute` of `element` (both lower
// case) with `value`; nothing when the element's own version covers it.
std::optional<DatedAttribute> attributeSince(QStringView element, QStringView attribute,
                                             QStringView value);

// Whether handsets that know `element` (lower case) know its `attribute`
// (lower case) with `value`, from the element's own version or a later one.
bool knowsAttribute(HtmlVersion html, QStringView element, QStringView attribute,
                    QStringView value);

// The pictograms F9B1 to F9FC came with i-mode HTML 4.0; older handsets
// show nothing useful there.
inline constexpr HtmlVersion extendedPictogramsSince = HtmlVersion::V4_0;
constexpr bool isExtendedPictogram(quint16 code)
{
    return code >= 0xF9B1 && code <= 0xF9FC;
}

}  // namespace quillet
