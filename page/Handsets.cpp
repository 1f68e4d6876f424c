#include "Handsets.h"

#include <QList>

#include <algorithm>
#include <iterator>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// Sources of the screens, colours and characters:
// [PEAR] Net_UserAgent_Mobile, DoCoMoDisplayMap.php (2007): browser area in
//        dots and colours per model, after the carrier's "screen_area" page.
// [Horde] Horde Browser, Browser/imode.php (2004): dots, characters a line
//        and lines, and colours, from the carrier's tag guide (i/tag/s5.html).
// [HMA]  HTTP::MobileAgent (Perl): DoCoMo.pm for the HTML version of each
//        series and the cache sizes; t/02_docomo.t and t/05_display.t for
//        user agents, whose W and H (from 505i) count half-width characters.
// [tohoho] tohoho-web.com/wwwxx042.htm: a character is 12×12 dots, and the
//        first handsets took pages under 5 KB.
// Where a series had several screens, the one with the fewest characters a
// line, then the fewest lines, stands for it: a page that fits it fits all.
using Screen = HandsetScreen;
constexpr HandsetSeries seriesTable[] = {
    // [Horde] D501i 8×6 on 96×72, black and white, as F501i; [PEAR] the
    // same dots. No cache token in the user agent: 5 KB [HMA], "5KB未満"
    // [tohoho].
    HandsetSeries{Series::S501i, HtmlVersion::V1_0, u"501i", u"D501i",
                  Screen{96, 72, 8, Screen::BlackAndWhite}, 6, u"モノクロ", 5},
    // [Horde] D502i 8×7 on 96×90, 256 colours; [PEAR] the same. NM502i is
    // 8×6 in [Horde] but 111×77 dots there and 111×106 in [PEAR]; with its
    // screen in doubt, D502i stands for the series. c10 [HMA].
    HandsetSeries{Series::S502i, HtmlVersion::V2_0, u"502i", u"D502i",
                  Screen{96, 90, 8, Screen::Colour}, 7, u"256色", 10},
    // [Horde] D503i 8×7 on 132×126, 4096 colours (F503i 10×10, P503i
    // 12×10); [PEAR] the same dots. c10 [HMA].
    HandsetSeries{Series::S503i, HtmlVersion::V3_0, u"503i", u"D503i",
                  Screen{132, 126, 8, Screen::Colour}, 7, u"4096色", 10},
    // [PEAR] SO504i 120×112, 65,536 colours, the smallest 504i (D504i and
    // P504i 132×144, N504i 160×180). No source at hand gives its characters:
    // 10×9 is its dots in 12-dot characters [tohoho]. c10 [HMA].
    HandsetSeries{Series::S504i, HtmlVersion::V4_0, u"504i", u"SO504i",
                  Screen{120, 112, 10, Screen::Colour}, 9, u"65536色", 10},
    // [PEAR] D505i 240×270, 262,144 colours; [HMA] "D505i/c20/TB/W20H10":
    // 10×10 full-width, a 20 KB cache. SO505i shows W18H08 only with its
    // small font setting.
    HandsetSeries{Series::S505i, HtmlVersion::V5_0, u"505i", u"D505i",
                  Screen{240, 270, 10, Screen::Colour}, 10, u"26万色", 20},
    // [HMA] D900i 240×270, 262,144 colours, "D900i(c100;TB;W20H10)": 10×10
    // (F900i has fewer dots, 230×240, but 11 characters a line). c100 is
    // 100 KB, of which the text with its tags may take 30 KB at most (the
    // carrier's page-size notes for FOMA); a page here is all text and tags.
    HandsetSeries{Series::S900i, HtmlVersion::V5_0, u"900i", u"D900i",
                  Screen{240, 270, 10, Screen::Colour}, 10, u"26万色", 100, 30},
    // [HMA] t/05_display.t: SH902i 240×240, 262,144 colours,
    // "SH902i(c100;TB;W24H12)": 12×12. D902i sends W23H16, but has 230×320.
    HandsetSeries{Series::S902i, HtmlVersion::V6_0, u"902i", u"SH902i",
                  Screen{240, 240, 12, Screen::Colour}, 12, u"26万色", 100, 30},
};
static_assert(std::size(seriesTable) == allSeries.size());
constexpr bool inSeriesOrder()
{
    for (std::size_t i = 0; i < allSeries.size(); ++i) {
        if (seriesTable[i].series != allSeries.at(i) || std::size_t(allSeries.at(i)) != i)
            return false;
    }
    return true;
}
static_assert(inSeriesOrder(), "a row for each series, in the enum's order");

