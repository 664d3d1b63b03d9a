#include "core/settings/ColorNames.h"

#include "core/text/IntegerText.h"

#include <iterator>

namespace ColorNames {

namespace {

struct NamedColor
{
    const char *name;
    ColorValue value;
};

constexpr NamedColor Names[] = {
    { "clBlack", clBlack },
    { "clMaroon", 0x000080 },
    { "clGreen", clGreen },
    { "clOlive", 0x008080 },
    { "clNavy", 0x800000 },
    { "clPurple", 0x800080 },
    { "clTeal", 0x808000 },
    { "clGray", clGray },
    { "clSilver", 0xC0C0C0 },
    { "clRed", clRed },
    { "clLime", 0x00FF00 },
    { "clYellow", clYellow },
    { "clBlue", 0xFF0000 },
    { "clFuchsia", 0xFF00FF },
    { "clAqua", 0xFFFF00 },
    { "clWhite", clWhite },
    { "clScrollBar", SystemColorBase + 0 },
    { "clBackground", SystemColorBase + 1 },
    { "clActiveCaption", SystemColorBase + 2 },
    { "clInactiveCaption", SystemColorBase + 3 },
    { "clMenu", SystemColorBase + 4 },
    { "clWindow", clWindow },
    { "clWindowFrame", SystemColorBase + 6 },
    { "clMenuText", SystemColorBase + 7 },
    { "clWindowText", clWindowText },
    { "clCaptionText", SystemColorBase + 9 },
    { "clActiveBorder", SystemColorBase + 10 },
    { "clInactiveBorder", SystemColorBase + 11 },
    { "clAppWorkSpace", SystemColorBase + 12 },
    { "clHighlight", clHighlight },
    { "clHighlightText", SystemColorBase + 14 },
    { "clBtnFace", clBtnFace },
    { "clBtnShadow", clBtnShadow },
    { "clGrayText", SystemColorBase + 17 },
    { "clBtnText", SystemColorBase + 18 },
    { "clInactiveCaptionText", SystemColorBase + 19 },
    { "clBtnHighlight", clBtnHighlight },
    { "cl3DDkShadow", SystemColorBase + 21 },
    { "cl3DLight", SystemColorBase + 22 },
    { "clInfoText", SystemColorBase + 23 },
    { "clInfoBk", SystemColorBase + 24 },
    { "clNone", ColorNone },
};
static_assert(std::size(Names) == NameCount);

// Only ASCII letters fold: a name never matches through some other script's case rules.
bool equalsIgnoringAsciiCase(const QString &text, const char *name)
{
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    const qsizetype length = qsizetype(qstrlen(name));
    if (text.size() != length)
        return false;
    for (qsizetype i = 0; i < length; ++i) {
        if (lower(text.at(i).unicode()) != lower(char16_t(name[i])))
            return false;
    }
    return true;
}

} // namespace

QString colorToText(ColorValue color)
{
    for (const NamedColor &named : Names) {
        if (named.value == color)
            return QLatin1String(named.name);
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

ColorValue textToColor(const QString &text)
{
    for (const NamedColor &named : Names) {
        if (equalsIgnoringAsciiCase(text, named.name))
            return named.value;
    }
    return static_cast<ColorValue>(IntegerText::toInt(text));
}

} // namespace ColorNames
