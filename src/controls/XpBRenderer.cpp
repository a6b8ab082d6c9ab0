#include "controls/XpBRenderer.h"

#include "controls/XpBCanvas.h"
#include "controls/XpBCaption.h"
#include "controls/XpBFace.h"
#include "controls/XpBLayout.h"

#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

EdgeRect Moved(const EdgeRect &r, int by)
{
    const auto move = [by](int edge) { return XpBLayout::Clamp32(qint64(edge) + by); };
    return {move(r.Left), move(r.Top), move(r.Right), move(r.Bottom)};
}

// The part of a block of the given size placed at p that lands on a face
// of W x H, in the block's own coordinates.
QRect VisibleSource(const EdgeRect &p, const QSize &size, int w, int h)
{
    const QRect onFace(-p.Left, -p.Top, std::max(w, 0), std::max(h, 0));
    return onFace.intersected(QRect(QPoint(0, 0), size));
}

}

XpBRenderer::XpBRenderer(XpBState &state, const QPalette &palette, const QFont &font, bool enabled)
    : m_state(state)
    , m_colors(palette)
    , m_font(font)
    , m_enabled(enabled)
{
}

// The face and Picture1 are both cleared to the button face colour.
void XpBRenderer::Refresh(QImage &image, qreal ratio)
{
    m_ratio = ratio > 0 ? ratio : 1.0;
    const int w = std::max(m_state.W, 0), h = std::max(m_state.H, 0);
    m_device = QSize(ToDevice(w), ToDevice(h));
    if (image.size() != m_device)
        image = !m_device.isEmpty() ? QImage(m_device, QImage::Format_RGB32) : QImage();
    image.setDevicePixelRatio(m_ratio);
    image.fill(XpBColors::ToRgb(m_colors.Of(XpBColors::ButtonFace)));
    XpBCanvas canvas(image);
    XpBFace face(m_state, canvas, m_colors, m_enabled, m_device.width(), m_device.height());
    if (m_state.ButtonStyle == 3)
        face.DrawXPFace(m_state.IsPressed, m_state.IsHover);
    else if (m_state.IsPressed == 1)
        face.DrawSunkenBorder();
    else if (m_state.IsHover == 1 || m_state.ButtonStyle == 0)
        face.DrawRaisedBorder();
    LayoutContent();
    if (!m_state.Caption.isEmpty())
        DrawCaption(image);
    if (m_state.Picture)
        DrawPicture(image, canvas);
    if (m_state.HasFocus == 1 && (m_state.ShowFocusRect || m_state.FocusCue) && m_state.ButtonStyle != 3)
        canvas.InvertDotted(ToDevice(m_state.FocusRect));
}

int XpBRenderer::ToDevice(int logical) const
{
    return m_ratio == 1.0 ? logical : XpBLayout::RoundHalfEven(logical * m_ratio);
}

EdgeRect XpBRenderer::ToDevice(const EdgeRect &r) const
{
    return {ToDevice(r.Left), ToDevice(r.Top), ToDevice(r.Right), ToDevice(r.Bottom)};
}

void XpBRenderer::LayoutContent()
{
    XpBState &s = m_state;
    s.FullRect = {0, 0, s.W - 1, s.H - 1};
    s.ContentRect = {4, 4, s.W - 4, s.H - 4};
    const EdgeRect &c = s.ContentRect;
    if (s.Caption.isEmpty()) {
        s.PictureRect = XpBLayout::Centred(c, s.PictureWidth, s.PictureHeight);
        return;
    }
    const QSize measured = XpBCaption(m_font, s.Caption).Measure(c.Right - c.Left);
    s.CaptionRect = XpBLayout::Centred(c, XpBLayout::Clamp16(measured.width()),
                                       XpBLayout::Clamp16(measured.height()));
    if (s.Picture)
        XpBLayout::PlaceBoth(s.PicturePosition, c, s.PictureWidth, s.PictureHeight, s.PictureRect, s.CaptionRect);
}

void XpBRenderer::DrawCaption(QImage &image)
{
    if (image.isNull())
        return;
    QPainter painter(&image);
    const XpBCaption caption(m_font, m_state.Caption);
    const EdgeRect &t = m_state.CaptionRect;
    if (m_enabled) {
        caption.Draw(painter, m_state.IsPressed == 1 ? Moved(t, 1) : t, m_colors.Of(XpBColors::ButtonText));
    } else {
        caption.Draw(painter, Moved(t, 1), m_colors.Of(XpBColors::ButtonHighlight));
        caption.Draw(painter, t, m_colors.Of(XpBColors::ButtonShadow));
    }
    m_state.CaptionParams.uiLengthDrawn = int(m_state.Caption.size());
}

