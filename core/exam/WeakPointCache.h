#pragma once

#include "core/exam/WeakPoints.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

// The weak points of every run kept in a folder, without reading every run
// each time: each run's mistakes are kept in a cache file in the same folder,
// under the run file's name, size and time. A run not in the cache (new, or
// rewritten) is read; a run whose file is gone is dropped. The cache file is
// only ever a copy: a missing, stale or damaged one is made again.
class WeakPointCache
{
public:
    static constexpr const char *FileName = "weakpoints.cache";
    // Reads one run by its file name; throws VemiError when it cannot.
    using Reader = std::function<ExamRunDetail(const QString &fileName)>;

    WeakPointCache(const QString &folder, Reader read);

    // Every kept run's mistakes, grouped (WeakPoints::group), oldest run first.
    QList<WeakPoints::Row> rows();

    // Of the last rows(): the run files read (not found in the cache), and
    // those that could not be read ("name: reason"), which are left out.
    int runsRead() const { return m_runsRead; }
    QStringList unreadable() const { return m_unreadable; }

private:
    struct Entry
    {
        qint64 size = 0;
        qint64 modified = 0; // ms since the epoch
        WeakPoints::RunMistakes run;
    };
    QHash<QString, Entry> load() const;
    void save(const QList<std::pair<QString, const Entry *>> &entries) const;

    QString m_folder;
    Reader m_read;
    int m_runsRead = 0;
    QStringList m_unreadable;
};
