#include "core/exam/HistoryFilter.h"

#include "core/exam/ExamProfile.h"

#include <QHash>

#include <algorithm>

namespace HistoryFilter {

namespace {

struct Known
{
    QString title;
    QString exam;
    int order = 0;
};

// Every name a row may hold (titles, and the bare names older rows hold),
// built once: a history of thousands of rows looks each one up.
const QHash<QString, Known> &knownLevels()
{
    static const QHash<QString, Known> known = [] {
        QHash<QString, Known> map;
        const QList<ExamLevel> all = ExamProfile::levels(1, 0);
        for (int i = 0; i < all.size(); ++i) {
            const ExamLevel &level = all[i];
            const QString exam = level.exam.isEmpty() ? level.title() : level.exam;
            map.insert(level.title(), { level.title(), exam, i });
        }
        // Bare names after the titles, so a custom level's "自由設定" keeps its entry.
        for (int i = 0; i < all.size(); ++i) {
            if (ExamProfile::indexOf(all[i].name) == i && !map.contains(all[i].name))
                map.insert(all[i].name, map.value(all[i].title()));
        }
        return map;
    }();
    return known;
}

int orderOf(const QString &title)
{
    const auto found = knownLevels().constFind(title);
    return found == knownLevels().constEnd() ? int(knownLevels().size()) : found->order;
}

} // namespace

QString levelTitle(const QString &stored)
{
    const auto found = knownLevels().constFind(stored);
    return found == knownLevels().constEnd() ? stored : found->title;
}

QString examOf(const QString &stored)
{
    return knownLevels().value(stored).exam;
}

bool matches(const ExamResult &run, const Choice &choice)
{
    return (choice.exam.isEmpty() || examOf(run.level) == choice.exam)
        && (choice.level.isEmpty() || levelTitle(run.level) == choice.level)
        && (choice.practice.isEmpty() || run.practiceName == choice.practice);
}

QList<int> select(const QList<ExamResult> &runs, const Choice &choice)
{
    QList<int> chosen;
    chosen.reserve(runs.size());
    for (int i = 0; i < runs.size(); ++i) {
        if (matches(runs[i], choice))
            chosen.append(i);
    }
    return chosen;
}

QStringList exams(const QList<ExamResult> &runs)
{
    QStringList found;
    for (const ExamResult &run : runs) {
        const QString exam = examOf(run.level);
        if (!exam.isEmpty() && !found.contains(exam))
            found.append(exam);
    }
    // An exam sorts where its first level stands in the level box.
    std::ranges::sort(found, {}, [](const QString &exam) {
        int first = int(knownLevels().size());
        for (const Known &known : knownLevels()) {
            if (known.exam == exam)
                first = std::min(first, known.order);
        }
        return first;
    });
    return found;
}

QStringList levels(const QList<ExamResult> &runs, const QString &exam)
{
    QStringList found;
    for (const ExamResult &run : runs) {
        const QString title = levelTitle(run.level);
        if ((exam.isEmpty() || examOf(run.level) == exam) && !found.contains(title))
            found.append(title);
    }
    std::ranges::stable_sort(found, {}, orderOf);
    return found;
}

QStringList practices(const QList<ExamResult> &runs)
{
    QStringList found;
    for (const ExamResult &run : runs) {
        if (!found.contains(run.practiceName))
            found.append(run.practiceName);
    }
    found.sort();
    return found;
}

QList<QPointF> passSteps(const QList<int> &passMarks, double lastX)
{
    QList<QPointF> points;
    for (int i = 0; i < passMarks.size(); ++i) {
        if (i == 0)
            points.append({ 1.0, double(passMarks[0]) });
        else if (passMarks[i] != passMarks[i - 1])
            points << QPointF(i + 0.5, passMarks[i - 1]) << QPointF(i + 0.5, passMarks[i]);
    }
    if (!passMarks.isEmpty())
        points.append({ lastX, double(passMarks.last()) });
    return points;
}

} // namespace HistoryFilter
