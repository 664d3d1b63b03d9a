#pragma once

#include <QString>

// The version block compiled into the program, queried like a version
// resource: "\VarFileInfo\Translation" and "\StringFileInfo\<lang+cp>\<name>".
namespace VersionData {

// First language and code page pair, as 8 hexadecimal digits.
QString translation();

// The value at the sub-block, or an empty string when there is none.
QString query(const QString &subBlock);

} // namespace VersionData
