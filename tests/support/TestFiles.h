#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

namespace quillet {

QByteArray readAll(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Files the descriptor table holds open right now (0 where it can't be read).
int openFileCount();

// Ways a page or body file can fail to be written.
enum class Fault { ReadOnlyFile, MissingFolder, FolderAsTarget, SizeLimit };

// A target path inside `dir` that fails to be written in the way `fault`
// says, with whatever stood there before remembered.
class FaultyTarget {
public:
    FaultyTarget(const QTemporaryDir& dir, Fault fault);
    // An empty string when the folder holds exactly what it held before:
    // the old file with its old bytes, and no temporary or partial file.
    QString changes() const;

    QString path;

private:
    QString folder_;
    Fault fault_;
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
