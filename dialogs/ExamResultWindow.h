#pragma once

#include "ExamResult.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QWidget>

class QFormLayout;
class QLabel;
class QPushButton;

// Shows one scored run beside the typing pane. It never takes the keyboard
// focus when it appears, so keystrokes of a learner still typing at the bell
// go on reaching the pane; it stays until closed and shows the next result.
class ExamResultWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ExamResultWindow(QWidget *parent);

    void showResult(const ExamResult &result);

    QLabel *PracticeLabel = nullptr;
    QLabel *LevelLabel = nullptr;
    QLabel *TypedLabel = nullptr;
    QLabel *SubstitutionsLabel = nullptr;
    QLabel *OmissionsLabel = nullptr;
    QLabel *InsertionsLabel = nullptr;
    QLabel *NetScoreLabel = nullptr;
    QLabel *PassMarkLabel = nullptr;
    QLabel *VerdictLabel = nullptr;
    QPushButton *PreviousButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *CloseButton = nullptr;

signals:
    void previousError();
    void nextError();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *addRow(QFormLayout *form, const QString &caption);

    QPointer<QWidget> m_handBack; // the window that was active when the result came
    QDeadlineTimer m_handBackUntil; // past it, an activation is the learner's own
};
