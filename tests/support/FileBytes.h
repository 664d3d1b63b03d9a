#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ftw.h>

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

// Removes a folder and everything in it by the bytes of the names, so names
// that QFile cannot spell go too.
inline void removeTreeByBytes(const QByteArray &path)
{
    if (path.isEmpty())
        return;
    const auto removeOne
        = [](const char *name, const struct stat *, int, FTW *) { return std::remove(name); };
    nftw(path.constData(), removeOne, 16, FTW_DEPTH | FTW_PHYS);
}

// A temporary folder that leaves nothing behind: QTemporaryDir removes by
// QString and so keeps files with Shift-JIS names and the folders around them.
class TemporaryFolder : public QTemporaryDir
{
public:
    using QTemporaryDir::QTemporaryDir;
    ~TemporaryFolder() { removeTreeByBytes(QFile::encodeName(path())); }
};
