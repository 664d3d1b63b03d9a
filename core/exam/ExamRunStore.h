#pragma once

#include "core/exam/ExamProfile.h"
#include "core/exam/ExamRunDetail.h"

#include <QString>

// The kept runs: one file per ten-minute run in a folder beside the history
// file, named by the run's time. Losing the folder loses the detail, never the
// history's rows. The files' layout (JSON, UTF-8, with a format number) is
// ExamRunFile's. Names are "yyyyMMdd-HHmmss.json" in the run's local time, with
// "-2", "-3"... for further runs in the same second; read() and remove() take
// only such names, so a history edited by hand cannot reach outside the folder.
class ExamRunStore
{
public:
    static constexpr const char *FolderName = "vemitrainer-runs";

    // The folder beside the given history file.
    explicit ExamRunStore(const QString &historyPath);
    QString folder() const { return m_folder; }

    // The detail of a run as it stands at its capture: the blocks of errors with
    // their context, the practice text up to where the typing reached. The
    // result's time is taken to the second, as the history keeps it, and its
    // detailFile left empty (write() gives the name).
    static ExamRunDetail make(const ExamResult &result, const ExamLevel &level,
        const ExamAlignment::Result &aligned, const QString &practice, const QString &typed);

    // Writes a new file (named by the run's time; never over another run's file)
    // as safely as the settings file is written, and returns its name, for the
    // history row. Throws VemiError naming the file when it cannot be written.
    // The content goes to a hidden file, synced, before it takes its name: a
    // failure or a crash leaves no run file half-written.
    QString write(const ExamRunDetail &detail) const;
    // The run, its result's detailFile set to fileName. Throws VemiError naming
    // the file when it is missing, cannot be read, is larger than
    // ExamRunFile::LargestSize, is not such a file (or of a later format), or
    // its positions lie outside its texts.
    ExamRunDetail read(const QString &fileName) const;
    // A file already gone is no error. Throws VemiError when it cannot be removed.
    void remove(const QString &fileName) const;

private:
    QString m_folder;
};
