#pragma once

#include "controls/SystemColors.h"
#include "controls/XpBState.h"

class SystemColors;
class XpBCanvas;

// The frame of the face: the 3-D borders of styles 0 to 2 and the whole
// gradient face of style 3, on a canvas of width x height pixels.
class XpBFace
{
public:
    XpBFace(XpBState &state, XpBCanvas &canvas, const SystemColors &colors, bool enabled, int width, int height);

    void DrawRaisedBorder();
    void DrawSunkenBorder();
    // May set the ring colours: with XPDefaultColors the built-in ones
    // replace whatever the properties held.
    void DrawXPFace(quint8 pressed, quint8 hover);

private:
    void DrawRect(const EdgeRect &r, quint32 colour, bool fill);
    quint32 DrawNormalFace(quint8 hover);
    quint32 DrawPressedFace(quint32 light);
    void DrawRing(quint32 ring);
    void RoundCorners(quint32 face, quint32 corner);

    XpBState &m_state;
    XpBCanvas &m_canvas;
    const SystemColors &m_colors;
    bool m_enabled;
    int m_w;
    int m_h;
};
