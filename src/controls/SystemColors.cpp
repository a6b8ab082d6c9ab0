#include "controls/SystemColors.h"

#include "controls/XpBColors.h"

SystemColors::SystemColors(const QPalette &palette)
    : m_palette(palette)
{
}

// Index to palette role, always from the active group so that a disabled
// button is drawn from the same colours as an enabled one:
//   5 window -> Base            8 window text -> Text
//  13 highlight -> Highlight   14 highlight text -> HighlightedText
//  15 button face -> Button    16 button shadow -> Dark
//  17 grey text -> Text of the disabled group
//  18 button text -> ButtonText
//  20 button highlight -> Light  21 3-D dark shadow -> Shadow
//  22 3-D light -> Midlight    23 tooltip text -> ToolTipText
//  24 tooltip background -> ToolTipBase  26 hot-tracked item -> Link
// Any other index is black, as an unknown index reads as 0.
quint32 SystemColors::Of(quint32 index) const
{
    const auto active = [this](QPalette::ColorRole role) {
        return XpBColors::FromQColor(m_palette.color(QPalette::Active, role));
    };
    switch (index & ~XpBColors::SystemFlag) {
    case 5: return active(QPalette::Base);
    case 8: return active(QPalette::Text);
    case 13: return active(QPalette::Highlight);
    case 14: return active(QPalette::HighlightedText);
    case 15: return active(QPalette::Button);
    case 16: return active(QPalette::Dark);
    case 17: return XpBColors::FromQColor(m_palette.color(QPalette::Disabled, QPalette::Text));
    case 18: return active(QPalette::ButtonText);
    case 20: return active(QPalette::Light);
    case 21: return active(QPalette::Shadow);
    case 22: return active(QPalette::Midlight);
    case 23: return active(QPalette::ToolTipText);
    case 24: return active(QPalette::ToolTipBase);
    case 26: return active(QPalette::Link);
    default: return 0;
    }
}

quint32 SystemColors::Resolve(quint32 colour) const
{
    return (colour & XpBColors::SystemFlag) ? Of(colour) : colour;
}
