// The program-wide mouse pointer: long operations show the hourglass and put the default back. The
// GUI installs a handler that applies the shape to its windows; without one only the value is kept.
#pragma once
#include <functional>

#include "foundation/Keys.h"

namespace sarnova {

TCursor GetScreenCursor();
void SetScreenCursor(TCursor Cursor);
// The GUI's handler, called with every new shape; an empty function removes it.
void SetScreenCursorHandler(std::function<void(TCursor)> Handler);

// Shows the hourglass while it lives and puts the default cursor back however the work ends.
class THourGlassCursor {
public:
    THourGlassCursor() { SetScreenCursor(crHourGlass); }
    ~THourGlassCursor() { SetScreenCursor(crDefault); }
    THourGlassCursor(const THourGlassCursor&) = delete;
    THourGlassCursor& operator=(const THourGlassCursor&) = delete;
};

}  // namespace sarnova
