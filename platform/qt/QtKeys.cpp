#include "platform/qt/QtKeys.h"

#include <utility>

namespace sarnova {

namespace {

// Codes that only the translation needs.
constexpr TKeyCode VK_CLEAR = 12;
constexpr TKeyCode VK_PAUSE = 19;
constexpr TKeyCode VK_CAPITAL = 20;
constexpr TKeyCode VK_SNAPSHOT = 44;
constexpr TKeyCode VK_HELP = 47;
constexpr TKeyCode VK_LWIN = 91;
constexpr TKeyCode VK_APPS = 93;
constexpr TKeyCode VK_NUMPAD0 = 96;
constexpr TKeyCode VK_MULTIPLY = 106;
constexpr TKeyCode VK_ADD = 107;
constexpr TKeyCode VK_SUBTRACT = 109;
constexpr TKeyCode VK_DECIMAL = 110;
constexpr TKeyCode VK_DIVIDE = 111;
constexpr TKeyCode VK_NUMLOCK = 144;
constexpr TKeyCode VK_SCROLL = 145;
constexpr TKeyCode VK_OEM_1 = 186;  // ; :
constexpr TKeyCode VK_OEM_PLUS = 187;
constexpr TKeyCode VK_OEM_COMMA = 188;
constexpr TKeyCode VK_OEM_MINUS = 189;
constexpr TKeyCode VK_OEM_PERIOD = 190;
constexpr TKeyCode VK_OEM_2 = 191;  // / ?
constexpr TKeyCode VK_OEM_3 = 192;  // ` ~
constexpr TKeyCode VK_OEM_4 = 219;  // [ {
constexpr TKeyCode VK_OEM_5 = 220;  // \ |
constexpr TKeyCode VK_OEM_6 = 221;  // ] }
constexpr TKeyCode VK_OEM_7 = 222;  // ' "

constexpr std::pair<int, TKeyCode> KeyTable[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    // The symbols of the digit keys, shifted.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    // The punctuation keys, plain and shifted.
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
};

constexpr std::pair<int, TKeyCode> KeypadTable[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},    {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

}  // namespace

TKeyCode QtKeyToVirtualKey(int Key, Qt::KeyboardModifiers Modifiers) {
    if (Modifiers & Qt::KeypadModifier) {
        if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return static_cast<TKeyCode>(VK_NUMPAD0 + (Key - Qt::Key_0));
        for (auto [From, To] : KeypadTable)
            if (From == Key) return To;
    }
    // Qt's codes of letters and digits are the characters themselves.
    if ((Key >= Qt::Key_A && Key <= Qt::Key_Z) || (Key >= Qt::Key_0 && Key <= Qt::Key_9))
        return static_cast<TKeyCode>(Key);
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24) return static_cast<TKeyCode>(VK_F1 + (Key - Qt::Key_F1));
    for (auto [From, To] : KeyTable)
        if (From == Key) return To;
    return 0;
}

TShiftState QtShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    TShiftState Shift = 0;
    if (Modifiers & Qt::ShiftModifier) Shift |= ssShift;
    if (Modifiers & Qt::AltModifier) Shift |= ssAlt;
    if (Modifiers & Qt::ControlModifier) Shift |= ssCtrl;
    if (Buttons & Qt::LeftButton) Shift |= ssLeft;
    if (Buttons & Qt::RightButton) Shift |= ssRight;
    if (Buttons & Qt::MiddleButton) Shift |= ssMiddle;
    return Shift;
}

bool QtMouseButton(Qt::MouseButton Button, TMouseButton& Result) {
    switch (Button) {
        case Qt::LeftButton: Result = mbLeft; return true;
        case Qt::RightButton: Result = mbRight; return true;
        case Qt::MiddleButton: Result = mbMiddle; return true;
        default: return false;
    }
}

Qt::CursorShape QtCursorShape(TCursor Cursor) {
    switch (Cursor) {
        case crCross:
        case 23:
        case 30:
        case 31:
        case 32:
        case 16: return Qt::CrossCursor;
        case 27:
        case 28:
        case 29:
        case 33:
        case 34:
        case 35:
        case 36:
        case 37:
        case crSizeAll: return Qt::SizeAllCursor;
        case crHourGlass: return Qt::WaitCursor;
        case 11: return Qt::SizeVerCursor;
        case 12: return Qt::OpenHandCursor;
        case 13: return Qt::ClosedHandCursor;
        case 22: return Qt::PointingHandCursor;
        case crSnapPending: return Qt::DragLinkCursor;
        case crDetachPending: return Qt::DragMoveCursor;
        default: return Qt::ArrowCursor;
    }
}

}  // namespace sarnova
