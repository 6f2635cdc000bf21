#include "entities/GCusMesh.h"

#include <algorithm>

#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/BlockCount.h"
#include "foundation/Box.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "surfaces/Surface.h"

namespace sarnova {

TGeoCustomMesh::TGeoCustomMesh() = default;

TGeoCustomMesh::~TGeoCustomMesh() = default;

TDataObject TGeoCustomMesh::GetDataObject() { return TDataObject::Of(FNet); }

TSurface* TGeoCustomMesh::GetSurface() { return FNet; }

int TGeoCustomMesh::GetPointCount() {
    if (FNet == nullptr) return 0;
    if (!Editing() || EditView == mvUV) return FNet->NumU() * FNet->NumV();
    return EditView == mvU ? FNet->NumV() : FNet->NumU();
}

TRPoint* TGeoCustomMesh::GetPoint(int Index) {
    if (FNet == nullptr || Index < 0 || Index >= GetPointCount()) return nullptr;
    if (!Editing() || EditView == mvUV) return &FNet->PointByIndex(Index);
    const int Line = GetEditIndex();
    return EditView == mvU ? &FNet->Point(Line, Index) : &FNet->Point(Index, Line);
}

void TGeoCustomMesh::AddSnapPoints(TGeometrySnapInfo& Request) {
    if (FNet == nullptr || !Request.SnapTypes().test(stPoint)) return;
    for (int K = 0; K < FNet->NumU() * FNet->NumV(); ++K) {
        const TRPoint& P = FNet->PointByIndex(K);
        if (!P.Marked) Request.TryRPoint(P, stPoint, this);
    }
}

TMBox TGeoCustomMesh::CalculateExtents() {
    const TMBox Box = FNet != nullptr ? FNet->GetExtents() : TMBox{};
    return Mirrored() ? CopyBoxSymmetricY(Box) : Box;
}

IGeometryFrame* TGeoCustomMesh::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(MeshFrameName, *this, Owner)) return Frame;
    return TGeoDraggableSurface::CreateFrame(Owner);
}

void TGeoCustomMesh::UpdateFrame() {
    if (IMeshFrame* Frame = MeshFrame())
        Frame->Refresh();
    else
        TGeoDraggableSurface::UpdateFrame();
}

void TGeoCustomMesh::SetEditView(std::uint8_t View) {
    if (View == EditView) return;
    Undraw();
    DeselectAllPoints();
    EditView = View;
    EditIndex = 0;
    Redraw();
    UpdateFrame();
}

int TGeoCustomMesh::EditLineCount() const {
    if (FNet == nullptr) return 0;
    return EditView == mvU ? FNet->NumU() : EditView == mvV ? FNet->NumV() : 0;
}

int TGeoCustomMesh::GetEditIndex() const { return std::clamp(EditIndex, 0, std::max(EditLineCount() - 1, 0)); }

void TGeoCustomMesh::SetEditIndex(int Index) {
    Index = std::clamp(Index, 0, std::max(EditLineCount() - 1, 0));
    if (Index == GetEditIndex()) {
        EditIndex = Index;
        return;
    }
    Undraw();
    DeselectAllPoints();
    EditIndex = Index;
    Redraw();
    UpdateFrame();
}

int TGeoCustomMesh::SelectedPointCount() {
    if (!Editing() || FNet == nullptr) return 0;
    int Count = 0;
    for (int K = 0; K < FNet->NumU() * FNet->NumV(); ++K)
        if (FNet->PointByIndex(K).Marked) ++Count;
    return Count;
}

template <class F>
void TGeoCustomMesh::ChangeLines(F Change, bool KeepsKnots) {
    if (FNet == nullptr || (!KeepsKnots && !CanChangeNet())) return;
    BeginChange();
    Undraw();
    if (!KeepsKnots) OpenKnots();
    Change(*FNet);
    EditIndex = GetEditIndex();
    // A full change bracket, so that the change is applied and not left pending.
    EndChange();
    Redraw();
    UpdateFrame();
}

