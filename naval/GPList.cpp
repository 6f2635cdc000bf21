#include "naval/GPList.h"

#include <algorithm>
#include <cmath>

#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonBuild.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Knuckle angle and segment length of the facet model of a list.
constexpr double RepresentationKnuckleAngle = 0.4363323129985824;  // 25 degrees
constexpr double RepresentationSegmentLength = 0.5;

double ScreenDistance(TPoint A, TPoint B) { return std::hypot(double(A.X) - B.X, double(A.Y) - B.Y); }

bool InsideRect(TPoint P, const TRect& Rect) {
    return P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom;
}

// Calls Visit with each vertex of List and, when Mirror, its mirror image, until it answers true.
template <class F>
bool AnyVertex(const TPolylineList& List, bool Mirror, F Visit) {
    for (int I = 0; I < List.Count(); ++I) {
        const TPolyline& P = *List.Items(I);
        for (int J = 0; J < P.Count(); ++J) {
            const TRPoint& V = *P.Point(J);
            if (Visit(V)) return true;
            if (Mirror) {
                TRPoint Image(V);
                Image.Y = -Image.Y;
                if (Visit(Image)) return true;
            }
        }
    }
    return false;
}

}  // namespace

TPlistDialogs& PlistDialogs() {
    static TPlistDialogs Dialogs;
    return Dialogs;
}

// ---- TCompartmentRepresentation ----

TCompartmentRepresentation::TCompartmentRepresentation(TGeometry& AGeometry) : TPolylistRepresentation(AGeometry) {}

bool TCompartmentRepresentation::CanDraw() const { return GetVisible() && !GetGeometry().Editing() && !IsRebuilding(); }

void TCompartmentRepresentation::Rebuild() {
    Polylines.reset();
    auto* Owner = dynamic_cast<TGeoPList*>(&GetGeometry());
    if (!GetVisible() || Owner == nullptr) return;
    // The outline marks knuckles on the sections it reads: it works on a copy.
    std::unique_ptr<TPolylineList> Sections = Owner->Polylines().Clone();
    if (Sections->Count() < 2) {
        Polylines = std::move(Sections);
        return;
    }
    Polylines = KnuckleLines(*Sections, Owner->Mirrored());
}

// ---- TGeoPList ----

TGeoPList::TGeoPList()
    : FPolylines(std::make_unique<TPolylineList>()),
      Representation(std::make_unique<TCompartmentRepresentation>(*this)) {
    SetCapabilities(GetCapabilities() | cpSectioned | cpUndoable);
}

TGeoPList::~TGeoPList() = default;

int TGeoPList::GetCurrentIndex() const { return std::clamp(CurrentIndex, 0, std::max(0, FPolylines->Count() - 1)); }

TPolyline* TGeoPList::CurrentPolyline() const {
    // Operations and undo may leave fewer polylines than the index counted on.
    return FPolylines->Count() > 0 ? FPolylines->Items(GetCurrentIndex()) : nullptr;
}

void TGeoPList::SetCurrentPolyline(int Index) {
    if (Index < 0 || Index >= FPolylines->Count()) return;
    if (Editing()) {
        Undraw();
        CurrentIndex = Index;
        Redraw();
    } else {
        CurrentIndex = Index;
    }
    RefreshFrame();
}

void TGeoPList::SetShowAsCompartment(bool Value) {
    if (Value == ShowAsCompartment()) return;
    Representation->SetVisible(Value);
    EndChange();
    InvalidateViews();
}

void TGeoPList::SetShowDirection(bool Value) {
    if (Value == ShowDirection) return;
    Undraw();
    ShowDirection = Value;
    Redraw();
}

void TGeoPList::SetPermeability(double Value) {
    if (Value == Permeability) return;
    Permeability = Value;
    EndChange();
}

void TGeoPList::SortSections() {
    BeginChange();
    FPolylines->SortByStation();
    EndChange();
    Redraw();
}

// ---- Points ----

int TGeoPList::GetPointCount() {
    const TPolyline* P = CurrentPolyline();
    return P != nullptr ? P->Count() : 0;
}

TRPoint* TGeoPList::GetPoint(int Index) {
    TPolyline* P = CurrentPolyline();
    return P != nullptr && Index >= 0 && Index < P->Count() ? P->Point(Index) : nullptr;
}

