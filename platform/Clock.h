#pragma once

#include <QtGlobal>

// Milliseconds since an arbitrary origin, wrapping at 2^32: callers only take
// differences, computed in unsigned arithmetic so a wrap is harmless.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual quint32 milliseconds() const = 0;
};

class SteadyClock final : public Clock
{
public:
    quint32 milliseconds() const override;
};
