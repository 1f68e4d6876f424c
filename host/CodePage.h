#pragma once

#include <QByteArray>
#include <QStringView>

namespace quillet {

// Encodes to code page 932 (Shift-JIS as Windows writes it). Characters
// that input methods on other systems produce for common Japanese marks
// (U+301C wave dash, U+2212 minus, U+2016 double bar, ...) land on the bytes
// a Windows user would have typed; anything the code page cannot hold
// becomes one "?" per code point, an unpaired surrogate included.
QByteArray toCp932(QStringView text);

}  // namespace quillet
