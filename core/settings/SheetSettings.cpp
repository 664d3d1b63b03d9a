#include "core/settings/SheetSettings.h"

#include "core/settings/SettingsValues.h"

namespace {
constexpr const char *Section = "Sheet";
}

SheetSettings SheetSettings::read(const SettingsReader &read)
{
    SheetSettings sheet;
    sheet.Enabled = read.boolean(Section, "Enabled", sheet.Enabled);
    return sheet;
}

void SheetSettings::write(SettingsWriter &write) const
{
    if (write.keys(Section).isEmpty() && *this == SheetSettings())
        return;
    write.boolean(Section, "Enabled", Enabled);
}