void TGeoPList::DeleteSelectedPoints() {
    TPolyline* P = CurrentPolyline();
    if (P == nullptr) return;
    const auto FirstSelected = [P] {
        for (int I = 0; I < P->Count(); ++I)
            if (P->Point(I)->Marked) return I;
        return -1;
    };
    // Nothing to delete leaves no undo step behind.
    if (P->Count() <= 2 || FirstSelected() < 0) return;
    BeginChange();
    Undraw();
    for (int I = FirstSelected(); I >= 0 && P->Count() > 2; I = FirstSelected()) P->Delete(I);
    EndChange();
    Redraw();
}

void TGeoPList::SetPointCoordinate(int Index, int Axis, double Value) {
    TPolyline* P = CurrentPolyline();
    if (P == nullptr || Index < 0 || Index >= P->Count() || Axis < 0 || Axis > 2) return;
    BeginChange();
    Undraw();
    TRPoint& Point = *P->Point(Index);
    (Axis == 0 ? Point.X : Axis == 1 ? Point.Y : Point.Z) = Value;
    EndChange();
    Redraw();
}

void TGeoPList::InsertPointBefore(int Index) {
    TPolyline* P = CurrentPolyline();
    if (P == nullptr || P->Count() < 2 || Index < 0 || Index >= P->Count()) return;
    BeginChange();
    Undraw();
    if (Index == 0) {
        const TMVector First = P->Point(0)->Vector();
        P->InsertVector(0, VectorAdd(First, VectorFromTo(P->Point(1)->Vector(), First)));
    } else {
        P->InsertVector(Index, VectorMidpoint(P->Point(Index - 1)->Vector(), P->Point(Index)->Vector()));
    }
    EndChange();
    Redraw();
}

void TGeoPList::InsertPointAfter(int Index) {
    TPolyline* P = CurrentPolyline();
    if (P == nullptr || P->Count() < 2 || Index < 0 || Index >= P->Count()) return;
    BeginChange();
    Undraw();
    const int Last = P->Count() - 1;
    if (Index == Last) {
        const TMVector End = P->Point(Last)->Vector();
        P->AddVector(VectorAdd(End, VectorFromTo(P->Point(Last - 1)->Vector(), End)));
    } else {
        P->InsertVector(Index + 1, VectorMidpoint(P->Point(Index)->Vector(), P->Point(Index + 1)->Vector()));
    }
    EndChange();
    Redraw();
}

void TGeoPList::SelectPointRange(int First, int Last) {
    TPolyline* P = CurrentPolyline();
    if (P == nullptr) return;
    for (int I = 0; I < P->Count(); ++I) P->Point(I)->Marked = I >= First && I <= Last;
    Redraw();
}

void TGeoPList::DeleteCurrentPolyline() {
    if (FPolylines->Count() < 4) return;
    BeginChange();
    Undraw();
    CurrentIndex = GetCurrentIndex();
    const int Index = CurrentIndex;
    if (CurrentIndex == FPolylines->Count() - 1) --CurrentIndex;
    FPolylines->Delete(Index);
    EndChange();
    Redraw();
}

// ---- Overrides ----

void TGeoPList::InvalidateRepresentations() {
    TGeoDraggable::InvalidateRepresentations();
    Representation->Invalidate();
}

void TGeoPList::AddSnapPoints(TGeometrySnapInfo& Request) {
    const TSnapOptions Kinds = Request.SnapTypes();
    if (!Kinds.test(stPolylineList)) return;
    for (int I = 0; I < FPolylines->Count(); ++I) {
        const TPolyline& P = *FPolylines->Items(I);
        if (Kinds.test(stPoint))
            for (int J = 0; J < P.Count(); ++J)
                if (!P.Point(J)->Marked) Request.TryRPoint(*P.Point(J), stPoint, this);
        if (Kinds.test(stCurve) && !Editing() && Request.View != nullptr && P.Count() > 0) {
            const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, P, *Request.View);
            Request.TryRPoint(*Nearest, stCurve, this);
        }
    }
}

TMBox TGeoPList::CalculateExtents() {
    TMBox B = FPolylines->Extents();
    if (Mirrored() && FPolylines->Count() > 0 && B.Max.Y >= B.Min.Y) {
        const double Half = std::max(std::fabs(B.Min.Y), std::fabs(B.Max.Y));
        B.Min.Y = -Half;
        B.Max.Y = Half;
    }
    return B;
}

IPlistFrame* TGeoPList::PlistFrame() const { return dynamic_cast<IPlistFrame*>(GetFrame()); }

