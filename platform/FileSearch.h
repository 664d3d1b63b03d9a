#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace FileSearch {

// One directory entry. Names from Windows archives often hold Shift-JIS bytes,
// which the file system's encoding (UTF-8) cannot spell: such a name is shown as
// read in code page 932 and opened by nativeName, its bytes.
struct Entry
{
    QString name;
    QByteArray nativeName; // empty when name opens the file as it is
};

// Every entry in folder whose name ends in suffix, compared without regard to
// case, in the file system's own order. Hidden, system and read-only entries are
// included, and so are folders; no entry is left out for its name's encoding.
QList<Entry> entriesEndingWith(const QString &folder, const QString &suffix);

} // namespace FileSearch
