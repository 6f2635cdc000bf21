// Qt's keyboard and mouse values turned into the platform's: virtual-key codes, shift states and
// mouse buttons, so that Qt controls hand their editors what the model expects.
#pragma once
#include <Qt>

#include "foundation/Keys.h"

namespace sarnova {

// The virtual-key code of a Qt key as a US keyboard gives it: letters and digits as their upper-case
// characters, shifted symbols as the key that carries them (Qt reports "!" where the key is "1"),
// keypad digits and operators (KeypadModifier) as the numeric-pad codes. 0 for keys without a code.
TKeyCode QtKeyToVirtualKey(int Key, Qt::KeyboardModifiers Modifiers);

// Shift, Ctrl and Alt, and the held left, right and middle buttons.
TShiftState QtShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

// False for buttons other than the left, right and middle one.
bool QtMouseButton(Qt::MouseButton Button, TMouseButton& Result);

// The pointer shape of a cursor number: the class library's shapes and, by meaning, the program's own
// cursors (11 zoom, 12 pan, 13 rotate, 16 zoom window, 22 region, 23 and 30 to 32 placing points, 27
// to 29 and 33 to 37 moving points on an edit plane or axis); the arrow for any other number.
Qt::CursorShape QtCursorShape(TCursor Cursor);

}  // namespace sarnova
