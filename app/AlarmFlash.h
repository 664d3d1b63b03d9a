#pragma once

#include <QObject>

class QTimer;
class QWidget;
class TLCD99;

// Flashes the time display at an alarm (dark, lit, dark, ...) so that a learner
// who cannot hear it, or sits in a room where sound is off, still sees it. The
// display goes dark under a cover in its background colour: its value, which
// the timer keeps setting each second, is never touched.
class AlarmFlash final : public QObject
{
    Q_OBJECT
public:
    static constexpr int PhaseMs = 500; // each dark and each lit spell

    explicit AlarmFlash(TLCD99 *display);

    // Flashes for about `seconds`, starting dark and ending lit; a flash under
    // way starts over.
    void start(int seconds);
    void stop();
    bool isFlashing() const;
    bool isDark() const;

signals:
    void darkChanged(bool dark);

private:
    void step();
    void setDark(bool dark);

    TLCD99 *m_display;
    QWidget *m_cover;
    QTimer *m_phases;
    int m_phasesLeft = 0;
};