IGeometryFrame* TGeoPList::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(PlistFrameName, *this, Owner)) return Frame;
    return TGeoDraggable::CreateFrame(Owner);
}

void TGeoPList::UpdateFrame() {
    if (IPlistFrame* Frame = PlistFrame())
        Frame->Refresh();
    else
        TGeoDraggable::UpdateFrame();
}

bool TGeoPList::ExecuteMacroCommand(TMacroFile& Macro) {
    const std::string& Line = Macro.GetCurrentLine();
    if (MacroCommandKey(Line) != "PERMEABILITY") return TGeoDraggable::ExecuteMacroCommand(Macro);
    const auto Equals = Line.find('=');
    const std::string Text = Equals == std::string::npos ? std::string() : Trim(Line.substr(Equals + 1));
    const double Value = GetOwnerList() != nullptr ? GetOwnerList()->EvaluateMacroNumber(Text, Macro) : ParseFloat(Text);
    if (Value != Permeability) {
        // A change like any other, so that undoing the macro run brings the old value back.
        BeginChange();
        Permeability = Value;
        EndChange();
    }
    return true;
}

void TGeoPList::Transform(const TMMatrix& M) {
    BeginChange();
    FPolylines->Assign(*FPolylines->Transformed(M));
    EndChange();
}

void TGeoPList::Assign(const TGeometry& Source) {
    TGeoDraggable::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoPList*>(&Source)) {
        FPolylines->Assign(*Other->FPolylines);
        Permeability = Other->Permeability;
        // The block keeps the outline switch, so copies and undo snapshots keep it too.
        if (Other->ShowAsCompartment() != ShowAsCompartment()) Representation->SetVisible(Other->ShowAsCompartment());
    }
}

double TGeoPList::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    if (IsHidden()) return 1e33;
    if (!Editing() && ShowAsCompartment()) {
        Representation->Update();
        return Representation->DistanceToPoint(ScreenPoint, View);
    }
    double Best = 1e33;
    AnyVertex(*FPolylines, Mirrored(), [&](const TRPoint& V) {
        Best = std::min(Best, ScreenDistance(View.WorldToScreenPoint(V), ScreenPoint));
        return false;
    });
    return Best;
}

bool TGeoPList::InRect(const TRect& Rect, IGraphics& View) {
    if (IsHidden()) return false;
    if (!Editing() && ShowAsCompartment()) {
        Representation->Update();
        return Representation->InRect(Rect, View);
    }
    return AnyVertex(*FPolylines, Mirrored(),
                     [&](const TRPoint& V) { return InsideRect(View.WorldToScreenPoint(V), Rect); });
}

std::unique_ptr<TPolyline> TGeoPList::IntersectPlane(const TMPlane& Plane) {
    return PlaneIntersectionsOfList(Plane, *FPolylines);
}

void TGeoPList::DrawLists(IGraphics& View, bool InColour) {
    if (Editing()) {
        const TPolyline* Current = CurrentPolyline();
        for (int I = 0; I < FPolylines->Count(); ++I) {
            TPolyline& P = *FPolylines->Items(I);
            if (&P != Current) {
                if (InColour) View.SetLineColor(Colors().NonEditColor());
                InColour ? P.Draw(View) : P.DrawOutline(View);
                continue;
            }
            if (InColour) View.SetLineColor(Colors().ControlPolygonColor());
            InColour ? P.Draw(View) : P.DrawOutline(View);
            for (int J = 0; J < P.Count(); ++J) {
                if (InColour)
                    View.SetLineColor(P.Point(J)->Marked ? Colors().SelectColor() : Colors().ControlPolygonColor());
                View.EditHandlePoint(*P.Point(J), 0);
            }
            if (InColour && P.Count() > 0 && !P.Point(0)->Marked) {
                View.SetLineColor(Colors().StartColor());
                View.EditHandlePoint(*P.Point(0), 0);
            }
        }
        if (InColour) View.SetLineColor(Colors().DrawColor());
        return;
    }
    if (ShowAsCompartment()) {
        InColour ? Representation->Draw(View) : Representation->DrawOutline(View);
        return;
    }
    const auto DrawList = [&](TPolylineList& List) {
        if (!InColour) {
            List.DrawOutlines(View);
            return;
        }
        List.Draw(View);
        if (ShowDirection) List.DrawDirections(View);
    };
    DrawList(*FPolylines);
    if (Mirrored()) DrawList(*FPolylines->Transformed(MirrorXZMatrix));
    if (DrawContours()) InColour ? Contours().Draw(View) : Contours().DrawOutline(View);
}

