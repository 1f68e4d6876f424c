#pragma once

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

}  // namespace quillet
