// The bases of the surface entities: TGeoSurface for surfaces generated from other data, and
// TGeoDraggableSurface for surfaces whose control points are dragged in the view, with the cached
// parameter-line, outline and curvature-analysis pictures they share and the popup operations that
// turn a surface into other entities.
#pragma once
#include <functional>
#include <memory>
#include <optional>

#include "document/GDraggable.h"
#include "document/Geometry.h"
#include "document/GeometryRepresentation.h"

namespace sarnova {

class TMesh;
class TSurface;
class TSurfaceAnalysis;
class TSurfaces;


// What the shared representations ask of the entity that owns them.
class ISurfaceEntity {
public:
    virtual ~ISurfaceEntity();
    // The entity's surface when it is a single kernel surface; nullptr otherwise.
    virtual TSurface* GetSurface() = 0;
    virtual void AddBoundaryLines(TPolylineList& List) = 0;
    virtual void AddParameterLines(TPolylineList& List) = 0;
    virtual void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) = 0;
};

// Zebra stripe count for a "ZebraBands" setting; 0 for a width the analysis has no count for.
int ZebraStripeCount(std::uint8_t Bands);

// Adds Surface's lines at NU by NV lines per direction, its own line settings left as they were.
void AddSurfaceLines(TSurface& Surface, TPolylineList& List, int NU, int NV);

// The parameter lines of the owner, while its parameter-line switch is on.
class TParametersRepresentation : public TPolylistRepresentation {
public:
    using TPolylistRepresentation::TPolylistRepresentation;

protected:
    void Rebuild() override;
};

// The boundary lines of the owner.
class TOutlineRepresentation : public TPolylistRepresentation {
public:
    using TPolylistRepresentation::TPolylistRepresentation;

protected:
    void Rebuild() override;
};

// The curvature or zebra analysis of the owner's surfaces; starts hidden.
class TSurfaceAnalysisRepresentation : public TGeometryRepresentation {
public:
    explicit TSurfaceAnalysisRepresentation(TGeometry& AGeometry);
    ~TSurfaceAnalysisRepresentation() override;

    TSurfaceAnalysis& Analysis() const { return *FAnalysis; }

protected:
    // Copies the analysis settings of the program into the analysis first.
    void DoDraw(IGraphics& View) override;
    void DoDrawOutline(IGraphics& View) override;
    void Rebuild() override;

private:
    std::unique_ptr<TSurfaceAnalysis> FAnalysis;
};

// The display switches and representations both bases share. Holders create the line
// representations they need; the analysis always exists.
class TSurfaceDisplay {
public:
    explicit TSurfaceDisplay(TGeometry& AOwner);
    ~TSurfaceDisplay();

    TGeometry& Owner;
    std::unique_ptr<TParametersRepresentation> Parameters;
    std::unique_ptr<TOutlineRepresentation> Outline;
    std::unique_ptr<TSurfaceAnalysisRepresentation> Analysis;
    int NumULine = 25;
    int NumVLine = 25;

    bool GetDrawParameters() const { return (Owner.GetState() & gsParameterLines) != 0; }
    bool GetDrawOutline() const { return Outline && Outline->GetVisible(); }
    bool GetShowAnalysis() const { return (Owner.GetState() & gsCurvature) != 0; }
    void SetDrawOutline(bool Show);
    void SetShowAnalysis(bool Show);
    // Shows the analysis in Mode (0 Gaussian, 1 mean, 2 zebra); nothing when shown so already.
    void ShowAnalysisMode(std::uint8_t Mode);
    void HideAnalysis();
    TMenuItem* AddAnalysisMenu();
    void UpdateAnalysisMenu(TMenuItem* Item) const;
    void InvalidateAll();
    // Thick outline in the draw colour, drawn even when hidden.
    void DrawHighlighted(IGraphics& View);
    void SetFlag(std::uint16_t Bit, bool Value);
    // Parameter lines (visible, switched on), then the outline, then the contours: the first that
    // shows; nullptr when none does. ContoursFirst puts the contours before the outline.
    TPolylistRepresentation* HitRepresentation(bool ContoursFirst) const;
    // Replaces the owner by a new entity made from it, in one update bracket.
    void ReplaceOwner(std::unique_ptr<TGeometry> Replacement);
    // A new polygon-list entity of the owner's facets, in one update of its list.
    void GeneratePolygonMesh();
    // A new polyline-list entity of the contour lines as shown; ResetStyles makes them plain lines.
    void ExtractContours(bool ResetStyles);
    // A new polyline-list entity of the calculation sections of Surface, or of all of Surfaces;
    // nothing when none result.
    void CreateCalculationSections(TSurface* Surface);
    void CreateCalculationSections(TSurfaces* Surfaces);
};

