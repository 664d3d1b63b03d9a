#pragma once

#include "platform/Clock.h"

// A clock that moves only when the test says so.
class FakeClock final : public Clock
{
public:
    quint32 now = 0;
    quint32 milliseconds() const override { return now; }
};
