#pragma once

#include "core/exam/ExamResult.h"

#include <QList>
#include <QString>

// The practice history: one CSV line per ten-minute run, appended to a file
// beside the settings file. UTF-8 with a BOM, one header line, RFC 4180
// quoting, CR LF. Columns: date-time (ISO 8601, local time with offset),
// practice text, level (with its exam, "ワープロ 3級", since there are two; older
// rows hold the bare name), typed count, 誤字, 脱字, 余字, net score, pass mark, passed,
// and last the kept run's file name in ExamRunStore's folder (記録; empty when
// the run could not be kept; rows written before runs were kept lack the column).
// A row never spans lines: a line break in a text is written as a blank.
class ExamHistory
{
public:
    static constexpr const char *FileName = "vemitrainer-history.csv";

    explicit ExamHistory(const QString &path);
    // The history file in the folder of the given settings file.
    static QString pathBeside(const QString &settingsFilePath);

    QString path() const { return m_path; }

    // Appends one line (the BOM and header first when the file is new or empty)
    // and flushes it to the disk before returning; earlier lines are never
    // rewritten. Throws VemiError with a message for the learner on failure.
    void append(const ExamResult &result) const;

    // Every row in file order, one a line (the last one also without its line
    // end); a line cut short (a crash mid-write) or one that does not parse is
    // skipped alone. A missing file is an empty history.
    // Throws VemiError when the file exists but cannot be read.
    QList<ExamResult> read() const;

    // Takes the first row equal to run (as read() gives it) out of the file,
    // rewriting the whole file safely: every other byte, rows that do not parse
    // included, stays as it was, and on failure the file is left as it was and
    // VemiError says so (nothing else is done then). A run no longer in the file
    // is no error. Then the run's kept file goes: the row goes first, since a
    // detail without its row is only lost space, and a row is what the learner
    // asked to delete. When the kept file cannot be removed the row stays removed
    // and the message for the learner is returned; empty when all went well.
    QString remove(const ExamResult &run) const;

    // The bytes of a history file holding these rows, as appending them one by
    // one to a new file leaves it (for making large histories at once).
    static QByteArray fileBytes(const QList<ExamResult> &rows);

private:
    QByteArray contents() const;

    QString m_path;
};
