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

    QString Level = QStringLiteral("3級"); // an ExamLevel name
    int CustomPenalty = 1; // characters per error at 自由設定
    int CustomPassMark = 300; // net score that passes at 自由設定
    bool ShowFigures = true; // the live figures in the exam bar

    // The section is one of the settings file's (SettingsFile reads and writes
    // the file). Every key falls back to its default; a level the program does
    // not know reads as the default level and numbers are held to their ranges.
    static ExamSettings read(const SettingsReader &read);
    // A file without the section gets it only once a value differs from the defaults.
    void write(SettingsWriter &write) const;

    // Index of Level in ExamProfile::levels().
    int levelIndex() const;
    ExamLevel level() const;

    bool operator==(const ExamSettings &) const = default;
};
