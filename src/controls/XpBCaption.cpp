#include "controls/XpBCaption.h"

#include "controls/XpBColors.h"
#include "controls/XpBLayout.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int Flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
// Far beyond any button, yet small enough for the text engine's own sums.
constexpr int Unbounded = 1 << 24;

}

XpBCaption::XpBCaption(const QFont &font, const QString &text)
    : m_font(font)
    , m_text(text)
{
    // Crisp single-colour glyphs, so the embossed disabled caption keeps
    // its two exact colours.
    m_font.setStyleStrategy(QFont::NoAntialias);
}

int XpBCaption::Margin() const
{
    return QFontMetrics(m_font).averageCharWidth();
}

QSize XpBCaption::Measure(int width) const
{
    const int margin = Margin();
    const int wrap = std::clamp(width - 2 * margin, 0, Unbounded);
    const QRect bounds = QFontMetrics(m_font).boundingRect(QRect(0, 0, wrap, Unbounded), Flags, m_text);
    return {XpBLayout::Clamp32(qint64(bounds.width()) + 2 * margin), bounds.height()};
}

void XpBCaption::Draw(QPainter &painter, const EdgeRect &r, quint32 colour) const
{
    const int margin = Margin();
    const qint64 width = qint64(r.Right) - r.Left - 2 * margin;
    const qint64 height = qint64(r.Bottom) - r.Top;
    if (width <= 0 || height <= 0)
        return;
    painter.setFont(m_font);
    painter.setPen(QColor(XpBColors::ToRgb(colour)));
    painter.drawText(QRect(XpBLayout::Clamp32(qint64(r.Left) + margin), r.Top, int(std::min<qint64>(width, Unbounded)),
                           int(std::min<qint64>(height, Unbounded))),
                     Flags, m_text);
}
