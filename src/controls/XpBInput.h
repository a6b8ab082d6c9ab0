#pragma once

#include <Qt>

class XpB;

// Turns a button's mouse, key, access-key and focus input into its three
// flags, repaints and events. Hover needs neither a timer nor a pointer
// grab: movements tracked over the button mark the entry, and the pointer
// has left once a movement finds another widget under it or the window
// system says it left. A grab would outlive a click that opens a dialog and
// take that dialog's mouse. Events are raised synchronously, so a handler
// that changes the button runs in the middle of these steps.
class XpBInput
{
public:
    explicit XpBInput(XpB &button);

    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void PointerLeft(short Shift);
    void KeyDown(short KeyCode, short Shift, bool autoRepeat);
    void KeyUp(short KeyCode, short Shift);
    void AccessKeyPressed();
    void FocusEntered(Qt::FocusReason reason);
    void FocusLeft();

private:
    enum class ClickWhen { PointerIsOver, Always, Never };

    bool PointerIsOver() const;
    void Exit(short Shift);
    void Release(short Button, short Shift, float X, float Y, ClickWhen when);

    XpB &m_button;
};
