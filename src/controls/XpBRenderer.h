#pragma once

#include "controls/XpBColors.h"
#include "controls/XpBState.h"

#include <QFont>
#include <QImage>

class XpBCanvas;

// Paints the whole face of a button from its state into its persistent
// image. Keeps nothing between calls; writes the kept rectangles back into
// the state, and may change the ring colours and MaskColor as a side effect.
class XpBRenderer
{
public:
    XpBRenderer(XpBState &state, const QPalette &palette, const QFont &font, bool enabled);

    void Refresh(QImage &image);

private:
    void LayoutContent();
    void DrawCaption(QImage &image);
    void DrawPicture(QImage &image, XpBCanvas &canvas);
    void DrawKeyedBitmap(const EdgeRect &p, XpBCanvas &canvas);
    void DrawDisabledPicture(const EdgeRect &p, XpBCanvas &canvas);

    XpBState &m_state;
    SystemColors m_colors;
    QFont m_font;
    bool m_enabled;
};
