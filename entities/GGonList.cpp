#include "entities/GGonList.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/GeometryRepresentation.h"
#include "document/PolylineDialogs.h"
#include "document/ShadedRenderer.h"
#include "entities/CalculationSectionMakers.h"
#include "entities/GConversions.h"
#include "entities/GSurface.h"
#include "foundation/BlockCount.h"
#include "foundation/DesktopRects.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "foundation/PolygonIntersect.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const AddCaption = "Add Polygons";
const char* const MergeCaption = "Merge Polygons";
const char* const SplitCaption = "Split Polygons";
const char* const MoveCaption = "Move to new Polygon List";
const char* const SliceCaption = "Slice...";
const char* const SectionsCaption = "Create Calculation Sections";
const char* const ExtractCaption = "Extract Contours";
const char* const NormalsCaption = "Show Normals";
const char* const PolygonsCaption = "Show Polygons";
const char* const ContoursCaption = "Show Contours";

bool IsSurfaceOrFacets(TGeometry& G) {
    return dynamic_cast<TGeoPGonlist*>(&G) != nullptr || dynamic_cast<ISurfaceEntity*>(&G) != nullptr;
}

// The selected entities that are surfaces or polygon lists, in document order.
std::vector<TGeometry*> SelectedSurfaces(const TGeometryList& List) {
    std::vector<TGeometry*> Result;
    for (int I = 0; I < List.Count(); ++I)
        if (TGeometry& G = List.Items(I); G.GetSelected() && IsSurfaceOrFacets(G)) Result.push_back(&G);
    return Result;
}

TMBox FacetBox(const TFacetRef& F) {
    TMBox B = EmptyBox;
    for (int C = 0; C < F.CornerCount(); ++C) ExtendBoxByVector(F.Corner(C)->Vector(), B);
    return B;
}

}  // namespace

TGeoPGonlist::TGeoPGonlist() : FFacets(std::make_unique<TPolygonList>()) {
    SetCapabilities(GetCapabilities() | cpUndoable | cpInsertPointKey | cpRenderable);
}

const char* TGeoPGonlist::HintText() const {
    return "Standard Select Options + Delete to remove polygons, Ctrl+M to Merge Polygons, Ctrl+K to Split Polygons";
}

TGeoPGonlist::~TGeoPGonlist() = default;

// ---- Commands ----

void TGeoPGonlist::ToggleShowNormals() {
    Undraw();
    FFacets->ShowNormals = !FFacets->ShowNormals;
    Redraw();
}

void TGeoPGonlist::ToggleShowPolygons() {
    Undraw();
    FShowPolygons = !FShowPolygons;
    Redraw();
}

void TGeoPGonlist::FlipNormals() {
    BeginChange();
    Undraw();
    if (Editing()) {
        for (int I = 0; I < FFacets->Count(); ++I)
            if (TFacetRef F = FFacets->Polygon(I); F.GetSelected()) FlipPolygon(F);
    } else {
        FFacets->FlipNormals();
    }
    Redraw();
    EndChange();
}

void TGeoPGonlist::ConvertToTriangles() { ReplaceFacets(*FFacets->TriangulatedCopy()); }

void TGeoPGonlist::ReplaceFacets(const TPolygonList& Source) {
    BeginChange();
    Undraw();
    FFacets->Assign(Source);
    FacetsChanged();
    Redraw();
    EndChange();
}

void TGeoPGonlist::Slice(const TMPlane& Plane) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    // Both halves are made before anything changes, so a failure leaves the document as it was.
    std::unique_ptr<TPolygonList> Halves[] = {ClipPolygonsByPlane(*FFacets, 255, Plane),
                                              ClipPolygonsByPlane(*FFacets, 1, Plane)};
    InListUpdate(*List, [&] {
        for (auto& Half : Halves) {
            auto Entity = std::make_unique<TGeoPGonlist>();
            if (Half) Entity->FFacets->Assign(*Half);
            List->Add(std::move(Entity));
        }
        List->DeleteGeometry(this);  // frees this entity
    });
}

