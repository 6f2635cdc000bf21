// Keyboard and mouse input as the model receives it: the window system's virtual-key codes, the mouse
// buttons, the set of held modifier keys and buttons, and the numbers of the mouse pointer shapes.
// The GUI translates its own events into these values, so that editors and tests speak one language.
#pragma once
#include <cstdint>

namespace sarnova {

// Virtual-key codes (the Windows values); letters and digits are their upper-case character codes
// ('A' = 65, '0' = 48).
using TKeyCode = std::uint16_t;

inline constexpr TKeyCode VK_BACK = 8;
inline constexpr TKeyCode VK_TAB = 9;
inline constexpr TKeyCode VK_RETURN = 13;
inline constexpr TKeyCode VK_SHIFT = 16;
inline constexpr TKeyCode VK_CONTROL = 17;
inline constexpr TKeyCode VK_MENU = 18;  // Alt
inline constexpr TKeyCode VK_ESCAPE = 27;
inline constexpr TKeyCode VK_SPACE = 32;
inline constexpr TKeyCode VK_PRIOR = 33;  // Page Up
inline constexpr TKeyCode VK_NEXT = 34;   // Page Down
inline constexpr TKeyCode VK_END = 35;
inline constexpr TKeyCode VK_HOME = 36;
inline constexpr TKeyCode VK_LEFT = 37;
inline constexpr TKeyCode VK_UP = 38;
inline constexpr TKeyCode VK_RIGHT = 39;
inline constexpr TKeyCode VK_DOWN = 40;
inline constexpr TKeyCode VK_INSERT = 45;
inline constexpr TKeyCode VK_DELETE = 46;
inline constexpr TKeyCode VK_F1 = 112;
inline constexpr TKeyCode VK_F2 = 113;
inline constexpr TKeyCode VK_F3 = 114;
inline constexpr TKeyCode VK_F11 = 122;
inline constexpr TKeyCode VK_F12 = 123;

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// The modifier keys and mouse buttons held during an input event, combined as a set
// ("ssShift | ssLeft"); bit n is member n of the original set type.
enum TShiftStateFlag : std::uint16_t {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = std::uint16_t;

// Mouse pointer shapes by number: the class library's own shapes are negative, the program's
// custom cursors are 11 and above.
using TCursor = int;

inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHourGlass = -11;
// A dragged curve-network vertex will snap, or will detach, when let go.
inline constexpr TCursor crSnapPending = 24;
inline constexpr TCursor crDetachPending = 25;

}  // namespace sarnova
