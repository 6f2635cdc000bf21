// A 3-D view for the editing tests, without a window: an orthographic camera that by default looks
// down the Z axis with 10 pixels per unit and the world origin at pixel (100, 100), x to the right and
// y up on screen, so pixel (100 + 10 x, 100 - 10 y) shows the world point (x, y, z). It records what
// the editors ask of it and routes mouse and key input to its editor the way the real view does.
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "foundation/ViewContract.h"
#include "foundation/EditPlaneSets.h"
#include "foundation/Geom.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova::test {

class TFakeCamera : public ICamera {
public:
    TMVector Direction{0, 0, -1};
    TMVector Right{1, 0, 0};
    TMVector Up{0, 1, 0};
    double Scale = 10;
    TPoint Centre{100, 100};

    // Looks along Dir with UpHint upwards on screen.
    void Look(const TMVector& Dir, const TMVector& UpHint) {
        Direction = VectorNormalise(Dir);
        Right = VectorNormalise(VectorCross(UpHint, Direction));  // Direction x UpHint
        Up = VectorCross(Direction, Right);                        // Right x Direction
    }

    TPoint ToScreen(const TMVector& P) const {
        return {Centre.X + static_cast<int>(std::lround(Scale * VectorDot(P, Right))),
                Centre.Y - static_cast<int>(std::lround(Scale * VectorDot(P, Up)))};
    }
    TMLine Ray(TPoint Pixel) const {
        const TMVector P = VectorAdd(VectorScale(Right, (Pixel.X - Centre.X) / Scale),
                                     VectorScale(Up, (Centre.Y - Pixel.Y) / Scale));
        return {P, Direction};
    }

    double WorldPerPixel(const TMVector&) override { return 1 / Scale; }
    TPlaneDirection ViewDirectionCode() const override {
        const TMVector& D = Direction;
        if (D.X == 0 && D.Y == 0 && std::fabs(D.Z) == 1) return 0;
        if (std::fabs(D.X) == 1 && D.Y == 0 && D.Z == 0) return 1;
        if (D.X == 0 && std::fabs(D.Y) == 1 && D.Z == 0) return 2;
        return 6;
    }
    TEditPlaneSet FacingAxisPlanes() const override {
        TEditPlaneSet Set = 0;
        if (std::fabs(Direction.Z) >= 0.5) Set |= 1u << epXY;
        if (std::fabs(Direction.X) >= 0.5) Set |= 1u << epYZ;
        if (std::fabs(Direction.Y) >= 0.5) Set |= 1u << epZX;
        return Set;
    }
    TEditPlaneKind NearestAxisPlaneCode() const override {
        const TMVector N = NearestAxis(Direction);
        return N.X != 0 ? epYZ : N.Y != 0 ? epZX : epXY;
    }
    TMVector ScreenToWorldConstrained(const TMVector& Base, TPoint Pixel, TEditPlaneKind Code) override {
        TEditPlane Constraint;
        Constraint.Kind = Code;
        return ScreenToWorldEditConstraint(Base, Pixel, Constraint);
    }
    TMVector ScreenToWorldEditConstraint(const TMVector& Base, TPoint Pixel, const TEditPlane& C) override {
        const TMLine R = Ray(Pixel);
        const TMVector Normals[] = {Direction, ZAxisVector, XAxisVector, YAxisVector};
        const TMVector Axes[] = {XAxisVector, YAxisVector, ZAxisVector};
        if (C.Kind <= epZX) return IntersectionPointOfLineAndPlane(R, PlaneFromNormalAndPoint(Normals[C.Kind], Base));
        if (C.Kind <= epAlongZ) return PointOnLineClosestToLine({Base, Axes[C.Kind - epAlongX]}, R);
        if (C.Kind == epInPlane)
            return IntersectionPointOfLineAndPlane(R, PlaneFromNormalAndPoint(C.Plane.Normal, Base));
        if (C.Kind == epAlongVector) return PointOnLineClosestToLine({Base, C.Direction}, R);
        return R.Point;
    }
    // Deliberately not of unit length.
    TMVector RightVector() const override { return VectorScale(Right, 5); }
    TMVector UpVector() const override { return VectorScale(Up, 5); }
    TMPlane NearestAxisPlane() const override { return {NearestAxis(Direction), 0}; }
    TMPlane ViewPlane() const override { return PlaneFromNormalAndPoint(Direction, VectorScale(Direction, -100)); }
};

class TFakeGrid : public IViewGrid {
public:
    double GridSize = 2;
    bool Enabled = true;

    double GetGridSize() const override { return GridSize; }
    bool GetEnabled() const override { return Enabled; }
    TMVector SnapPoint(const TMVector& P) const override {
        return {GridRound(P.X, GridSize), GridRound(P.Y, GridSize), GridRound(P.Z, GridSize)};
    }
    TMVector SnapPointConstrained(const TMVector& P, TEditPlaneKind Code) const override {
        const TMVector S = SnapPoint(P);
        switch (Code) {
            case epXY: return {S.X, S.Y, P.Z};
            case epYZ: return {P.X, S.Y, S.Z};
            case epZX: return {S.X, P.Y, S.Z};
            case epAlongX: return {S.X, P.Y, P.Z};
            case epAlongY: return {P.X, S.Y, P.Z};
            case epAlongZ: return {P.X, P.Y, S.Z};
            default: return P;
        }
    }
};

