#include "platform/ProgramPath.h"

#include <QCoreApplication>

namespace ProgramPath {

QString programFile()
{
    return QCoreApplication::applicationFilePath();
}

QString folderOf(const QString &programFile)
{
    return programFile.left(programFile.lastIndexOf(u'/') + 1);
}

QString settingsFileFor(const QString &programFile)
{
    const qsizetype nameStart = programFile.lastIndexOf(u'/') + 1;
    const qsizetype dot = programFile.lastIndexOf(u'.');
    const QString stem = dot > nameStart ? programFile.left(dot) : programFile;
    return stem + QStringLiteral(".ini");
}

} // namespace ProgramPath