void TGeoCustomMesh::InsertU(int Index) {
    ChangeLines([&](TMesh& Net) { Net.InsertU(Index); });
}

void TGeoCustomMesh::InsertV(int Index) {
    ChangeLines([&](TMesh& Net) { Net.InsertV(Index); });
}

void TGeoCustomMesh::DeleteU(int Index) {
    ChangeLines([&](TMesh& Net) {
        if (Net.NumU() <= 2) return;
        Net.DeleteU(Index);
    });
}

void TGeoCustomMesh::DeleteV(int Index) {
    ChangeLines([&](TMesh& Net) {
        if (Net.NumV() <= 2) return;
        Net.DeleteV(Index);
    });
}

void TGeoCustomMesh::DeleteEditedLine() {
    // The delete asks and opens the knots itself, inside its change, so that undo restores them.
    if (EditView == mvU)
        DeleteU(GetEditIndex());
    else if (EditView == mvV)
        DeleteV(GetEditIndex());
}

void TGeoCustomMesh::ReverseU() {
    ChangeLines([](TMesh& Net) { Net.ReverseU(); }, true);
}

void TGeoCustomMesh::ReverseV() {
    ChangeLines([](TMesh& Net) { Net.ReverseV(); }, true);
}

void TGeoCustomMesh::SwapUV() {
    ChangeLines([](TMesh& Net) { Net.SwapUV(); }, true);
}

TRPoint* TGeoCustomMesh::EditedLinePoint(int Row) const {
    if (FNet == nullptr || Row < 0) return nullptr;
    const int Index = GetEditIndex();
    if (EditView == mvU && Row < FNet->NumV()) return &FNet->Point(Index, Row);
    if (EditView == mvV && Row < FNet->NumU()) return &FNet->Point(Row, Index);
    return nullptr;
}

void TGeoCustomMesh::SetEditedLineCoordinate(int Axis, double Value) {
    if (Axis < 0 || Axis > 2 || EditedLinePoint(0) == nullptr) return;
    // A change like any other, so that it can be undone.
    BeginChange();
    Undraw();
    for (int Row = 0; TRPoint* P = EditedLinePoint(Row); ++Row) (Axis == 0 ? P->X : Axis == 1 ? P->Y : P->Z) = Value;
    EndChange();
    InvalidateViews();
}

void TGeoCustomMesh::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    if (FNet != nullptr) DragStart = FNet->Clone();
}

void TGeoCustomMesh::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    if (FNet == nullptr || !DragStart) return;
    // From the start positions each time, so that many small steps add no error.
    for (int K = 0; K < FNet->NumU() * FNet->NumV(); ++K) {
        TRPoint& P = FNet->PointByIndex(K);
        if (!P.Marked) continue;
        const TRPoint& Start = DragStart->PointByIndex(K);
        P.X = Start.X + Offset.X;
        P.Y = Start.Y + Offset.Y;
        P.Z = Start.Z + Offset.Z;
    }
    if (IMeshFrame* Frame = MeshFrame()) Frame->RefreshSelectedRows();
}

void TGeoCustomMesh::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) { DragStart.reset(); }

void TGeoCustomMesh::DrawNetLines(IGraphics& View, bool Plain) {
    const TGeometryColors& C = Colors();
    if (!Plain) View.SetLineColor(C.ControlPolygonColor());
    FNet->Draw(View);
    const auto Handle = [&](const TRPoint& P, TColor Normal) {
        if (!Plain) View.SetLineColor(P.Marked ? C.SelectColor() : Normal);
        View.EditHandlePoint(P, 0);
    };
    if (EditView == mvUV) {
        for (int K = 0; K < FNet->NumU() * FNet->NumV(); ++K) Handle(FNet->PointByIndex(K), C.ControlPolygonColor());
        return;
    }
    const int Count = EditView == mvU ? FNet->NumV() : FNet->NumU();
    const int Line = GetEditIndex();
    const auto At = [&](int K) -> TRPoint& { return EditView == mvU ? FNet->Point(Line, K) : FNet->Point(K, Line); };
    if (!Plain) View.SetLineColor(C.DrawColor());
    for (int K = 0; K < Count; ++K) K == 0 ? View.LineStartPoint(At(K)) : View.LineNextPoint(At(K));
    if (Count > 0) View.LineFinish();
    for (int K = 0; K < Count; ++K) Handle(At(K), C.DrawColor());
}

