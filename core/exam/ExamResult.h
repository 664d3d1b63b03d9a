#pragma once

#include <QDateTime>
#include <QString>

// One scored practice run, as the result window shows it and the history keeps it.
struct ExamResult
{
    QDateTime when; // local time
    QString practiceName; // the practice text's file name, without folder
    QString level; // an ExamLevel title, "ワープロ 3級" (older history rows: "3級")
    int typedCount = 0; // the program's own count, as the status bar shows it
    int substitutions = 0; // 誤字
    int omissions = 0; // 脱字
    int insertions = 0; // 余字
    int netScore = 0;
    int passMark = 0;
    bool passed = false;
    // The kept run's file name in the runs folder beside the history; empty for
    // rows written before runs were kept, or when keeping it failed.
    QString detailFile;
    bool operator==(const ExamResult &) const = default;
};
