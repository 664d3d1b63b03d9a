#include "SoundModule.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>

namespace {
const QString ModuleFile = QStringLiteral("vemisound.so");
constexpr char MakerName[] = "vemiMakeSoundPlayer";

// As the sound service does for a sound it cannot play.
class BeepingSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &) override { QApplication::beep(); }
};
} // namespace

QStringList SoundModule::folders(const QString &programFolder)
{
    return { QDir::cleanPath(programFolder),
        QDir::cleanPath(programFolder + QStringLiteral("/" VEMI_MODULEDIR_FROM_BIN)) };
}

std::unique_ptr<SoundPlayer> SoundModule::load(const QString &programFolder)
{
    using Maker = SoundPlayer *(*)();
    for (const QString &folder : folders(programFolder)) {
        const QString path = folder + u'/' + ModuleFile;
        if (!QFile::exists(path))
            continue;
        // Never unloaded: the player's code lives in it.
        QLibrary module(path);
        if (const auto make = reinterpret_cast<Maker>(module.resolve(MakerName)))
            return std::unique_ptr<SoundPlayer>(make());
    }
    return std::make_unique<BeepingSoundPlayer>();
}
