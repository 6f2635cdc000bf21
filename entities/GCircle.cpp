#include "entities/GCircle.h"

#include "document/GeometryList.h"
#include "entities/GConversions.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonBuild.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const MeshCaption = "Mesh Circle";

void MeshSelectedCircles(TGeometryList& List) {
    ForEachSelected<TGeoCircle>(List, [](TGeoCircle& Circle) { Circle.MeshCircle(); });
    List.InvalidateViews();
}

}  // namespace

// ---- TGeoCircle ----

TGeoCircle::TGeoCircle() : FCircle(std::make_unique<TCircle>()) {}

TGeoCircle::~TGeoCircle() = default;

std::unique_ptr<TPolyline> TGeoCircle::MakePolyline() const { return FCircle->AsPolyline(); }

void TGeoCircle::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Circle", GetImageIndex(), List, [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
        return std::make_unique<TGeoCircleCreator>(Document);
    });
}

void TGeoCircle::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoCircle>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Convert Circle to Polylines", List, ConvertSelectedToPolylines<TGeoCircle>);
    AddDocumentItem(Menu, "Mesh Circles", List, MeshSelectedCircles, IsClassRegistered(PolygonListKeyword));
}

void TGeoCircle::SetCentreCoordinate(int Axis, double Value) {
    if (Axis < 0 || Axis > 2) return;
    ChangeInFrame([&] {
        TMVector Centre = FCircle->Point(0)->Vector();
        (Axis == 0 ? Centre.X : Axis == 1 ? Centre.Y : Centre.Z) = Value;
        FCircle->SetPoint(0, Centre);
    });
}

void TGeoCircle::SetRadius(double Value) {
    ChangeInFrame([&] { FCircle->SetRadius(Value); });
}

void TGeoCircle::MeshCircle() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    if (const std::unique_ptr<TPolygonList> Facets = TriangulatePolyline(DisplayPolyline()))
        AddPolygonListEntity(*List, *Facets);
}

void TGeoCircle::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Convert Circle to Polyline", [this](TMenuItem&) { ConvertToPolyline(); });
    AddMenuItem(MeshCaption, [this](TMenuItem&) { MeshCircle(); });
    UpdateMenuItems(Root);
}

void TGeoCircle::UpdateMenuItems(TMenuItem& Root) {
    TGeoDefinedCurve::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find(MeshCaption)) Item->Enabled = IsClassRegistered(PolygonListKeyword);
}

IGeometryFrame* TGeoCircle::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(CircleFrameName, *this, Owner)) return Frame;
    return TGeoDefinedCurve::CreateFrame(Owner);
}

void TGeoCircle::Transform(const TMMatrix& M) {
    BeginChange();
    FCircle->Assign(*FCircle->Transformed(M));
    EndChange();
}

void TGeoCircle::Assign(const TGeometry& Source) {
    TGeoDefinedCurve::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoCircle*>(&Source)) FCircle->Assign(*Other->FCircle);
}

void TGeoCircle::Query(TGeometryQuery& Query) { AnswerQuery(Query, qkCircle, FCircle.get()); }

void TGeoCircle::HandleMessage(TGeoMessage& Message) {
    TGeoDefinedCurve::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectCircles*>(&Message) != nullptr) SetSelected(true);
}

bool TGeoCircle::DraggingQuadrant() const {
    const int Index = GetGrabbedIndex();
    return DragCopy && Index >= 1 && Index <= 4;
}

void TGeoCircle::SnapPoint(IGraphics& View, TPoint& ScreenPoint, TMVector& Point) {
    TGeoDefinedCurve::SnapPoint(View, ScreenPoint, Point);
    if (!DraggingQuadrant()) return;
    Point = PointOnPlaneClosestToPoint(DragPlane, Point);
    ScreenPoint = View.WorldToScreenVector(Point);
}

void TGeoCircle::BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                           const TMVector& Offset) {
    TGeoDefinedCurve::BeginDrag(ScreenPoint, Point, View, Shift, Offset);
    if (!DraggingQuadrant()) return;
    const int Index = GetGrabbedIndex();
    FixedPoint = FCircle->Point(FCircle->OppositePoint(Index))->Vector();
    const TMVector D = VectorNormalise(VectorFromTo(DragCopy->Point(Index)->Vector(), FixedPoint));
    // The normal the points are laid from: the circle keeps facing that side as it is dragged.
    const TMVector N = VectorNegate(FCircle->Normal());
    const TMVector P = VectorNormalise(VectorCross(N, D));
    DragPlane = {P, VectorDot(P, FCircle->Point(0)->Vector())};
}

void TGeoCircle::Drag(TPoint, const TMVector& Point, IGraphics&, TShiftState, const TMVector&) {
    if (!DragCopy) return;
    if (!DraggingQuadrant()) {
        FCircle->SetPoint(0, Point);
    } else {
        const TMVector Q = PointOnPlaneClosestToPoint(DragPlane, Point);
        const TMVector Diameter = VectorNormalise(VectorFromTo(Q, FixedPoint));
        const TMVector Normal = VectorNormalise(VectorCross(Diameter, DragPlane.Normal));
        FCircle->SetFrame(MakeCircle(VectorMidpoint(Q, FixedPoint), Normal, VectorDistance(Q, FixedPoint) / 2));
    }
    Dragged();
}

void TGeoCircle::SaveKernel(TTextWriter& Out) const { FCircle->SaveToText(Out); }

void TGeoCircle::LoadKernel(TTextReader& In) { FCircle->LoadFromText(In); }

// ---- TGeoCircleCreator ----

TGeoCircleCreator::TGeoCircleCreator(TGeometryList& List) : TGeoDraggableCreator(List) {}

void TGeoCircleCreator::GetReferencePoint(TMVector& Point) { Point = Phase == 1 ? Centre : ZeroVector; }

void TGeoCircleCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector Point;
        ScreenToWorld(X, Y, Point);
        if (Phase == 1) {
            CreateGeometry();
            Finish(0);
            if (HasEnded()) return;
        } else {
            HideShape();
            Centre = Rim = Point;
            Phase = 1;
            ShowShape();
        }
    } else if (Button == mbRight) {
        Finish(0);
        if (HasEnded()) return;
    }
    UpdateHint();
}

void TGeoCircleCreator::MouseMove(IGraphics&, TShiftState, int X, int Y) {
    HideShape();
    TMVector Point;
    ScreenToWorld(X, Y, Point);
    if (Phase == 1) {
        Rim = Point;
        if (View != nullptr) View->DrawGrid();
    } else {
        Centre = Point;
    }
    ShowShape();
    UpdateHint();
}

void TGeoCircleCreator::DrawShape() { DrawRubberCircle(CurrentSettings().DrawColor); }

void TGeoCircleCreator::EraseShape() { DrawRubberCircle(CurrentSettings().BackColor); }

void TGeoCircleCreator::DrawRubberCircle(TColor Color) {
    if (Phase != 1 || View == nullptr) return;
    TMPlane Plane;
    GetDrawingPlane(Plane);
    Circle = MakeCircle(Centre, Plane.Normal, VectorDistance(Centre, Rim));
    View->SetLineColor(Color);
    DrawCircle(Circle, *View);
    View->EditHandle(0, Centre.X, Centre.Y, Centre.Z);
}

void TGeoCircleCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoCircle>();
    Entity->Circle().SetFrame(Circle);
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

}  // namespace sarnova
