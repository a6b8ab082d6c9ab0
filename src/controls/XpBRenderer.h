#pragma once

#include "controls/XpBColors.h"
#include "controls/SystemColors.h"
#include "controls/XpBState.h"

#include <QFont>
#include <QImage>

class XpBCanvas;

// Paints the whole face of a button from its state into its persistent
// image. Keeps nothing between calls; writes the kept rectangles back into
// the state, and may change the ring colours and MaskColor as a side effect.
// Layout is in the button's own pixels; the face is painted in the screen's
// pixels, ratio to one, so that on a dense screen every line stays one
// screen pixel thin and caption and picture are drawn at full resolution.
class XpBRenderer
{
public:
    XpBRenderer(XpBState &state, const QPalette &palette, const QFont &font, bool enabled);

    void Refresh(QImage &image, qreal ratio = 1.0);

private:
    int ToDevice(int logical) const;
    EdgeRect ToDevice(const EdgeRect &r) const;
    void LayoutContent();
    void DrawCaption(QImage &image);
    void DrawPicture(QImage &image, XpBCanvas &canvas);
    void DrawKeyedBitmap(const EdgeRect &p, XpBCanvas &canvas);
    void DrawDisabledPicture(const EdgeRect &p, XpBCanvas &canvas);

    XpBState &m_state;
    SystemColors m_colors;
    QFont m_font;
    bool m_enabled;
    qreal m_ratio = 1.0;
    QSize m_device;
};
