#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

class QFile;

namespace FileSearch {

// Names (no folder part) of every entry in folder whose name ends in suffix,
// compared without regard to case, in the file system's own order. Hidden,
// system and read-only entries are included, and so are folders.
QStringList namesEndingWith(const QString &folder, const QString &suffix);

// One directory entry. Names from Windows archives often hold Shift-JIS bytes,
// which the file system's encoding (UTF-8) cannot spell: such a name is shown as
// read in code page 932 and opened by nativeName, its bytes.
struct Entry
{
    QString name;
    QByteArray nativeName; // empty when name opens the file as it is
};

// Like namesEndingWith, but no entry is left out for its name's encoding.
QList<Entry> entriesEndingWith(const QString &folder, const QString &suffix);

// Opens a regular file for reading, by path or, when nativePath is not empty, by
// those bytes. False for anything else (a folder, a named pipe, a device) and
// for a file that cannot be opened.
bool openForReading(QFile &file, const QString &path, const QByteArray &nativePath);

// True when path names an existing entry that is not a folder.
bool fileExists(const QString &path);

} // namespace FileSearch
