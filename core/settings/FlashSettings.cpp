#include "core/settings/FlashSettings.h"

#include "core/settings/SettingsValues.h"
#include "core/text/IntegerText.h"

#include <algorithm>

namespace {
constexpr const char *Section = "Flash";

qint32 readNumber(const SettingsReader &read, const char *key, qint32 fallback)
{
    return IntegerText::fromSetting(
        read.string(Section, key, QString())
            .normalized(QString::NormalizationForm_KC), // full-width digits too
        fallback);
}
} // namespace

FlashSettings FlashSettings::read(const SettingsReader &read)
{
    FlashSettings flash;
    flash.Enabled = readNumber(read, "Enabled", 1) != 0;
    flash.Seconds
        = std::clamp(int(readNumber(read, "Seconds", flash.Seconds)), MinSeconds, MaxSeconds);
    return flash;
}
