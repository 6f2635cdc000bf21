// The interactive tool that draws a new curve-network curve, tying it into the network as it goes.
#include "curvenet/GXTCurve.h"

#include "curvenet/XTReferencePoints.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// The entity of List holding Node; nullptr for a node outside any entity of that list.
TGeoXTCurve* CurveEntityIn(const TGeometryList& List, TXTNode* Node) {
    auto* Entity = Node ? dynamic_cast<TGeoXTCurve*>(Node->Manager) : nullptr;
    return Entity && Entity->GetOwnerList() == &List ? Entity : nullptr;
}

}  // namespace

void TGeoXTCurve::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "D-Azadavaz Curve", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoXTCurveCreator>(Document);
                   });
}

TGeoXTCurveCreator::TGeoXTCurveCreator(TGeometryList& AList)
    : TGeoDraggableCreator(AList), FWorkingCurve(std::make_unique<TXTCurve>()) {
    FWorkingCurve->ElasticDisabled = true;
    FWorkingCurve->SetName("XTCurveCreator1");
    FWorkingCurve->Manager = this;
    FWorkingCurve->AddPointAt(ZeroVector);
}

TGeoXTCurveCreator::~TGeoXTCurveCreator() {
    // The query looks at the working curve: it goes first.
    FSnapQuery.reset();
    FWorkingCurve.reset();
}

TXTNode* TGeoXTCurveCreator::FindNode(const std::string& Name) {
    TGeometry* Found = List->FindByName(Name);
    auto* Curve = dynamic_cast<TGeoXTCurve*>(Found);
    return Curve ? &Curve->Curve() : nullptr;
}

std::unique_ptr<TXTNodeList> TGeoXTCurveCreator::Nodes() {
    auto Result = std::make_unique<TXTNodeList>();
    for (int I = 0; I < List->Count(); ++I)
        if (auto* Curve = dynamic_cast<TGeoXTCurve*>(&List->Items(I))) Result->Add(&Curve->Curve());
    return Result;
}

TXTPoint* TGeoXTCurveCreator::RubberVertex() const {
    const int N = FWorkingCurve->PointCount();
    return N > 0 ? FWorkingCurve->PointAt(N - 1) : nullptr;
}

void TGeoXTCurveCreator::UpdateCursor() {
    if (View != nullptr && ObjectSnapping() && FSnapQuery && FSnapResult.Kind != skNone) {
        const TCursor Cursor = FSnapQuery->Cursor();
        if (Cursor != View->GetCursor()) View->SetCursor(Cursor);
        return;
    }
    TGeoDraggableCreator::UpdateCursor();
}

void TGeoXTCurveCreator::CollectSnapPoints(TGeometrySnapInfo& Request) {
    TXTPoint* Rubber = RubberVertex();
    if (!FSnapQuery && Request.View != nullptr) {
        FSnapQuery = std::make_unique<TXTSnapQuery>(FWorkingCurve.get(), soVertices | soCurves, *Request.View);
        FSnapQuery->OnFilter = [this](TXTNode* Node) {
            const TGeoXTCurve* Entity = CurveEntityIn(*List, Node);
            return Entity != nullptr && Entity->GetDisplayState() == dsNormal;
        };
    }
    if (FSnapQuery && Rubber != nullptr) {
        const TSnapOptions Kinds = Request.SnapTypes();
        FSnapQuery->Options = static_cast<std::uint8_t>((Kinds[stPoint] ? soVertices : 0) | (Kinds[stCurve] ? soCurves : 0));
        // The query answers for the one selected vertex.
        Rubber->Selected = true;
        try {
            FSnapQuery->Query(Request.ScreenPoint, Request.Position, FSnapResult);
        } catch (...) {
            Rubber->Selected = false;
            throw;
        }
        Rubber->Selected = false;
        if (dynamic_cast<TXTReferencePoint*>(FSnapResult.Point)) return;
        if (FSnapResult.Kind == skVertex)
            Request.TryPoint(FSnapResult.WorldPosition, stCurveNetPoint, CurveEntityIn(*List, FSnapResult.Curve));
        else if (FSnapResult.Kind == skCurve)
            Request.TryPoint(FSnapResult.WorldPosition, stCurveNetCurve, CurveEntityIn(*List, FSnapResult.Curve));
    }
    TGeoDraggableCreator::CollectSnapPoints(Request);
}

