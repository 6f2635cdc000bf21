// The ship hull-lines entity.
#include "hulls/GHalvorn.h"

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "entities/GBSurf.h"
#include "naval/GPList.h"
#include "platform/Menu.h"

namespace sarnova {

TGeoHalvorn::TGeoHalvorn() : TGeoHullLines(std::make_unique<THalvornVisual>()) {
    Generator().OnProgressText = [this](const std::string& Text) { ProgressText(Text); };
    SetDrawParameters(true);
}

TGeoHalvorn::~TGeoHalvorn() = default;

void TGeoHalvorn::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("Halvorn Hull", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        Document->Add(std::make_unique<TGeoHalvorn>());
        Document->RefreshViews();
    }));
    Item.ImageIndex = GetImageIndex();
}

TDataObject TGeoHalvorn::GetDataObject() { return TDataObject::Of(static_cast<THalvorn*>(&Generator())); }

void TGeoHalvorn::DrawCurves(IGraphics& View) {
    Generator().Mirrored = Mirrored();
    Generator().DrawCurves(View);
}

void TGeoHalvorn::DrawCurvesOutline(IGraphics& View) {
    Generator().Mirrored = Mirrored();
    Generator().DrawCurvesOutline(View);
}

bool TGeoHalvorn::AssignGenerator(const TGeoHullLines& Source) {
    const auto* Other = dynamic_cast<const TGeoHalvorn*>(&Source);
    if (Other == nullptr) return false;
    Generator().Assign(Other->Generator());
    return true;
}

void TGeoHalvorn::ExplodeGenerationCurves() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr || !Generated()) return;
    THalvornVisual& G = Generator();
    std::vector<std::unique_ptr<TGeometry>> Made;
    auto Name = [](const std::string& Curve) { return "Halvorn." + Curve; };
    auto AddPolyline = [&](const std::string& Curve, const TPolyline& Source) {
        auto E = std::make_unique<TGeoPline>();
        E->Polyline().AddCopies(Source);
        E->SetName(Name(Curve));
        Made.push_back(std::move(E));
    };
    auto AddSpline = [&](const std::string& Curve, const TBSpline& Source) {
        auto E = std::make_unique<TGeoBSpline>();
        E->Spline().Assign(Source);
        E->SetName(Name(Curve));
        Made.push_back(std::move(E));
    };
    auto AddList = [&](const std::string& Curve, const std::vector<std::unique_ptr<TPolyline>>& Source) {
        auto E = std::make_unique<TGeoPList>();
        for (const auto& P : Source) E->Polylines().Add(P->Clone());
        E->SetName(Name(Curve));
        Made.push_back(std::move(E));
    };
    AddPolyline("iXParamL", G.IXParamL());
    AddPolyline("iXParamF", G.IXParamF());
    const TBSpline AftFullNess(3);
    const std::pair<const char*, const TBSpline*> Splines[] = {
        {"Stem", &G.Stem()},           {"Stern", &G.Stern()},
        {"DeckLine", &G.DeckLine()},   {"MidSection", &G.MidSection()},
        {"Transom", &G.Transom()},     {"SternSide", &G.SternSide()},
        {"Deck", &G.Deck()},           {"BowFlatTangenet", &G.BowFlatTangenet()},
        {"BowFullness", &G.BowFullness()}, {"AftFlatTangent", &G.AftFlatTangent()},
        {"AftFullNess", &AftFullNess}, {"Projection", &G.Projection()},
        {"FullStern", &G.FullStern()}};
    for (const auto& [Curve, Spline] : Splines) AddSpline(Curve, *Spline);
    std::vector<std::unique_ptr<TPolyline>> Columns;
    for (int i = 0; i < G.ColumnListCount(); ++i) Columns.push_back(G.Column(i).Clone());
    AddList("Columns", Columns);
    AddList("Verts", G.Verts());
    auto AddSplines = [&](const char* ListName, const std::vector<std::unique_ptr<TBSpline>>& Source) {
        for (std::size_t i = 0; i < Source.size(); ++i)
            AddSpline(std::string(ListName) + "(" + std::to_string(i) + ")", *Source[i]);
    };
    AddSplines("BowBlenders", G.BowBlenders());
    AddSplines("AftBlenders", G.AftBlenders());
    AddSplines("Bls", G.Bls());
    auto Surface = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Surface->Surface(), G);
    Surface->SetName(Name("Surface"));
    Surface->Recalculate();
    Made.push_back(std::move(Surface));

    InListUpdate(*List, [&] {
        for (auto& E : Made) List->Add(std::move(E));
        DeleteFromList();
    });
}

}  // namespace sarnova