// The elements and attributes of each version. Sources:
// [W3C]  "Compact HTML for Small Information Appliances", W3C Note
//        (https://www.w3.org/TR/1998/NOTE-compactHTML-19980209, section 3.3
//        and its DTD): the 35 elements of the first handsets.
// [XIST] LivingLogic XIST, ll/xist/ns/ihtml.py: i-mode HTML elements and
//        attributes, each with the version that brought it.
// [KG]   w.koshigoe.jp/study "[mobile] 調査その1": the carrier's table of
//        features by version.
// [AW]   andreas.web-graphics.com/mobile/p4_2a.html: ilet and iswf in 5.0.
// [HMA]  HTTP::MobileAgent DoCoMo.pm: 902i and 702i are 6.0; tables on
//        902i handsets: flexfirm.jp x-servlet manual p04_02_01_02 (SH902i).
// Where [XIST] dates an attribute of the [W3C] Note later (meta, option
// selected), the Note wins: it is what the 501i browsers were built to.
struct Element {
    std::u16string_view name;
    HtmlVersion since;
};
constexpr Element elements[] = {
    {u"a", HtmlVersion::V1_0},        {u"base", HtmlVersion::V1_0},
    {u"blink", HtmlVersion::V2_0},    {u"blockquote", HtmlVersion::V1_0},
    {u"body", HtmlVersion::V1_0},     {u"br", HtmlVersion::V1_0},
    {u"center", HtmlVersion::V1_0},   {u"dd", HtmlVersion::V1_0},
    {u"dfn", HtmlVersion::V1_0},      {u"dir", HtmlVersion::V1_0},
    {u"div", HtmlVersion::V1_0},      {u"dl", HtmlVersion::V1_0},
    {u"dt", HtmlVersion::V1_0},       {u"font", HtmlVersion::V2_0},
    {u"form", HtmlVersion::V1_0},     {u"h1", HtmlVersion::V1_0},
    {u"h2", HtmlVersion::V1_0},       {u"h3", HtmlVersion::V1_0},
    {u"h4", HtmlVersion::V1_0},       {u"h5", HtmlVersion::V1_0},
    {u"h6", HtmlVersion::V1_0},       {u"head", HtmlVersion::V1_0},
    {u"hr", HtmlVersion::V1_0},       {u"html", HtmlVersion::V1_0},
    {u"img", HtmlVersion::V1_0},      {u"input", HtmlVersion::V1_0},
    {u"li", HtmlVersion::V1_0},       {u"marquee", HtmlVersion::V2_0},
    {u"menu", HtmlVersion::V1_0},     {u"meta", HtmlVersion::V1_0},
    {u"object", HtmlVersion::V3_0},   {u"ol", HtmlVersion::V1_0},
    {u"option", HtmlVersion::V1_0},   {u"p", HtmlVersion::V1_0},
    {u"param", HtmlVersion::V4_0},    {u"plaintext", HtmlVersion::V1_0},  // [XIST]
    {u"pre", HtmlVersion::V1_0},      {u"select", HtmlVersion::V1_0},
    {u"table", HtmlVersion::V6_0},    {u"td", HtmlVersion::V6_0},
    {u"textarea", HtmlVersion::V1_0}, {u"title", HtmlVersion::V1_0},
    {u"tr", HtmlVersion::V6_0},       {u"ul", HtmlVersion::V1_0},
};

