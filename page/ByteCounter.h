#pragma once

#include <QString>
#include <QStringView>

namespace quillet {

// The body's size as a handset sees it: 2 for each UTF-16 code unit from
// U+1000 up (Japanese), 1 for every other (Western letters, CR, LF, tab).
qint64 bodyByteCount(QStringView body);

// The byte-count label's text: a space, then the count (" 0", " 8", ...).
QString byteCountCaption(QStringView body);

}  // namespace quillet
