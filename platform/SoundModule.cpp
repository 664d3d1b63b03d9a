#include "platform/SoundModule.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>

#include <utility>

namespace {
const QString ModuleFile = QStringLiteral("vemisound.so");
constexpr char MakerName[] = "vemiMakeSoundPlayer";

// As the sound service does for a sound it cannot play.
class BeepingSoundPlayer final : public SoundPlayer
{
public:
    explicit BeepingSoundPlayer(QString reason)
        : m_reason(std::move(reason))
    { }
    void play(const QString &) override
    {
        QApplication::beep();
        reportFailure(m_reason);
    }

private:
    QString m_reason;
};
} // namespace

QString SoundModule::folder(const QString &programFolder, bool portable)
{
    return QDir::cleanPath(
        portable ? programFolder : programFolder + QStringLiteral("/" VEMI_MODULEDIR_FROM_BIN));
}

std::unique_ptr<SoundPlayer> SoundModule::load(const QString &folder)
{
    using Maker = SoundPlayer *(*)();
    // An absolute path: the loader searches no other folder for the module itself.
    QLibrary module(QDir(folder).absoluteFilePath(ModuleFile));
    if (!QFile::exists(module.fileName())) {
        qWarning("No sound module %s: sounds are beeps.", qPrintable(module.fileName()));
        return std::make_unique<BeepingSoundPlayer>(
            QStringLiteral("音声モジュール %1 がありません").arg(module.fileName()));
    }
    // Never unloaded: the player's code lives in it.
    if (const auto make = reinterpret_cast<Maker>(module.resolve(MakerName)))
        return std::unique_ptr<SoundPlayer>(make());
    qWarning("The sound module cannot be loaded (%s): sounds are beeps.",
        qPrintable(module.errorString()));
    return std::make_unique<BeepingSoundPlayer>(
        QStringLiteral("音声モジュール %1 を読み込めません").arg(module.fileName()));
}