void TGeoPGonlist::CreateCalculationSections() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    const auto& Maker = CalculationSectionMakers().OfMesh;
    const std::unique_ptr<TPolylineList> Sections = Maker ? Maker(*FFacets) : nullptr;
    if (Sections) InListUpdate(*List, [&] { AddPolylineListEntity(*List, *Sections); });
}

void TGeoPGonlist::ExtractContours() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    Contours().Update();
    if (const TPolylineList* Lines = Contours().GetPolylines()) AddPolylineListEntity(*List, *Lines);
    List->InvalidateViews();
}

void TGeoPGonlist::CombineSelected(TGeometryList& List) {
    if (!OnlyClassSelected<TGeoPGonlist>(List)) return;
    auto Combined = std::make_unique<TGeoPGonlist>();
    for (TGeoPGonlist* Entity : SelectedOfClass<TGeoPGonlist>(List)) Combined->FFacets->AddCopies(Entity->FFacets.get());
    TGeometry* Added = nullptr;
    InListUpdate(List, [&] {
        List.DeleteSelected();
        Added = List.Add(std::move(Combined));
    });
    if (Added != nullptr) Added->Redraw();
}

void TGeoPGonlist::IntersectSelected(TGeometryList& List) {
    if (List.SelectedCount() != 2) return;
    const std::vector<TGeometry*> Pair = SelectedSurfaces(List);
    if (Pair.size() < 2) return;
    const std::unique_ptr<TPolygonList> A = Pair[0]->CreatePolygonRepresentation(9);
    const std::unique_ptr<TPolygonList> B = Pair[1]->CreatePolygonRepresentation(9);
    if (!A || !B) return;
    A->Triangulate();
    B->Triangulate();
    // Under the hourglass, which the bracket takes away again also when the intersection fails.
    InListUpdate(List, [&] {
        const std::unique_ptr<TPolylineList> Lines = IntersectPolygonLists(*A, *B);
        if (!Lines || Lines->Count() == 0) return;
        if (Lines->Count() > 1) {
            AddPolylineListEntity(List, *Lines);
            return;
        }
        auto Line = std::make_unique<TGeoPline>();
        Line->Polyline().Assign(*Lines->Items(0));
        List.Add(std::move(Line))->Redraw();
    });
}

// ---- Menus ----

void TGeoPGonlist::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    const bool AllFacets = OnlyClassSelected<TGeoPGonlist>(List);
    const bool Pair = SelectedSurfaces(List).size() == 2;
    if (!AllFacets && !Pair) return;
    if (Menu.Count() > 0) Menu.Add("-");
    if (AllFacets) AddDocumentItem(Menu, "Combine Polygon Groups", List, CombineSelected);
    if (Pair) AddDocumentItem(Menu, "Intersection Between Surfaces", List, IntersectSelected);
}

void TGeoPGonlist::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(AddCaption, [this](TMenuItem&) { AddPolygons(); })->ShortCut = TextToShortCut("Ctrl+R");
    AddMenuItem(MergeCaption, [this](TMenuItem&) { MergeSelected(); })->ShortCut = TextToShortCut("Ctrl+M");
    AddMenuItem(SplitCaption, [this](TMenuItem&) { SplitSelected(); })->ShortCut = TextToShortCut("Ctrl+K");
    AddMenuItem(MoveCaption, [this](TMenuItem&) { MoveToNewPolygonList(); });
    AddMenuItem("-", {});
    AddMenuItem("Flip Normals", [this](TMenuItem&) { FlipNormals(); });
    AddMenuItem("Convert to Triangles", [this](TMenuItem&) { ConvertToTriangles(); });
    AddMenuItem(SliceCaption, [this](TMenuItem&) {
        const auto& Show = PolylineDialogs().ShowSliceDialog;
        TGeometryList* List = GetOwnerList();
        bool Close = false;
        TMPlane Plane;
        if (Show && List != nullptr && Show("Polygon List", *List, false, Close, Plane)) Slice(Plane);
    });
    AddMenuItem("-", {});
    AddMenuItem(SectionsCaption, [this](TMenuItem&) { CreateCalculationSections(); });
    AddMenuItem(ExtractCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("-", {});
    AddMenuItem(NormalsCaption, [this](TMenuItem&) { ToggleShowNormals(); });
    AddMenuItem(PolygonsCaption, [this](TMenuItem&) { ToggleShowPolygons(); });
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    UpdateMenuItems(Root);
}

