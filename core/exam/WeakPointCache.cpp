#include "core/exam/WeakPointCache.h"

#include "core/Errors.h"
#include "platform/RegularFile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr quint32 Magic = 0x56575043; // "VWPC"
constexpr quint32 Version = 1;

void write(QDataStream &out, const QList<WeakPoints::Mistake> &mistakes)
{
    out << quint32(mistakes.size());
    for (const WeakPoints::Mistake &mistake : mistakes)
        out << qint8(mistake.kind) << mistake.expected << mistake.typed
            << qint32(mistake.errorIndex);
}

void read(QDataStream &in, QList<WeakPoints::Mistake> &mistakes)
{
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        WeakPoints::Mistake mistake;
        qint8 kind = 0;
        qint32 errorIndex = 0;
        in >> kind >> mistake.expected >> mistake.typed >> errorIndex;
        if (kind < 0 || kind > qint8(WeakPoints::Kind::Insertion))
            in.setStatus(QDataStream::ReadCorruptData);
        mistake.kind = WeakPoints::Kind(kind);
        mistake.errorIndex = errorIndex;
        mistakes.append(mistake);
    }
}
} // namespace

WeakPointCache::WeakPointCache(const QString &folder, Reader read)
    : m_folder(folder)
    , m_read(std::move(read))
{ }

QHash<QString, WeakPointCache::Entry> WeakPointCache::load() const
{
    QHash<QString, Entry> entries;
    QFile file;
    if (!RegularFile::openForReading(file, QDir(m_folder).filePath(FileName)))
        return entries;
    QDataStream in(&file);
    quint32 magic = 0, version = 0, count = 0;
    in >> magic >> version >> count;
    if (magic != Magic || version != Version)
        return entries;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString name;
        Entry entry;
        in >> name >> entry.size >> entry.modified >> entry.run.when;
        read(in, entry.run.mistakes);
        entry.run.fileName = name;
        entries.insert(name, entry);
    }
    if (in.status() != QDataStream::Ok)
        return {}; // damaged: every run is read again
    return entries;
}

void WeakPointCache::save(const QList<std::pair<QString, const Entry *>> &entries) const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << Magic << Version << quint32(entries.size());
    for (const auto &[name, entry] : entries) {
        out << name << entry->size << entry->modified << entry->run.when;
        write(out, entry->run.mistakes);
    }
    // Only a copy: when it cannot be written, the next list reads the runs again.
    RegularFile::write(QDir(m_folder).filePath(FileName), data);
}

QList<WeakPoints::Row> WeakPointCache::rows()
{
    m_runsRead = 0;
    m_unreadable.clear();
    QHash<QString, Entry> cached = load();
    const QFileInfoList files
        = QDir(m_folder).entryInfoList({ QStringLiteral("*.json") }, QDir::Files, QDir::Name);
    QList<Entry> current;
    current.reserve(files.size());
    bool changed = cached.size() != files.size();
    for (const QFileInfo &info : files) {
        const QString name = info.fileName();
        const qint64 modified = info.lastModified().toMSecsSinceEpoch();
        const auto found = cached.constFind(name);
        if (found != cached.constEnd() && found->size == info.size()
            && found->modified == modified) {
            current.append(*found);
            continue;
        }
        changed = true;
        try {
            ++m_runsRead;
            current.append(
                { info.size(), modified, WeakPoints::runMistakes({ name, m_read(name) }) });
        } catch (const VemiError &error) {
            m_unreadable.append(QStringLiteral("%1: %2").arg(name, error.message()));
        }
    }
    if (changed) {
        QList<std::pair<QString, const Entry *>> kept;
        for (const Entry &entry : current)
            kept.append({ entry.run.fileName, &entry });
        save(kept);
    }
    // Oldest first, as the file names (the runs' times) sort.
    QList<WeakPoints::RunMistakes> runs;
    runs.reserve(current.size());
    for (const Entry &entry : current)
        runs.append(entry.run);
    return WeakPoints::group(runs);
}
