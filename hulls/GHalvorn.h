// The ship hull-lines entity: one hull-lines generator in the document, its generation on request,
// drawing of the generation curves until it is generated, and the conversions and explode of its
// popup menu.
#pragma once
#include <memory>
#include <string>

#include "entities/GSurface.h"
#include "hulls/Halvorn.h"

namespace sarnova {

// The name under which the GUI registers the property frame.
inline const char* const HalvornFrameName = "HalvornFrame";

// The status text of an entity whose net is not current.
inline const char* const HalvornUngeneratedText = "\u00AB\u00AB Hull Ungenerated \u00BB\u00BB";

// The property frame as the entity sees it.
class IHalvornFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { UpdateFromEntity(); }
    virtual void UpdateFromEntity() = 0;
    // A progress text of the generation for the status panel.
    virtual void ShowStatus(const std::string& Text) = 0;
};

class TGeoHalvorn : public TGeoSurface {
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

    THalvornVisual& Generator() const { return *FGenerator; }
    bool Generated() const { return FGenerated; }
    // The net is no longer current (after an edit without interactive update): erased and redrawn
    // with its generation curves.
    void SetUngenerated();
    // Generates the hull; the parameter lines become three per control point. A failure leaves the
    // entity ungenerated and propagates.
    void Generate();
    bool GetDrawBoundaries() const { return FDrawBoundaries; }
    void SetDrawBoundaries(bool Value);
    // "Explode Generation Curves": the generation curves and the surface as entities of their own,
    // named "Halvorn.<curve>", in place of this entity. Nothing until generated.
    void ExplodeGenerationCurves();

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    TSurface* GetSurface() override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    std::uint8_t GetSelectionType() override { return 4; }
    void AfterListChange() override {}
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Assign(const TGeometry& Source) override;
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    void Query(TGeometryQuery& Query) override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;

private:
    void ProgressText(const std::string& Text);
    // Whether the generation curves are drawn: asked for, nothing else shown, or nothing else to show.
    bool CurvesShown() const;

    std::unique_ptr<THalvornVisual> FGenerator;
    bool FGenerated = false;
    bool FDrawBoundaries = true;
};

}  // namespace sarnova
