#pragma once

#include <QString>

namespace ProgramPath {

// Full path of the running executable.
QString programFile();

// Folder of the executable with a trailing separator, so a relative name can be appended directly.
QString folderOf(const QString &programFile);

// The program's path with the extension of its last component replaced by ".ini".
QString settingsFileFor(const QString &programFile);

} // namespace ProgramPath
