#include "platform/Clock.h"

#include <chrono>

quint32 SteadyClock::milliseconds() const
{
    const auto sinceStart = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<quint32>(sinceStart.count());
}
