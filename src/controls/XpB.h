#pragma once

#include "controls/PictureObject.h"
#include "controls/XpBState.h"

#include <QImage>
#include <QWidget>

class PropertyBag;

// The program's own push button: paints its whole face itself in one of
// four looks (0 raised, 1 and 2 flat, 3 rounded gradient face), with a
// caption that may carry an access key and an optional picture beside,
// above or below it.
// It keeps the face in a persistent image, in the screen's own pixels, that
// paintEvent only shows, and reports clicks and raw input through its
// signals.
class XpB : public QWidget
{
    Q_OBJECT

public:
    explicit XpB(QWidget *parent = nullptr);
    ~XpB() override;

    QString Caption() const { return m_state.Caption; }
    void SetCaption(const QString &New_Caption);
    qint32 ButtonStyle() const { return m_state.ButtonStyle; }
    void SetButtonStyle(qint32 New_ButtonStyle);
    qint32 PicturePosition() const { return m_state.PicturePosition; }
    void SetPicturePosition(qint32 New_PicturePosition);
    PictureRef Picture() const { return m_state.Picture; }
    void SetPicture(const PictureRef &New_Picture);
    bool ShowFocusRect() const { return m_state.ShowFocusRect; }
    void SetShowFocusRect(bool New_ShowFocusRect);
    bool EnabledCtrl() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabledCtrl(bool New_Enabled);
    // The identity the window-at-pointer query is compared with.
    quintptr mhwnd() const { return reinterpret_cast<quintptr>(this); }
    quint32 XPColor_Pressed() const { return m_state.XPColor_Pressed; }
    void SetXPColor_Pressed(quint32 New_XPColor_Pressed) { m_state.XPColor_Pressed = New_XPColor_Pressed; }
    quint32 XPColor_Hover() const { return m_state.XPColor_Hover; }
    void SetXPColor_Hover(quint32 New_XPColor_Hover) { m_state.XPColor_Hover = New_XPColor_Hover; }
    bool XPDefaultColors() const { return m_state.XPDefaultColors; }
    void SetXPDefaultColors(bool New_XPDefaultColors) { m_state.XPDefaultColors = New_XPDefaultColors; }
    quint32 MaskColor() const { return m_state.MaskColor; }
    void SetMaskColor(quint32 New_MaskColor);
    bool UseMaskColor() const { return m_state.UseMaskColor != 0; }
    void SetUseMaskColor(bool New_V);

    void Refresh();
    // Clicks an enabled button, as its access key or assistive technology does.
    void Press();
    void ApplySize();
    void UpdateAccessKey();
    // The access key, lower-cased, or empty for none.
    QString AccessKey() const { return m_accessKey; }

    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    qint32 PictureWidth() const { return m_state.PictureWidth; }
    qint32 PictureHeight() const { return m_state.PictureHeight; }
    quint8 HasFocus() const { return m_state.HasFocus; }
    quint8 IsPressed() const { return m_state.IsPressed; }
    quint8 IsHover() const { return m_state.IsHover; }
    bool FocusCue() const { return m_state.FocusCue; }
    EdgeRect FullRect() const { return m_state.FullRect; }
    EdgeRect ContentRect() const { return m_state.ContentRect; }
    EdgeRect PictureRect() const { return m_state.PictureRect; }
    EdgeRect CaptionRect() const { return m_state.CaptionRect; }
    EdgeRect FocusRect() const { return m_state.FocusRect; }
    CaptionParamsRecord CaptionParams() const { return m_state.CaptionParams; }
    const QImage &FaceImage() const { return m_face; }

    static int HimetricToPixels(int himetric, qreal dpi);

signals:
    // Declared in this order on purpose: Click is the first event.
    void Click();
    void KeyDown(short KeyCode, short Shift);
    void KeyUp(short KeyCode, short Shift);
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void MouseIn(short Shift);
    void MouseOut(short Shift);
    void ToolTip(bool Enable);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    friend class XpBInput;
    friend class XpBStorage;

    void Render();
    XpBState m_state;
    QImage m_face;
    QString m_accessKey;
    int m_shortcutId = 0;
    // Space went down here while focused; only then does its release click.
    bool m_spaceWentDown = false;
};
