#include "shell/VkControls.h"

namespace sarnova {

bool TScrollBarController::IsActive() const {
    return Kind == 0 ? (Style == ssHorizontal || Style == ssBoth) : (Style == ssVertical || Style == ssBoth);
}

void TScrollBarController::SetPosition(int Value) {
    if (!IsActive()) return;
    Position = Value;
    if (Position < Min) Position = Min;
    const long long Upper = static_cast<long long>(Max) - PageSize + 1;
    if (Upper < Position) Position = static_cast<int>(Upper);
    if (OnUpdate) OnUpdate(*this);
}

void TScrollBarController::SetMin(int Value) {
    Min = Value;
    UpdateScrollBar();
}

void TScrollBarController::SetMax(int Value) {
    Max = Value;
    UpdateScrollBar();
}

void TScrollBarController::SetPageSize(int Value) {
    PageSize = Value;
    UpdateScrollBar();
}

void TScrollBarController::SetHiddenIfUnnecessary(bool Value) {
    HiddenIfUnnecessary = Value;
    UpdateScrollBar();
}

void TScrollBarController::UpdateScrollBar() {
    if (IsActive() && OnUpdate) OnUpdate(*this);
}

}  // namespace sarnova
