#include "TextFile.h"

#include "CodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <io.h>
#endif

namespace quillet {
namespace {

using namespace Qt::Literals::StringLiterals;

FileResult failure(const QString& reason)
{
    return {false, reason};
}

QString notRegularFileReason(const QString& kind)
{
    return u"通常のファイルではありません（"_s + kind + u"）。"_s;
}

QString tooLargeReason()
{
    return u"ファイルが大きすぎます（読み込めるのは "_s +
           QString::number(maxReadableFileSize / (1024 * 1024)) + u" MiB までです）。"_s;
}

QString cutShortReason()
{
    return u"ファイルを最後まで書き込めませんでした"
           u"（ディスクの空き容量かファイルサイズの上限に"
           u"達した可能性があります）。"_s;
}

bool permissionBitsAllowWriting(const QFileInfo& target)
{
    return target.permissions() &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// Data that only sits in the system's cache is not yet a file: a failure
// to get it to the disk must stop the old file from being replaced.
bool syncToDisk(QFileDevice& file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0 || errno == EINVAL;  // EINVAL: no syncing here
#else
    return ::_commit(file.handle()) == 0;
#endif
}

#ifdef Q_OS_UNIX
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return u"フォルダ"_s;
    if (S_ISFIFO(mode))
        return u"名前付きパイプ"_s;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return u"デバイス"_s;
    if (S_ISSOCK(mode))
        return u"ソケット"_s;
    return u"特殊なファイル"_s;
}

// Why nothing may be written at `path`: something other than a regular
// file stands there (links followed). Empty when there is nothing, or a
// regular file.
QString nonRegularTarget(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    return notRegularFileReason(kindOf(info.st_mode));
}

// The new file takes over the old one's owner and group, so a page
// replaced by root or in a group-shared folder stays its owner's. Without
// the right to give a file away, the group alone may still be kept. False
// when neither could be: a new file, or one the user may not give away,
// stays the user's own.
bool keepOwnerAndGroup(int newFile, const QString& oldPath)
{
    struct stat old {};
    return ::stat(QFile::encodeName(oldPath).constData(), &old) == 0 &&
           (::fchown(newFile, old.st_uid, old.st_gid) == 0 ||
            ::fchown(newFile, uid_t(-1), old.st_gid) == 0);
}

class DescriptorCloser {
public:
    explicit DescriptorCloser(int fd) : fd_(fd) {}
    ~DescriptorCloser() { ::close(fd_); }
    Q_DISABLE_COPY_MOVE(DescriptorCloser)

private:
    int fd_;
};
#else
QString nonRegularTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() ? notRegularFileReason(u"フォルダ"_s) : QString();
}

bool keepOwnerAndGroup(int, const QString&)
{
    return false;  // no owners to keep here
}
#endif

// Why `bytes` did not all reach the file, or "" when they did.
QString writeFailure(QFileDevice& file, const QByteArray& bytes)
{
    if (file.write(bytes) == bytes.size())
        return QString();
    return file.error() != QFileDevice::NoError ? file.errorString() : cutShortReason();
}

QString syncFailure(QFileDevice& file)
{
    return syncToDisk(file) ? QString() : qt_error_string(errno);
}

// For a folder that allows no temporary file. Nothing is truncated until
// the new bytes are all written, and on any failure the old bytes are
// written back: wherever a limit stopped the new ones, the old ones beyond
// it were never touched.
FileResult overwriteInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failure(file.errorString());
    const QByteArray old = file.readAll();
    file.seek(0);
    QString reason = writeFailure(file, bytes);
    if (reason.isEmpty() && !file.resize(bytes.size()))
        reason = file.errorString();
    if (reason.isEmpty())
        reason = syncFailure(file);
    if (reason.isEmpty())
        return {true, QString()};

    file.seek(0);
    file.write(old);
    file.resize(old.size());
    syncToDisk(file);
    return failure(reason);
}

}  // namespace

FileResult replaceFileContents(const QString& path, const QByteArray& bytes)
{
    // A pipe or device would be replaced by a regular file, a folder
    // refused only after a temporary file was made.
    if (const QString reason = nonRegularTarget(path); !reason.isEmpty())
        return failure(reason);
    // QSaveFile's own check asks access(), which root always passes; a file
    // the user marked read-only must still not be replaced.
    const QFileInfo target(path);
    if (target.isFile() && !permissionBitsAllowWriting(target))
        return failure(u"読み取り専用のファイルです。"_s);

    QSaveFile file(path);
    // Qt's own fallback truncates the file before writing it; ours keeps
    // the old bytes until the new ones are in.
    file.setDirectWriteFallback(false);
    // Unbuffered, so a write cut short by a file-size limit or a full disk
    // shows here as a short count (often with no error set). Buffered, it
    // would surface only inside commit(), which then still replaces the old
    // file with the truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return target.isFile() ? overwriteInPlace(path, bytes) : failure(file.errorString());
    keepOwnerAndGroup(file.handle(), path);

    QString reason = writeFailure(file, bytes);
    if (reason.isEmpty())
        reason = syncFailure(file);
    if (!reason.isEmpty()) {
        file.cancelWriting();
        file.commit();  // discards the temporary file now, not at destruction
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return {true, QString()};
}

#ifdef Q_OS_UNIX
FileBytes readRegularFile(const QString& path)
{
    // Non-blocking, so opening a pipe with no writer returns at once; the
    // checks then look at what was opened, not at what the name meant a
    // moment before.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENXIO)  // a socket
            return {FileBytes::Refused, {}, notRegularFileReason(kindOf(S_IFSOCK))};
        return {
            error == ENOENT ? FileBytes::Missing : FileBytes::Refused, {}, qt_error_string(error)};
    }
    const DescriptorCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {FileBytes::Refused, {}, qt_error_string(errno)};
    if (!S_ISREG(info.st_mode))
        return {FileBytes::Refused, {}, notRegularFileReason(kindOf(info.st_mode))};
    if (info.st_size > maxReadableFileSize)
        return {FileBytes::Refused, {}, tooLargeReason()};

    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            return {FileBytes::Read, bytes, QString()};
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {FileBytes::Refused, {}, qt_error_string(errno)};
        if (bytes.size() + got > maxReadableFileSize)
            return {FileBytes::Refused, {}, tooLargeReason()};  // it grew while being read
        bytes.append(chunk, got);
    }
}
#else
FileBytes readRegularFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {FileBytes::Missing, {}, u"ファイルがありません。"_s};
    if (!info.isFile())
        return {FileBytes::Refused, {}, notRegularFileReason(u"フォルダ"_s)};
    if (info.size() > maxReadableFileSize)
        return {FileBytes::Refused, {}, tooLargeReason()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileBytes::Refused, {}, file.errorString()};
    QByteArray bytes = file.read(maxReadableFileSize + 1);
    if (bytes.size() > maxReadableFileSize)
        return {FileBytes::Refused, {}, tooLargeReason()};
    return {FileBytes::Read, bytes, QString()};
}
#endif

TextReadResult readTextFileContents(const QString& path)
{
    const FileBytes file = readRegularFile(path);
    if (file.status != FileBytes::Read)
        return {false, QString(), file.error};
    return {true, decodeTextFile(file.bytes), QString()};
}

QString existingOrdinaryFileName(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.fileName() : QString();
}

QString fileFailureText(const QString& headline, const QString& path, const QString& reason)
{
    return headline + u'\n' + QDir::toNativeSeparators(path) + u"\n\n"_s + reason;
}

}  // namespace quillet
