#pragma once

#include <QObject>

class Dialogs;
class QPlainTextEdit;
struct ExamSettings;

// 試験モード: a run starts from an empty typing pane if the learner wishes, and
// nothing typed after 10:00 counts: the pane is read only from the capture
// until the timer is stopped, a new run starts or a new document is made.
// With the mode off it does nothing, as the trainer always behaved.
class ExamMode : public QObject
{
    Q_OBJECT
public:
    // `settings` is the window's record of the learner's choices (ExamMode).
    ExamMode(QPlainTextEdit *typed, const ExamSettings &settings, Dialogs &dialogs,
        QObject *parent = nullptr);

    // Before F2 starts a run: with text in the pane, asks whether to clear it
    // (はい clears it, いいえ keeps it); キャンセル throws SilentAbort.
    void confirmStart(QWidget *parent);
    bool timeIsUp() const { return m_timeIsUp; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void timeUp(); // the ten-minute capture
    void release(); // stopped, started again, new document, or the mode switched off

private:
    QPlainTextEdit *m_typed;
    const ExamSettings &m_settings;
    Dialogs &m_dialogs;
    bool m_timeIsUp = false;
};
