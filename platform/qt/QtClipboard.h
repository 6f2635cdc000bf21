// The desktop's text clipboard through Qt.
#pragma once
#include "platform/Clipboard.h"

namespace sarnova {

// Reads and writes the clipboard of the running QApplication (UTF-8 text).
class TQtClipboard : public IClipboard {
public:
    std::string GetText() const override;
    void SetText(const std::string& Text) override;
    bool HasText() const override;
};

}  // namespace sarnova
