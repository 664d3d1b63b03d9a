#pragma once

#include "core/exam/ExamResult.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// Which of the history's runs the history window shows, and what it draws for
// them. A choice left empty matches every run.
namespace HistoryFilter {

struct Choice
{
    QString exam; // "日本語ワープロ検定", "ビジネス文書実務検定", "自由設定"
    QString level; // a level's title, "ワープロ 3級"
    QString practice; // the practice text's name
};

// The title a row's level is known by today: older rows' bare "3級" is the
// first exam's; a name the program does not know stays as it is.
QString levelTitle(const QString &stored);
// The exam of a row's level, "自由設定" for the custom level, empty when unknown.
QString examOf(const QString &stored);

bool matches(const ExamResult &run, const Choice &choice);
// The indices of the matching runs, in the order given.
QList<int> select(const QList<ExamResult> &runs, const Choice &choice);

// What the boxes offer, each only as found in the runs: the exams and levels
// in the level box's order, the levels only of the chosen exam, the practice
// texts by name.
QStringList exams(const QList<ExamResult> &runs);
QStringList levels(const QList<ExamResult> &runs, const QString &exam);
QStringList practices(const QList<ExamResult> &runs);

// Each run's own pass mark around its point (x = 1, 2, ...), stepping half-way
// to the next run where the mark changes, the last one held to lastX.
QList<QPointF> passSteps(const QList<int> &passMarks, double lastX);

} // namespace HistoryFilter
