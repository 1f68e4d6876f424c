#include "TextFile.h"

#include "CodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quillet {
namespace {

using namespace Qt::Literals::StringLiterals;

bool permissionBitsAllowWriting(const QFileInfo& target)
{
    return target.permissions() &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

FileResult failure(const QString& reason)
{
    return {false, reason};
}

}  // namespace

FileResult replaceFileContents(const QString& path, const QByteArray& bytes)
{
    // QSaveFile's own check asks access(), which root always passes; a file
    // the user marked read-only must still not be replaced.
    const QFileInfo target(path);
    if (target.isFile() && !permissionBitsAllowWriting(target))
        return failure(u"読み取り専用のファイルです。"_s);

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    // Unbuffered, so a write cut short by a file-size limit or a full disk
    // shows here as a short count (often with no error set). Buffered, it
    // would surface only inside commit(), which then still replaces the old
    // file with the truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file.errorString());

    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : u"ファイルを最後まで書き込めませんでした"
                                     u"（ディスクの空き容量かファイルサイズの上限に"
                                     u"達した可能性があります）。"_s;
        file.cancelWriting();
        file.commit();  // discards the temporary file now, not at destruction
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return {true, QString()};
}

TextReadResult readTextFileContents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QString(), file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, QString(), file.errorString()};
    return {true, decodeTextFile(bytes), QString()};
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