enum class ValueTest { Any, Center, MailtoQuery };
struct Attribute {
    std::u16string_view element;
    std::u16string_view name;
    ValueTest value;
    HtmlVersion since;
};
constexpr Attribute attributes[] = {
    // 2.0 [XIST], [KG]
    {u"body", u"bgcolor", ValueTest::Any, HtmlVersion::V2_0},
    {u"body", u"text", ValueTest::Any, HtmlVersion::V2_0},
    {u"body", u"link", ValueTest::Any, HtmlVersion::V2_0},
    {u"input", u"istyle", ValueTest::Any, HtmlVersion::V2_0},
    {u"textarea", u"istyle", ValueTest::Any, HtmlVersion::V2_0},
    {u"li", u"type", ValueTest::Any, HtmlVersion::V2_0},
    {u"li", u"value", ValueTest::Any, HtmlVersion::V2_0},
    {u"ol", u"type", ValueTest::Any, HtmlVersion::V2_0},
    {u"ol", u"start", ValueTest::Any, HtmlVersion::V2_0},
    {u"select", u"multiple", ValueTest::Any, HtmlVersion::V2_0},
    {u"a", u"cti", ValueTest::Any, HtmlVersion::V2_0},
    // 3.0 [XIST], [KG]
    {u"a", u"ijam", ValueTest::Any, HtmlVersion::V3_0},
    {u"a", u"utn", ValueTest::Any, HtmlVersion::V3_0},
    {u"form", u"utn", ValueTest::Any, HtmlVersion::V3_0},
    {u"a", u"telbook", ValueTest::Any, HtmlVersion::V3_0},
    {u"a", u"kana", ValueTest::Any, HtmlVersion::V3_0},
    {u"a", u"email", ValueTest::Any, HtmlVersion::V3_0},
    {u"a", u"e-mail", ValueTest::Any, HtmlVersion::V3_0},
    {u"a", u"href", ValueTest::MailtoQuery, HtmlVersion::V3_0},
    // 4.0 [KG]
    {u"body", u"alink", ValueTest::Any, HtmlVersion::V4_0},
    {u"body", u"vlink", ValueTest::Any, HtmlVersion::V4_0},
    {u"hr", u"color", ValueTest::Any, HtmlVersion::V4_0},
    {u"img", u"align", ValueTest::Center, HtmlVersion::V4_0},
    {u"a", u"ista", ValueTest::Any, HtmlVersion::V4_0},
    {u"dir", u"type", ValueTest::Any, HtmlVersion::V4_0},
    {u"menu", u"type", ValueTest::Any, HtmlVersion::V4_0},
    {u"ul", u"type", ValueTest::Any, HtmlVersion::V4_0},
    // 5.0 [AW]; 6.0, with tables [HMA]
    {u"a", u"ilet", ValueTest::Any, HtmlVersion::V5_0},
    {u"a", u"iswf", ValueTest::Any, HtmlVersion::V5_0},
    {u"body", u"background", ValueTest::Any, HtmlVersion::V6_0},
};

// Each element's attributes in its own version: [W3C] section 3.3 and
// [XIST] for the elements of 1.0, [XIST] for those that came later (its
// "behaviour" of marquee read as browsers spell it). Tables, new in 6.0,
// take HTML 3.2's table attributes: no source at hand lists 6.0's. What
// none gives (style, class, onclick) no handset knows. The attributes
// added later to an element are in `attributes` above.
struct OwnAttributes {
    std::u16string_view element;
    std::u16string_view names;  // between spaces
};
constexpr OwnAttributes ownAttributes[] = {
    {u"a", u"name href accesskey"},
    {u"base", u"href"},
    {u"br", u"clear"},
    {u"div", u"align"},
    {u"form", u"action method enctype"},
    {u"h1", u"align"},
    {u"h2", u"align"},
    {u"h3", u"align"},
    {u"h4", u"align"},
    {u"h5", u"align"},
    {u"h6", u"align"},
    {u"hr", u"align size width noshade"},
    {u"img", u"src align width height hspace vspace alt"},
    {u"input", u"type name size maxlength accesskey value checked"},
    {u"meta", u"name http-equiv content"},
    {u"option", u"selected value"},
    {u"p", u"align"},
    {u"select", u"name size"},
    {u"textarea", u"name rows cols accesskey"},
    {u"font", u"color"},
    {u"marquee", u"behavior direction loop height width scrollamount scrolldelay"},
    {u"object", u"declare id data type"},
    {u"param", u"name value valuetype"},
    {u"table", u"border width align"},
    {u"tr", u"align valign"},
    {u"td", u"align valign colspan rowspan width"},
};