void TGeoPGonlist::UpdateMenuItems(TMenuItem& Root) {
    TGeoDraggable::UpdateMenuItems(Root);
    const bool Lists = IsClassRegistered(PolylineListKeyword);
    const auto Set = [&Root](const char* Caption, bool Enabled, bool Checked = false) {
        if (TMenuItem* Item = Root.Find(Caption)) {
            Item->Enabled = Enabled;
            Item->Checked = Checked;
        }
    };
    const int Selected = FFacets->SelectedCount();
    Set(AddCaption, Editing());
    Set(MergeCaption, Editing() && CanMerge());
    Set(SplitCaption, Editing() && Selected > 0);
    Set(MoveCaption, Editing() && Selected > 0 && Selected < FFacets->Count());
    Set(NormalsCaption, FShowPolygons, FFacets->ShowNormals);
    Set(PolygonsCaption, true, FShowPolygons);
    Set(ContoursCaption, true, DrawContours());
    Set(ExtractCaption, DrawContours() && Lists);
    Set(SectionsCaption, Lists && FFacets->Count() > 0);
    Set(SliceCaption, static_cast<bool>(PolylineDialogs().ShowSliceDialog));
}

// ---- Overrides ----

TMBox TGeoPGonlist::GetSelectionExtents(IGraphics&) {
    TMBox B = EmptyBox;
    for (int I = 0; I < FFacets->Count(); ++I)
        if (const TFacetRef F = FFacets->Polygon(I); F.GetSelected()) B = UniteBoxes(B, FacetBox(F));
    return B;
}

IGeometryFrame* TGeoPGonlist::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(GGonFrameName, *this, Owner)) return Frame;
    return TGeoDraggable::CreateFrame(Owner);
}

void TGeoPGonlist::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame()) Frame->Refresh();
}

void TGeoPGonlist::Transform(const TMMatrix& M) {
    BeginChange();
    FFacets->Assign(*FFacets->Transformed(M));
    FacetsChanged();
    EndChange();
}

void TGeoPGonlist::Assign(const TGeometry& Source) {
    TGeoDraggable::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoPGonlist*>(&Source)) {
        FFacets->Assign(*Other->FFacets);
        FacetsChanged();
    }
}

double FacetCornerDistance(const TPolygonList& Facets, TPoint ScreenPoint, IGraphics& View) {
    double Best = 1e33;
    for (int I = 0; I < Facets.Count(); ++I) {
        const TFacetRef F = Facets.Polygon(I);
        for (int C = 0; C < F.CornerCount(); ++C) {
            const TPoint P = View.WorldToScreenPoint(F.Corner(C)->AsPoint());
            Best = std::min(Best, PixelDistance(P, ScreenPoint));
        }
    }
    return Best;
}

bool FacetCornerInRect(const TPolygonList& Facets, const TRect& Rect, IGraphics& View) {
    for (int I = 0; I < Facets.Count(); ++I) {
        const TFacetRef F = Facets.Polygon(I);
        for (int C = 0; C < F.CornerCount(); ++C) {
            const TPoint P = View.WorldToScreenPoint(F.Corner(C)->AsPoint());
            if (P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom) return true;
        }
    }
    return false;
}

double TGeoPGonlist::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    return IsHidden() ? 1e33 : FacetCornerDistance(*FFacets, ScreenPoint, View);
}

