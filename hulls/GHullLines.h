// The base of the hull-lines entities: one generator whose B-spline net is the hull, generated on
// request, drawing its own curves until then, and offering the surface's conversions, queries and
// renderer only once generated.
#pragma once
#include <memory>
#include <string>

#include "entities/GSurface.h"

namespace sarnova {

class TBSplineSurface;
class TPolyline;

// The status text of a hull whose net is not current.
inline const char* const HullUngeneratedText = "\u00AB\u00AB Hull Ungenerated \u00BB\u00BB";
// The status text of a generated hull.
inline const char* const HullCompleteText = "\u00AB\u00AB Hull Complete \u00BB\u00BB";

// The property frame of a hull-lines entity as the entity sees it.
class IHullLinesFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { UpdateFromEntity(); }
    virtual void UpdateFromEntity() = 0;
    // A progress text of the generation for the status panel.
    virtual void ShowStatus(const std::string& Text) = 0;
};

class TGeoHullLines : public TGeoSurface {
public:
    ~TGeoHullLines() override;

    bool Generated() const { return FGenerated; }
    // The net is no longer current (after an edit without interactive update): erased and redrawn
    // with the generator's curves.
    void SetUngenerated();
    // Runs the generator; the parameter lines become LineFactor per control point. Nothing while
    // the entity is generated and its generator says the net is current. A failure leaves the entity
    // ungenerated, since its net no longer matches its parameters, and propagates.
    void Generate();
    bool GetDrawBoundaries() const { return FDrawBoundaries; }
    void SetDrawBoundaries(bool Value);
    // "Explode Generation Curves": the generator's curves as entities of their own in place of this
    // one. Nothing until generated.
    virtual void ExplodeGenerationCurves() = 0;

    // ---- Overrides ----
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

protected:
    // Takes the generator, whose net is the hull; subclasses reach it through their own accessor.
    explicit TGeoHullLines(std::unique_ptr<TBSplineSurface> Generator);
    TBSplineSurface& Net() const { return *FNet; }

    // The progress text of the generation: the frame's status panel, the console, pending events.
    void ProgressText(const std::string& Text);

    // ---- What each generator adds ----
    // The name under which the GUI registers the property frame.
    virtual const char* FrameName() const = 0;
    // Brings the net up to date.
    virtual void RunGenerator() = 0;
    // Whether the generator knows its net to be current; false when it always generates.
    virtual bool NetCurrent() const { return false; }
    // Whether a generator that refused its parameters put the last hull it built back.
    virtual bool KeptLastHull() const { return false; }
    // Parameter lines per control point of a generated net.
    virtual int LineFactor() const = 0;
    // The generator's curves with the entity's mirrored state, and their control polygons.
    virtual void DrawCurves(IGraphics& View) = 0;
    virtual void DrawCurvesOutline(IGraphics& View) = 0;
    virtual std::unique_ptr<TPolyline> GetPickPoints() = 0;
    // Copies the generator of Source when it is of the same kind; false otherwise.
    virtual bool AssignGenerator(const TGeoHullLines& Source) = 0;
    // Items between the explode item and the display switches, each after a separator.
    virtual void AddGeneratorMenuItems() {}
    // The caption of the mirrored switch in the popup menu.
    virtual const char* MirroredCaption() const { return "Show Mirrored"; }
    // The block writes the parameter-line switch before the outline's.
    virtual bool ParametersBeforeOutline() const { return false; }

private:
    // Whether the generator's curves are drawn: asked for, nothing else shown, or nothing else to show.
    bool CurvesShown() const;
    // The net as the hull shown: its parameter lines, representations and renderer renewed; a new
    // net marks the entity changed.
    void ShowNet(bool Changed);

    std::unique_ptr<TBSplineSurface> FNet;
    bool FGenerated = false;
    bool FDrawBoundaries = true;
};

}  // namespace sarnova
