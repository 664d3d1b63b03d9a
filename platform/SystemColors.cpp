#include "platform/SystemColors.h"

#include <QApplication>
#include <QPalette>

namespace SystemColors {

namespace {

constexpr quint32 SystemBase = 0x80000000;
constexpr quint32 NoColor = 0x1FFFFFFF;

// The desktop's system colours in index order, approximated by palette roles.
QColor systemColor(int index)
{
    const QPalette palette = QApplication::palette();
    using R = QPalette::ColorRole;
    static constexpr R Roles[] = {
        R::Button,
        R::Window,
        R::Highlight,
        R::Mid,
        R::Window,
        R::Base,
        R::Shadow,
        R::WindowText,
        R::Text,
        R::HighlightedText,
        R::Window,
        R::Window,
        R::Dark,
        R::Highlight,
        R::HighlightedText,
        R::Button,
        R::Dark,
        R::PlaceholderText,
        R::ButtonText,
        R::WindowText,
        R::Light,
        R::Shadow,
        R::Midlight,
        R::ToolTipText,
        R::ToolTipBase,
    };
    if (index < 0 || index >= int(std::size(Roles)))
        return QColor(Qt::black);
    return palette.color(QPalette::Active, Roles[index]);
}

} // namespace

QColor resolve(quint32 value)
{
    if (value == NoColor)
        return QColor(Qt::transparent);
    if (value >= SystemBase)
        return systemColor(int(value - SystemBase));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace SystemColors
