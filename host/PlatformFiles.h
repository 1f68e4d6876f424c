#pragma once

// What the file services need from the system, one file per platform:
// PlatformFiles_unix.cpp (Linux, macOS, the BSDs) and PlatformFiles_win.cpp.
// Private to host/.

#include "Result.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QFileDevice;

namespace quillet {

// Data that only sits in the system's cache is not yet a file: a failure
// to get it to the disk must stop the old file from being replaced.
Result<> syncToDisk(QFileDevice& file);

// Fails when something other than a regular file stands at `path` (links
// followed): nothing may be written there. Nothing at all, or a regular
// file, passes.
Result<> checkRegularTarget(const QString& path);

// The new file at `newFile` (a handle) takes over the owner and group of
// the one at `oldPath`, where the system has owners and allows it. False
// when neither could be kept: the file then stays the user's own.
bool keepOwnerAndGroup(int newFile, const QString& oldPath);

// Why there is nothing to read at a path, in the system's words.
QString missingFileReason();

// Reasons in the user's words, shared by every platform (TextFile.cpp).
QString notRegularFileReason(const QString& kind);
QString tooLargeReason();

}  // namespace quillet
