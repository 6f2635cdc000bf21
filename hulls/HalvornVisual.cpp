// The ship hull-lines generator as the entity draws it.
#include "foundation/VkMaths.h"
#include "hulls/Halvorn.h"

namespace sarnova {

void THalvorn::DrawGenerationCurves(IGraphics& G) {
    FBowFullness->Draw(G);
    for (auto& B : FBowBlenders) B->Draw(G);
    for (auto& C : FColumns) C->Draw(G);
}

void THalvornVisual::DrawSet(IGraphics& G, bool Outline) {
    const TBSpline* Curves[] = {FMidSection.get(),    FStem.get(),      FStern.get(), FAftFlatTangent.get(),
                                FBowFlatTangenet.get(), FTransom.get(), FDeck.get()};
    std::vector<std::unique_ptr<TPolyline>> Set;
    for (const TBSpline* C : Curves) {
        if (Outline)
            Set.push_back(C->TPolyline::Clone());
        else
            Set.push_back(C->Clone());
    }
    auto Line = [&Set](const TRPoint* A, const TRPoint* B) {
        auto L = std::make_unique<TPolyline>();
        L->AddPointCopy(A);
        L->AddPointCopy(B);
        Set.push_back(std::move(L));
    };
    if (FStem->Count() > 0 && FMidSection->Count() > 0) Line(FStem->First(), FMidSection->First());
    for (int i : {1, 4})
        if (FAftFlatTangent->Count() > i && FBowFlatTangenet->Count() > i)
            Line(FAftFlatTangent->Point(i), FBowFlatTangenet->Point(i));
    for (auto& C : Set) C->Draw(G);
    if (Mirrored)
        for (auto& C : Set) {
            if (auto* B = dynamic_cast<TBSpline*>(C.get()))
                B->Transformed(MirrorXZMatrix)->Draw(G);
            else
                C->Transformed(MirrorXZMatrix)->Draw(G);
        }
}

void THalvornVisual::DrawCurves(IGraphics& G) { DrawSet(G, false); }

void THalvornVisual::DrawCurvesOutline(IGraphics& G) { DrawSet(G, true); }

std::unique_ptr<TPolyline> THalvornVisual::GetPickPoints() const {
    auto Points = std::make_unique<TPolyline>();
    for (const TBSpline* C : {FMidSection.get(), FStem.get(), FStern.get(), FAftFlatTangent.get(),
                              FBowFlatTangenet.get(), FTransom.get(), FDeck.get()})
        Points->AddCopies(*C);
    for (int k = 0; k < PointCount(); ++k) Points->AddPointCopy(&PointByIndex(k));
    return Points;
}

}  // namespace sarnova
