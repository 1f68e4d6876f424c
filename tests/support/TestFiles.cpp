#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

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

bool FaultyTarget::writable() const
{
    return fault_ == Fault::JapaneseNameWithSpaces || fault_ == Fault::Symlink;
}

bool FaultyTarget::readable() const
{
    return writable() || fault_ == Fault::ReadOnlyFile || fault_ == Fault::SizeLimit;
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
    const QStringList entries =
        QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const bool nothingBefore = fault_ == Fault::MissingFolder || fault_ == Fault::InvalidName;
    const QStringList expected = nothingBefore ? QStringList() : QStringList{u"sub100.html"_s};
    if (entries != expected)
        return u"folder holds: "_s + entries.join(u", "_s);
    switch (fault_) {
    case Fault::ReadOnlyFile:
    case Fault::SizeLimit:
        if (readAll(path) != oldPageBytes)
            return u"the old file was changed"_s;
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
