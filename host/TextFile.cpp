#include "TextFile.h"

#include "CodePage.h"
#include "PlatformFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <tuple>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

QString notRegularFileReason(const QString& kind)
{
    return u"通常のファイルではありません（"_s + kind + u"）。"_s;
}

QString tooLargeReason()
{
    return u"ファイルが大きすぎます（読み込めるのは "_s +
           QString::number(maxReadableFileSize / (1024 * 1024)) + u" MiB までです）。"_s;
}

namespace {

QString cutShortReason()
{
    return u"ファイルを最後まで書き込めませんでした"
           u"（ディスクの空き容量かファイルサイズの上限に"
           u"達した可能性があります）。"_s;
}

QString damagedReason(const QString& why, const QString& restoreWhy)
{
    return why + u"\n元の内容に戻すこともできなかったため、ファイルは壊れています（"_s +
           restoreWhy + u"）。"_s;
}

bool permissionBitsAllowWriting(const QFileInfo& target)
{
    return target.permissions() &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// Writes all of `bytes` where the file stands. Unbuffered, the file's
// position then tells how far the writing got, whether it failed or not.
Result<> writeAll(QFileDevice& file, const QByteArray& bytes)
{
    if (file.write(bytes) == bytes.size())
        return {};
    return failure(file.error() != QFileDevice::NoError ? file.errorString() : cutShortReason());
}

Result<> resizeTo(QFileDevice& file, qint64 size)
{
    if (file.resize(size))
        return {};
    return failure(file.errorString());
}

// Puts the old bytes back as far as the new ones reached, and the old size:
// wherever a limit stopped the new ones, the old ones beyond it were never
// touched, and writing them again could only hit the same limit.
Result<> restore(QFile& file, const QByteArray& old, qint64 reached)
{
    if (!file.seek(0))
        return failure(file.errorString());
    if (Result<> written = writeAll(file, old.left(reached)); !written.ok())
        return written;
    if (Result<> resized = resizeTo(file, old.size()); !resized.ok())
        return resized;
    return syncToDisk(file);
}

// For a folder that allows no temporary file. Nothing is truncated until
// the new bytes are all written, and on any failure the old bytes are
// written back.
Result<> overwriteInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failure(file.errorString());
    const QByteArray old = file.readAll();
    if (!file.seek(0))
        return failure(file.errorString());
    Result<> replaced = writeAll(file, bytes);
    qint64 reached = file.pos();
    if (replaced.ok()) {
        reached = std::max<qint64>(reached, old.size());  // the resize cuts what lies beyond
        replaced = resizeTo(file, bytes.size());
    }
    if (replaced.ok())
        replaced = syncToDisk(file);
    if (replaced.ok())
        return replaced;
    if (const Result<> restored = restore(file, old, reached); !restored.ok())
        return failure(damagedReason(replaced.error(), restored.error()));
    return replaced;
}

// Where a file of the set waits: its new bytes beside it, then its old
// ones, until all of the set are in place.
struct StagedFile {
    QString target;  // links followed
    QString staged;  // the new bytes, until they take the target's place
    QString kept;    // the old file, moved aside meanwhile
    bool placed = false;
};

// A hidden name beside `target` that nothing has, for now.
QString besideName(const QString& target, const QString& purpose)
{
    const QFileInfo info(target);
    QString name;
    do {
        name = info.dir().filePath(u'.' + info.fileName() + u'.' + purpose + u'-' +
                                   QString::number(QRandomGenerator::global()->generate(), 36));
    } while (QFileInfo::exists(name));
    return name;
}

Result<> checkReplaceable(const QString& path)
{
    if (Result<> regular = checkRegularTarget(path); !regular.ok())
        return regular;
    const QFileInfo target(path);
    if (target.isFile() && !permissionBitsAllowWriting(target))
        return failure(u"読み取り専用のファイルです。"_s);
    return {};
}

Result<> stage(StagedFile& file, const QByteArray& bytes)
{
    QFile staged(besideName(file.target, u"new"_s));
    // A new file gets the permissions any new file gets; an old one's are
    // kept.
    if (!staged.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return failure(staged.errorString());
    file.staged = staged.fileName();
    const QFileInfo old(file.target);
    if (old.isFile()) {
        std::ignore = staged.setPermissions(old.permissions());
        std::ignore = keepOwnerAndGroup(staged.handle(), file.target);
    }
    if (Result<> written = writeAll(staged, bytes); !written.ok())
        return written;
    return syncToDisk(staged);
}

Result<> place(StagedFile& file)
{
    if (QFileInfo::exists(file.target)) {
        const QString kept = besideName(file.target, u"old"_s);
        if (!QFile::rename(file.target, kept))
            return failure(u"元のファイルを退避できませんでした。"_s);
        file.kept = kept;
    }
    QFile staged(file.staged);
    if (!staged.rename(file.target))
        return failure(staged.errorString());
    file.placed = true;
    return {};
}

// Puts back what was there before, in reverse order.
void undo(QList<StagedFile>& files)
{
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (file->placed)
            std::ignore = QFile::remove(file->target);
        if (!file->kept.isEmpty())
            std::ignore = QFile::rename(file->kept, file->target);
        if (!file->placed && !file->staged.isEmpty())
            std::ignore = QFile::remove(file->staged);
    }
}

}  // namespace

Result<> replaceFileContents(const QString& path, const QByteArray& bytes)
{
    // A pipe or device would be replaced by a regular file, a folder
    // refused only after a temporary file was made.
    if (Result<> regular = checkRegularTarget(path); !regular.ok())
        return regular;
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
    // A new file, or one the user may not give away, stays the user's own.
    std::ignore = keepOwnerAndGroup(file.handle(), path);

    Result<> written = writeAll(file, bytes);
    if (written.ok())
        written = syncToDisk(file);
    if (!written.ok()) {
        file.cancelWriting();
        std::ignore = file.commit();  // discards the temporary file now, not at destruction
        return written;
    }
    if (!file.commit())
        return failure(file.errorString());
    return {};
}

Result<> replaceTextFiles(const QList<std::pair<QString, QString>>& files)
{
    QList<StagedFile> staged;
    staged.reserve(files.size());
    for (const auto& [path, bytes] : files) {
        if (Result<> replaceable = checkReplaceable(path); !replaceable.ok())
            return failure(replaceable.error(), path);
        const QFileInfo info(path);
        StagedFile file;
        file.target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
        staged.append(file);
    }
    const auto failed = [&](qsizetype at, const Result<>& result) {
        undo(staged);
        return failure(result.error(), files[at].first);
    };
    for (qsizetype at = 0; at < staged.size(); ++at) {
        if (Result<> written = stage(staged[at], toCp932(files[at].second)); !written.ok())
            return failed(at, written);
    }
    for (qsizetype at = 0; at < staged.size(); ++at) {
        if (Result<> placed = place(staged[at]); !placed.ok())
            return failed(at, placed);
    }
    for (const StagedFile& file : staged) {
        if (!file.kept.isEmpty())
            std::ignore = QFile::remove(file.kept);
    }
    return {};
}

Result<QString> readTextFileContents(const QString& path)
{
    const Result<std::optional<QByteArray>> file = readRegularFile(path);
    if (!file.ok())
        return failure(file.error());
    if (!file.value())
        return failure(missingFileReason());
    return decodeTextFile(*file.value());
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
