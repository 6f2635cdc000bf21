// The section tools of the polyline-list entity: its popup and selection menus and the operations
// behind them.
#include <memory>
#include <vector>

#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "document/GeometryRepresentation.h"
#include "document/PolylineDialogs.h"
#include "entities/GGonList.h"
#include "entities/GPointList.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonBuild.h"
#include "foundation/PolylineResample.h"
#include "naval/GPList.h"
#include "platform/Menu.h"
#include "platform/Screen.h"

namespace sarnova {

namespace {

const char* const VertexSpacingCaption = "Change Vertex Spacing...";
const char* const SectionSpacingCaption = "Change Section Spacing...";
const char* const SliceCaption = "Slice...";
const char* const WeldCaption = "Weld Polylines with Tolerance...";
const char* const ShellCaption = "Add Shell Thickness...";
const char* const WebFramesCaption = "Generate Web Frames...";
const char* const MeshCaption = "Generate Polygon Mesh";
const char* const ExtractCaption = "Extract Contours";
const char* const ContoursCaption = "Show Contours";
const char* const DirectionCaption = "Show Direction";
const char* const MirroredCaption = "Mirrored";
const char* const OutlineCaption = "Show Compartment Outline";

bool OnCentrePlane(const TRPoint& P) { return P.Y == 0; }

// The triangles closing the end section P, re-spaced as the mesh is.
std::unique_ptr<TPolygonList> CapOf(const TPolyline& P, const TPolyMeshOptions& Options) {
    const std::unique_ptr<TPolyline> Outline = P.Clone();
    ResampleAtKnuckles(*Outline, Options.SegmentLength, Options.KnuckleAngle);
    Outline->SetClosed(true);
    return TriangulatePolyline(*Outline);
}

}  // namespace

template <class F>
void TGeoPList::ChangePolylines(F Body) {
    BeginChange();
    Undraw();
    Body();
    EndChange();
    Redraw();
}

void TGeoPList::ReplacePolylines(const TPolylineList& Source) {
    ChangePolylines([&] { FPolylines->Assign(Source); });
}

// ---- Close / Unclose ----

void TGeoPList::CloseHull() {
    ChangePolylines([&] {
        for (int I = 0; I < FPolylines->Count(); ++I) {
            TPolyline& P = *FPolylines->Items(I);
            if (P.Count() == 0) continue;
            if (const TRPoint First = *P.Point(0); !OnCentrePlane(First)) P.InsertPoint(0, First.X, 0, First.Z);
            if (const TRPoint Last = *P.Last(); !OnCentrePlane(Last)) P.AddPoint(Last.X, 0, Last.Z);
        }
    });
}

void TGeoPList::UncloseHull() {
    ChangePolylines([&] {
        for (int I = 0; I < FPolylines->Count(); ++I) {
            TPolyline& P = *FPolylines->Items(I);
            if (P.Count() > 0 && OnCentrePlane(*P.Point(0))) P.Delete(0);
            if (P.Count() > 0 && OnCentrePlane(*P.Last())) P.Delete(P.Count() - 1);
        }
    });
}

void TGeoPList::ClosePolylines() {
    ChangePolylines([&] {
        for (int I = 0; I < FPolylines->Count(); ++I) FPolylines->Items(I)->SetClosed(true);
    });
}

void TGeoPList::UnclosePolylines() {
    // Undoable like closing.
    ChangePolylines([&] {
        for (int I = 0; I < FPolylines->Count(); ++I) FPolylines->Items(I)->SetClosed(false);
    });
}

void TGeoPList::UncloseDeck() {
    ChangePolylines([&] {
        for (int I = 0; I < FPolylines->Count(); ++I) {
            TPolyline& P = *FPolylines->Items(I);
            if (P.Count() == 0) continue;
            // The deck end is the higher one.
            if (P.Point(0)->Z < P.Last()->Z) {
                if (OnCentrePlane(*P.Last())) P.Delete(P.Count() - 1);
            } else if (OnCentrePlane(*P.Point(0))) {
                P.Delete(0);
            }
        }
    });
}

// ---- Sorting and tidying ----

void TGeoPList::SortByX() {
    Undraw();
    SortSections();
}

void TGeoPList::SortByXAndDefineStart() {
    ChangePolylines([&] {
        FPolylines->SortByStation();
        for (int I = 0; I < FPolylines->Count(); ++I) FPolylines->Items(I)->OrientSection();
    });
}

void TGeoPList::MakeUniqueSections() {
    const std::unique_ptr<TPolylineList> Copy = FPolylines->Clone();
    TidySections(*Copy);
    ReplacePolylines(*Copy);
}

void TGeoPList::ReversePointsOrder() {
    BeginChange();
    for (int I = 0; I < FPolylines->Count(); ++I) FPolylines->Items(I)->Reverse();
    EndChange();
    InvalidateViews();
}

// ---- Dialog operations ----

void TGeoPList::ChangeVertexSpacing() {
    const auto& Show = PolylineDialogs().ShowVertexDialogForList;
    if (!Show) return;
    const TVertexOptions Options = Show(*FPolylines);
    if (Options.Mode == 0) return;
    const std::unique_ptr<TPolylineList> Copy = FPolylines->Clone();
    ModifyPolylineListVertices(*Copy, Options);
    ReplacePolylines(*Copy);
}

void TGeoPList::ChangeSectionSpacing() {
    const auto& Show = PlistDialogs().ShowSectionSpacingDialog;
    if (!Show) return;
    const std::unique_ptr<TPolylineList> Copy = FPolylines->Clone();
    if (Show(*Copy)) ReplacePolylines(*Copy);
}

void TGeoPList::Slice() {
    const auto& Show = PolylineDialogs().ShowSliceDialog;
    TGeometryList* List = GetOwnerList();
    bool Close = false;
    TMPlane Plane;
    if (Show && List != nullptr && Show("Polyline List", *List, true, Close, Plane)) Slice(Plane, Close);
}

void TGeoPList::Slice(const TMPlane& Plane, bool Close) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    // Both sides are cut before anything changes, so a failure leaves the document as it was.
    std::unique_ptr<TPolylineList> Sides[] = {ClipPolylinesByPlane(*FPolylines, -1, Plane, Close, false),
                                              ClipPolylinesByPlane(*FPolylines, 1, Plane, Close, false)};
    InListUpdate(*List, [&] {
        Undraw();
        for (auto& Side : Sides) {
            if (!Side || Side->Count() == 0) continue;
            auto Entity = std::make_unique<TGeoPList>();
            Entity->Polylines().Assign(*Side);
            List->Add(std::move(Entity))->Redraw();
        }
        DeleteFromList();  // frees this entity
    });
}

