#include "app/exam/ExamLevelBox.h"

#include "core/exam/ExamProfile.h"

#include <QStandardItemModel>

ExamLevelBox::ExamLevelBox(QWidget *parent)
    : QComboBox(parent)
{
    auto *items = qobject_cast<QStandardItemModel *>(model());
    QString exam;
    for (const ExamLevel &level : ExamProfile::levels(0, 0)) {
        if (level.exam != exam) {
            exam = level.exam;
            if (exam.isEmpty()) {
                insertSeparator(count());
            } else {
                // A heading: shown in the list, skipped by the keys and the mouse.
                auto *heading = new QStandardItem(exam);
                heading->setFlags(Qt::NoItemFlags);
                QFont bold = font();
                bold.setBold(true);
                heading->setFont(bold);
                items->appendRow(heading);
            }
        }
        addItem(level.title(), level.key);
    }
    setCurrentKey(ExamProfile::levels(0, 0).at(ExamProfile::DefaultIndex).key);
}

QString ExamLevelBox::currentKey() const
{
    return currentData().toString();
}

void ExamLevelBox::setCurrentKey(const QString &key)
{
    const int index = findData(key);
    if (index >= 0)
        setCurrentIndex(index);
}

int ExamLevelBox::currentLevel() const
{
    return ExamProfile::indexOf(currentKey());
}

void ExamLevelBox::setCurrentLevel(int levelIndex)
{
    setCurrentKey(ExamProfile::levels(0, 0).value(levelIndex).key);
}

bool ExamLevelBox::isCustom() const
{
    return currentKey() == ExamProfile::levels(0, 0).at(ExamProfile::CustomIndex).key;
}
