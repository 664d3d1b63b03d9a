#pragma once

#include <QByteArray>
#include <QFile>

#include <cstdio>

// Literal bytes including embedded NULs.
template <qsizetype N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Writes a file whose name is given as raw bytes, such as a Shift-JIS name
// unpacked from a Windows archive, which QFile cannot spell.
inline bool writeAllNative(const QByteArray &path, const QByteArray &data)
{
    FILE *stream = std::fopen(path.constData(), "wb");
    if (!stream)
        return false;
    const bool written
        = std::fwrite(data.constData(), 1, size_t(data.size()), stream) == size_t(data.size());
    return std::fclose(stream) == 0 && written;
}
