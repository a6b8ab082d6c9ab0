#pragma once

#include "controls/PropertyBag.h"
#include "controls/XpB.h"
#include "controls/XpBColors.h"

#include <initializer_list>
#include <utility>

// Exact pixel checks need system colours that do not follow the host theme.
namespace XpBTestKit {

constexpr quint32 Face = 0x00C8D0D4u;
constexpr quint32 Highlight = 0x00FFFFFFu;
constexpr quint32 Black = 0;

inline XpB *MakeButton(qint32 style, int width, int height)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(212, 208, 200));
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    auto *button = new XpB;
    button->setPalette(palette);
    button->resize(width, height);
    button->ApplySize();
    button->SetButtonStyle(style);
    return button;
}

inline quint32 Pixel(const XpB &button, int x, int y)
{
    return XpBColors::FromQColor(QColor(button.FaceImage().pixel(x, y)));
}

// One colour with pixel (0, 0) in another, the pixel keying reads.
inline PictureRef Bitmap(int side, quint32 fill, quint32 topLeft)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(XpBColors::ToRgb(fill));
    image.setPixel(0, 0, XpBColors::ToRgb(topLeft));
    return std::make_shared<const PictureObject>(image, PictureObject::Kind::Bitmap);
}

inline PropertyBag Stored(std::initializer_list<std::pair<QString, QVariant>> entries)
{
    PropertyBag bag;
    for (const auto &[key, value] : entries)
        bag.WriteProperty(key, value);
    return bag;
}

}
