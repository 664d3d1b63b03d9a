#include "core/exam/ExamRunStore.h"

#include "core/Errors.h"
#include "core/exam/ExamErrorList.h"
#include "core/exam/ExamRunFile.h"
#include "platform/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

using ErrorKind = ExamAlignment::ErrorKind;

constexpr int MostSameSecond = 999; // runs kept within one second: far more than can happen

// The characters of text before pos on its line, at most ContextLength code points.
QString contextBefore(QStringView text, qsizetype pos)
{
    qsizetype from = pos;
    for (int n = 0; n < ExamRunDetail::ContextLength && from > 0; ++n) {
        if (text[from - 1] == u'\n')
            break;
        from -= from >= 2 && text[from - 1].isLowSurrogate() && text[from - 2].isHighSurrogate()
            ? 2
            : 1;
    }
    return text.sliced(from, pos - from).toString();
}

QString contextAfter(QStringView text, qsizetype pos)
{
    qsizetype to = pos;
    for (int n = 0; n < ExamRunDetail::ContextLength && to < text.size(); ++n) {
        if (text[to] == u'\n')
            break;
        to += to + 1 < text.size() && text[to].isHighSurrogate() && text[to + 1].isLowSurrogate()
            ? 2
            : 1;
    }
    return text.sliced(pos, to - pos).toString();
}

// An alignment is made of the texts given; clamped all the same.
std::pair<qsizetype, qsizetype> within(QStringView text, qsizetype pos, qsizetype length)
{
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    return { pos, std::clamp<qsizetype>(length, 0, text.size() - pos) };
}

ExamRunDetail::Error errorOf(
    const ExamErrorList::Block &block, QStringView practice, QStringView typed)
{
    ExamRunDetail::Error error;
    error.kind = block.kind;
    const auto [practicePos, practiceLength]
        = within(practice, block.practicePos, block.practiceLength);
    const auto [typedPos, typedLength] = within(typed, block.typedPos, block.typedLength);
    error.practicePos = practicePos;
    error.typedPos = typedPos;
    error.expected = practice.sliced(practicePos, practiceLength).toString();
    error.typed = typed.sliced(typedPos, typedLength).toString();
    error.expectedBefore = contextBefore(practice, practicePos);
    error.expectedAfter = contextAfter(practice, practicePos + practiceLength);
    error.typedBefore = contextBefore(typed, typedPos);
    error.typedAfter = contextAfter(typed, typedPos + typedLength);
    const QStringView before = practice.first(practicePos);
    error.line = int(before.count(u'\n')) + 1;
    error.column = int(before.sliced(before.lastIndexOf(u'\n') + 1).toUcs4().size()) + 1;
    return error;
}

// Only names this store gives: a hand-edited history must not steer a read
// or a removal outside the folder.
bool isRunFileName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[0-9]{8}-[0-9]{6}(-[0-9]{1,3})?\\.json$"));
    return pattern.match(name).hasMatch();
}

QString fileNameFor(const QDateTime &when, int attempt)
{
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return attempt == 0 ? stamp + QStringLiteral(".json")
                        : QStringLiteral("%1-%2.json").arg(stamp).arg(attempt + 1);
}

QString reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return QStringLiteral("ディスクに空きがありません");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("書き込みが許可されていません");
    default:
        return QStringLiteral("書き込みに失敗しました");
    }
}

[[noreturn]] void throwWriteError(const QString &path, int error)
{
    throw VemiError(QStringLiteral("練習の記録のファイル %1 に書き込めません（%2）")
                        .arg(QDir::toNativeSeparators(path), reasonFor(error)));
}

// The whole content goes to a hidden file first, on the disk before it gets
// its name: a full disk or a crash leaves no run file cut short.
QByteArray writeHidden(const QString &folder, const QByteArray &data)
{
    QByteArray name = QFile::encodeName(folder) + "/.writing-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        throwWriteError(folder, errno);
    const bool ok = RegularFile::writeAll(fd, data) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok)
        error = errno;
    else if (ok)
        return name;
    ::unlink(name.constData());
    throwWriteError(QFile::decodeName(name), error);
}

// Gives the hidden file its name unless a file has that name already: never
// another run's file replaced. Where the file system cannot refuse to replace
// (no renameat2 flags), a hard link does the same.
bool nameWithoutReplacing(const QByteArray &from, const QByteArray &to, int &error)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP)
        return false;
    if (::link(from.constData(), to.constData()) != 0) {
        error = errno;
        return false;
    }
    ::unlink(from.constData());
    return true;
}

