#include "controls/XpBColors.h"

#include <algorithm>

quint32 XpBColors::FromQColor(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

QRgb XpBColors::ToRgb(quint32 plain)
{
    return qRgb(int(plain & 0xFF), int(plain >> 8 & 0xFF), int(plain >> 16 & 0xFF));
}

quint32 XpBColors::OffsetColor(quint32 plain, int d)
{
    quint32 result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = std::clamp(int(plain >> shift & 0xFF) + d, 0, 255);
        result |= quint32(channel) << shift;
    }
    return result;
}

