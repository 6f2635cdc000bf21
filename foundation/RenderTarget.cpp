#include "foundation/RenderTarget.h"

#include <cmath>

namespace sarnova {

IRenderTarget* RenderTargetOf(IGraphics& View) { return dynamic_cast<IRenderTarget*>(&View); }

bool DoubleArrowHeads(const TMVector& A, const TMVector& B, int HeadSize, TArrowHeads& Heads) {
    const double L = VectorDistance(A, B);
    if (!(L > 0)) return false;
    const TMVector D = VectorScale(VectorFromTo(A, B), 1 / L);
    const TMVector Across{-D.Y, D.X, 0};
    const double H = HeadSize <= 0.4 * L ? HeadSize : 0.4 * L;
    const double W = H / 4;
    auto Head = [&](const TMVector& Tip, double Inwards) {
        const TMVector Base = VectorAdd(Tip, VectorScale(D, Inwards * H));
        return std::array<TMVector, 3>{Tip, VectorAdd(Base, VectorScale(Across, W)),
                                       VectorAdd(Base, VectorScale(Across, -W))};
    };
    Heads = {Head(A, 1), Head(B, -1)};
    return true;
}

void DrawDoubleArrow(IGraphics& View, int HeadSize, const TMVector& From, const TMVector& To) {
    View.LineVectors(From, To);
    IRenderTarget* Target = RenderTargetOf(View);
    if (Target == nullptr) return;
    TMVector A, B;
    if (!Target->WorldToWindow(From, A) || !Target->WorldToWindow(To, B)) return;
    // Whole pixels, so that the heads sit on the line as it is rasterised.
    A = {std::round(A.X), std::round(A.Y), 0};
    B = {std::round(B.X), std::round(B.Y), 0};
    TArrowHeads Heads;
    if (!DoubleArrowHeads(A, B, HeadSize, Heads)) return;
    Target->BeginPixelOverlay();
    Target->Begin(TRenderPrimitive::Triangles);
    for (const auto& Head : Heads)
        for (const TMVector& V : Head) Target->Vertex(V);
    Target->End();
    Target->EndPixelOverlay();
}

}  // namespace sarnova
