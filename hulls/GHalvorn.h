// The ship hull-lines entity: one hull-lines generator in the document, its generation on request,
// drawing of the generation curves until it is generated, and the conversions and explode of its
// popup menu.
#pragma once
#include <memory>
#include <string>

#include "hulls/GHullLines.h"
#include "hulls/Halvorn.h"

namespace sarnova {

// The name under which the GUI registers the property frame.
inline const char* const HalvornFrameName = "HalvornFrame";

class TGeoHalvorn : public TGeoHullLines {
public:
    // Default parameters, not generated; generation curves and parameter lines shown.
    TGeoHalvorn();
    ~TGeoHalvorn() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoHalvorn>(); }

    static std::string GetKeyword() { return "THalvorn"; }
    static int GetMenuOrder() { return 82; }
    static int GetImageIndex() { return 52; }
    // "Halvorn Hull": a new hull in the document.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    THalvornVisual& Generator() const { return static_cast<THalvornVisual&>(Net()); }
    // The generation curves and the surface as entities of their own, named "Halvorn.<curve>".
    void ExplodeGenerationCurves() override;
    TDataObject GetDataObject() override;

protected:
    const char* FrameName() const override { return HalvornFrameName; }
    void RunGenerator() override { Generator().Generate(); }
    bool KeptLastHull() const override { return Generator().HasBuiltHull(); }
    int LineFactor() const override { return 3; }
    void DrawCurves(IGraphics& View) override;
    void DrawCurvesOutline(IGraphics& View) override;
    std::unique_ptr<TPolyline> GetPickPoints() override { return Generator().GetPickPoints(); }
    bool AssignGenerator(const TGeoHullLines& Source) override;
};

}  // namespace sarnova
