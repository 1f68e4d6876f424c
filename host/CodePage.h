#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quillet {

// Encodes to code page 932 (Shift-JIS as Windows writes it). Characters
// that input methods on other systems produce for common Japanese marks
// (U+301C wave dash, U+2212 minus, U+2016 double bar, ...) land on the bytes
// a Windows user would have typed; anything the code page cannot hold
// becomes one "?" per code point, an unpaired surrogate included.
QByteArray toCp932(QStringView text);

// How many code points toCp932 would write as "?".
qsizetype cp932UnmappableCount(QStringView text);

// Decodes code page 932; a byte sequence it does not define becomes U+FFFD.
QString fromCp932(QByteArrayView bytes);

// Decodes a body file or a loaded document. Code page 932 is the format of
// record, but most text files on today's desktops are Unicode: a file with
// a UTF-8 or UTF-16 byte-order mark is read as such (without the mark), and
// so is valid UTF-8 that holds a sequence of three bytes or more, as every
// Japanese character in UTF-8 does.
QString decodeTextFile(QByteArrayView bytes);

}  // namespace quillet
