#include "ByteCounter.h"

#include <QStringBuilder>
#include <algorithm>

namespace quillet {

qint64 bodyByteCount(QStringView body)
{
    // One per code unit, plus one more for each wide one; a flat count the
    // compiler can vectorise, since it runs on every keystroke.
    const auto wide = std::count_if(body.utf16(), body.utf16() + body.size(),
                                    [](char16_t unit) { return unit >= 0x1000; });
    return body.size() + wide;
}

QString byteCountCaption(QStringView body)
{
    return QLatin1Char(' ') % QString::number(bodyByteCount(body));
}

}  // namespace quillet
