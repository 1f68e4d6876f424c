#include "PlatformFiles.h"
#include "TextFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace quillet {
namespace {

using namespace Qt::Literals::StringLiterals;

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

class DescriptorCloser {
public:
    explicit DescriptorCloser(int fd) : fd_(fd) {}
    ~DescriptorCloser() { ::close(fd_); }
    Q_DISABLE_COPY_MOVE(DescriptorCloser)

private:
    int fd_;
};

}  // namespace

Result<> syncToDisk(QFileDevice& file)
{
    if (::fsync(file.handle()) == 0 || errno == EINVAL)  // EINVAL: no syncing here
        return {};
    return failure(qt_error_string(errno));
}

Result<> checkRegularTarget(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return {};
    return failure(notRegularFileReason(kindOf(info.st_mode)));
}

// A page replaced by root or in a group-shared folder stays its owner's.
// Without the right to give a file away, the group alone may still be kept.
bool keepOwnerAndGroup(int newFile, const QString& oldPath)
{
    struct stat old {};
    return ::stat(QFile::encodeName(oldPath).constData(), &old) == 0 &&
           (::fchown(newFile, old.st_uid, old.st_gid) == 0 ||
            ::fchown(newFile, uid_t(-1), old.st_gid) == 0);
}

QString missingFileReason()
{
    return qt_error_string(ENOENT);
}

Result<std::optional<QByteArray>> readRegularFile(const QString& path)
{
    // Non-blocking, so opening a pipe with no writer returns at once; the
    // checks then look at what was opened, not at what the name meant a
    // moment before.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return std::optional<QByteArray>();
        if (error == ENXIO)  // a socket
            return failure(notRegularFileReason(kindOf(S_IFSOCK)));
        return failure(qt_error_string(error));
    }
    const DescriptorCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return failure(qt_error_string(errno));
    if (!S_ISREG(info.st_mode))
        return failure(notRegularFileReason(kindOf(info.st_mode)));
    if (info.st_size > maxReadableFileSize)
        return failure(tooLargeReason());

    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            return std::optional<QByteArray>(std::move(bytes));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(qt_error_string(errno));
        if (bytes.size() + got > maxReadableFileSize)
            return failure(tooLargeReason());  // it grew while being read
        bytes.append(chunk, got);
    }
}

}  // namespace quillet
