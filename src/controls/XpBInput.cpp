#include "controls/XpBInput.h"

#include "controls/XpB.h"

#include <QApplication>
#include <QCursor>

namespace {

constexpr short LeftButton = 1;
constexpr short SpaceKey = 32;

}

XpBInput::XpBInput(XpB &button)
    : m_button(button)
{
}

bool XpBInput::PointerIsOver() const
{
    return QApplication::widgetAt(QCursor::pos()) == &m_button;
}

void XpBInput::MouseDown(short Button, short Shift, float X, float Y)
{
    if (Button < 2) {
        m_button.m_state.IsPressed = 1;
        m_button.Refresh();
    }
    emit m_button.MouseDown(Button, Shift, X, Y);
}

void XpBInput::MouseMove(short Button, short Shift, float X, float Y)
{
    XpBState &s = m_button.m_state;
    if (s.IsHover == 0) {
        m_button.ReleaseCapture();
        s.IsPressed = (Button & LeftButton) ? 1 : 0;
        s.IsHover = 1;
        emit m_button.MouseIn(Shift);
        m_button.Refresh();
        if (m_button.isVisible())
            m_button.grabMouse();
    } else if (!PointerIsOver()) {
        s.IsHover = 0;
        s.IsPressed = 0;
        emit m_button.MouseOut(Shift);
        m_button.Refresh();
        m_button.ReleaseCapture();
    }
    emit m_button.MouseMove(Button, Shift, X, Y);
}

// Whether the press began on the button does not matter: any left release
// that reaches it with the pointer over it is a click.
void XpBInput::MouseUp(short Button, short Shift, float X, float Y)
{
    m_button.m_state.IsPressed = 0;
    m_button.m_state.IsHover = 0;
    if (Button < 2) {
        m_button.Refresh();
        if (PointerIsOver())
            emit m_button.Click();
    }
    emit m_button.MouseUp(Button, Shift, X, Y);
}

void XpBInput::KeyDown(short KeyCode, short Shift)
{
    XpBState &s = m_button.m_state;
    if (s.IsPressed == 0 && KeyCode == SpaceKey) {
        s.IsPressed = 1;
        s.IsHover = 1;
        m_button.Refresh();
    }
    emit m_button.KeyDown(KeyCode, Shift);
}

void XpBInput::KeyUp(short KeyCode, short Shift)
{
    if (KeyCode == SpaceKey) {
        m_button.m_state.IsPressed = 0;
        m_button.m_state.IsHover = 0;
        m_button.Refresh();
        MouseUp(LeftButton, Shift, 0, 0);
    }
    emit m_button.KeyUp(KeyCode, Shift);
}

void XpBInput::AccessKeyPressed()
{
    if (m_button.isEnabled())
        emit m_button.Click();
}

void XpBInput::FocusEntered()
{
    m_button.m_state.IsHover = 0;
    m_button.m_state.HasFocus = 1;
    m_button.Refresh();
}

void XpBInput::FocusLeft()
{
    m_button.m_state.HasFocus = 0;
    m_button.m_state.IsPressed = 0;
    m_button.m_state.IsHover = 0;
    m_button.Refresh();
}
