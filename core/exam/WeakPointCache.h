#pragma once

#include "core/exam/WeakPoints.h"

#include <QString>
#include <QStringList>

#include <functional>

// The weak points of every run kept in a folder, without reading every run
// each time: the grouped rows are kept in a cache file in the same folder,
// each occurrence naming its run, with the run files' names and sizes (a run
// file is never rewritten). A run file not in the cache is read and its
// mistakes added; the occurrences of a run whose file is gone are dropped. The
// cache file is only a copy: a missing or damaged one is made again.
class WeakPointCache
{
public:
    static constexpr const char *FileName = "weakpoints.cache";
    // Reads one run by its file name; throws VemiError when it cannot.
    using Reader = std::function<ExamRunDetail(const QString &fileName)>;

    WeakPointCache(const QString &folder, Reader read);

    // Every kept run's mistakes, grouped as WeakPoints::group groups them.
    QList<WeakPoints::Row> rows();

    // Of the last rows(): the run files read (not found in the cache), and
    // those that could not be read ("name: reason"), which are left out.
    int runsRead() const { return m_runsRead; }
    QStringList unreadable() const { return m_unreadable; }

private:
    struct Run
    {
        QString name;
        qint64 size = 0;
        QDateTime when;
    };
    struct Cached
    {
        QList<Run> runs;
        QList<WeakPoints::Row> rows;
    };
    Cached load(const QHash<QString, qint64> &present) const;
    void save(const Cached &cached) const;

    QString m_folder;
    Reader m_read;
    int m_runsRead = 0;
    QStringList m_unreadable;
};
