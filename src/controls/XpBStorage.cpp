#include "controls/XpBStorage.h"

#include "controls/PropertyBag.h"
#include "controls/XpB.h"
#include "controls/XpBColors.h"
#include "controls/XpBLayout.h"

#include <limits>

namespace {

const QString Caption = QStringLiteral("Caption");
const QString PicturePosition = QStringLiteral("PicturePosition");
const QString ButtonStyle = QStringLiteral("ButtonStyle");
const QString Picture = QStringLiteral("Picture");
const QString PictureWidth = QStringLiteral("PictureWidth");
const QString PictureHeight = QStringLiteral("PictureHeight");
const QString Enabled = QStringLiteral("Enabled");
const QString ShowFocusRect = QStringLiteral("ShowFocusRect");
const QString XPColor_Pressed = QStringLiteral("XPColor_Pressed");
const QString XPColor_Hover = QStringLiteral("XPColor_Hover");
const QString XPDefaultColors = QStringLiteral("XPDefaultColors");
const QString MaskColor = QStringLiteral("MaskColor");
const QString UseMaskColor = QStringLiteral("UseMaskColor");

constexpr qint32 DefaultPicturePosition = 1;
constexpr qint32 DefaultButtonStyle = 2;
constexpr qint32 DefaultPictureSide = 32;

// Stored data comes from outside: a value of the wrong kind reads as the
// default, and a number beyond 32 bits is held at the nearest 32-bit value.
qint32 ToInt32(const QVariant &value, qint32 fallback)
{
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    return ok ? XpBLayout::Clamp32(n) : fallback;
}

quint32 ToColour(const QVariant &value, quint32 fallback)
{
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    const bool fits = n >= std::numeric_limits<qint32>::min() && n <= qlonglong(std::numeric_limits<quint32>::max());
    return ok && fits ? quint32(n) : fallback;
}

bool ToBool(const QVariant &value, bool fallback)
{
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    return ok ? n != 0 : fallback;
}

}

void XpBStorage::Read(XpB &button, const PropertyBag &bag)
{
    XpBState &s = button.m_state;
    s.ShowFocusRect = ToBool(bag.ReadProperty(ShowFocusRect, 1), true);
    s.Caption = bag.ReadProperty(Caption, button.objectName()).toString();
    s.PicturePosition = ToInt32(bag.ReadProperty(PicturePosition, DefaultPicturePosition), DefaultPicturePosition);
    s.ButtonStyle = ToInt32(bag.ReadProperty(ButtonStyle, DefaultButtonStyle), DefaultButtonStyle);
    s.PictureWidth = ToInt32(bag.ReadProperty(PictureWidth, DefaultPictureSide), DefaultPictureSide);
    s.PictureHeight = ToInt32(bag.ReadProperty(PictureHeight, DefaultPictureSide), DefaultPictureSide);
    s.Picture = PictureObject::FromBytes(bag.ReadProperty(Picture, QByteArray()).toByteArray());
    button.setEnabled(ToBool(bag.ReadProperty(Enabled, true), true));
    s.XPColor_Pressed = ToColour(bag.ReadProperty(XPColor_Pressed, XpBColors::ButtonHighlight),
                                 XpBColors::ButtonHighlight);
    s.XPColor_Hover = ToColour(bag.ReadProperty(XPColor_Hover, XpBColors::Light3D), XpBColors::Light3D);
    s.XPDefaultColors = ToBool(bag.ReadProperty(XPDefaultColors, 1), true);
    s.MaskColor = ToColour(bag.ReadProperty(MaskColor, 0), 0);
    s.UseMaskColor = ToInt32(bag.ReadProperty(UseMaskColor, 0), 0);
}

void XpBStorage::Write(const XpB &button, PropertyBag &bag)
{
    const XpBState &s = button.m_state;
    bag.WriteProperty(Caption, s.Caption, button.objectName());
    bag.WriteProperty(PicturePosition, s.PicturePosition, DefaultPicturePosition);
    bag.WriteProperty(ButtonStyle, s.ButtonStyle, DefaultButtonStyle);
    bag.WriteProperty(Picture, s.Picture ? s.Picture->Bytes() : QByteArray(), QByteArray());
    bag.WriteProperty(PictureWidth, s.PictureWidth, DefaultPictureSide);
    bag.WriteProperty(PictureHeight, s.PictureHeight, DefaultPictureSide);
    bag.WriteProperty(Enabled, button.EnabledCtrl(), true);
    bag.WriteProperty(ShowFocusRect, s.ShowFocusRect, 1);
    bag.WriteProperty(XPColor_Pressed, s.XPColor_Pressed, XpBColors::ButtonHighlight);
    bag.WriteProperty(XPColor_Hover, s.XPColor_Hover, XpBColors::Light3D);
    bag.WriteProperty(XPDefaultColors, s.XPDefaultColors, 1);
    bag.WriteProperty(MaskColor, s.MaskColor, 0);
    bag.WriteProperty(UseMaskColor, s.UseMaskColor, 0);
}
