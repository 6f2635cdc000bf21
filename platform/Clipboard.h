// The system's text clipboard as the model sees it. The GUI installs the desktop clipboard; until then
// (and in tests) an in-memory clipboard stands in, so copy and paste work without a window.
#pragma once
#include <string>

namespace sarnova {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // The clipboard's text; empty when it holds none.
    virtual std::string GetText() const = 0;
    // Replaces the clipboard's contents with Text.
    virtual void SetText(const std::string& Text) = 0;
    virtual bool HasText() const = 0;
};

// A clipboard that lives in this process only.
class TMemoryClipboard : public IClipboard {
public:
    std::string GetText() const override { return FText; }
    void SetText(const std::string& Text) override {
        FText = Text;
        FHasText = true;
    }
    bool HasText() const override { return FHasText; }

private:
    std::string FText;
    bool FHasText = false;
};

// The program-wide text clipboard: the installed one, else a process-wide in-memory clipboard.
IClipboard& TextClipboard();
// Installs the GUI's clipboard (not owned; it must stay until uninstalled with nullptr).
void SetTextClipboard(IClipboard* Clipboard);

}  // namespace sarnova
