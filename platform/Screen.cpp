#include "platform/Screen.h"

namespace sarnova {

namespace {
TCursor CurrentCursor = crDefault;
std::function<void(TCursor)>& Handler() {
    static std::function<void(TCursor)> H;
    return H;
}
}  // namespace

TCursor GetScreenCursor() { return CurrentCursor; }

void SetScreenCursor(TCursor Cursor) {
    CurrentCursor = Cursor;
    if (Handler()) Handler()(Cursor);
}

void SetScreenCursorHandler(std::function<void(TCursor)> AHandler) { Handler() = std::move(AHandler); }

}  // namespace sarnova