// A folder's new entry survives a power cut only once the folder is on the disk too.
bool syncFolder(const QString &folder)
{
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

ExamRunStore::ExamRunStore(const QString &historyPath)
    : m_folder(QFileInfo(historyPath).dir().filePath(QString::fromLatin1(FolderName)))
{ }

ExamRunDetail ExamRunStore::make(const ExamResult &result, const ExamLevel &level,
    const ExamAlignment::Result &aligned, const QString &practice, const QString &typed)
{
    ExamRunDetail detail;
    detail.result = result;
    // To the second, as the history keeps it: the file reads back the same.
    detail.result.when = result.when.addMSecs(-result.when.time().msec());
    detail.result.detailFile.clear();
    detail.levelKey = level.key;
    detail.penalty = level.penalty;
    detail.practiceDigest = QString::fromLatin1(
        QCryptographicHash::hash(practice.toUtf8(), QCryptographicHash::Sha256).toHex());
    const QStringView reached = QStringView(practice).first(
        std::clamp<qsizetype>(aligned.practiceReached, 0, practice.size()));
    detail.practiceReached = reached.toString();
    detail.typed = typed;
    for (const ExamErrorList::Block &block : ExamErrorList::blocks(aligned.errors))
        detail.errors.append(errorOf(block, reached, typed));
    return detail;
}

QString ExamRunStore::write(const ExamRunDetail &detail) const
{
    const QByteArray data = ExamRunFile::encode(detail);
    if (data.size() > ExamRunFile::LargestSize)
        throw VemiError(QStringLiteral("練習の記録が大きすぎて、フォルダー %1 に残せません")
                            .arg(QDir::toNativeSeparators(m_folder)));
    if (!QDir().mkpath(m_folder))
        throwWriteError(m_folder, errno);
    const QByteArray hidden = writeHidden(m_folder, data);
    for (int attempt = 0; attempt < MostSameSecond; ++attempt) {
        const QString name = fileNameFor(detail.result.when, attempt);
        const QString path = QDir(m_folder).filePath(name);
        int error = 0;
        if (nameWithoutReplacing(hidden, QFile::encodeName(path), error)) {
            if (syncFolder(m_folder))
                return name;
            error = errno;
            ::unlink(QFile::encodeName(path).constData());
            throwWriteError(path, error);
        }
        if (error != EEXIST) {
            ::unlink(hidden.constData());
            throwWriteError(path, error);
        }
    }
    ::unlink(hidden.constData());
    throwWriteError(QDir(m_folder).filePath(fileNameFor(detail.result.when, 0)), EEXIST);
}

ExamRunDetail ExamRunStore::read(const QString &fileName) const
{
    const QString path = QDir(m_folder).filePath(fileName);
    const QString shown = QDir::toNativeSeparators(path);
    if (!isRunFileName(fileName))
        throw VemiError(
            QStringLiteral("練習の記録のファイル名 %1 は、この練習履歴のものではありません")
                .arg(fileName));
    if (!QFileInfo::exists(path))
        throw VemiError(QStringLiteral("練習の記録のファイル %1 がありません").arg(shown));
    QFile file;
    if (!RegularFile::openForReading(file, path))
        throw VemiError(QStringLiteral("練習の記録のファイル %1 を読めません").arg(shown));
    if (file.size() > ExamRunFile::LargestSize)
        throw VemiError(
            QStringLiteral("練習の記録のファイル %1 は大きすぎて読めません").arg(shown));
    const QByteArray data = file.read(ExamRunFile::LargestSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw VemiError(QStringLiteral("練習の記録のファイル %1 を読めません").arg(shown));
    if (data.size() > ExamRunFile::LargestSize)
        throw VemiError(
            QStringLiteral("練習の記録のファイル %1 は大きすぎて読めません").arg(shown));
    const auto detail = ExamRunFile::decode(data);
    if (!detail)
        throw VemiError(
            QStringLiteral("練習の記録のファイル %1 は壊れていて読めません").arg(shown));
    ExamRunDetail run = *detail;
    run.result.detailFile = fileName;
    return run;
}

void ExamRunStore::remove(const QString &fileName) const
{
    if (!isRunFileName(fileName))
        throw VemiError(
            QStringLiteral("練習の記録のファイル名 %1 は、この練習履歴のものではありません")
                .arg(fileName));
    const QString path = QDir(m_folder).filePath(fileName);
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        throw VemiError(QStringLiteral("練習の記録のファイル %1 を削除できません")
                            .arg(QDir::toNativeSeparators(path)));
}
