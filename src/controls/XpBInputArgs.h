#pragma once

#include <Qt>

class QKeyEvent;

// The button's event arguments from Qt's input: button masks 1 left,
// 2 right, 4 middle; modifier masks 1 Shift, 2 Ctrl, 4 Alt; key codes as
// virtual-key numbers (32 Space, 13 Enter, 65 to 90 letters).
namespace XpBInputArgs {

// 0 for a button the button does not know (extra side buttons).
short ButtonOf(Qt::MouseButton button);
short ButtonsOf(Qt::MouseButtons buttons);
short ShiftOf(Qt::KeyboardModifiers modifiers);
// 0 for a key without a virtual-key number.
short KeyCodeOf(const QKeyEvent &event);

}