bool TGeoPGonlist::InRect(const TRect& Rect, IGraphics& View) {
    return !IsHidden() && FacetCornerInRect(*FFacets, Rect, View);
}

void TGeoPGonlist::Recalculate() {
    FEdgesKey.Renew();
    TGeoDraggable::Recalculate();
}

void TGeoPGonlist::InvalidateRepresentations() {
    FEdgesKey.Renew();
    TGeoDraggable::InvalidateRepresentations();
}

void TGeoPGonlist::DrawFacetLines(IGraphics& View) {
    // While a change is pending, corners may still move in place without a word: drawn as they are.
    // Normals are shown seldom enough to be drawn as they are too.
    if (View.KeepsLines() && !IsChangePending() && !FFacets->ShowNormals)
        View.KeptLines(FEdgesKey, [this](IGraphics& G) { FFacets->DrawDistinctEdges(G); });
    else
        FFacets->Draw(View);
}

void TGeoPGonlist::DrawFacets(IGraphics& View, bool InColour) {
    if (!Editing()) {
        if (FShowPolygons) DrawFacetLines(View);
        if (DrawContours()) {
            if (InColour)
                Contours().Draw(View);
            else
                Contours().DrawOutline(View);
        }
        if (!FShowPolygons && !DrawContours()) DrawBox(View);
        return;
    }
    const TMBox B = GetExtents();
    const double Arrow = 0.01 * std::max({B.Max.X - B.Min.X, B.Max.Y - B.Min.Y, B.Max.Z - B.Min.Z});
    if (InColour) View.SetLineColor(Colors().DrawColor());
    // The selected facets last, so that their edges and handles stay on top.
    for (const bool Selected : {false, true})
        for (int I = 0; I < FFacets->Count(); ++I) {
            const TFacetRef F = FFacets->Polygon(I);
            if (F.GetSelected() != Selected) continue;
            if (InColour && Selected) View.SetLineColor(Colors().SelectColor());
            const int N = F.CornerCount();
            for (int C = 0; C < N; ++C) View.LinePoints(F.Corner(C)->AsPoint(), F.Corner((C + 1) % N)->AsPoint());
            if (FFacets->ShowNormals) {
                const TMVector Centre = PolygonCentroid(F);
                View.VectorPoints(TRPoint(Centre), TRPoint(PolygonNormal(F)), Arrow, true);
            }
            if (!Selected) continue;
            for (int C = 0; C < N; ++C) {
                if (InColour) View.SetLineColor(F.CornerMarked(C) ? Colors().SelectColor() : Colors().DrawColor());
                View.EditHandlePoint(F.Corner(C)->AsPoint(), 0);
            }
            if (InColour) View.SetLineColor(Colors().SelectColor());
        }
}

void TGeoPGonlist::Draw(IGraphics& View) { DrawFacets(View, true); }

void TGeoPGonlist::DrawOutline(IGraphics& View) { DrawFacets(View, false); }

void TGeoPGonlist::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FFacets->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    Out.WriteLine("");
}

void TGeoPGonlist::LoadFromText(TTextReader& In) {
    FEdgesKey.Renew();
    CheckListCount(In);
    FFacets->LoadFromText(In);
    ReadNameAndColorLines(In, *this, false);
}

std::unique_ptr<TPolygonList> TGeoPGonlist::CreatePolygonRepresentation(std::uint8_t) { return FFacets->Clone(); }

void TGeoPGonlist::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    // Nothing when no GUI registered a renderer (headless runs): the facets keep drawing as lines.
    if (std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromPolygons(*FFacets, false, Mirrored()))
        SetRenderer(std::move(Renderer));
}

void TGeoPGonlist::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkPolygonList)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else
        Query.AddReference(FFacets.get(), GetName());
}

void TGeoPGonlist::HandleMessage(TGeoMessage& Message) {
    TGeoDraggable::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectPolygons*>(&Message) != nullptr) SetSelected(true);
}

}  // namespace sarnova
