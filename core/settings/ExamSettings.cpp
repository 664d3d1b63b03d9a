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
    const int known = ExamProfile::indexOf(read.string(Section, "Level", QString()).trimmed());
    if (known >= 0)
        exam.Level = ExamProfile::levels(0, 0).at(known).key;
    exam.CustomPenalty
        = readNumber(read, "CustomPenalty", exam.CustomPenalty, MinPenalty, MaxPenalty);
    exam.CustomPassMark
        = readNumber(read, "CustomPassMark", exam.CustomPassMark, MinPassMark, MaxPassMark);
    exam.ShowFigures = read.boolean(Section, "ShowFigures", true);
    exam.ExamMode = read.boolean(Section, "ExamMode", false);
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
    write.boolean(Section, "ExamMode", ExamMode);
}

int ExamSettings::levelIndex() const
{
    const int index = ExamProfile::indexOf(Level);
    return index >= 0 ? index : ExamProfile::DefaultIndex;
}

ExamLevel ExamSettings::level() const
{
    return ExamProfile::levels(CustomPenalty, CustomPassMark).at(levelIndex());
}
