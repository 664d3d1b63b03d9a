#pragma once

#include "core/exam/ExamProfile.h"

#include <QString>

class SettingsReader;
class SettingsWriter;

// The learner's exam scoring choices, kept in the settings file's [Exam]
// section. Files written before scoring existed lack the section and read as
// the defaults; programs that predate it ignore it.
struct ExamSettings
{
    static constexpr int MinPenalty = 0;
    static constexpr int MaxPenalty = 99;
    static constexpr int MinPassMark = 0;
    static constexpr int MaxPassMark = 99999;

    // An ExamLevel key ("wp:3級", "biz:2級", "custom"); a bare name of files
    // written before the second exam ("3級", "自由設定") is the first exam's.
    QString Level = QStringLiteral("wp:3級");
    int CustomPenalty = 1; // characters per error at 自由設定
    int CustomPassMark = 300; // net score that passes at 自由設定
    bool ShowFigures = true; // the live figures in the exam bar
    // F2 offers to clear the typing pane first, and the pane is read only from
    // 10:00 until the timer is stopped or a new document is made.
    bool ExamMode = false;

    // The section is one of the settings file's (SettingsFile reads and writes
    // the file). Every key falls back to its default; a level the program does
    // not know reads as the default level and numbers are held to their ranges;
    // a level is read back as its key.
    static ExamSettings read(const SettingsReader &read);
    // A file without the section gets it only once a value differs from the defaults.
    void write(SettingsWriter &write) const;

    // Index of Level in ExamProfile::levels().
    int levelIndex() const;
    ExamLevel level() const;

    bool operator==(const ExamSettings &) const = default;
};
