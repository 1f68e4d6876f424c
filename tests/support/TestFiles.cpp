#include "TestFiles.h"

#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace {
std::atomic<bool> syncsFail{false};  // the one switch a FailingDisk turns
}  // namespace

// Stands in for the C library's own, which it calls otherwise: the file
// services call fsync() by name, so the test programs reach them here.
extern "C" int fsync(int fd)
{
    if (syncsFail) {
        errno = EIO;
        return -1;
    }
    using Sync = int (*)(int);
    static const auto next = reinterpret_cast<Sync>(dlsym(RTLD_NEXT, "fsync"));
    return next(fd);
}

namespace quillet {

using namespace Qt::Literals::StringLiterals;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot prepare test file %s", qPrintable(path));
}

int openFileCount()
{
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

FaultyTarget::FaultyTarget(const QTemporaryDir& dir, Fault fault)
    : folder_(dir.path()), fault_(fault)
{
    path = dir.filePath(u"sub100.html"_s);
    switch (fault) {
    case Fault::ReadOnlyFile:
        writeFile(path, oldPageBytes);
        QFile::setPermissions(
            path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        break;
    case Fault::MissingFolder:
        path = dir.filePath(u"missing/sub100.html"_s);
        break;
    case Fault::FolderAsTarget:
        QDir(folder_).mkdir(u"sub100.html"_s);
        break;
    case Fault::SizeLimit:
        writeFile(path, oldPageBytes);
        break;
    case Fault::InvalidName:
        path = dir.filePath(QString(300, u'a') + u".html"_s);  // past the name limit
        break;
    case Fault::NamedPipe:
        ::mkfifo(QFile::encodeName(path).constData(), 0644);
        break;
    case Fault::EndlessDevice:
        path = u"/dev/zero"_s;
        break;
    case Fault::OverReadLimit:
        writeFile(path, oldPageBytes);
        QFile::resize(path, maxReadableFileSize + 1);  // sparse: takes no disk
        break;
    case Fault::WriteProtectedFolder:
    case Fault::WriteProtectedFolderSizeLimit:
    case Fault::WriteProtectedFolderFailingDisk: {
        const auto everyoneWrites = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                    QFileDevice::ReadOther | QFileDevice::WriteOther;
        const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                              QFileDevice::ReadOther | QFileDevice::ExeOther;
        QFile::setPermissions(folder_, readOnly | QFileDevice::WriteOwner);
        folder_ = dir.filePath(u"locked"_s);
        path = folder_ + u"/sub100.html"_s;
        QDir(dir.path()).mkdir(u"locked"_s);
        writeFile(path, oldPageBytes);
        QFile::setPermissions(path, everyoneWrites);
        QFile::setPermissions(folder_, readOnly);
        unprivileged_ = std::make_unique<UnprivilegedFileAccess>();
        if (fault == Fault::WriteProtectedFolderFailingDisk)
            failingDisk_ = std::make_unique<FailingDisk>();
        break;
    }
    case Fault::JapaneseNameWithSpaces:
        path = dir.filePath(u"次の ページ 1.html"_s);
        writeFile(path, oldPageBytes);
        break;
    case Fault::Symlink:
        writeFile(dir.filePath(u"real.html"_s), oldPageBytes);
        QFile::link(dir.filePath(u"real.html"_s), path);
        break;
    }
}

FaultyTarget::~FaultyTarget()
{
    const bool lockedFolder = unprivileged_ != nullptr;  // made for the locked folders only
    failingDisk_.reset();
    unprivileged_.reset();
    if (lockedFolder)
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);  // so it can be removed
}

bool FaultyTarget::writable() const
{
    switch (fault_) {
    case Fault::OverReadLimit:
    case Fault::WriteProtectedFolder:
    case Fault::JapaneseNameWithSpaces:
    case Fault::Symlink:
        return true;
    default:
        return false;
    }
}

bool FaultyTarget::readable() const
{
    return fault_ != Fault::OverReadLimit &&
           (writable() || fault_ == Fault::ReadOnlyFile || fault_ == Fault::SizeLimit ||
            fault_ == Fault::WriteProtectedFolderSizeLimit ||
            fault_ == Fault::WriteProtectedFolderFailingDisk);
}

qint64 FaultyTarget::sizeLimit(qint64 bytes) const
{
    return fault_ == Fault::SizeLimit || fault_ == Fault::WriteProtectedFolderSizeLimit ? bytes : 0;
}

QString FaultyTarget::changes(const QByteArray& written) const
{
    if (writable()) {
        if (readAll(path) != written)
            return u"the file does not hold what was written"_s;
        if (fault_ == Fault::Symlink && !QFileInfo(path).isSymLink())
            return u"the link was replaced by a file"_s;
        return QString();
    }
    const QStringList entries = QDir(folder_).entryList(QDir::AllEntries | QDir::System |
                                                        QDir::Hidden | QDir::NoDotAndDotDot);
    const bool nothingBefore = fault_ == Fault::MissingFolder || fault_ == Fault::InvalidName ||
                               fault_ == Fault::EndlessDevice;
    const QStringList expected = nothingBefore ? QStringList() : QStringList{u"sub100.html"_s};
    if (entries != expected)
        return u"folder holds: "_s + entries.join(u", "_s);
    switch (fault_) {
    case Fault::ReadOnlyFile:
    case Fault::SizeLimit:
    case Fault::WriteProtectedFolderSizeLimit:
    case Fault::WriteProtectedFolderFailingDisk:  // in the cache, at least
        if (readAll(path) != oldPageBytes)
            return u"the old file was changed"_s;
        break;
    case Fault::NamedPipe:
        if (!QFileInfo(path).exists() || QFileInfo(path).isFile())
            return u"the pipe was replaced"_s;
        break;
    case Fault::FolderAsTarget:
        if (!QFileInfo(path).isDir() || !QDir(path).isEmpty())
            return u"the folder was changed"_s;
        break;
    default:
        break;
    }
    return QString();
}

UnprivilegedFileAccess::UnprivilegedFileAccess()
{
    if (::geteuid() != 0)
        return;
    // Per thread, and only for file access checks: the rest of the process
    // stays root.
    ::setfsgid(nobody);
    ::setfsuid(nobody);
    switched_ = true;
}

UnprivilegedFileAccess::~UnprivilegedFileAccess()
{
    if (!switched_)
        return;
    ::setfsuid(0);
    ::setfsgid(0);
}

FailingDisk::FailingDisk()
{
    syncsFail = true;
}

FailingDisk::~FailingDisk()
{
    syncsFail = false;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    if (bytes <= 0)
        return;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!active_)
        qFatal("cannot set a file size limit");
}

FileSizeLimit::~FileSizeLimit()
{
    if (!active_)
        return;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(oldLimit_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler_);
}

}  // namespace quillet
