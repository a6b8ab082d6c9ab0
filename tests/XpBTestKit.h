#pragma once

#include "controls/PictureObject.h"
#include "controls/XpB.h"

#include <QImage>
#include <QPalette>

// Fixed system colours for exact pixel checks: button face (212, 208, 200),
// shadow (128, 128, 128), text black, highlight white, dark shadow
// (64, 64, 64), light (227, 227, 227).
namespace XpBTestKit {

constexpr quint32 Face = 0x00C8D0D4u;
constexpr quint32 Shadow = 0x00808080u;
constexpr quint32 Highlight = 0x00FFFFFFu;
constexpr quint32 DarkShadow = 0x00404040u;
constexpr quint32 Light = 0x00E3E3E3u;
constexpr quint32 Black = 0;

QPalette FixedPalette();
// A hidden button of the given style and size with the fixed palette.
XpB *MakeButton(qint32 style, int width, int height);
quint32 Pixel(const XpB &button, int x, int y);
// width x height in one colour, with pixel (0, 0) in another.
PictureRef Bitmap(int width, int height, quint32 fill, quint32 topLeft,
                  PictureObject::Kind kind = PictureObject::Kind::Bitmap);
// Sets the flags through the button's own input handling.
void Hover(XpB &button, bool leftHeld = false);
void Focus(XpB &button);

}