bool equal(std::u16string_view a, QStringView b)
{
    return QStringView(a.data(), qsizetype(a.size())) == b;
}

bool passes(ValueTest test, QStringView value)
{
    switch (test) {
    case ValueTest::Any:
        return true;
    case ValueTest::Center:
        return value.compare(u"center", Qt::CaseInsensitive) == 0;
    case ValueTest::MailtoQuery:
        if (!value.startsWith(u"mailto:", Qt::CaseInsensitive))
            return false;
        for (const QStringView field : {u"?subject=", u"&subject=", u"?body=", u"&body="}) {
            if (value.contains(field, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
    return false;
}

QString text(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

QString label(const Attribute& attribute)
{
    switch (attribute.value) {
    case ValueTest::Center:
        return u"<"_s + text(attribute.element) + u' ' + text(attribute.name) + u"=\"center\">"_s;
    case ValueTest::MailtoQuery:
        return u"mailto: の subject・body"_s;
    case ValueTest::Any:
        break;
    }
    return u"<"_s + text(attribute.element) + u' ' + text(attribute.name) + u'>';
}

}  // namespace

QString htmlVersionName(HtmlVersion version)
{
    return u"i-mode HTML "_s + QString::number(int(version) + 1) + u".0"_s;
}

const HandsetSeries& handsetSeries(Series series)
{
    return seriesTable[std::size_t(series)];
}

Series firstSeriesWith(HtmlVersion version)
{
    const auto* const found =
        std::find_if(std::begin(seriesTable), std::end(seriesTable),
                     [version](const HandsetSeries& s) { return s.html >= version; });
    return found->series;
}

QString seriesName(Series series)
{
    return text(handsetSeries(series).name);
}

PageLimit pageLimit(Series series)
{
    const HandsetSeries& handset = handsetSeries(series);
    const bool textShare = handset.textKilobytes > 0;
    return {qsizetype(textShare ? handset.textKilobytes : handset.cacheKilobytes) * 1024,
            textShare};
}

bool pageFits(Series series, qsizetype bytes)
{
    return bytes <= pageLimit(series).largestPage();
}

std::optional<Series> oldestSeriesHolding(qsizetype bytes)
{
    for (const Series series : allSeries) {
        if (pageFits(series, bytes))
            return series;
    }
    return std::nullopt;
}

QString seriesMenuText(Series series)
{
    const HandsetSeries& handset = handsetSeries(series);
    return seriesName(series) + u"（"_s + text(handset.model) + u' ' +
           QString::number(handset.screen.charactersPerLine) + u"×"_s +
           QString::number(handset.lines) + u"字 "_s + text(handset.colours) + u' ' +
           QString::number(handset.cacheKilobytes) + u"KB"_s +
           (handset.textKilobytes > 0
                ? u"・テキスト"_s + QString::number(handset.textKilobytes) + u"KB"_s
                : QString()) +
           u"）"_s;
}

std::optional<HtmlVersion> elementSince(QStringView name)
{
    for (const Element& element : elements) {
        if (equal(element.name, name))
            return element.since;
    }
    return std::nullopt;
}

std::optional<DatedAttribute> attributeSince(QStringView element, QStringView attribute,
                                             QStringView value)
{
    const auto matches = [&](const Attribute& dated) {
        return equal(dated.element, element) && equal(dated.name, attribute) &&
               passes(dated.value, value);
    };
    const auto* const found = std::find_if(std::begin(attributes), std::end(attributes), matches);
    if (found == std::end(attributes))
        return std::nullopt;
    return DatedAttribute{found->since, label(*found), found->value != ValueTest::MailtoQuery};
}

bool knowsAttribute(HtmlVersion html, QStringView element, QStringView attribute, QStringView value)
{
    if (const std::optional<DatedAttribute> dated = attributeSince(element, attribute, value))
        return dated->since <= html || !dated->whole;
    const auto* const own = std::find_if(
        std::begin(ownAttributes), std::end(ownAttributes),
        [element](const OwnAttributes& entry) { return equal(entry.element, element); });
    return own != std::end(ownAttributes) &&
           QStringView(own->names.data(), qsizetype(own->names.size()))
               .split(u' ')
               .contains(attribute);
}

}  // namespace quillet
