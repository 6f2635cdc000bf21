// The scroll-bar controller of the program's scrolling controls: range, page, position with its
// clamping rule, and the line and page steps. It keeps the values; the control that owns it shows
// them on its bar through OnUpdate.
#pragma once
#include <cstdint>
#include <functional>

namespace sarnova {

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TScrollBarController {
public:
    // Kind 0 is the horizontal bar, 1 the vertical one; Style is the owner's ScrollBars setting.
    TScrollBarController(std::uint8_t Kind, const TScrollStyle& Style) : Kind(Kind), Style(Style) {}

    std::uint8_t GetKind() const { return Kind; }
    // Whether the owner shows this bar.
    bool IsActive() const;

    int GetPosition() const { return Position; }
    // Ignored for a bar the owner does not show; else clamped to Min, then to Max - PageSize + 1
    // (that last test wins when the two disagree).
    void SetPosition(int Value);
    int GetMin() const { return Min; }
    void SetMin(int Value);
    int GetMax() const { return Max; }
    void SetMax(int Value);
    int GetPageSize() const { return PageSize; }
    void SetPageSize(int Value);
    bool GetHiddenIfUnnecessary() const { return HiddenIfUnnecessary; }
    void SetHiddenIfUnnecessary(bool Value);
    // The page size when there is one, else the stored step.
    int GetLargeChange() const { return PageSize > 0 ? PageSize : LargeChange; }
    void SetLargeChange(int Value) { LargeChange = Value; }
    int SmallChange = 1;

    // Sends the values to the owner's bar when it is shown.
    void UpdateScrollBar();
    std::function<void(const TScrollBarController&)> OnUpdate;

private:
    std::uint8_t Kind;
    const TScrollStyle& Style;
    int PageSize = 0;
    int Min = 0;
    int Max = 0;
    int Position = 0;
    bool HiddenIfUnnecessary = true;
    int LargeChange = 10;
};

}  // namespace sarnova
