#include "PlatformFiles.h"
#include "TextFile.h"

#include <QFile>
#include <QFileInfo>

#include <io.h>
#include <cerrno>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

Result<> syncToDisk(QFileDevice& file)
{
    if (::_commit(file.handle()) == 0)
        return {};
    return failure(qt_error_string(errno));
}

Result<> checkRegularTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return failure(notRegularFileReason(u"フォルダ"_s));
    return {};
}

bool keepOwnerAndGroup(int, const QString&)
{
    return false;  // no owners to keep here
}

QString missingFileReason()
{
    return u"ファイルがありません。"_s;
}

Result<std::optional<QByteArray>> readRegularFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::optional<QByteArray>();
    if (!info.isFile())
        return failure(notRegularFileReason(u"フォルダ"_s));
    if (info.size() > maxReadableFileSize)
        return failure(tooLargeReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    QByteArray bytes = file.read(maxReadableFileSize + 1);
    if (bytes.size() > maxReadableFileSize)
        return failure(tooLargeReason());
    return std::optional<QByteArray>(std::move(bytes));
}

}  // namespace quillet
