#include "controls/XpBFace.h"

#include "controls/XpBCanvas.h"
#include "controls/XpBColors.h"
#include "controls/XpBLayout.h"

using XpBColors::OffsetColor;

namespace {

constexpr quint32 Black = 0x00000000u;
constexpr quint32 White = 0x00FFFFFFu;

}

XpBFace::XpBFace(XpBState &state, XpBCanvas &canvas, const SystemColors &colors, bool enabled, int width,
                 int height)
    : m_state(state)
    , m_canvas(canvas)
    , m_colors(colors)
    , m_enabled(enabled)
    , m_w(width)
    , m_h(height)
{
}

void XpBFace::DrawRect(const EdgeRect &r, quint32 colour, bool fill)
{
    if (fill)
        m_canvas.Fill(r, m_colors.Resolve(colour));
    else
        m_canvas.Frame(r, m_colors.Resolve(colour));
}

// The second outline is one pixel larger, so its right and bottom sides
// fall outside the control and only its top and left remain.
void XpBFace::DrawRaisedBorder()
{
    const int w = m_w, h = m_h;
    DrawRect({0, 0, w, h}, Black, false);
    DrawRect({0, 0, XpBLayout::Clamp32(qint64(w) + 1), XpBLayout::Clamp32(qint64(h) + 1)},
             XpBColors::ButtonHighlight, false);
}

void XpBFace::DrawSunkenBorder()
{
    const int w = m_w, h = m_h;
    DrawRect({0, 0, w, h}, XpBColors::ButtonHighlight, false);
    DrawRect({0, 0, XpBLayout::Clamp32(qint64(w) + 1), XpBLayout::Clamp32(qint64(h) + 1)}, Black, false);
}

void XpBFace::DrawXPFace(quint8 pressed, quint8 hover)
{
    const quint32 face = m_colors.Resolve(XpBColors::ButtonFace);
    const quint32 light = OffsetColor(face, +48);
    const int w = m_w, h = m_h;
    quint32 corner = Black;
    if (!m_enabled) {
        DrawRect({0, 0, w, h}, OffsetColor(light, -24), true);
        DrawRect({0, 0, w, h}, OffsetColor(light, -84), false);
        corner = OffsetColor(light, -72);
    } else {
        if (m_state.XPDefaultColors) {
            m_state.XPColor_Pressed = XpBColors::FocusRing;
            m_state.XPColor_Hover = XpBColors::HoverRing;
        }
        if (h == 0)
            return;
        corner = pressed == 0 ? DrawNormalFace(hover) : DrawPressedFace(light);
    }
    RoundCorners(face, corner);
}

quint32 XpBFace::DrawNormalFace(quint8 hover)
{
    const int w = m_w, h = m_h;
    const float step = 50.0f / float(h);
    for (int i = 1; i <= h; ++i)
        m_canvas.Line(0, i, w, i, OffsetColor(White, -XpBLayout::RoundHalfEven(double(step) * i)));
    DrawRect({0, 0, w, h}, XpBColors::DarkShadow3D, false);
    if (m_state.HasFocus == 1 || hover == 1)
        DrawRing(m_colors.Resolve(hover != 0 ? m_state.XPColor_Hover : m_state.XPColor_Pressed));
    return Black;
}

quint32 XpBFace::DrawPressedFace(quint32 light)
{
    const int w = m_w, h = m_h;
    const float step = 25.0f / float(h);
    const quint32 base = OffsetColor(light, -32);
    for (int i = 1; i <= h; ++i)
        m_canvas.Line(0, h - i, w, h - i, OffsetColor(base, -XpBLayout::RoundHalfEven(double(step) * i)));
    DrawRect({0, 0, w, h}, XpBColors::DarkShadow3D, false);
    return Black;
}

void XpBFace::DrawRing(quint32 ring)
{
    const int w = m_w, h = m_h;
    DrawRect({1, 2, w - 1, h - 2}, ring, false);
    m_canvas.Line(2, h - 2, w - 2, h - 2, OffsetColor(ring, -40));
    m_canvas.Line(2, 1, w - 2, 1, OffsetColor(ring, +90));
    m_canvas.Line(1, 2, w - 1, 2, OffsetColor(ring, +35));
    m_canvas.Line(2, 3, 2, h - 3, OffsetColor(ring, +20));
    m_canvas.Line(w - 3, 3, w - 3, h - 3, OffsetColor(ring, +20));
    m_canvas.SetPixel(3, h - 4, ring);
    m_canvas.SetPixel(w - 4, h - 4, ring);
    m_canvas.SetPixel(w - 4, 3, OffsetColor(ring, +35));
    m_canvas.SetPixel(3, 3, OffsetColor(ring, +35));
}

void XpBFace::RoundCorners(quint32 face, quint32 corner)
{
    const int w = m_w, h = m_h;
    const int blocks[4][2] = {{0, 0}, {0, h - 2}, {w - 2, 0}, {w - 2, h - 2}};
    const int inner[4][2] = {{1, 1}, {1, h - 2}, {w - 2, 1}, {w - 2, h - 2}};
    for (int i = 0; i < 4; ++i) {
        m_canvas.Fill({blocks[i][0], blocks[i][1], blocks[i][0] + 2, blocks[i][1] + 2}, face);
        m_canvas.SetPixel(inner[i][0], inner[i][1], corner);
    }
}