// One drawing call: its name, the points it drew and the colour it set.
struct TFakeDraw {
    std::string Name;
    std::vector<TMVector> Points;
    TColor Color = 0;
};

class TFakeView : public IOpenGLView {
public:
    TFakeCamera Camera;
    TFakeGrid Grid;
    TCameraMode Projection = cmParallel;
    TInteractionMode Mode = imUser;
    TCursor Cursor = crDefault;
    IEditorInterface* Editor = nullptr;
    TPoint Mouse;
    TColor LineColor = 0;
    double LineWidth = 1;
    std::vector<std::string> Hints;
    std::vector<TFakeDraw> Drawn;
    bool SnapMarkerShown = false;
    TMVector SnapMarkerAt;
    std::uint8_t SnapMarkerKind = 0;
    bool EditMarkerShown = false;
    TMVector EditMarkerAt;
    TEditPlaneKind EditMarkerKind = epView;
    int GridDraws = 0;
    // A right press opened the popup menu.
    bool PopupShown = false;

    ~TFakeView() override { SetEditorInterface(nullptr); }

    std::string Hint() const { return Hints.empty() ? std::string() : Hints.back(); }
    int CountDrawn(const std::string& Name) const {
        int N = 0;
        for (const auto& D : Drawn) N += D.Name == Name;
        return N;
    }

    // ---- Input, routed as the real view routes it ----
    void Press(TMouseButton Button, int X, int Y, TShiftState Shift = 0) {
        Mouse = {X, Y};
        Held |= Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle;
        PopupShown = false;
        if (Button == mbRight) PopupShown = Editor == nullptr || Editor->AllowPopupMenu();
        if (Editor == nullptr || PopupShown || Button == mbMiddle) return;
        const std::uint8_t Flags = Editor->GetEditorFlags();
        if (!(Flags & efSelectPoints)) {
            Editor->MouseDown(*this, Button, Shift | Held, X, Y);
            return;
        }
        TSelectAction Action = (Shift & ssShift) ? saDragRectangle : saDoNothing;
        if (Action == saDoNothing) Editor->SelectPoint(*this, X, Y, Shift | Held, Action);
        if (Action == saDragRectangle) {
            Band = {X, Y, X, Y};
            Banding = true;
        } else if (Action == saMouseDrag || (Flags & efAllMoves)) {
            Editor->MouseDown(*this, Button, Shift | Held, X, Y);
        }
    }
    void Release(TMouseButton Button, int X, int Y, TShiftState Shift = 0) {
        Mouse = {X, Y};
        Held &= static_cast<TShiftState>(~(Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle));
        if (Editor == nullptr) return;
        if (Banding) {
            Banding = false;
            const TRect R{std::min(Band.Left, X), std::min(Band.Top, Y), std::max(Band.Left, X), std::max(Band.Top, Y)};
            Editor->SelectRect(*this, R, Shift);
        } else {
            Editor->MouseUp(*this, Button, Shift, X, Y);
        }
    }
    void Move(int X, int Y, TShiftState Shift = 0) {
        Mouse = {X, Y};
        if (Editor == nullptr || Banding) return;
        const std::uint8_t Flags = Editor->GetEditorFlags();
        if ((Flags & efAllMoves) || ((Flags & efDragMoves) && Held != 0)) Editor->MouseMove(*this, Shift | Held, X, Y);
    }
    void KeyDown(TKeyCode Key, TShiftState Shift = 0) {
        if (Editor != nullptr && (Editor->GetEditorFlags() & efKeys)) Editor->KeyDown(Key, Shift);
    }
    void KeyUp(TKeyCode Key, TShiftState Shift = 0) {
        if (Editor != nullptr && (Editor->GetEditorFlags() & efKeys)) Editor->KeyUp(Key, Shift);
    }
    void KeyPress(char32_t Key) {
        if (Editor != nullptr && (Editor->GetEditorFlags() & efKeys)) Editor->KeyPress(Key);
    }

