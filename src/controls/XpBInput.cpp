#include "controls/XpBInput.h"

#include "controls/XpB.h"

#include <QApplication>
#include <QCursor>

namespace {

constexpr short LeftButton = 1;
constexpr short EnterKey = 13;
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

// While a mouse button is held the movements keep coming after the pointer
// has left; only a movement back over the button is an entry again.
void XpBInput::MouseMove(short Button, short Shift, float X, float Y)
{
    XpBState &s = m_button.m_state;
    if (s.IsHover == 0) {
        if (PointerIsOver()) {
            s.IsPressed = (Button & LeftButton) ? 1 : 0;
            s.IsHover = 1;
            emit m_button.MouseIn(Shift);
            m_button.Refresh();
        } else if (s.IsPressed == 1) {
            s.IsPressed = 0;
            m_button.Refresh();
        }
    } else if (!PointerIsOver()) {
        Exit(Shift);
    }
    emit m_button.MouseMove(Button, Shift, X, Y);
}

void XpBInput::PointerLeft(short Shift)
{
    if (m_button.m_state.IsHover == 1)
        Exit(Shift);
}

void XpBInput::Exit(short Shift)
{
    m_button.m_state.IsHover = 0;
    m_button.m_state.IsPressed = 0;
    emit m_button.MouseOut(Shift);
    m_button.Refresh();
}

// Whether the press began on the button does not matter: any left release
// that reaches it with the pointer over it is a click.
void XpBInput::MouseUp(short Button, short Shift, float X, float Y)
{
    Release(Button, Shift, X, Y, ClickWhen::PointerIsOver);
}

void XpBInput::Release(short Button, short Shift, float X, float Y, ClickWhen when)
{
    m_button.m_state.IsPressed = 0;
    m_button.m_state.IsHover = 0;
    if (Button < 2) {
        m_button.Refresh();
        if (when == ClickWhen::Always || (when == ClickWhen::PointerIsOver && PointerIsOver()))
            emit m_button.Click();
    }
    emit m_button.MouseUp(Button, Shift, X, Y);
}

// Repeats of a held key are forwarded only: a Space still held when the
// focus arrived here did not go down on this button.
void XpBInput::KeyDown(short KeyCode, short Shift, bool autoRepeat)
{
    XpBState &s = m_button.m_state;
    if (KeyCode == SpaceKey && !autoRepeat) {
        m_button.m_spaceWentDown = true;
        if (s.IsPressed == 0) {
            s.IsPressed = 1;
            s.IsHover = 1;
            m_button.Refresh();
        }
    } else if (KeyCode == EnterKey && !autoRepeat) {
        emit m_button.Click();
    }
    emit m_button.KeyDown(KeyCode, Shift);
}

// The keyboard clicks the focused button wherever the pointer is.
void XpBInput::KeyUp(short KeyCode, short Shift)
{
    if (KeyCode == SpaceKey) {
        const bool wentDownHere = m_button.m_spaceWentDown;
        m_button.m_spaceWentDown = false;
        m_button.m_state.IsPressed = 0;
        m_button.m_state.IsHover = 0;
        m_button.Refresh();
        Release(LeftButton, Shift, 0, 0, wentDownHere ? ClickWhen::Always : ClickWhen::Never);
    }
    emit m_button.KeyUp(KeyCode, Shift);
}

void XpBInput::AccessKeyPressed()
{
    m_button.Press();
}

// The focus is shown when it came from the keyboard, whatever the stored
// ShowFocusRect says; a focus that comes back with the window keeps the
// look it had.
void XpBInput::FocusEntered(Qt::FocusReason reason)
{
    XpBState &s = m_button.m_state;
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        s.FocusCue = true;
    else if (reason == Qt::MouseFocusReason)
        s.FocusCue = false;
    s.IsHover = 0;
    s.HasFocus = 1;
    m_button.Refresh();
}

void XpBInput::FocusLeft()
{
    m_button.m_spaceWentDown = false;
    m_button.m_state.HasFocus = 0;
    m_button.m_state.IsPressed = 0;
    m_button.m_state.IsHover = 0;
    m_button.Refresh();
}
