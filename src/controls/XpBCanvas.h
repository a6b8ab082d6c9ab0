#pragma once

#include "controls/XpBState.h"

#include <QImage>

// Exact pixel operations on the button's face image, in plain 0x00BBGGRR
// colours. Everything outside the image is skipped.
class XpBCanvas
{
public:
    explicit XpBCanvas(QImage &image);

    void Fill(const EdgeRect &r, quint32 colour);
    // The columns left and right-1 and the rows top and bottom-1.
    void Frame(const EdgeRect &r, quint32 colour);
    // Horizontal or vertical; the end point is not drawn.
    void Line(int x1, int y1, int x2, int y2, quint32 colour);
    void SetPixel(int x, int y, quint32 colour);
    // Dotted frame made by inverting every other pixel, starting with the
    // top-left one; drawing it twice restores the face.
    void InvertDotted(const EdgeRect &r);
    // Copies source (x, y) to (left + x, top + y) for x < width, y < height,
    // except the pixels whose colour is key.
    void KeyedCopy(const QImage &source, int left, int top, int width, int height, quint32 key);

private:
    EdgeRect Clipped(const EdgeRect &r) const;

    QImage &m_image;
};
