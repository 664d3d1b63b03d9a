#include "platform/FileSearch.h"

#include <QFile>
#include <QStringDecoder>

#include <dirent.h>

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

} // namespace FileSearch
