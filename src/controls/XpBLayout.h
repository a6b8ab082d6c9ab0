#pragma once

#include "controls/XpBState.h"

#include <QtGlobal>

// Placement of picture and caption inside the content rectangle. Extents
// are 16-bit and edges 32-bit values; anything beyond is held at the
// nearest value in range rather than failing, so an absurd picture size or
// caption still paints what fits.
class XpBLayout
{
public:
    // Nearest whole number, halves to the even neighbour; held in 32 bits.
    static int RoundHalfEven(double value);
    static int Clamp16(qint64 value);
    static int Clamp32(qint64 value);
    // Where an extent s starts when centred between a and b.
    static int Centre(int a, int b, int s);

    static EdgeRect Centred(const EdgeRect &content, int width, int height);
    // Picture and caption together, 4 pixels apart; position 0 above,
    // 1 left, 2 right, 3 below. Any other position leaves both as they are.
    static void PlaceBoth(qint32 position, const EdgeRect &content, int pictureWidth, int pictureHeight,
                          EdgeRect &picture, EdgeRect &caption);
};
