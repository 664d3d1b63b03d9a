#pragma once

#include "app/Main.h"
#include "platform/Clock.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RecordingSoundPlayer.h"

#include <QTemporaryDir>

#include <memory>

// One trainer window over a fresh program folder, with the given clock (a
// hand-moved one, or the real one for end-to-end runs), recorded sounds and
// scripted dialogs.
template <class ClockType> struct BasicTrainer
{
    explicit BasicTrainer(const QByteArray &settingsFile = QByteArray())
    {
        if (!settingsFile.isNull())
            writeAll(iniPath(), settingsFile);
        window = std::make_unique<TMainForm>(services, settings, scores);
        window->resize(800, 600);
        window->show();
    }
    QString iniPath() const { return folder.filePath(QStringLiteral("vemitrainer.ini")); }
    QByteArray iniBytes() const { return readAll(iniPath()); }

    TemporaryFolder folder;
    ClockType clock;
    RecordingSoundPlayer sound;
    FakeDialogs dialogs;
    Services services { clock, sound, dialogs, folder.filePath(QStringLiteral("vemitrainer")) };
    Settings settings;
    QStringList scores;
    std::unique_ptr<TMainForm> window;
};

using Trainer = BasicTrainer<FakeClock>;
using RealClockTrainer = BasicTrainer<SteadyClock>;
