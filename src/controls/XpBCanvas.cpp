#include "controls/XpBCanvas.h"

#include "controls/XpBColors.h"
#include "controls/XpBLayout.h"

#include <algorithm>

XpBCanvas::XpBCanvas(QImage &image)
    : m_image(image)
{
}

EdgeRect XpBCanvas::Clipped(const EdgeRect &r) const
{
    return {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, m_image.width()),
            std::min(r.Bottom, m_image.height())};
}

void XpBCanvas::Fill(const EdgeRect &r, quint32 colour)
{
    const EdgeRect c = Clipped(r);
    const QRgb rgb = XpBColors::ToRgb(colour);
    for (int y = c.Top; y < c.Bottom; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        std::fill(line + c.Left, line + std::max(c.Left, c.Right), rgb);
    }
}

void XpBCanvas::Frame(const EdgeRect &r, quint32 colour)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    const auto edge = [](qint64 v) { return XpBLayout::Clamp32(v); };
    Fill({r.Left, r.Top, r.Right, edge(qint64(r.Top) + 1)}, colour);
    Fill({r.Left, edge(qint64(r.Bottom) - 1), r.Right, r.Bottom}, colour);
    Fill({r.Left, r.Top, edge(qint64(r.Left) + 1), r.Bottom}, colour);
    Fill({edge(qint64(r.Right) - 1), r.Top, r.Right, r.Bottom}, colour);
}

void XpBCanvas::Line(int x1, int y1, int x2, int y2, quint32 colour)
{
    // The start point is drawn and the end point is not, in either direction.
    const auto span = [](qint64 from, qint64 to, int &low, int &high) {
        low = XpBLayout::Clamp32(from <= to ? from : to + 1);
        high = XpBLayout::Clamp32(from <= to ? to : from + 1);
    };
    EdgeRect r;
    if (y1 == y2 && x1 != x2) {
        span(x1, x2, r.Left, r.Right);
        r.Top = y1;
        r.Bottom = XpBLayout::Clamp32(qint64(y1) + 1);
    } else if (x1 == x2 && y1 != y2) {
        span(y1, y2, r.Top, r.Bottom);
        r.Left = x1;
        r.Right = XpBLayout::Clamp32(qint64(x1) + 1);
    }
    Fill(r, colour);
}

void XpBCanvas::SetPixel(int x, int y, quint32 colour)
{
    if (m_image.rect().contains(x, y))
        m_image.setPixel(x, y, XpBColors::ToRgb(colour));
}

void XpBCanvas::InvertDotted(const EdgeRect &r)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    const auto invert = [this](int x, int y) {
        if ((x + y) % 2 == 0 && m_image.rect().contains(x, y))
            m_image.setPixel(x, y, m_image.pixel(x, y) ^ 0x00FFFFFFu);
    };
    const EdgeRect c = Clipped({r.Left, r.Top, r.Right, r.Bottom});
    for (int x = c.Left; x < c.Right; ++x) {
        invert(x, r.Top);
        if (r.Bottom - 1 != r.Top)
            invert(x, r.Bottom - 1);
    }
    for (int y = std::max(c.Top, r.Top + 1); y < std::min(c.Bottom, r.Bottom - 1); ++y) {
        invert(r.Left, y);
        if (r.Right - 1 != r.Left)
            invert(r.Right - 1, y);
    }
}

void XpBCanvas::KeyedCopy(const QImage &source, int left, int top, int width, int height, quint32 key)
{
    const QRgb keyRgb = XpBColors::ToRgb(key);
    const int w = std::min(width, source.width());
    const int h = std::min(height, source.height());
    for (int y = std::max(0, -top); y < h && qint64(top) + y < m_image.height(); ++y) {
        for (int x = std::max(0, -left); x < w && qint64(left) + x < m_image.width(); ++x) {
            const QRgb rgb = source.pixel(x, y) | 0xFF000000u;
            if (rgb != keyRgb)
                m_image.setPixel(left + x, top + y, rgb);
        }
    }
}