// Marks the document that holds Entity modified (nothing when it is in none).
void MarkDocumentModified(TGeometry& Entity);

// What both surface bases add to their entity base Base: the shared display switches and
// representations, and the line sampling from the entity's surface.
template <class Base>
class TSurfaceEntity : public Base, public ISurfaceEntity {
public:
    void InvalidateRepresentations() override {
        Base::InvalidateRepresentations();
        Display.InvalidateAll();
    }
    void DrawHighlighted(IGraphics& View) override { Display.DrawHighlighted(View); }

    void AddBoundaryLines(TPolylineList& List) override {
        if (TSurface* Surface = GetSurface()) AddSurfaceLines(*Surface, List, 2, 2);
    }
    void AddParameterLines(TPolylineList& List) override {
        if (TSurface* Surface = GetSurface()) AddSurfaceLines(*Surface, List, Display.NumULine, Display.NumVLine);
    }
    void AddToSurfaceAnalysis(TSurfaceAnalysis&) override {}
    // None in the base: each subclass hands out the kernel surface it holds.
    TSurface* GetSurface() override { return nullptr; }

    virtual void SetDrawParameters(bool Show) = 0;
    bool GetDrawParameters() const { return Display.GetDrawParameters(); }
    void ToggleDrawParameters() { SetDrawParameters(!GetDrawParameters()); }
    bool GetDrawOutline() const { return Display.GetDrawOutline(); }
    // The file keeps the switch: a change of it is an undo step.
    void SetDrawOutline(bool Show) {
        if (Show != GetDrawOutline()) this->RecordChange();
        Display.SetDrawOutline(Show);
    }
    void ToggleDrawOutline() { SetDrawOutline(!GetDrawOutline()); }
    // The popup menu's display switches. They are saved with the document, so each marks it
    // modified; the outline's setter records its own undo step.
    void MenuToggleDrawParameters() {
        ToggleDrawParameters();
        MarkDocumentModified(*this);
    }
    void MenuToggleDrawContours() {
        Base::SetDrawContours(!Base::DrawContours());
        MarkDocumentModified(*this);
    }
    void MenuToggleDrawOutline() {
        ToggleDrawOutline();
        MarkDocumentModified(*this);
    }
    int GetNumULine() const { return Display.NumULine; }
    int GetNumVLine() const { return Display.NumVLine; }
    void SetNumULine(int Value) { SetLineCount(Display.NumULine, Value); }
    void SetNumVLine(int Value) { SetLineCount(Display.NumVLine, Value); }
    bool GetShowAnalysis() const { return Display.GetShowAnalysis(); }
    void SetShowAnalysis(bool Show) { Display.SetShowAnalysis(Show); }
    void ShowGaussianCurvature() { Display.ShowAnalysisMode(0); }
    void ShowMeanCurvature() { Display.ShowAnalysisMode(1); }
    void ShowZebra() { Display.ShowAnalysisMode(2); }
    void HideAnalysis() { Display.HideAnalysis(); }
    TMenuItem* AddAnalysisMenu() { return Display.AddAnalysisMenu(); }
    // "Generate Polygon Mesh": a new polygon-list entity of the facets of the surface.
    void GeneratePolygonMesh() { Display.GeneratePolygonMesh(); }
    // "Create Calculation Sections": a new polyline-list entity of the sections of the surface.
    void CreateCalculationSections() { Display.CreateCalculationSections(GetSurface()); }
    void UpdateAnalysisMenu(TMenuItem* Item) const { Display.UpdateAnalysisMenu(Item); }

    // Nullptr for line representations a draggable subclass has not created.
    TParametersRepresentation* ParametersRepresentation() const { return Display.Parameters.get(); }
    TOutlineRepresentation* OutlineRepresentation() const { return Display.Outline.get(); }
    TSurfaceAnalysisRepresentation& AnalysisRepresentation() const { return *Display.Analysis; }

protected:
    virtual void SetLineCount(int& Count, int Value) = 0;

    TSurfaceDisplay Display{*this};
};

