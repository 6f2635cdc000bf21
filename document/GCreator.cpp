#include "document/GCreator.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

double Distance(TPoint A, TPoint B) { return std::hypot(double(A.X) - B.X, double(A.Y) - B.Y); }

// "Nothing found" of the creators' snapping.
constexpr double NoDistance = 1e33;

}  // namespace

// ---- The running creators ----

// Stands between a view and a running creator: passes the view's input on and frees the creator, and
// itself, once the creator has ended or the view has let it go, after the outermost input call has
// returned. A creator may thus end inside any of its handlers without pulling itself from under them.
class TCreatorHost final : public IEditorInterface {
public:
    explicit TCreatorHost(std::unique_ptr<TGeoDraggableCreator> ACreator) : Creator(std::move(ACreator)) {}

    TGeoDraggableCreator& Get() const { return *Creator; }
    // At program exit the views may be gone already.
    void Abandon() { Creator->View = nullptr; }

    std::uint8_t GetEditorFlags() override {
        return Forward([](TGeoDraggableCreator& C) { return C.GetEditorFlags(); });
    }
    void Attach(IOpenGLView& View) override {
        LetGo = false;
        Forward([&](TGeoDraggableCreator& C) { C.Attach(View); });
    }
    bool Detach(IOpenGLView& View) override {
        LetGo = true;
        return Forward([&](TGeoDraggableCreator& C) { return C.Detach(View); });
    }
    void UpdateCursor() override {
        Forward([](TGeoDraggableCreator& C) { C.UpdateCursor(); });
    }
    bool AllowPopupMenu() override {
        return Forward([](TGeoDraggableCreator& C) { return C.AllowPopupMenu(); });
    }
    void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) override {
        Forward([&](TGeoDraggableCreator& C) { C.SelectPoint(View, X, Y, Shift, Action); });
    }
    void SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) override {
        Forward([&](TGeoDraggableCreator& C) { C.SelectRect(View, Rect, Shift); });
    }
    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Forward([&](TGeoDraggableCreator& C) { C.MouseDown(View, Button, Shift, X, Y); });
    }
    void MouseUp(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Forward([&](TGeoDraggableCreator& C) { C.MouseUp(View, Button, Shift, X, Y); });
    }
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override {
        Forward([&](TGeoDraggableCreator& C) { C.MouseMove(View, Shift, X, Y); });
    }
    void HideFeedback() override {
        Forward([](TGeoDraggableCreator& C) { C.HideFeedback(); });
    }
    void ShowFeedback() override {
        Forward([](TGeoDraggableCreator& C) { C.ShowFeedback(); });
    }
    void GetCursorLocation(IGraphics& View, TPoint Pixel, TMVector& Location) override {
        Forward([&](TGeoDraggableCreator& C) { C.GetCursorLocation(View, Pixel, Location); });
    }
    void KeyDown(TKeyCode& Key, TShiftState Shift) override {
        Forward([&](TGeoDraggableCreator& C) { C.KeyDown(Key, Shift); });
    }
    void KeyUp(TKeyCode& Key, TShiftState Shift) override {
        Forward([&](TGeoDraggableCreator& C) { C.KeyUp(Key, Shift); });
    }
    void KeyPress(char32_t& Key) override {
        Forward([&](TGeoDraggableCreator& C) { C.KeyPress(Key); });
    }

private:
    // Frees this host, and the creator with it: the caller returns at once.
    void Dispose();

    template <class F>
    std::invoke_result_t<F, TGeoDraggableCreator&> Forward(F Call) {
        struct TGuard {
            TCreatorHost& Host;
            ~TGuard() {
                if (--Host.Depth == 0 && (Host.LetGo || Host.Creator->HasEnded())) Host.Dispose();
            }
        } Guard{*this};
        ++Depth;
        return Call(*Creator);
    }

    std::unique_ptr<TGeoDraggableCreator> Creator;
    int Depth = 0;
    bool LetGo = false;
};

namespace {

struct TRunningCreators {
    std::vector<std::unique_ptr<TCreatorHost>> Hosts;
    ~TRunningCreators() {
        for (auto& Host : Hosts) Host->Abandon();
    }
};

TRunningCreators& Running() {
    static TRunningCreators Creators;
    return Creators;
}

}  // namespace

