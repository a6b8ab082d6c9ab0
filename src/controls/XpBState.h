#pragma once

#include "controls/CaptionParamsRecord.h"
#include "controls/EdgeRect.h"
#include "controls/PictureObject.h"

#include <QString>
#include <QtGlobal>

// Everything the button paints from. A new button starts with every value
// zero, empty or false, as the host is expected to read stored properties
// right after creating it.
struct XpBState
{
    QString Caption;
    qint32 ButtonStyle = 0;
    qint32 PicturePosition = 0;
    PictureRef Picture;
    bool ShowFocusRect = false;
    quint32 XPColor_Pressed = 0;
    quint32 XPColor_Hover = 0;
    bool XPDefaultColors = false;
    quint32 MaskColor = 0;
    qint32 UseMaskColor = 0;
    qint32 PictureWidth = 0;
    qint32 PictureHeight = 0;

    quint8 HasFocus = 0;
    quint8 IsPressed = 0;
    quint8 IsHover = 0;
    // The focus came from the keyboard: shown even without ShowFocusRect.
    bool FocusCue = false;

    // Inner size in pixels as last read by ApplySize.
    int W = 0;
    int H = 0;
    EdgeRect FullRect;
    EdgeRect ContentRect;
    EdgeRect PictureRect;
    EdgeRect CaptionRect;
    EdgeRect FocusRect;
    CaptionParamsRecord CaptionParams;
};
