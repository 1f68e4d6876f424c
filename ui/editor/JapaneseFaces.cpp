#include "JapaneseFaces.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// The setup installs the IPA fonts, named in English or, on a Japanese
// desktop, in Japanese.
struct JapaneseFace {
    QString name;
    QStringList standIns;
};

// The face is chosen here, once. Left to Qt, a name it does not have costs
// a fontconfig search for every script of the text before a stand-in is
// even tried: ten such searches were a sixth of start-up. The list of
// `installed` families is quick; asking for each name, which knows a face
// by any of its names, costs a fontconfig lookup per name, so it comes
// second. With none installed, the font system picks as it can.
QString installedFamily(const JapaneseFace& face, const QStringList& installed)
{
    const QStringList candidates = QStringList{face.name} + face.standIns;
    for (const QString& family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    for (const QString& family : candidates) {
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return face.name;
}

bool latinIsFixedWidth(const QFont& font)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(u'i') == metrics.horizontalAdvance(u'M');
}

}  // namespace

QString minchoFamily(const QStringList& installed)
{
    return installedFamily({u"ＭＳ 明朝"_s,
                            {u"MS Mincho"_s, u"IPAMincho"_s, u"IPA明朝"_s, u"Noto Serif CJK JP"_s,
                             u"Hiragino Mincho ProN"_s}},
                           installed);
}

QString pGothicFamily(const QStringList& installed)
{
    return installedFamily({u"ＭＳ Ｐゴシック"_s,
                            {u"MS PGothic"_s, u"IPAPGothic"_s, u"IPA Pゴシック"_s,
                             u"Noto Sans CJK JP"_s, u"Hiragino Kaku Gothic ProN"_s}},
                           installed);
}

QFont japaneseFont(const QString& family, qreal points)
{
    QFont font(family);
    font.setPointSizeF(points);
    return font;
}

// Drawn at a fixed width, "ver 1.06" ran past the window's edge, and the
// menus and tooltips set handset names like a terminal.
void chooseApplicationFace()
{
    const QFont desktop = QApplication::font();
    if (latinIsFixedWidth(desktop))
        QApplication::setFont(
            japaneseFont(pGothicFamily(QFontDatabase::families()), desktop.pointSizeF()));
}

}  // namespace quillet
