#include "entities/GArc.h"

#include "document/GeometryList.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/Menu.h"

namespace sarnova {

// ---- TGeoArc ----

TGeoArc::TGeoArc() : FArc(std::make_unique<TArc>()) {}

TGeoArc::~TGeoArc() = default;

std::unique_ptr<TPolyline> TGeoArc::MakePolyline() const { return FArc->AsPolyline(); }

void TGeoArc::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Arc", GetImageIndex(), List, [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
        return std::make_unique<TGeoArcCreator>(Document);
    });
}

void TGeoArc::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoArc>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Convert Arc to Polylines", List, ConvertSelectedToPolylines<TGeoArc>);
}

void TGeoArc::AddMenuItems(TMenuItem&) {
    AddMenuItem("-", {});
    AddMenuItem("Convert Arc to Polyline", [this](TMenuItem&) { ConvertToPolyline(); });
}

IGeometryFrame* TGeoArc::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(ArcFrameName, *this, Owner)) return Frame;
    return TGeoDefinedCurve::CreateFrame(Owner);
}

void TGeoArc::Transform(const TMMatrix& M) {
    BeginChange();
    FArc->Assign(*FArc->Transformed(M));
    EndChange();
}

void TGeoArc::Assign(const TGeometry& Source) {
    TGeoDefinedCurve::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoArc*>(&Source)) FArc->Assign(*Other->FArc);
}

void TGeoArc::Query(TGeometryQuery& Query) { AnswerQuery(Query, qkArc, FArc.get()); }

void TGeoArc::HandleMessage(TGeoMessage& Message) {
    TGeoDefinedCurve::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectArcs*>(&Message) != nullptr) SetSelected(true);
}

void TGeoArc::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    DragMarkedHandles(Offset);
}

void TGeoArc::SaveKernel(TTextWriter& Out) const { FArc->SaveToText(Out); }

void TGeoArc::LoadKernel(TTextReader& In) { FArc->LoadFromText(In); }

void TGeoArc::DrawExtraHandles(IGraphics& View) {
    const TRPoint& Start = Handle(0);
    if (Start.Marked) return;
    View.SetLineColor(Colors().StartColor());
    View.EditHandlePoint(Start, 0);
}

// ---- TGeoArcCreator ----

TGeoArcCreator::TGeoArcCreator(TGeometryList& List) : TGeoDraggableLineCreator(List, std::make_unique<TPolyline>()) {}

void TGeoArcCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector Point;
        ScreenToWorld(X, Y, Point);
        if (Points->Count() == 3) {
            // The third click: the arc is made, and the click's point starts the next one.
            CreateGeometry();
            Finish(0);
            if (HasEnded()) return;
        } else if (Points->Count() == 0) {
            Points->AddVector(Point);
            Phase = 1;
        } else {
            HideShape();
            Phase = 2;
        }
        // The point that follows the mouse.
        Points->AddVector(Point);
        ShowShape();
    } else if (Button == mbRight) {
        Finish(0);
        if (HasEnded()) return;
    }
    UpdateHint();
}

void TGeoArcCreator::DrawShape() { DrawRubberArc(CurrentSettings().DrawColor); }

void TGeoArcCreator::EraseShape() { DrawRubberArc(CurrentSettings().BackColor); }

void TGeoArcCreator::DrawRubberArc(TColor Color) {
    if (View == nullptr) return;
    View->SetLineColor(Color);
    bool Drawn = false;
    if (Points->Count() > 2) {
        const TMArc Arc = ArcThroughPoints(Points->Point(0)->Vector(), Points->Point(1)->Vector(),
                                           Points->Point(2)->Vector());
        // Points in a line have no arc through them: the points themselves show.
        if (Arc.Radius > 0) {
            DrawArc(Arc, *View);
            Drawn = true;
        }
    }
    if (!Drawn && Points->Count() > 0) Points->Draw(*View);
    for (int I = 0; I < Points->Count(); ++I) View->EditHandlePoint(*Points->Point(I), 0);
}

void TGeoArcCreator::CreateGeometry() {
    HideShape();
    auto Arc = std::make_unique<TGeoArc>();
    Arc->Arc().SetStart(*Points->Point(0));
    Arc->Arc().SetMid(*Points->Point(1));
    Arc->Arc().SetEnd(*Points->Point(2));
    GetDocumentList().Add(std::move(Arc))->Redraw();
}

}  // namespace sarnova
