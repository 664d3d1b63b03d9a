#include "app/AlarmFlash.h"

#include "controls/lcd/Lcd99.h"

#include <QTimer>
#include <QWidget>

AlarmFlash::AlarmFlash(TLCD99 *display)
    : QObject(display)
    , m_display(display)
    , m_cover(new QWidget(display))
    , m_phases(new QTimer(this))
{
    m_cover->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_cover->setAutoFillBackground(true);
    m_cover->hide();
    m_phases->setInterval(PhaseMs);
    // A coarse timer may fire 5 % early: the spells would shorten as they go.
    m_phases->setTimerType(Qt::PreciseTimer);
    connect(m_phases, &QTimer::timeout, this, &AlarmFlash::step);
}

void AlarmFlash::start(int seconds)
{
    // An even count of spells: the last one is lit.
    m_phasesLeft = qMax(1, seconds * 1000 / (2 * PhaseMs)) * 2;
    m_phases->start();
    step();
}

void AlarmFlash::stop()
{
    m_phases->stop();
    m_phasesLeft = 0;
    setDark(false);
}

bool AlarmFlash::isFlashing() const
{
    return m_phases->isActive();
}

bool AlarmFlash::isDark() const
{
    return m_cover->isVisible();
}

void AlarmFlash::step()
{
    if (m_phasesLeft <= 0) {
        stop();
        return;
    }
    --m_phasesLeft;
    setDark(m_phasesLeft % 2 == 1);
    if (m_phasesLeft == 0)
        m_phases->stop();
}

void AlarmFlash::setDark(bool dark)
{
    const bool changed = dark != isDark();
    if (dark) {
        // The colours of the moment: the options dialog may have changed them.
        QPalette palette = m_cover->palette();
        palette.setColor(QPalette::Window, m_display->color());
        m_cover->setPalette(palette);
        m_cover->setGeometry(m_display->rect());
        m_cover->show();
        m_cover->raise();
    } else {
        m_cover->hide();
    }
    if (changed)
        emit darkChanged(dark);
}