void TGeoCustomMesh::DrawEditNet(IGraphics& View) {
    if (FNet != nullptr) DrawNetLines(View, false);
}

void TGeoCustomMesh::Draw(IGraphics& View) {
    if (Editing()) {
        DrawEditNet(View);
        return;
    }
    if (OutlineRepresentation() != nullptr) OutlineRepresentation()->Draw(View);
    if (ParametersRepresentation() != nullptr) ParametersRepresentation()->Draw(View);
    if (DrawContours()) Contours().Draw(View);
}

void TGeoCustomMesh::DrawOutline(IGraphics& View) {
    if (Editing()) {
        if (FNet != nullptr) DrawNetLines(View, true);
        return;
    }
    if (OutlineRepresentation() != nullptr) OutlineRepresentation()->Draw(View);
    if (ParametersRepresentation() != nullptr) ParametersRepresentation()->DrawOutline(View);
    if (DrawContours()) Contours().DrawOutline(View);
}

void TGeoCustomMesh::DrawSimplified(IGraphics& View) {
    if (FNet == nullptr) return;
    const int U = FNet->NumU();
    const int V = FNet->NumV();
    if (U > 20 || V > 20 || (U > 8 && V > 8)) {
        DrawBoxEdges(GetExtents(), View);
        return;
    }
    FNet->Draw(View);
    if (Mirrored()) FNet->CreateTransformed(MirrorXZMatrix)->Draw(View);
}

void TGeoCustomMesh::SaveToText(TTextWriter& Out) {
    if (FNet == nullptr) return;
    Out.WriteLine("[" + ClassNameOf(typeid(*FNet)) + "]");
    FNet->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName);
    if (!GetDrawParameters()) Out.WriteLine("DrawParameters=FALSE");
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    WriteCommonKeys(Out, *this, ckMirrored);
    SaveExtraKeys(Out);
    WriteCommonKeys(Out, *this, ckColor);
    Out.WriteLine("");
}

void TGeoCustomMesh::LoadFromText(TTextReader& In) {
    // The grid's two counts follow the net's own header lines (a B-spline surface's knots and orders),
    // one point a line after them.
    if (const int Header = LinesBeforeKey(In, "NUMU", 16); Header >= 0)
        CheckListCount(In, {.SkipLines = Header, .CountLines = 2});
    if (FNet != nullptr) FNet->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const bool True = UpperCase(Line.Value) == "TRUE";
        if (Line.Key == "DRAWPARAMETERS")
            SetDrawParameters(True);
        else if (Line.Key == "DRAWCONTOURS")
            SetDrawContours(True);
        else if (Line.Key == "NAME" || Line.Key == "MIRRORED" || Line.Key == "COLOR")
            ReadCommonKey(*this, Line);
        else
            LoadExtraKey(Line);
    }
}

std::unique_ptr<TPolygonList> TGeoCustomMesh::CreatePolygonRepresentation(std::uint8_t Purpose) {
    if (FNet == nullptr) return nullptr;
    const std::string Name = GetName();
    if (GConsole)
        GConsole->WriteLine("  Creating Polygon Representation of " + ClassName() + (Name.empty() ? "" : "." + Name) +
                            "...");
    return FNet->CreatePolygonsFor(Purpose, 1);
}

}  // namespace sarnova
