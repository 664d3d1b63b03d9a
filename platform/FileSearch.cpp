#include "FileSearch.h"

#include "RegularFile.h"

#include <QDirIterator>
#include <QFileInfo>

namespace FileSearch {

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

bool fileExists(const QString &path)
{
    return RegularFile::isRegular(path);
}

} // namespace FileSearch