void TGeoPList::Draw(IGraphics& View) { DrawLists(View, true); }

void TGeoPList::DrawOutline(IGraphics& View) { DrawLists(View, false); }

void TGeoPList::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FPolylines->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckMirrored);
    WriteCommonKeys(Out, *this, ckName);
    // Always written: a list without the line reads back as fully permeable, which 0 is not.
    Out.WriteLine("Permeability=" + FormatDefaultReal(Permeability));
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    if (ShowAsCompartment()) Out.WriteLine("ShowAsCompartment=TRUE");
    WriteCommonKeys(Out, *this, ckColor);
    Out.WriteLine("");
}

void TGeoPList::LoadFromText(TTextReader& In) {
    FPolylines->LoadFromText(In);
    while (!In.Eof()) {
        const TTextReader::TMark Start = In.Mark();
        // A block header means this block lost its empty line: leave the header to the document.
        if (Trim(In.ReadLine()).starts_with("[")) {
            In.Restore(Start);
            return;
        }
        In.Restore(Start);
        TBlockLine Line;
        if (!ReadBlockLine(In, Line)) return;
        const bool True = UpperCase(Line.Value).find("TRUE") != std::string::npos;
        if (Line.Key == "MIRRORED")
            SetMirrored(True);
        else if (Line.Key == "DRAWCONTOURS")
            SetDrawContours(True);
        else if (Line.Key == "PERMEABILITY")
            Permeability = ParseFloat(Line.Value);
        else if (Line.Key == "SHOWASCOMPARTMENT")
            Representation->SetVisible(True);
        else if (Line.Key == "NAME" || Line.Key == "COLOR")
            ReadCommonKey(*this, Line);
        else if (GConsole)
            GConsole->WriteLine("Warning: unknown key " + Line.Key + " on line " + IntToStr(In.LastLineNumber()) +
                                " of a [" + GetKeyword() + "] block was passed over");
    }
}

std::unique_ptr<TPolygonList> TGeoPList::CreatePolygonRepresentation(std::uint8_t) {
    if (GConsole)
        GConsole->WriteLine("  Creating Polygon Representation of " + ClassName() +
                            (GetName().empty() ? "" : "." + GetName()) + "...");
    auto Sections = std::make_unique<TPolylineList>();
    // Polylines too short to skin would stop the whole mesh.
    for (int I = 0; I < FPolylines->Count(); ++I)
        if (FPolylines->Items(I)->Count() >= 2) Sections->Add(FPolylines->Items(I)->Clone());
    Sections->SortByStation();
    for (int I = 0; I < Sections->Count(); ++I) Sections->Items(I)->OrientSection();
    std::unique_ptr<TPolygonList> Facets =
        MeshFromSections(*Sections, RepresentationSegmentLength, RepresentationKnuckleAngle);
    Facets->Triangulate();
    return Facets;
}

void TGeoPList::Query(TGeometryQuery& Query) {
    if (Query.Asks(qkPolylineList)) {
        if (Query.CountOnly)
            Query.CountItem();
        else
            Query.AddReference(FPolylines.get(), GetName());
    } else if (Query.Asks(qkPolyline)) {
        if (Query.CountOnly)
            Query.CountItem();
        else
            for (int I = 0; I < FPolylines->Count(); ++I) Query.AddReference(FPolylines->Items(I), GetName());
    }
}

void TGeoPList::HandleMessage(TGeoMessage& Message) {
    TGeoDraggable::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectPolyLists*>(&Message) != nullptr) SetSelected(true);
}

void TGeoPList::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    if (const TPolyline* P = CurrentPolyline()) DragCopy = P->Clone();
}

void TGeoPList::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    TPolyline* P = CurrentPolyline();
    if (P == nullptr || !DragCopy) return;
    for (int I = 0; I < P->Count() && I < DragCopy->Count(); ++I)
        if (TRPoint& Point = *P->Point(I); Point.Marked) Point.SetVector(VectorAdd(DragCopy->Point(I)->Vector(), Offset));
    if (IPlistFrame* Frame = PlistFrame()) Frame->UpdateSelectedRows();
}

void TGeoPList::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) { DragCopy.reset(); }

}  // namespace sarnova