void TCreatorHost::Dispose() {
    auto& Hosts = Running().Hosts;
    const auto It = std::find_if(Hosts.begin(), Hosts.end(), [this](const auto& H) { return H.get() == this; });
    if (It == Hosts.end()) return;
    const std::unique_ptr<TCreatorHost> Self = std::move(*It);
    Hosts.erase(It);
}

TGeoDraggableCreator& RunCreator(std::unique_ptr<TGeoDraggableCreator> Creator, IOpenGLView& View) {
    auto Host = std::make_unique<TCreatorHost>(std::move(Creator));
    TCreatorHost* Editor = Host.get();
    TGeoDraggableCreator& Result = Host->Get();
    Running().Hosts.push_back(std::move(Host));
    View.SetEditorInterface(Editor);
    return Result;
}

int RunningCreatorCount() { return static_cast<int>(Running().Hosts.size()); }

// ---- The creator ----

TGeoDraggableCreator::TGeoDraggableCreator(TGeometryList& AList) : List(&AList) {}

TGeoDraggableCreator::~TGeoDraggableCreator() {
    if (View != nullptr) View->HideSnapMarker();
}

void TGeoDraggableCreator::Attach(IOpenGLView& AView) {
    View = &AView;
    AView.SetInteractionMode(imUser);
    UpdateHint();
}

bool TGeoDraggableCreator::Detach(IOpenGLView& AView) {
    AView.HideSnapMarker();
    View = nullptr;
    return true;
}

std::uint8_t TGeoDraggableCreator::GetEditorFlags() { return efAllMoves | efKeys; }

void TGeoDraggableCreator::UpdateCursor() {
    if (View == nullptr) return;
    TCursor Cursor = crCross;
    if (View->GetCamera().ViewDirectionCode() >= 3) {
        switch (GetPrincipalPlane()) {
            case 0: Cursor = crCreateXY; break;
            case 1: Cursor = crCreateYZ; break;
            case 2: Cursor = crCreateXZ; break;
            default: break;
        }
    }
    View->SetCursor(Cursor);
}

bool TGeoDraggableCreator::AllowPopupMenu() {
    if (Phase == 0) Finish(0);
    return false;
}

void TGeoDraggableCreator::MouseMove(IGraphics&, TShiftState, int X, int Y) {
    HideShape();
    TMVector Point;
    ScreenToWorld(X, Y, Point);
    if (View != nullptr) View->DrawGrid();
    ShowShape();
    UpdateHint();
}

void TGeoDraggableCreator::HideFeedback() {
    HideShape();
    UpdateHint();
}

void TGeoDraggableCreator::ShowFeedback() {
    ShowShape();
    UpdateHint();
}

void TGeoDraggableCreator::GetCursorLocation(IGraphics&, TPoint, TMVector& Location) { Location = CurrentPoint; }

void TGeoDraggableCreator::KeyPress(char32_t& Key) {
    if (Key == 27) Finish(0);
}

void TGeoDraggableCreator::Reset() {}

void TGeoDraggableCreator::HideShape() { EraseShape(); }

void TGeoDraggableCreator::ShowShape() {
    DrawShape();
    if (View == nullptr) return;
    if (Snapped)
        View->ShowSnapMarker(CurrentPoint, SnapMarkerKind);
    else
        View->HideSnapMarker();
}

void TGeoDraggableCreator::CollectSnapPoints(TGeometrySnapInfo& Request) { List->CollectSnapPoints(Request); }

bool TGeoDraggableCreator::GridSnapping() const {
    return (List->GetProjectOptions() & poGridSnap) && (Capabilities & cpGridSnap);
}

bool TGeoDraggableCreator::ObjectSnapping() const {
    return (List->GetProjectOptions() & poObjectSnap) && (Capabilities & cpObjectSnap);
}

void TGeoDraggableCreator::GetDrawingPlane(TMPlane& Plane) {
    Plane = View != nullptr ? View->GetCamera().NearestAxisPlane() : XYPlane;
    TMVector Reference;
    GetReferencePoint(Reference);
    Plane.Distance = VectorDot(Plane.Normal, Reference);
}

TPlaneDirection TGeoDraggableCreator::GetPrincipalPlane() {
    TMPlane Plane;
    GetDrawingPlane(Plane);
    if (Plane.Normal.X == 1) return 1;
    if (Plane.Normal.Y == 1) return 2;
    if (Plane.Normal.Z == 1) return 0;
    return 6;
}

