#pragma once

#include <QStringList>

namespace FileSearch {

// Names (no folder part) of every entry in folder whose name ends in suffix,
// compared without regard to case, in the file system's own order. Hidden,
// system and read-only entries are included, and so are folders.
QStringList namesEndingWith(const QString &folder, const QString &suffix);

// True when path names an existing regular file: a folder, FIFO or device is none.
bool fileExists(const QString &path);

} // namespace FileSearch