// The base of generated surfaces, which have no points of their own to drag.
class TGeoSurface : public TSurfaceEntity<TGeometry> {
public:
    TGeoSurface();
    ~TGeoSurface() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoSurface>(); }

    // For a selection of entities of the class only: "Convert to Surfaces" and "Convert to Surfaces
    // Meshes..." when every one has a mesh surface, and "Create Polygons"; subclasses that keep these
    // items pass their own class.
    static void AddSurfaceSelectionItems(const TGeometryClass& Class, TMenuItem& Menu, TGeometryList& List);
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
        AddSurfaceSelectionItems(GeometryClassOf<TGeoSurface>(), Menu, List);
    }

    TMBox CalculateExtents() override;
    void Assign(const TGeometry& Source) override;
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // An entity that shows neither parameter lines nor contours shows its outline.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    void HandleMessage(TGeoMessage& Message) override;

    void SetDrawParameters(bool Show) override;
    // "Extract Contours": a new polyline-list entity of the contour lines, as plain black lines.
    void ExtractContours() { Display.ExtractContours(true); }
    // Replace the entity by a B-spline surface entity or a mesh entity holding a copy of its surface,
    // when that is a mesh; the second always makes a mesh entity.
    void ConvertToSurfaceEntity();
    void ConvertToMeshEntity();

    // A TGeoSurface whose surface is a mesh (a B-spline surface included).
    static bool HasMeshSurface(TGeometry* Entity);

protected:
    void SetLineCount(int& Count, int Value) override;
};

struct TBlockLine;
class TGeometryQuery;

// "  Creating Polygon Representation of <class>.<name>..." on the console (no "." and name when
// unnamed): what the generated surfaces say before they make their facets.
void AnnouncePolygonRepresentation(const TGeometry& Entity);

// How an entity holding one B-spline surface answers a query: surfaces and B-spline surfaces get the
// surface itself, meshes and polygon lists are made for the query; one item named Name.
void AnswerBSplineSurfaceQuery(TGeometryQuery& Query, TSurface& Surface, const std::string& Name);

// The display keys that the generated surfaces keep after their own lines: "Name=", "Color=",
// "DrawParameters=", "DrawOutline=" (WithOutline), "DrawContours=", "Mirrored=", "NumULine=" and
// "NumVLine=" (when not 25). Both switches are written also when off, since a new entity has them on.
void WriteSurfaceBlockKeys(TTextWriter& Out, TGeoSurface& Entity, bool WithOutline);

// Line counts of a surface (NumULine, NumVLine, extrusion divisions) beyond this are taken for a
// damaged file: each line is sampled point by point, and every draw would pay for them.
constexpr int MaxSurfaceLineCount = 1000;

// The line count Name of a block key read from line LineNo; throws EGeometryError naming the line when
// it is no number or lies outside 1 to MaxSurfaceLineCount, as a B-spline surface's do.
int SurfaceLineCount(const TBlockLine& Line, const char* Name, int LineNo);

// Reads those keys up to the end of the block; a line count out of its range throws (SurfaceLineCount).
// The switches are applied at the end, the outline first, because hiding the outline also hides the
// parameter lines.
void ReadSurfaceBlockKeys(TTextReader& In, TGeoSurface& Entity);

// The base of surfaces whose control points are dragged. Subclasses create the line
// representations (CreateLineRepresentations) and draw themselves.
class TGeoDraggableSurface : public TSurfaceEntity<TGeoDraggable> {
public:
    // Parameter lines switched on.
    TGeoDraggableSurface();
    ~TGeoDraggableSurface() override;

    // In large documents, or without one, the points; else what is drawn.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;

    void SetDrawParameters(bool Show) override;
    // "Extract Contours": a new polyline-list entity of the contour lines in their own colours.
    void ExtractContours() { Display.ExtractContours(false); }
    // The base state, whether parameter lines are drawn (the block keeps it) and the line counts.
    void Assign(const TGeometry& Source) override;

    // "Generate Polygon Mesh", the conversions Between, "Extract Contours" and "Create Calculation
    // Sections".
    void AddConversionMenuItems(const std::function<void()>& Between = {});
    // "Show Parameters", "Show Contours", the analysis submenu and "Mirrored", in this order.
    void AddDisplayMenuItems();
    // Their states; the conversion items enabled while their entity class exists, "Extract
    // Contours" only while the contours are shown.
    void UpdateDisplayMenuItems(TMenuItem& Root);

protected:
    // Both line representations, visible.
    void CreateLineRepresentations();
    // The new count reaches the surface through Recalculate.
    void SetLineCount(int& Count, int Value) override;
};

}  // namespace sarnova