void TGeoPList::WeldPolylines() {
    const auto& Query = PolylineDialogs().InputQuery;
    std::string Text = "0.001";
    if (!Query || !Query("Weld Polylines with Tolerance", "Max tolerance between lines:", Text)) return;
    double Tolerance = 0;
    try {
        Tolerance = ParseFloat(Trim(Text));
    } catch (const EConvertError&) {
        throw EConvertError("Unable to convert text to number");
    }
    WeldPolylines(Tolerance);
}

void TGeoPList::WeldPolylines(double Tolerance) {
    const THourGlassCursor HourGlass;
    const std::unique_ptr<TPolylineList> Welded = WeldPolylinesWithin(*FPolylines, Tolerance);
    TGeometryList* List = GetOwnerList();
    if (Welded->Count() != 1 || List == nullptr) {
        ReplacePolylines(*Welded);
        return;
    }
    InListUpdate(*List, [&] {
        Undraw();
        auto Line = std::make_unique<TGeoPline>();
        Line->Polyline().Assign(*Welded->Items(0));
        List->Add(std::move(Line));
        DeleteFromList();  // frees this entity
    });
}

void TGeoPList::AddShellThickness() {
    const auto& Show = PlistDialogs().ShowDoubleDialog;
    double Thickness = 0;
    if (Show && Show("Add Shell Thickness", "Shell Thickness:", "Shell Thickness", Thickness))
        AddShellThickness(Thickness);
}

void TGeoPList::AddShellThickness(double Thickness) {
    const std::unique_ptr<TPolylineList> Copy = FPolylines->Clone();
    for (int I = 0; I < Copy->Count(); ++I) Copy->Items(I)->OffsetInYZ(Thickness);
    ReplacePolylines(*Copy);
}

