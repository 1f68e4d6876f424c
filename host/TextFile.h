#pragma once

#include "Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace quillet {

// Far above any page or body file, far below what the body editor (whose
// positions are int) or memory would choke on.
inline constexpr qint64 maxReadableFileSize = 64 * 1024 * 1024;

// Replaces the file at `path` with `bytes` so that a failure at any point
// leaves the previous file as it was and no partial or temporary file
// behind. The new file keeps the old one's permission bits and, where the
// system allows, its owner and group. Where the folder allows no temporary
// file, the file is overwritten in place and its old bytes are put back if
// that fails. Refused outright: a target whose permission bits allow no
// writing (for every user, root included), and anything other than a
// regular file (pipe, device, socket, folder) standing at the path. When
// the old bytes could not be put back either, the reason says that the file
// is damaged.
Result<> replaceFileContents(const QString& path, const QByteArray& bytes);

// Replaces several files (path, then text) at once, each with its text in
// code page 932 as replaceFileContents does, all or none: every new file
// is written beside its target first, and only when all are written do
// they take their targets' places, the old files moved aside meanwhile and
// put back on any failure. The failure names the file. No folder that
// takes no new file can hold a chain this way: it fails.
Result<> replaceTextFiles(const QList<std::pair<QString, QString>>& files);

// Reads a regular file (links followed) of at most maxReadableFileSize
// bytes. Never blocks: a pipe, a device or a socket is refused, however it
// was swapped in, and so is a file that grows past the limit meanwhile.
// Nothing at the path is not refused: the value is then std::nullopt, for
// the caller to decide (a browser shows its own page for it).
Result<std::optional<QByteArray>> readRegularFile(const QString& path);

// Reads a body file and decodes it (see decodeTextFile); nothing at the
// path fails.
Result<QString> readTextFileContents(const QString& path);

// The file-existence test: the bare file name when an ordinary file (or a
// link to one) is at `path`, otherwise "". Hidden files count as existing,
// so the overwrite question is never skipped for them.
QString existingOrdinaryFileName(const QString& path);

// A failure message: what failed, the path as the platform writes it, and
// the reason, each on its own line.
QString fileFailureText(const QString& headline, const QString& path, const QString& reason);

}  // namespace quillet
