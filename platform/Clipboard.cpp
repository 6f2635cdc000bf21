#include "platform/Clipboard.h"

namespace sarnova {

namespace {
IClipboard* Installed = nullptr;
}

IClipboard& TextClipboard() {
    static TMemoryClipboard Fallback;
    return Installed != nullptr ? *Installed : Fallback;
}

void SetTextClipboard(IClipboard* Clipboard) { Installed = Clipboard; }

}  // namespace sarnova
