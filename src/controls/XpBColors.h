#pragma once

#include <QColor>
#include <QRgb>
#include <QtGlobal>

// Colours are 32-bit values: 0x00BBGGRR (red in the low byte) for a plain
// colour, or 0x80000000 plus an index for a system colour.
namespace XpBColors {

constexpr quint32 SystemFlag = 0x80000000u;
constexpr quint32 ButtonFace = SystemFlag | 15;
constexpr quint32 ButtonShadow = SystemFlag | 16;
constexpr quint32 ButtonText = SystemFlag | 18;
constexpr quint32 ButtonHighlight = SystemFlag | 20;
constexpr quint32 DarkShadow3D = SystemFlag | 21;
constexpr quint32 Light3D = SystemFlag | 22;
constexpr quint32 FocusRing = 0x00E6AA8Cu;
constexpr quint32 HoverRing = 0x004799E1u;

quint32 FromQColor(const QColor &colour);
QRgb ToRgb(quint32 plain);
// Adds d to each of red, green and blue, each held in 0..255.
quint32 OffsetColor(quint32 plain, int d);

}