void TGeoPList::GenerateWebFrames() {
    if (const auto& Show = PlistDialogs().ShowWebFramesDialog) {
        const TWebFrameSize Size = Show();
        GenerateWebFrames(Size.Depth, Size.Thickness);
    }
}

void TGeoPList::GenerateWebFrames(double Depth, double Thickness) {
    TGeometryList* List = GetOwnerList();
    if (Depth == 0 || Thickness == 0 || List == nullptr) return;
    const std::unique_ptr<TPolygonList> Facets = ThickenPolylines(*FPolylines, Depth, Thickness);
    auto Entity = std::make_unique<TGeoPGonlist>();
    Entity->Facets().Assign(*Facets);
    InListUpdate(*List, [&] { List->Add(std::move(Entity))->Redraw(); });
}

void TGeoPList::GeneratePolygonMesh() {
    const auto& Show = PlistDialogs().ShowPolyMeshDialog;
    if (!Show) return;
    const TPolyMeshOptions Options = Show();
    if (!Options.Cancelled) GeneratePolygonMesh(Options);
}

void TGeoPList::GeneratePolygonMesh(const TPolyMeshOptions& Options) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    std::unique_ptr<TPolygonList> Mesh = MeshFromSections(*FPolylines, Options.SegmentLength, Options.KnuckleAngle);
    if (FPolylines->Count() > 0) {
        if (Options.CapStart) {
            // Faces forward out of the first section, so its triangles turn round.
            std::unique_ptr<TPolygonList> Cap = CapOf(*FPolylines->First(), Options);
            Cap->FlipNormals();
            Mesh->TakeFrom(*Cap);
        }
        if (Options.CapEnd) Mesh->TakeFrom(*CapOf(*FPolylines->Last(), Options));
    }
    auto Entity = std::make_unique<TGeoPGonlist>();
    Entity->Facets().Assign(*Mesh);
    InListUpdate(*List, [&] { List->Add(std::move(Entity))->Redraw(); });
}

// ---- Replacing the entity ----

void TGeoPList::Explode() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    InListUpdate(*List, [&] {
        Undraw();
        for (int I = 0; I < FPolylines->Count(); ++I) {
            auto Line = std::make_unique<TGeoPline>();
            Line->Polyline().Assign(*FPolylines->Items(I));
            List->Add(std::move(Line));
        }
        DeleteFromList();  // frees this entity
    });
}

void TGeoPList::ConvertToPointCloud() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    auto Cloud = std::make_unique<TGeoPointList>();
    for (int I = 0; I < FPolylines->Count(); ++I) Cloud->Cloud().AddPolyline(*FPolylines->Items(I));
    InListUpdate(*List, [&] {
        List->Add(std::move(Cloud));
        DeleteFromList();  // frees this entity
    });
}

void TGeoPList::ExtractContours() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    Contours().Update();
    const TPolylineList* Lines = Contours().GetPolylines();
    if (Lines == nullptr) return;
    auto Entity = std::make_unique<TGeoPList>();
    Entity->Polylines().Assign(*Lines);
    InListUpdate(*List, [&] { List->Add(std::move(Entity))->Redraw(); });
}

// ---- Menus ----

