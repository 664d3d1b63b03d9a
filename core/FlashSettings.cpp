#include "FlashSettings.h"

#include "Cp932.h"
#include "IniProfile.h"
#include "IntegerText.h"

#include <algorithm>

namespace {
constexpr const char *Section = "Flash";

qint32 readNumber(const IniProfile &profile, const char *key, qint32 fallback)
{
    return IntegerText::fromSetting(
        Cp932::decode(profile.readString(Section, key, QByteArray()))
            .normalized(QString::NormalizationForm_KC), // full-width digits too
        fallback);
}
} // namespace

FlashSettings FlashSettings::load(const QString &settingsFilePath)
{
    const IniProfile profile(settingsFilePath);
    FlashSettings flash;
    flash.Enabled = readNumber(profile, "Enabled", 1) != 0;
    flash.Seconds
        = std::clamp(int(readNumber(profile, "Seconds", flash.Seconds)), MinSeconds, MaxSeconds);
    return flash;
}
