#pragma once

#include "HostUi.h"

#include <QByteArray>
#include <QString>

namespace quillet {

// Replaces the file at `path` with `bytes` so that a failure at any point
// leaves the previous file as it was and no partial or temporary file
// behind. Only where the folder allows no temporary file is the target
// written in place. A target whose permission bits allow no writing is
// refused, for every user root included.
FileResult replaceFileContents(const QString& path, const QByteArray& bytes);

// Reads a body file and decodes it (see decodeTextFile).
TextReadResult readTextFileContents(const QString& path);

// The file-existence test: the bare file name when an ordinary file (or a
// link to one) is at `path`, otherwise "". Hidden files count as existing,
// so the overwrite question is never skipped for them.
QString existingOrdinaryFileName(const QString& path);

// A failure message: what failed, the path as the platform writes it, and
// the reason, each on its own line.
QString fileFailureText(const QString& headline, const QString& path, const QString& reason);

}  // namespace quillet
