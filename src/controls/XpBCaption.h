#pragma once

#include "controls/XpBState.h"

#include <QFont>
#include <QSize>
#include <QString>

class QPainter;

// The caption's text options: word wrap at the rectangle's width,
// horizontal centring, "&x" underlines x and "&&" shows one "&", and a
// margin of one average character width on either side.
class XpBCaption
{
public:
    XpBCaption(const QFont &font, const QString &text);

    // Width and height of the caption block for a rectangle width across;
    // a single word wider than that widens the block.
    QSize Measure(int width) const;
    void Draw(QPainter &painter, const EdgeRect &r, quint32 colour) const;

private:
    int Margin() const;

    QFont m_font;
    QString m_text;
};
