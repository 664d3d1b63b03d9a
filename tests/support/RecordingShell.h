#pragma once

#include "Shell.h"

#include <QList>

// Records what the program asks the shell to open.
class RecordingShell final : public Shell
{
public:
    QList<QUrl> opened;
    void open(const QUrl &address) override { opened.append(address); }
};