void XpBRenderer::DrawPicture(QImage &image, XpBCanvas &canvas)
{
    const EdgeRect p = Moved(m_state.PictureRect, m_state.IsPressed);
    const PictureObject &picture = *m_state.Picture;
    if (!m_enabled) {
        DrawDisabledPicture(p, canvas);
    } else if (picture.PictureKind() == PictureObject::Kind::Bitmap) {
        DrawKeyedBitmap(p, canvas);
    } else if (picture.PictureKind() == PictureObject::Kind::Icon) {
        if (p.Right <= p.Left || p.Bottom <= p.Top || image.isNull())
            return;
        QImage icon = picture.ImageAt(m_ratio);
        icon.setDevicePixelRatio(m_ratio);
        QPainter painter(&image);
        painter.setClipRect(QRect(QPoint(p.Left, p.Top), QPoint(p.Right - 1, p.Bottom - 1)));
        painter.drawImage(QPoint(p.Left, p.Top), icon);
    }
}

// Picture1 is the picture at its natural size over the button face colour;
// only the part that lands on the face is ever made. Pending events are not
// run here: a handler could otherwise change the button halfway through.
// The key is read from the picture as stored, so MaskColor is the same on
// any screen.
void XpBRenderer::DrawKeyedBitmap(const EdgeRect &p, XpBCanvas &canvas)
{
    const QImage &picture = m_state.Picture->Image();
    const QRgb background = XpBColors::ToRgb(m_colors.Of(XpBColors::ButtonFace));
    if (m_state.UseMaskColor == 0) {
        QImage corner(1, 1, QImage::Format_RGB32);
        corner.fill(background);
        QPainter(&corner).drawImage(0, 0, picture);
        m_state.MaskColor = m_colors.Resolve(XpBColors::FromQColor(QColor(corner.pixel(0, 0))));
    }
    const EdgeRect d = ToDevice(p);
    const qint64 width = qint64(d.Right) - d.Left, height = qint64(d.Bottom) - d.Top;
    if (width <= 0 || height <= 0)
        return;
    const QSize copied(int(std::min<qint64>(width, INT_MAX)), int(std::min<qint64>(height, INT_MAX)));
    const QRect visible = VisibleSource(d, copied, m_device.width(), m_device.height());
    if (visible.isEmpty())
        return;
    QImage picture1(visible.size(), QImage::Format_RGB32);
    picture1.fill(background);
    QPainter(&picture1).drawImage(-visible.topLeft(), m_state.Picture->ImageAt(m_ratio));
    canvas.KeyedCopy(picture1, d.Left + visible.left(), d.Top + visible.top(), visible.width(), visible.height(),
                     m_state.MaskColor & 0x00FFFFFFu);
}

// Embossed, the usual look of a disabled picture: every opaque pixel that is
// not white is ink, drawn in highlight one pixel right and down and then in
// shadow in place.
void XpBRenderer::DrawDisabledPicture(const EdgeRect &p, XpBCanvas &canvas)
{
    const QImage picture = m_state.Picture->ImageAt(m_ratio);
    const EdgeRect d = ToDevice(p);
    const int shift = std::max(1, ToDevice(1));
    // The highlight copy lands further down and right; its source starts
    // that much further up and left.
    const QRect visible = VisibleSource(d, picture.size(), m_device.width(), m_device.height())
                              .adjusted(-shift, -shift, 0, 0)
                              .intersected(QRect(QPoint(0, 0), picture.size()));
    const auto ink = [&picture](int x, int y) {
        const QRgb rgb = picture.pixel(x, y);
        return qAlpha(rgb) >= 128 && (rgb & 0x00FFFFFFu) != 0x00FFFFFFu;
    };
    const quint32 colours[2] = {m_colors.Of(XpBColors::ButtonHighlight), m_colors.Of(XpBColors::ButtonShadow)};
    for (int pass = 0; pass < 2; ++pass) {
        const int offset = pass == 0 ? shift : 0;
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            for (int x = visible.left(); x <= visible.right(); ++x) {
                if (ink(x, y))
                    canvas.SetPixel(d.Left + x + offset, d.Top + y + offset, colours[pass]);
            }
        }
    }
}
