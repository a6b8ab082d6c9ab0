#pragma once

class XpB;

// Turns a button's mouse, key, access-key and focus input into its three
// flags, repaints and events. Hover needs no timer: the button grabs the
// pointer on the first movement over it and, on every later movement, asks
// which widget is under the pointer; once that is another, the pointer has
// left. Events are raised synchronously, so a handler that changes the
// button runs in the middle of these steps.
class XpBInput
{
public:
    explicit XpBInput(XpB &button);

    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void KeyDown(short KeyCode, short Shift);
    void KeyUp(short KeyCode, short Shift);
    void AccessKeyPressed();
    void FocusEntered();
    void FocusLeft();

private:
    bool PointerIsOver() const;

    XpB &m_button;
};
