#include "entities/GPolygonCreator.h"

#include "document/GeometryList.h"
#include "entities/GGonList.h"
#include "foundation/Polyline.h"

namespace sarnova {

TGeoPolygonCreator::TGeoPolygonCreator(TGeometryList& AList, TGeoPGonlist* ATarget)
    : TGeoDraggableLineCreator(AList, nullptr), AddToExisting(ATarget != nullptr) {
    Target.SetGeometry(ATarget);
}

TGeoPGonlist* TGeoPolygonCreator::GetTarget() { return static_cast<TGeoPGonlist*>(Target.GetGeometry()); }

void TGeoPolygonCreator::MouseDown(IGraphics& AView, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && Points->Count() != 4) {
        // Another point, as every line creator takes it.
        TGeoDraggableLineCreator::MouseDown(AView, Button, Shift, X, Y);
        return;
    }
    if (Button == mbLeft) {
        TMVector Point;
        ScreenToWorld(X, Y, Point);
        // The fourth corner is the rubber point where the last move put it.
        HideShape();
        CommitFacet();
        ShowShape();
    } else if (Button == mbRight) {
        HideShape();
        if (Points->Count() < 3) {
            Finish(0);
            if (HasEnded()) return;
        } else {
            Points->Delete(Points->Count() - 1);
            CommitFacet();
        }
        ShowShape();
    }
    UpdateHint();
}

std::unique_ptr<TPolygon> TGeoPolygonCreator::FacetOfPoints() const {
    const TPolyline& P = *Points;
    if (P.Count() == 3) return NewTriangle(*P.Point(0), *P.Point(1), *P.Point(2));
    if (P.Count() == 4) return NewQuad(*P.Point(0), *P.Point(1), *P.Point(2), *P.Point(3));
    return nullptr;
}

void TGeoPolygonCreator::CommitFacet() {
    if (Points->Count() == 3 || Points->Count() == 4) {
        if (TGeoPGonlist* Existing = GetTarget()) {
            // One change per facet: each is one undo step, and the extents follow.
            Existing->BeginChange();
            Existing->Facets().Add(FacetOfPoints());
            Existing->EndChange();
        } else {
            CreateGeometry();
        }
    }
    Points->Clear();
    Phase = 0;
}

void TGeoPolygonCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoPGonlist>();
    if (std::unique_ptr<TPolygon> Facet = FacetOfPoints()) Entity->Facets().Add(std::move(Facet));
    Target.SetGeometry(GetDocumentList().Add(std::move(Entity)));
}

void TGeoPolygonCreator::DrawFeedback(TColor Colour, bool Outline) {
    if (View == nullptr) return;
    View->SetLineColor(Colour);
    if (TGeoPGonlist* Facets = GetTarget()) {
        if (Outline)
            Facets->DrawOutline(*View);
        else
            Facets->Draw(*View);
    }
    if (Points->Count() < 2) return;
    View->LineStartPoint(*Points->Point(0));
    for (int I = 1; I < Points->Count(); ++I) View->LineNextPoint(*Points->Point(I));
    View->LineNextPoint(*Points->Point(0));
    View->LineFinish();
}

void TGeoPolygonCreator::DrawShape() { DrawFeedback(CurrentSettings().DrawColor, false); }

void TGeoPolygonCreator::EraseShape() { DrawFeedback(CurrentSettings().BackColor, true); }

void TGeoPolygonCreator::Finish(std::uint8_t Code) {
    if (Code == 0) Code = Phase != 0 ? 1 : 2;
    TGeoPGonlist* Edited = Code == 2 && AddToExisting ? GetTarget() : nullptr;
    TGeoDraggableCreator::Finish(Code);
    // The creator has let go of the view: the entity it added to takes it back for editing.
    if (Edited != nullptr) Edited->SetEditing(true);
}

}  // namespace sarnova