void TGeoDraggableCreator::ScreenToWorld(int X, int Y, TMVector& Point) {
    if (View == nullptr) {
        Point = CurrentPoint;
        return;
    }
    const TPoint Pixel{X, Y};
    double GridDistance = NoDistance;
    double ObjectDistance = NoDistance;
    TMPlane Plane;
    GetDrawingPlane(Plane);
    CurrentPoint = IntersectionPointOfLineAndPlane(View->ScreenToRay(X, Y), Plane);
    const bool Grid = GridSnapping();
    const bool Objects = ObjectSnapping();
    TMVector GridPoint;
    TMVector ObjectPoint;
    if (Grid) {
        GridPoint = View->GetGrid().SnapPoint(CurrentPoint);
        GridDistance = Distance(View->WorldToScreenVector(GridPoint), Pixel);
    }
    if (Objects) {
        ObjectPoint = CurrentPoint;
        if (SnapToObjects(*View, Pixel, ObjectPoint))
            ObjectDistance = Distance(View->WorldToScreenVector(ObjectPoint), Pixel);
    }
    if ((!Grid && !Objects) || (!Grid && ObjectDistance >= NoDistance)) {
        Snapped = false;
    } else if (GridDistance >= ObjectDistance) {
        CurrentPoint = ObjectPoint;
        Snapped = true;
    } else {
        CurrentPoint = GridPoint;
        Snapped = false;
    }
    Point = CurrentPoint;
}

bool TGeoDraggableCreator::SnapToObjects(IGraphics& AView, TPoint Pixel, TMVector& Point) {
    TObjectSnap Found;
    const auto Collect = [this](TGeometrySnapInfo& Request) {
        CollectSnapPoints(Request);
        List->CollectSnapPoints(Request);
    };
    if (!FindObjectSnap(AView, Pixel, *this, Point, Collect, Found)) {
        SnapTarget.SetGeometry(nullptr);
        return false;
    }
    Point = Found.Point;
    SnapMarkerKind = Found.MarkerKind;
    SnapTarget.SetGeometry(Found.Target);
    return true;
}

void TGeoDraggableCreator::UpdateHint() {
    if (View == nullptr) return;
    if (Snapped && SnapTarget.GetGeometry() != nullptr) {
        TGeometry& Target = *SnapTarget.GetGeometry();
        View->DoHintInformation("Snapping to " + Target.GetDescription() + ":" + Target.GetName());
    } else {
        View->DoHintInformation("Left Click to add Points, Right Click or Esc to Finish");
    }
}

void TGeoDraggableCreator::Finish(std::uint8_t Code) {
    if (Ended) return;
    if (Code == 0) Code = Phase != 0 ? 1 : 2;
    if (Code == 1) {
        HideShape();
        Reset();
        if (View != nullptr) {
            View->UpdateCursor();
            View->HideSnapMarker();
        }
        List->InvalidateViews();
        Phase = 0;
        UpdateHint();
    } else if (Code == 2) {
        HideShape();
        // From here on nothing of the creator is touched: whoever runs it frees it once the input
        // call in progress has returned.
        IOpenGLView* const OldView = View;
        TGeometryList* const Document = List;
        Ended = true;
        if (OldView != nullptr) {
            OldView->SetEditorInterface(nullptr);
            OldView->UpdateCursor();
            OldView->HideSnapMarker();
        }
        Document->InvalidateViews();
    }
}

// ---- Line creator ----

TGeoDraggableLineCreator::TGeoDraggableLineCreator(TGeometryList& AList, std::unique_ptr<TPolyline> APoints)
    : TGeoDraggableCreator(AList), Points(APoints ? std::move(APoints) : std::make_unique<TPolyline>()) {}

TGeoDraggableLineCreator::~TGeoDraggableLineCreator() = default;

void TGeoDraggableLineCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector Point;
        ScreenToWorld(X, Y, Point);
        if (Points->Count() == 0)
            Points->AddVector(Point);
        else
            HideShape();
        Phase = 2;
        // The new rubber-band point; the previous one stays where it was clicked.
        Points->AddVector(Point);
        ShowShape();
    } else if (Button == mbRight) {
        HideShape();
        if (Points->Count() > 2) {
            Points->Delete(Points->Count() - 1);
            CreateGeometry();
        }
        Finish(0);
        if (HasEnded()) return;
    }
    UpdateHint();
}

