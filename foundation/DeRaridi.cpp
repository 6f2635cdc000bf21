#include "foundation/DeRaridi.h"

namespace sarnova {

void TEditorInterface::Attach(IOpenGLView&) {}

bool TEditorInterface::Detach(IOpenGLView&) { return true; }

std::uint8_t TEditorInterface::GetEditorFlags() { return 0; }

void TEditorInterface::UpdateCursor() {}

bool TEditorInterface::AllowPopupMenu() { return true; }

void TEditorInterface::SelectPoint(IGraphics&, int, int, TShiftState, TSelectAction&) {}

void TEditorInterface::SelectRect(IGraphics&, const TRect&, TShiftState) {}

void TEditorInterface::MouseDown(IGraphics&, TMouseButton, TShiftState, int, int) {}

void TEditorInterface::MouseUp(IGraphics&, TMouseButton, TShiftState, int, int) {}

void TEditorInterface::MouseMove(IGraphics&, TShiftState, int, int) {}

void TEditorInterface::HideFeedback() {}

void TEditorInterface::ShowFeedback() {}

void TEditorInterface::GetCursorLocation(IGraphics&, TPoint, TMVector&) {}

void TEditorInterface::KeyDown(TKeyCode&, TShiftState) {}

void TEditorInterface::KeyUp(TKeyCode&, TShiftState) {}

void TEditorInterface::KeyPress(char32_t&) {}

}  // namespace sarnova
