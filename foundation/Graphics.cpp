#include "foundation/Graphics.h"

#include <atomic>
#include <cmath>

#include "foundation/Geom.h"

namespace sarnova {

std::uint64_t TDrawingKey::NextValue() {
    static std::atomic<std::uint64_t> Last{0};
    return ++Last;
}

bool IGraphics::KeepsLines() { return false; }

void IGraphics::KeptLines(const TDrawingKey&, const std::function<void(IGraphics&)>& Draw) { Draw(*this); }

void IGraphics::LinePoints(const TRPoint& P1, const TRPoint& P2) { Line(P1.X, P1.Y, P1.Z, P2.X, P2.Y, P2.Z); }

void IGraphics::LineVectors(const TMVector& P1, const TMVector& P2) { Line(P1.X, P1.Y, P1.Z, P2.X, P2.Y, P2.Z); }

void IGraphics::LineStartPoint(const TRPoint& P) { LineStart(P.X, P.Y, P.Z); }

void IGraphics::LineStartVector(const TMVector& V) { LineStart(V.X, V.Y, V.Z); }

void IGraphics::LineNextPoint(const TRPoint& P) { LineNext(P.X, P.Y, P.Z); }

void IGraphics::LineNextVector(const TMVector& V) { LineNext(V.X, V.Y, V.Z); }

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

int DrawableLineWidth(double Width) {
    if (!(Width >= 1)) return 1;
    if (Width >= 16) return 16;
    return static_cast<int>(Width + 0.5);
}

bool ArrowLines(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute, TArrowLines& Lines) {
    const double Length = VectorLength(Direction);
    if (Length == 0) return false;
    const TMVector D = VectorNormalise(Direction);
    const double L = Absolute ? Size : Size * Length;

    // Two unit vectors across the arrow, perpendicular to D.
    TMVector U{1, 0, 0};
    TMVector W{0, 1, 0};
    if (std::fabs(D.Z) != 1) {
        U = D.Y == 0 ? VectorNormalise({-D.Z / D.X, 0, 1}) : VectorNormalise({0, -D.Z / D.Y, 1});
        W = VectorCross(U, D);
    }

    const TMVector Tip = VectorAdd(Base, VectorScale(D, L));
    const TMVector Back = VectorAdd(Tip, VectorScale(D, -0.3 * L));
    const TMVector Across[4] = {VectorScale(U, 0.2 * L), VectorScale(U, -0.2 * L), VectorScale(W, 0.2 * L),
                                VectorScale(W, -0.2 * L)};
    Lines[0] = {Base, Tip};
    for (int I = 0; I < 4; ++I) Lines[I + 1] = {VectorAdd(Back, Across[I]), Tip};
    return true;
}

}  // namespace sarnova
