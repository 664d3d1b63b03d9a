#include "core/settings/ExamSettings.h"

#include "core/settings/SettingsValues.h"

#include <algorithm>

namespace {
constexpr const char *Section = "Exam";

int readNumber(const SettingsReader &read, const char *key, int fallback, int low, int high)
{
    return std::clamp(int(read.integer(Section, key, fallback)), low, high);
}
} // namespace

ExamSettings ExamSettings::read(const SettingsReader &read)
{
    ExamSettings exam;
    const QString level = read.string(Section, "Level", QString()).trimmed();
    for (const ExamLevel &known : ExamProfile::levels(exam.CustomPenalty, exam.CustomPassMark))
        if (known.name == level)
            exam.Level = level;
    exam.CustomPenalty
        = readNumber(read, "CustomPenalty", exam.CustomPenalty, MinPenalty, MaxPenalty);
    exam.CustomPassMark
        = readNumber(read, "CustomPassMark", exam.CustomPassMark, MinPassMark, MaxPassMark);
    exam.ShowFigures = read.boolean(Section, "ShowFigures", true);
    return exam;
}

// A file that never had the section gets it only once a choice differs from the
// defaults, so a learner who never scores keeps the file older versions write.
void ExamSettings::write(SettingsWriter &write) const
{
    if (write.keys(Section).isEmpty() && *this == ExamSettings())
        return;
    write.string(Section, "Level", Level);
    write.integer(Section, "CustomPenalty", CustomPenalty);
    write.integer(Section, "CustomPassMark", CustomPassMark);
    write.boolean(Section, "ShowFigures", ShowFigures);
}

int ExamSettings::levelIndex() const
{
    const QList<ExamLevel> levels = ExamProfile::levels(CustomPenalty, CustomPassMark);
    for (int i = 0; i < levels.size(); ++i)
        if (levels.at(i).name == Level)
            return i;
    return ExamProfile::DefaultIndex;
}

ExamLevel ExamSettings::level() const
{
    return ExamProfile::levels(CustomPenalty, CustomPassMark).at(levelIndex());
}
