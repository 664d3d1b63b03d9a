#include "app/Main.h"

#include "app/AlarmFlash.h"
#include "app/exam/ExamMode.h"
#include "controls/lcd/Lcd99.h"
#include "core/Errors.h"
#include "core/text/VisibleCount.h"
#include "platform/Clock.h"
#include "platform/SoundPlayer.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr int TickInterval = 1000; // milliseconds
} // namespace

void TMainForm::setupTimer()
{
    Timer1 = new QTimer(this);
    Timer1->setInterval(TickInterval);
    // A coarse timer may fire up to 5 % early, just before each whole second, and
    // the display would then run a second late.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    connect(B1, &QAction::triggered, this, [this] { runCommand(&TMainForm::B1Click); });
    connect(S2, &QAction::triggered, this, [this] { runCommand(&TMainForm::S2Click); });
    m_alarmFlash = new AlarmFlash(LCD99);
    m_services.sound.setFailureHandler([this](const QString &reason) { tellSoundFailure(reason); });
}

// The start button and F2 share one command; the button alone greys while a run
// goes on, so F2 can still restart the count.
void TMainForm::StartButtonClick()
{
    m_examMode->confirmStart(this);
    m_practice.start(m_services.clock.milliseconds());
    Timer1->start();
    if (!Timer1->isActive())
        throw VemiError(QStringLiteral("タイマーを取得できません"));
    StartButton->setEnabled(false);
    emit practiceStarted();
}

void TMainForm::StopButtonClick()
{
    Timer1->stop();
    StartButton->setEnabled(true);
    emit practiceStopped();
}

void TMainForm::Timer1Timer()
{
    const PracticeTimer::Tick tick = m_practice.tick(m_services.clock.milliseconds(), m_settings);
    setTimeDisplay(tick.display);
    emit practiceTicked(tick.elapsedSeconds);
    // The pre-alarm goes first so that, due together, the alarm cuts it off.
    if (tick.playPreAlarm)
        m_services.sound.play(m_settings.PreAlarmSoundFile);
    if (tick.playAlarm)
        m_services.sound.play(m_settings.AlarmSoundFile);
    if (tick.playPreAlarm || tick.playAlarm)
        flashAlarm();
    if (tick.recordScore) {
        // RightWordCount, counted once: the score list keeps it as text, the
        // listeners get the number itself.
        const int typed = visiblePaneCount(RightMemo->toPlainText());
        m_scores.append(QString::number(typed));
        writeScoresAtCapture();
        emit scoreCaptured(typed);
    }
}

void TMainForm::resetTimerDisplay()
{
    setTimeDisplay(QStringLiteral("00:00"));
}

void TMainForm::setTimeDisplay(const QString &text)
{
    LCD99->setValue(text);
}

// Seen whether or not it is heard: the sound may be off, missing or drowned out.
void TMainForm::flashAlarm()
{
    if (m_flash.Enabled)
        m_alarmFlash->start(m_flash.Seconds);
}

// Once a session, in the status bar: a message box would stop the learner
// typing against the clock, and later failures would only repeat the news.
void TMainForm::tellSoundFailure(const QString &reason)
{
    if (m_toldSoundFailure)
        return;
    m_toldSoundFailure = true;
    const QString text = QStringLiteral("音を鳴らせません: %1。").arg(reason)
        + (m_flash.Enabled ? QStringLiteral("アラームは時間表示の点滅でお知らせします。")
                           : QString());
    setStatusPanelText(1, text);
    m_statusPanels[1]->setToolTip(text);
}