void TGeoPList::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Close / Unclose", {});
    AddSubMenuItem("Close Hull", [this](TMenuItem&) { CloseHull(); });
    AddSubMenuItem("UnClose Hull", [this](TMenuItem&) { UncloseHull(); });
    AddSubMenuItem("-", {});
    AddSubMenuItem("Close Polylines", [this](TMenuItem&) { ClosePolylines(); });
    AddSubMenuItem("UnClose Polylines", [this](TMenuItem&) { UnclosePolylines(); });
    AddSubMenuItem("-", {});
    AddSubMenuItem("UnClose Deck", [this](TMenuItem&) { UncloseDeck(); });
    AddMenuItem("Hull Section Sort", {});
    AddSubMenuItem("By X Location", [this](TMenuItem&) { SortByX(); });
    AddSubMenuItem("By X Location && Define Section Start Point", [this](TMenuItem&) { SortByXAndDefineStart(); });
    AddMenuItem("Make Unique Sections", [this](TMenuItem&) { MakeUniqueSections(); });
    AddMenuItem("Reverse Points Order", [this](TMenuItem&) { ReversePointsOrder(); });
    AddMenuItem("-", {});
    AddMenuItem(VertexSpacingCaption, [this](TMenuItem&) { ChangeVertexSpacing(); });
    AddMenuItem(SectionSpacingCaption, [this](TMenuItem&) { ChangeSectionSpacing(); });
    AddMenuItem(SliceCaption, [this](TMenuItem&) { Slice(); });
    AddMenuItem(WeldCaption, [this](TMenuItem&) { WeldPolylines(); });
    AddMenuItem(ShellCaption, [this](TMenuItem&) { AddShellThickness(); });
    AddMenuItem(WebFramesCaption, [this](TMenuItem&) { GenerateWebFrames(); });
    AddMenuItem("-", {});
    AddMenuItem("Explode", [this](TMenuItem&) { Explode(); });
    AddMenuItem(MeshCaption, [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem("Convert to PointCloud", [this](TMenuItem&) { ConvertToPointCloud(); });
    AddMenuItem(ExtractCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("-", {});
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    AddMenuItem(DirectionCaption, [this](TMenuItem&) { ToggleShowDirection(); });
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    AddMenuItem(OutlineCaption, [this](TMenuItem&) { ToggleCompartmentOutline(); });
    UpdateMenuItems(Root);
}

void TGeoPList::UpdateMenuItems(TMenuItem& Root) {
    TGeoDraggable::UpdateMenuItems(Root);
    const auto Set = [&Root](const char* Caption, bool Enabled, bool Checked = false) {
        if (TMenuItem* Item = Root.Find(Caption)) {
            Item->Enabled = Enabled;
            Item->Checked = Checked;
        }
    };
    Set(MirroredCaption, true, Mirrored());
    Set(ContoursCaption, true, DrawContours());
    Set(ExtractCaption, DrawContours());
    Set(OutlineCaption, true, ShowAsCompartment());
    Set(DirectionCaption, !ShowAsCompartment(), ShowDirection);
    // The dialog operations need the dialogs, which only a GUI sets.
    Set(VertexSpacingCaption, static_cast<bool>(PolylineDialogs().ShowVertexDialogForList));
    Set(SectionSpacingCaption, static_cast<bool>(PlistDialogs().ShowSectionSpacingDialog));
    Set(SliceCaption, static_cast<bool>(PolylineDialogs().ShowSliceDialog));
    Set(WeldCaption, static_cast<bool>(PolylineDialogs().InputQuery));
    Set(ShellCaption, static_cast<bool>(PlistDialogs().ShowDoubleDialog));
    Set(WebFramesCaption, static_cast<bool>(PlistDialogs().ShowWebFramesDialog));
    Set(MeshCaption, static_cast<bool>(PlistDialogs().ShowPolyMeshDialog));
}

void TGeoPList::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoPList>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Show as Sections", List, +[](TGeometryList& Document) {
        ForEachSelected<TGeoPList>(Document, [](TGeoPList& E) { E.SetShowAsCompartment(false); });
    });
    AddDocumentItem(Menu, "Show as Compartments", List, +[](TGeometryList& Document) {
        ForEachSelected<TGeoPList>(Document, [](TGeoPList& E) { E.SetShowAsCompartment(true); });
    });
    Menu.Add("-");
    AddDocumentItem(Menu, "Show Polyline Directions", List, +[](TGeometryList& Document) {
        ForEachSelected<TGeoPList>(Document, [](TGeoPList& E) { E.SetShowDirection(true); });
    });
    AddDocumentItem(Menu, "Hide Polyline Directions", List, +[](TGeometryList& Document) {
        ForEachSelected<TGeoPList>(Document, [](TGeoPList& E) { E.SetShowDirection(false); });
    });
    Menu.Add("-");
    // Gathered first (ForEachSelected does): each explode frees its entity.
    AddDocumentItem(Menu, "Explode All Polylists", List, +[](TGeometryList& Document) {
        ForEachSelected<TGeoPList>(Document, [](TGeoPList& E) { E.Explode(); });
    });
}

}  // namespace sarnova