    // ---- IOpenGLView ----
    TInteractionMode GetInteractionMode() const override { return Mode; }
    void SetInteractionMode(TInteractionMode Value) override { Mode = Value; }
    TCursor GetCursor() const override { return Cursor; }
    void SetCursor(TCursor Value) override { Cursor = Value; }
    void UpdateCursor() override {
        if (Mode != imUser && Mode != imNone) return;
        Cursor = crArrow;
        if (Editor != nullptr) Editor->UpdateCursor();
    }
    TPoint GetMousePosition() const override { return Mouse; }
    ICamera& GetCamera() override { return Camera; }
    IViewGrid& GetGrid() override { return Grid; }
    TCameraMode GetProjection() const override { return Projection; }
    void MakeCurrent() override {}
    void Render() override {}
    void ZoomAll() override {}
    void SetEditorInterface(IEditorInterface* Value) override {
        if (Value == Editor) return;
        if (Editor != nullptr) Editor->Detach(*this);
        Editor = Value;
        if (Editor != nullptr)
            Editor->Attach(*this);
        else
            DoHintInformation(
                "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection");
        UpdateCursor();
    }
    void BeginOverlayDraw() override {}
    void EndOverlayDraw() override {}
    bool IsOverlayDrawing() const override { return false; }
    void PresentIfDrawn() override {}
    void DrawGrid() override { ++GridDraws; }
    void DoHintInformation(const std::string& Text) override { Hints.push_back(Text); }
    void ShowSnapMarker(const TMVector& P, std::uint8_t Kind) override {
        SnapMarkerShown = true;
        SnapMarkerAt = P;
        SnapMarkerKind = Kind;
    }
    void HideSnapMarker() override { SnapMarkerShown = false; }
    void ShowEditMarker(const TMVector& P, const TEditPlane& Constraint) override {
        EditMarkerShown = true;
        EditMarkerAt = P;
        EditMarkerKind = Constraint.Kind;
    }
    void HideEditMarker() override { EditMarkerShown = false; }

    // ---- IGraphics: conversions through the camera, drawing recorded ----
    TPoint WorldToScreen(double X, double Y, double Z) override { return Camera.ToScreen({X, Y, Z}); }
    TPoint WorldToScreenVector(const TMVector& V) override { return Camera.ToScreen(V); }
    TPoint WorldToScreenPoint(const TRPoint& P) override { return Camera.ToScreen(P.Vector()); }
    TMVector ScreenToWorld(int X, int Y) override { return Camera.Ray({X, Y}).Point; }
    TMVector ScreenToWorldPoint(TPoint P) override { return Camera.Ray(P).Point; }
    TMLine ScreenToRay(int X, int Y) override { return Camera.Ray({X, Y}); }
    TMLine ScreenToRayPoint(TPoint P) override { return Camera.Ray(P); }

    TColor GetLineColor() override { return LineColor; }
    TColor GetFillColor() override { return 0; }
    TColor GetBackColor() override { return 0; }
    void SetLineColor(TColor C) override {
        LineColor = C;
        Drawn.push_back({"SetLineColor", {}, C});
    }
    void SetFillColor(TColor) override {}
    void SetBackColor(TColor) override {}
    void SetLineWidth(double Width) override { LineWidth = Width; }
    void Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) override {
        Record("Line", {{X1, Y1, Z1}, {X2, Y2, Z2}});
    }
    void Line2D(double X1, double Y1, double X2, double Y2) override { Line(X1, Y1, 0, X2, Y2, 0); }
    void LinePoints(const TRPoint& P1, const TRPoint& P2) override { Record("Line", {P1.Vector(), P2.Vector()}); }
    void LineVectors(const TMVector& P1, const TMVector& P2) override { Record("Line", {P1, P2}); }
    void LineStart(double X, double Y, double Z) override { Record("LineStart", {{X, Y, Z}}); }
    void LineStartPoint(const TRPoint& P) override { Record("LineStart", {P.Vector()}); }
    void LineStartVector(const TMVector& V) override { Record("LineStart", {V}); }
    void LineNext(double X, double Y, double Z) override { Record("LineNext", {{X, Y, Z}}); }
    void LineNextPoint(const TRPoint& P) override { Record("LineNext", {P.Vector()}); }
    void LineNextVector(const TMVector& V) override { Record("LineNext", {V}); }
    void LineFinish() override { Record("LineFinish", {}); }
    void Polyline(const TRPoints& Points) override {
        std::vector<TMVector> P;
        for (int I = 0; I < Points.Count(); ++I) P.push_back(Points.Point(I)->Vector());
        Record("Polyline", P);
    }
    void Polygon(const TPolygon&) override { Record("Polygon", {}); }
    void RenderObject(IRenderable&) override {}
    void EditHandle(int, double X, double Y, double Z) override { Record("EditHandle", {{X, Y, Z}}); }
    void EditHandlePoint(const TRPoint& P, int) override { Record("EditHandle", {P.Vector()}); }
    void VectorPoints(const TRPoint&, const TRPoint&, double, bool) override {}
    void Vector(const TMVector&, const TMVector&, double, bool) override {}
    void TextOut(const std::string&, double, double, double) override {}
    double TextWidth(const std::string& Text) override { return 8.0 * Text.size(); }
    double TextHeight(const std::string&) override { return 16; }

private:
    void Record(const char* Name, std::vector<TMVector> Points) {
        Drawn.push_back({Name, std::move(Points), LineColor});
    }

    TShiftState Held = 0;
    bool Banding = false;
    TRect Band;
};

}  // namespace sarnova::test
