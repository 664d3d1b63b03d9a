#include "FileSearch.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>

namespace FileSearch {

namespace {

// The name as code page 932, when its bytes are valid there.
std::optional<QString> cp932Reading(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    const QString name = decoder.decode(bytes);
    if (decoder.hasError() || name.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return name;
}

Entry entryFor(const QByteArray &bytes)
{
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes)
        return { name, QByteArray() };
    // Neither spelling fits: the name is shown with replacement characters, and
    // the bytes still open the file.
    return { cp932Reading(bytes).value_or(name), bytes };
}

} // namespace

QStringList namesEndingWith(const QString &folder, const QString &suffix)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

QList<Entry> entriesEndingWith(const QString &folder, const QString &suffix)
{
    QList<Entry> entries;
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(
        ::opendir(QFile::encodeName(folder).constData()), &::closedir);
    if (!dir)
        return entries;
    while (const dirent *found = ::readdir(dir.get())) {
        const QByteArray bytes(found->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        Entry entry = entryFor(bytes);
        if (entry.name.endsWith(suffix, Qt::CaseInsensitive))
            entries.append(std::move(entry));
    }
    return entries;
}

bool openForReading(QFile &file, const QString &path, const QByteArray &nativePath)
{
    const QByteArray name = nativePath.isEmpty() ? QFile::encodeName(path) : nativePath;
    // Non-blocking, so that opening a named pipe returns at once to be refused.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace FileSearch
