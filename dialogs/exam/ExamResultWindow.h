#pragma once

#include "core/exam/ExamResult.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QWidget>

class ExamMinuteChart;
class QFormLayout;
class QLabel;
class QPushButton;
class ExamReviewPane;

// Shows one scored run beside the typing pane. It never takes the keyboard
// focus when it appears, so keystrokes of a learner still typing at the bell
// go on reaching the pane; it stays until closed and shows the next result.
class ExamResultWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ExamResultWindow(QWidget *parent);

    // The stepping buttons' captions, which the timer menu's commands share.
    static constexpr const char *PreviousErrorCaption = "前の誤り(&P)";
    static constexpr const char *NextErrorCaption = "次の誤り(&N)";

    void setResult(const ExamResult &result); // fills the window in, sized to fit
    void present(); // shows and raises it, leaving the keyboard where it is
    // A line under the result about something that went wrong with it, such as
    // a history that cannot be written; the next result clears it.
    void showNotice(const QString &text);
    // The net score worked out, "524 − 3 × 8 = 500 (合格点 500: 合格)".
    void showCalculation(const QString &text);
    // The text was edited since: the errors no longer match it, so there is
    // nothing to step to until the next check.
    void setOutdated();

    // Where a window of frameSize hides none of mainFrame: to its right, below,
    // left or above it, the first the screen has room for; else at the bottom
    // left of spare, a part of the main window with no typing in it.
    static QPoint clearPlace(
        const QRect &mainFrame, const QSize &frameSize, const QRect &screen, const QRect &spare);

    QLabel *PracticeLabel = nullptr;
    QLabel *LevelLabel = nullptr;
    QLabel *TypedLabel = nullptr;
    QLabel *SubstitutionsLabel = nullptr;
    QLabel *OmissionsLabel = nullptr;
    QLabel *InsertionsLabel = nullptr;
    QLabel *NetScoreLabel = nullptr;
    QLabel *PassMarkLabel = nullptr;
    QLabel *VerdictLabel = nullptr;
    QLabel *CalculationLabel = nullptr;
    QLabel *NoticeLabel = nullptr; // hidden unless there is something to tell
    ExamMinuteChart *MinuteChart = nullptr; // the run's minutes; hidden without any
    QPushButton *PreviousButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *CloseButton = nullptr;
    ExamReviewPane *Review = nullptr; // the legend and the list of errors

signals:
    void previousError();
    void nextError();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *addRow(QFormLayout *form, const QString &caption);
    void handActivationBack();

    QPointer<QWidget> m_handBack; // the window that was active when the result came
    QDeadlineTimer m_handBackUntil; // past it, an activation is the learner's own
};
