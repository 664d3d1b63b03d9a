#pragma once

#include "platform/Shell.h"

#include <QList>

// Records what the program asks the shell to open.
class RecordingShell final : public Shell
{
public:
    QList<QUrl> opened;
    bool opens = true; // false: the desktop has nothing to open an address with
    bool open(const QUrl &address) override
    {
        opened.append(address);
        return opens;
    }
};
