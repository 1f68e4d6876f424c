#pragma once

#include <QFont>
#include <QRect>

namespace quillet {

// Window geometry is kept in twips, 15 to a logical pixel; Qt's device
// pixel ratio scales logical pixels on high-DPI screens.
constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// The platform's default face at the 9 points the fixed layout was drawn
// for; a desktop's larger default would cut captions off.
inline QFont dialogFont(QFont font)
{
    font.setPointSize(9);
    return font;
}

}  // namespace quillet
