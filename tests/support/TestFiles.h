#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryDir;

namespace quillet {

QByteArray readAll(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Files the descriptor table holds open right now (0 where it can't be read).
int openFileCount();

// While in scope, this thread's file access is checked as an ordinary
// user's when the process runs as root, for whom no folder is closed.
class UnprivilegedFileAccess {
public:
    UnprivilegedFileAccess();
    ~UnprivilegedFileAccess();
    UnprivilegedFileAccess(const UnprivilegedFileAccess&) = delete;
    UnprivilegedFileAccess& operator=(const UnprivilegedFileAccess&) = delete;

    static constexpr unsigned nobody = 65534;

private:
    bool switched_ = false;
};

// Awkward targets for a page or body file, and sources to load from.
// writable() and readable() tell which must work.
enum class Fault {
    ReadOnlyFile,
    MissingFolder,
    FolderAsTarget,
    SizeLimit,
    InvalidName,
    NamedPipe,
    EndlessDevice,  // /dev/zero: a load source only, never a target
    OverReadLimit,  // a regular file too large to load, fine to replace
    WriteProtectedFolderSizeLimit,
    WriteProtectedFolder,  // a writable file in a folder that takes no new file
    // There, on a disk whose every sync fails, as a failing disk's does:
    // the old bytes cannot be put back for sure either.
    WriteProtectedFolderFailingDisk,
    JapaneseNameWithSpaces,
    Symlink,
};

// A target path inside `dir` set up as `fault` says, with whatever stood
// there before remembered. Where a file stands before, it holds
// oldPageBytes.
class FaultyTarget {
public:
    FaultyTarget(const QTemporaryDir& dir, Fault fault);
    ~FaultyTarget();
    FaultyTarget(const FaultyTarget&) = delete;
    FaultyTarget& operator=(const FaultyTarget&) = delete;

    bool writable() const;
    bool readable() const;                 // there is a file to read at the path
    qint64 sizeLimit(qint64 bytes) const;  // `bytes` where writes are to be cut short, else 0
    // For a target that cannot be written: an empty string when the folder
    // holds exactly what it held before (the old file with its old bytes,
    // no temporary or partial file). For the others: an empty string when
    // the path now holds `written`, with a link still a link.
    QString changes(const QByteArray& written = QByteArray()) const;

    QString path;

private:
    QString folder_;
    Fault fault_;
    std::unique_ptr<UnprivilegedFileAccess> unprivileged_;
    std::unique_ptr<class FailingDisk> failingDisk_;
};

// While in scope, every fsync() of this process fails with EIO, as on a
// disk that fails to write back what the system cached.
class FailingDisk {
public:
    FailingDisk();
    ~FailingDisk();
    Q_DISABLE_COPY_MOVE(FailingDisk)
};

inline const QByteArray oldPageBytes = QByteArrayLiteral("<HTML>old page</HTML>\r\n");

// Limits the size of files this process writes, while in scope, the way a
// quota or a full disk cuts a write short. SIGXFSZ is ignored meanwhile so
// the write returns short instead of killing the process. 0 sets no limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    bool active_ = false;
    unsigned long long oldLimit_ = 0;
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace quillet
