#include "controls/XpBLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int Gap = 4;

EdgeRect Sized(qint64 left, qint64 top, int width, int height)
{
    EdgeRect r;
    r.Left = XpBLayout::Clamp32(left);
    r.Top = XpBLayout::Clamp32(top);
    r.Right = XpBLayout::Clamp32(qint64(r.Left) + width);
    r.Bottom = XpBLayout::Clamp32(qint64(r.Top) + height);
    return r;
}

}

int XpBLayout::RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double clamped = std::clamp(value, double(std::numeric_limits<int>::min()),
                                      double(std::numeric_limits<int>::max()));
    // nearbyint follows the default rounding mode, which rounds halves to even.
    return static_cast<int>(std::nearbyint(clamped));
}

int XpBLayout::Clamp16(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, -32768, 32767));
}

int XpBLayout::Clamp32(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

int XpBLayout::Centre(int a, int b, int s)
{
    return RoundHalfEven(a + ((double(b) - a) - s) * 0.5);
}

EdgeRect XpBLayout::Centred(const EdgeRect &content, int width, int height)
{
    return Sized(Centre(content.Left, content.Right, width), Centre(content.Top, content.Bottom, height),
                 width, height);
}

void XpBLayout::PlaceBoth(qint32 position, const EdgeRect &content, int pictureWidth, int pictureHeight,
                          EdgeRect &picture, EdgeRect &caption)
{
    const int pw = Clamp16(pictureWidth);
    const int ph = Clamp16(pictureHeight);
    const int tw = Clamp16(qint64(caption.Right) - caption.Left);
    const int th = Clamp16(qint64(caption.Bottom) - caption.Top);
    const int across = Clamp16(qint64(pw) + Gap + tw);
    const int down = Clamp16(qint64(ph) + Gap + th);
    const EdgeRect &c = content;
    switch (position) {
    case 1:
        picture = Sized(Centre(c.Left, c.Right, across), Centre(c.Top, c.Bottom, ph), pw, ph);
        caption = Sized(qint64(picture.Right) + Gap, Centre(c.Top, c.Bottom, th), tw, th);
        break;
    case 2:
        caption = Sized(Centre(c.Left, c.Right, across), Centre(c.Top, c.Bottom, th), tw, th);
        picture = Sized(qint64(caption.Right) + Gap, Centre(c.Top, c.Bottom, ph), pw, ph);
        break;
    case 0:
        picture = Sized(Centre(c.Left, c.Right, pw), Centre(c.Top, c.Bottom, down), pw, ph);
        caption = Sized(Centre(c.Left, c.Right, tw), qint64(picture.Bottom) + Gap, tw, th);
        break;
    case 3:
        caption = Sized(Centre(c.Left, c.Right, tw), Centre(c.Top, c.Bottom, down), tw, th);
        picture = Sized(Centre(c.Left, c.Right, pw), qint64(caption.Bottom) + Gap, pw, ph);
        break;
    default:
        break;
    }
}
