#include "app/StatusLine.h"

#include "app/StatusLineAccessible.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int Margin = 2;
constexpr qreal SmallestPoints = 5.0;
constexpr qreal PointStep = 0.25;

bool Fits(const QFont &font, const QString &text, qreal room)
{
    return QFontMetricsF(font).horizontalAdvance(text) <= room;
}

}

StatusLine::StatusLine(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    static const bool described = [] {
        QAccessible::installFactory(&StatusLineAccessible::Create);
        return true;
    }();
    Q_UNUSED(described);
}

qreal StatusLine::TextRoom() const
{
    return contentsRect().width() - 2 * Margin;
}

void StatusLine::FitWidest(const QString &text)
{
    setFont(Fitted(font(), text));
}

QFont StatusLine::FontFor(const QString &text) const
{
    return Fitted(font(), text);
}

// Narrower first, so that the text keeps its height as long as it can.
QFont StatusLine::Fitted(const QFont &from, const QString &text) const
{
    const qreal room = TextRoom();
    if (Fits(from, text, room))
        return from;
    QFont font = from;
    for (const int stretch : {int(QFont::SemiCondensed), int(QFont::Condensed)}) {
        if (font.stretch() != QFont::AnyStretch && font.stretch() <= stretch)
            continue;
        font.setStretch(stretch);
        if (Fits(font, text, room))
            return font;
    }
    for (qreal points = font.pointSizeF() - PointStep; points >= SmallestPoints; points -= PointStep) {
        font.setPointSizeF(points);
        if (Fits(font, text, room))
            return font;
    }
    return font;
}

void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(FontFor(text()));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect().adjusted(Margin, 0, -Margin, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     text());
}