void TGeoDraggableLineCreator::MouseMove(IGraphics&, TShiftState, int X, int Y) {
    HideShape();
    TMVector Point;
    ScreenToWorld(X, Y, Point);
    if (Points->Count() > 0) Points->Last()->SetVector(Point);
    if (View != nullptr) View->DrawGrid();
    ShowShape();
    UpdateHint();
}

void TGeoDraggableLineCreator::GetReferencePoint(TMVector& Point) {
    const int N = Points->Count();
    Point = N >= 2 ? Points->Point(N - 2)->Vector() : ZeroVector;
}

void TGeoDraggableLineCreator::Reset() { Points->Clear(); }

void TGeoDraggableLineCreator::DrawShape() { DrawPoints(CurrentSettings().DrawColor); }

void TGeoDraggableLineCreator::EraseShape() { DrawPoints(CurrentSettings().BackColor); }

void TGeoDraggableLineCreator::DrawPoints(TColor Color) {
    if (View == nullptr) return;
    View->SetLineColor(Color);
    if (Points->Count() == 0) {
        // Before the first click only the snapped grid point shows.
        if (GridSnapping() && View->GetInteractionMode() == imUser)
            View->EditHandle(0, CurrentPoint.X, CurrentPoint.Y, CurrentPoint.Z);
        return;
    }
    View->Polyline(*Points);
    Points->Draw(*View);
    for (int I = 0; I < Points->Count(); ++I) View->EditHandlePoint(*Points->Point(I), 0);
}

// ---- Rectangle creator ----

void TGeoDraggableRectCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector Point;
        ScreenToWorld(X, Y, Point);
        if (Phase == 0) {
            FirstCorner = Point;
            Phase = 1;
        } else if (Phase == 1) {
            // The second corner is where the last mouse move put it.
            HideShape();
            ComputeRectangle();
            if (std::fabs(Extents.MaxU - Extents.MinU) > 0.0001 && std::fabs(Extents.MaxV - Extents.MinV) > 0.0001)
                CreateGeometry();
            Finish(0);
        }
    } else if (Button == mbRight) {
        Finish(0);
    }
}

void TGeoDraggableRectCreator::MouseMove(IGraphics&, TShiftState, int X, int Y) {
    if (Phase == 1) {
        HideShape();
        ScreenToWorld(X, Y, SecondCorner);
        if (View != nullptr) View->DrawGrid();
        ShowShape();
    } else if (Phase == 0) {
        ScreenToWorld(X, Y, FirstCorner);
    }
}

void TGeoDraggableRectCreator::GetReferencePoint(TMVector& Point) { Point = Phase == 1 ? FirstCorner : ZeroVector; }

void TGeoDraggableRectCreator::ComputeRectangle() {
    const TMPlane Plane = View != nullptr ? View->GetCamera().NearestAxisPlane() : XYPlane;
    TMVector U;
    TMVector V;
    PlaneAxes(Plane.Normal, U, V);
    const double U1 = VectorDot(FirstCorner, U);
    const double U2 = VectorDot(SecondCorner, U);
    const double V1 = VectorDot(FirstCorner, V);
    const double V2 = VectorDot(SecondCorner, V);
    Extents = MakeRect2D(std::min(U1, U2), std::min(V1, V2), std::max(U1, U2), std::max(V1, V2));
    Corners = PlaneRectangleCorners(Plane, Extents);
}

void TGeoDraggableRectCreator::DrawShape() {
    if (Phase != 1) return;
    ComputeRectangle();
    DrawCorners(CurrentSettings().DrawColor);
}

void TGeoDraggableRectCreator::EraseShape() {
    // Erased where it was drawn, so the corners are not recomputed.
    if (Phase == 1) DrawCorners(CurrentSettings().BackColor);
}

void TGeoDraggableRectCreator::DrawCorners(TColor Color) {
    if (View == nullptr) return;
    View->SetLineColor(Color);
    View->LineStartVector(Corners[0]);
    for (int I : {1, 2, 3, 0}) View->LineNextVector(Corners[static_cast<std::size_t>(I)]);
    View->LineFinish();
}

}  // namespace sarnova
