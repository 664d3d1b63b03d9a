#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The version block compiled into the program, laid out as a list of
// sub-block paths (the translation under "\VarFileInfo\Translation", each
// string under "\StringFileInfo\041103A4\ProductName" and the like) each
// with its value bytes. String values are UTF-16 with a
// terminating zero, as a version resource holds them.
namespace VersionData {

struct Value
{
    const char *data = nullptr;
    quint32 length = 0; // in characters for strings, bytes for the translation
};

// A block with the translation language/code page and these string values.
QByteArray makeBlock(
    quint16 language, quint16 codePage, const QList<std::pair<QString, QString>> &strings);

// The block the file carries: the running program carries the compiled
// one; any other file has none (an empty array).
QByteArray blockOf(const QString &file);

// The value at a sub-block path (case-insensitive), pointing into the block.
std::optional<Value> query(const QByteArray &block, const QString &subBlock);

} // namespace VersionData
