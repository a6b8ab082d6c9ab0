#include "XpBTestKit.h"

#include "controls/XpBColors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>

QPalette XpBTestKit::FixedPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(212, 208, 200));
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    palette.setColor(QPalette::Midlight, QColor(227, 227, 227));
    return palette;
}

XpB *XpBTestKit::MakeButton(qint32 style, int width, int height)
{
    auto *button = new XpB;
    button->setPalette(FixedPalette());
    button->resize(width, height);
    button->ApplySize();
    button->SetButtonStyle(style);
    return button;
}

quint32 XpBTestKit::Pixel(const XpB &button, int x, int y)
{
    return XpBColors::FromQColor(QColor(button.FaceImage().pixel(x, y)));
}

PictureRef XpBTestKit::Bitmap(int width, int height, quint32 fill, quint32 topLeft, PictureObject::Kind kind)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(XpBColors::ToRgb(fill));
    image.setPixel(0, 0, kind == PictureObject::Kind::Icon ? 0u : XpBColors::ToRgb(topLeft));
    return std::make_shared<const PictureObject>(image, kind);
}

void XpBTestKit::Hover(XpB &button, bool leftHeld)
{
    const QPointF at(2, 2);
    QMouseEvent move(QEvent::MouseMove, at, button.mapToGlobal(at), Qt::NoButton,
                     leftHeld ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
}

void XpBTestKit::Focus(XpB &button)
{
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&button, &focus);
}
