#pragma once

#include <QComboBox>

// The level box: the levels grouped under their exams' names (日本語ワープロ検定,
// ビジネス文書実務検定), then 自由設定. The names are headings, never chosen; each
// level shows with its exam ("ワープロ 3級") and carries its settings key.
class ExamLevelBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ExamLevelBox(QWidget *parent = nullptr);

    QString currentKey() const; // an ExamLevel key, as ExamSettings keeps it
    void setCurrentKey(const QString &key);
    bool isCustom() const; // 自由設定 chosen
    // The chosen level as an index in ExamProfile::levels(), and the choice by it.
    int currentLevel() const;
    void setCurrentLevel(int levelIndex);
};