void TGeoXTCurveCreator::MouseMove(IGraphics&, TShiftState, int X, int Y) {
    if (FWorkingCurve->PointCount() > 0) {
        HideShape();
        if (TGeometry* Target = GetSnapTarget(); Target != nullptr && View != nullptr) Target->DrawEntity(*View);
        TMVector World;
        ScreenToWorld(X, Y, World);
        RubberVertex()->SetPosition(World);
        if (View != nullptr) View->DrawGrid();
        ShowShape();
    }
    UpdateCursor();
    UpdateHint();
}

void TGeoXTCurveCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector World;
        ScreenToWorld(X, Y, World);
        HideShape();
        // Only the offer the view's snapping chose ties the vertex to its curve.
        const bool Chosen = FSnapResult.Curve != nullptr && GetSnapTarget() != nullptr &&
                            GetSnapTarget() == CurveEntityIn(*List, FSnapResult.Curve);
        if (ObjectSnapping() && (FSnapResult.Kind == skVertex || FSnapResult.Kind == skCurve) && Chosen &&
            FSnapResult.Point == RubberVertex())
            FWorkingCurve->ApplySnap(FSnapResult);
        FSnapResult = TXTSnapTarget();
        Phase = FWorkingCurve->PointCount() == 1 ? 1 : 2;
        // The new rubber vertex; the clicked one stays where it was put.
        FWorkingCurve->AddPointAt(World);
        ShowShape();
        UpdateCursor();
    } else if (Button == mbRight) {
        HideShape();
        if (FWorkingCurve->PointCount() > 2) {
            FWorkingCurve->DeletePoint(FWorkingCurve->PointCount() - 1);
            CreateGeometry();
        }
        Finish(0);
        if (HasEnded()) return;
    }
    UpdateHint();
}

void TGeoXTCurveCreator::GetReferencePoint(TMVector& Point) {
    const int N = FWorkingCurve->PointCount();
    Point = N >= 2 ? FWorkingCurve->PointAt(N - 2)->GetPosition() : ZeroVector;
}

void TGeoXTCurveCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoXTCurve>();
    Entity->Curve().Assign(*FWorkingCurve);
    Entity->SetName("XTCurve1");
    List->Add(std::move(Entity))->Redraw();
}

void TGeoXTCurveCreator::Reset() {
    TGeoDraggableCreator::Reset();
    FSnapResult = TXTSnapTarget();
    if (FSnapQuery) FSnapQuery->ClearTargets();
    FWorkingCurve->ClearPoints();
    FWorkingCurve->AddPointAt(ZeroVector);
}

void TGeoXTCurveCreator::DrawShape() { DrawWorkingCurve(CurrentSettings().DrawColor); }

void TGeoXTCurveCreator::EraseShape() { DrawWorkingCurve(CurrentSettings().BackColor); }

void TGeoXTCurveCreator::DrawWorkingCurve(TColor Color) {
    if (View == nullptr) return;
    View->SetLineColor(Color);
    const int N = FWorkingCurve->PointCount();
    if (N == 1 && GridSnapping() && View->GetInteractionMode() == imUser)
        View->EditHandle(0, CurrentPoint.X, CurrentPoint.Y, CurrentPoint.Z);
    if (N < 2) return;
    try {
        FWorkingCurve->Draw(*View);
        FWorkingCurve->DrawSegments(*View);
    } catch (const EError&) {
        // A curve that cannot be built yet shows its vertices only.
    }
    for (int I = 0; I < N; ++I) {
        const TMVector P = FWorkingCurve->PointAt(I)->GetPosition();
        View->EditHandle(0, P.X, P.Y, P.Z);
    }
}

}  // namespace sarnova
