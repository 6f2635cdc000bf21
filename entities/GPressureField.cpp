#include "entities/GPressureField.h"

#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GGonList.h"
#include "foundation/BlockCount.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

TPressureFieldRendererCreator& PressureFieldRendererCreator() {
    static TPressureFieldRendererCreator Creator;
    return Creator;
}

TGeoPressureField::TGeoPressureField() : FField(std::make_unique<TPressureField>()) {
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
}

TGeoPressureField::~TGeoPressureField() {
    // The renderer's instance holds the field: it goes first.
    TGeoPressureField::FreeRenderer();
}

void TGeoPressureField::SetColourRange(double Minimum, double Maximum) {
    FField->SetColourRange(Minimum, Maximum);
    if (RendererInstance != nullptr) {
        RendererInstance->SetColourRange(Minimum, Maximum);
        InvalidateViews();
    }
    Redraw();
}

void TGeoPressureField::ExtractPolygons() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    auto Polygons = std::make_unique<TGeoPGonlist>();
    Polygons->Facets().Assign(*FField);
    InListUpdate(*List, [&] {
        List->Add(std::move(Polygons));
        DeleteFromList();  // frees this entity
    });
}

void TGeoPressureField::AddMenuItems(TMenuItem&) {
    AddMenuItem("-", {});
    AddMenuItem("Extract Polygons", [this](TMenuItem&) { ExtractPolygons(); });
}

IGeometryFrame* TGeoPressureField::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(PressureFieldFrameName, *this, Owner)) return Frame;
    return TGeometry::CreateFrame(Owner);
}

void TGeoPressureField::UpdateFrame() {
    if (GetFrame() != nullptr) GetFrame()->Refresh();
}

void TGeoPressureField::Transform(const TMMatrix& M) {
    BeginChange();
    // The field's Assign leaves the range alone, so the transformed copy (which has none) keeps it.
    FField->Assign(*FField->Transformed(M));
    EndChange();
}

void TGeoPressureField::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoPressureField*>(&Source);
    if (Other == nullptr) return;
    FField->Assign(*Other->FField);
    FField->MinPressure = Other->FField->MinPressure;
    FField->MaxPressure = Other->FField->MaxPressure;
    FField->ColourMin = Other->FField->ColourMin;
    FField->ColourMax = Other->FField->ColourMax;
}

double TGeoPressureField::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    return IsHidden() ? 1e33 : FacetCornerDistance(*FField, ScreenPoint, View);
}

bool TGeoPressureField::InRect(const TRect& Rect, IGraphics& View) {
    return !IsHidden() && FacetCornerInRect(*FField, Rect, View);
}

void TGeoPressureField::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FField->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName);
    Out.WriteLine("");
}

void TGeoPressureField::LoadFromText(TTextReader& In) {
    CheckListCount(In);
    FField->LoadFromText(In);
    ReadNameAndColorLines(In, *this, false, false);
}

std::unique_ptr<TPolygonList> TGeoPressureField::CreatePolygonRepresentation(std::uint8_t) { return FField->Clone(); }

void TGeoPressureField::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    // Nothing when no GUI registered a renderer (headless runs): the facets keep drawing filled.
    const TPressureFieldRendererCreator& Creator = PressureFieldRendererCreator();
    if (!Creator) return;
    TPressureFieldRendering Made = Creator(*FField, Mirrored());
    if (!Made.Renderer) return;
    SetRenderer(std::move(Made.Renderer));
    RendererInstance = Made.Instance;
}

void TGeoPressureField::FreeRenderer() {
    TGeometry::FreeRenderer();
    RendererInstance = nullptr;
}

void TGeoPressureField::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkPolygonList)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else
        Query.AddReference(FField.get(), GetName());
}

}  // namespace sarnova
