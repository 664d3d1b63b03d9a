#pragma once

#include "core/exam/ExamResult.h"

#include <QList>
#include <QString>

// The practice history: one CSV line per ten-minute run, appended to a file
// beside the settings file. UTF-8 with a BOM, one header line, RFC 4180
// quoting, CR LF. Columns: date-time (ISO 8601, local time with offset),
// practice text, level (with its exam, "ワープロ 3級", since there are two; older
// rows hold the bare name), typed count, 誤字, 脱字, 余字, net score, pass mark, passed.
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

private:
    QString m_path;
};
