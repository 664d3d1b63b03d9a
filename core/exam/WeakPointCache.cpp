#include "core/exam/WeakPointCache.h"

#include "core/Errors.h"
#include "platform/RegularFile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {
constexpr quint32 Magic = 0x56575043; // "VWPC"
constexpr quint32 Version = 2;
constexpr qint8 LastKind = qint8(WeakPoints::Kind::Insertion);
} // namespace

WeakPointCache::WeakPointCache(const QString &folder, Reader read)
    : m_folder(folder)
    , m_read(std::move(read))
{ }

// The cached rows of the runs still present (name and size as listed now).
WeakPointCache::Cached WeakPointCache::load(const QHash<QString, qint64> &present) const
{
    QFile file;
    if (!RegularFile::openForReading(file, QDir(m_folder).filePath(FileName)))
        return {};
    QDataStream in(&file);
    quint32 magic = 0, version = 0, runCount = 0, rowCount = 0;
    in >> magic >> version >> runCount;
    if (magic != Magic || version != Version)
        return {};
    Cached cached;
    QList<qsizetype> kept; // a cached run's index among the runs kept, -1 when gone
    for (quint32 i = 0; i < runCount && in.status() == QDataStream::Ok; ++i) {
        Run run;
        qint64 when = 0;
        in >> run.name >> run.size >> when;
        run.when = QDateTime::fromMSecsSinceEpoch(when);
        const bool stays = present.value(run.name, -1) == run.size;
        kept.append(stays ? cached.runs.size() : -1);
        if (stays)
            cached.runs.append(run);
    }
    in >> rowCount;
    for (quint32 i = 0; i < rowCount && in.status() == QDataStream::Ok; ++i) {
        WeakPoints::Row row;
        qint8 kind = 0;
        quint32 count = 0;
        in >> kind >> row.expected >> row.typed >> count;
        if (kind < 0 || kind > LastKind || count > quint32(1) << 28)
            return {};
        row.kind = WeakPoints::Kind(kind);
        for (quint32 j = 0; j < count && in.status() == QDataStream::Ok; ++j) {
            qint32 runIndex = 0, errorIndex = 0;
            in >> runIndex >> errorIndex;
            if (runIndex < 0 || runIndex >= kept.size())
                return {};
            if (kept[runIndex] < 0)
                continue;
            const Run &run = cached.runs[kept[runIndex]];
            row.occurrences.append({ run.name, errorIndex, run.when });
            if (!row.last.isValid() || run.when > row.last)
                row.last = run.when;
        }
        row.count = int(row.occurrences.size());
        if (row.count > 0)
            cached.rows.append(row);
    }
    if (in.status() != QDataStream::Ok)
        return {}; // damaged: every run is read again
    return cached;
}

void WeakPointCache::save(const Cached &cached) const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << Magic << Version << quint32(cached.runs.size());
    QHash<QString, qint32> index;
    for (const Run &run : cached.runs) {
        index.insert(run.name, qint32(index.size()));
        out << run.name << run.size << run.when.toMSecsSinceEpoch();
    }
    out << quint32(cached.rows.size());
    for (const WeakPoints::Row &row : cached.rows) {
        out << qint8(row.kind) << row.expected << row.typed << quint32(row.occurrences.size());
        for (const WeakPoints::Occurrence &occurrence : row.occurrences)
            out << index.value(occurrence.fileName) << qint32(occurrence.errorIndex);
    }
    // Only a copy: when it cannot be written, the next list reads the runs again.
    RegularFile::write(QDir(m_folder).filePath(FileName), data);
}

QList<WeakPoints::Row> WeakPointCache::rows()
{
    m_runsRead = 0;
    m_unreadable.clear();
    QHash<QString, qint64> present;
    const QFileInfoList files
        = QDir(m_folder).entryInfoList({ QStringLiteral("*.json") }, QDir::Files, QDir::Name);
    for (const QFileInfo &info : files)
        present.insert(info.fileName(), info.size());
    Cached cached = load(present);
    const bool dropped = cached.runs.size() != present.size();
    QSet<QString> known;
    for (const Run &run : cached.runs)
        known.insert(run.name);
    QList<WeakPoints::RunMistakes> added;
    for (const QFileInfo &info : files) {
        const QString name = info.fileName();
        if (known.contains(name))
            continue;
        try {
            ++m_runsRead;
            added.append(WeakPoints::runMistakes({ name, m_read(name) }));
            cached.runs.append({ name, info.size(), added.last().when });
        } catch (const VemiError &error) {
            m_unreadable.append(QStringLiteral("%1: %2").arg(name, error.message()));
        }
    }
    WeakPoints::addTo(cached.rows, added);
    if (dropped || !added.isEmpty())
        save(cached);
    return cached.rows;
}
