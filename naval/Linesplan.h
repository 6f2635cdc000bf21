// Lines plans: stations, waterlines and buttocks of a document's surfaces laid out on one sheet, each
// family over a grid of the other two, framed by a border with an information box. Everything on the
// sheet is polylines (texts are stroked), so the plan draws through any graphics target, converts to a
// polyline list and writes as DXF.
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/Graphics.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class IGraphics;
class TContours;
class TGeometryQuery;
class TLinesPlan;
class TLinesPlanGrid;
class TLinesPlanView;
class TPolygonList;
class TPolylineList;
class TSurface;
class TSurfaces;
struct TDataObject;

// ---- Grid and border ----

// The ascending values of one direction of a grid, without exact duplicates.
class TLinesPlanGridLines {
public:
    explicit TLinesPlanGridLines(TLinesPlanGrid* AGrid) : FGrid(AGrid) {}
    int Count() const { return static_cast<int>(FValues.size()); }
    double Values(int Index) const { return FValues.at(Index); }
    double First() const { return FValues.front(); }
    double Last() const { return FValues.back(); }
    // Inserts Value in order by bisection; a value equal to one already held is not added.
    void Add(double Value);
    void Clear();
    // Clear, then the position of every contour of Axis (0 x, 1 y, 2 z).
    void SetFromContours(const TContours& Contours, int Axis);

private:
    void Changed();
    std::vector<double> FValues;
    TLinesPlanGrid* FGrid;
};

// The grid of one view: vertical lines at the horizontal values, horizontal lines at the vertical
// values, each figure written at both ends of its line.
class TLinesPlanGrid {
public:
    explicit TLinesPlanGrid(TLinesPlanView* AView);
    ~TLinesPlanGrid();
    TLinesPlanGrid(const TLinesPlanGrid&) = delete;
    TLinesPlanGrid& operator=(const TLinesPlanGrid&) = delete;

    // The sheet y of the horizontal lines, before flipping, and the sheet x of the vertical lines.
    TLinesPlanGridLines VerticalValues{this};
    TLinesPlanGridLines HorizontalValues{this};
    TColor Color = 0xFFFFFF;

    const TMVector& GetOffset() const { return FOffset; }
    double GetTextSize() const { return FTextSize; }
    bool GetShowText() const { return FShowText; }
    bool GetFlip() const { return FFlip; }
    bool NeedsRebuild() const { return FNeedsRebuild; }
    // Each marks the grid for rebuild when the value changes.
    void SetTextSize(double Value);
    void SetOffset(const TMVector& Value);
    void SetShowText(bool Value);
    void SetFlip(bool Value);
    void Invalidate() { FNeedsRebuild = true; }
    // The values of a view of Kind (0 waterlines, 1 stations, 2 buttocks) from the contour set.
    void SetContours(const TContours& Contours, int Kind);
    // The box of the values (flipped vertically when the grid is), without the offset; the empty box
    // in a direction without values.
    TMBox GetExtents() const;
    void Build();
    // Builds when marked, then the polylines in the grid's colour.
    void Draw(IGraphics& G);
    // The polylines, built when marked.
    const TPolylineList& Polylines();

private:
    TMVector FOffset;
    double FTextSize = 0.2;
    bool FShowText = false;
    bool FNeedsRebuild = true;
    std::unique_ptr<TPolylineList> FPolylines;
    TLinesPlanView* FView;
    bool FFlip = false;
};

// The frame round the sheet and the information box in its lower right corner.
class TLinesPlanBorder {
public:
    explicit TLinesPlanBorder(TLinesPlan* APlan);
    ~TLinesPlanBorder();
    TLinesPlanBorder(const TLinesPlanBorder&) = delete;
    TLinesPlanBorder& operator=(const TLinesPlanBorder&) = delete;

    const TMBox& GetBox() const { return FBox; }
    bool GetShowInfoBox() const { return FShowInfoBox; }
    void SetShowInfoBox(bool Value);
    void SetBox(const TMBox& Value);
    void Invalidate() { FNeedsRebuild = true; }
    void Build();
    void Draw(IGraphics& G);
    const TPolylineList& Polylines();

private:
    TLinesPlan* FPlan;
    TMBox FBox;
    bool FNeedsRebuild = true;
    bool FShowInfoBox = false;
    std::unique_ptr<TPolylineList> FPolylines;
};

// Appends Text stroked and fitted into the box of width BW and height BH centred at (CX, CY): as high
// as the box unless that makes it wider than the box, then as wide, and centred.
void AddFittedText(TPolylineList& Target, const std::string& Text, double CX, double CY, double BW, double BH);

// ---- Plan ----

// A surface of the plan: its source (not owned), its facets and its three contour families.
class TLinesPlanSurface {
public:
    using TSource = std::variant<TSurface*, TSurfaces*, const TPolygonList*>;
    TLinesPlanSurface(TLinesPlan* APlan, TSource ASource, std::string AClassName);
    ~TLinesPlanSurface();
    TLinesPlanSurface(const TLinesPlanSurface&) = delete;
    TLinesPlanSurface& operator=(const TLinesPlanSurface&) = delete;

    TLinesPlan* Plan;
    TSource Source;
    // The class name of the source, for the progress messages.
    std::string ClassName;
    std::unique_ptr<TPolygonList> Facets;
    std::unique_ptr<TPolylineList> XContours;
    std::unique_ptr<TPolylineList> YContours;
    std::unique_ptr<TPolylineList> ZContours;
    TMBox GetExtents() const;
    // The four boundary curves of each B-spline surface or mesh of the source; none for facets.
    std::unique_ptr<TPolylineList> EdgePolylines() const;
};

// A label line's two ends in fractions of the view's grid box (s across, t up) and their selection.
struct TLabelLine {
    double S1 = 0, T1 = 0, S2 = 0, T2 = 0;
    bool Selected1 = false, Selected2 = false;
};

// One family on the sheet: 0 waterlines (plan view), 1 stations (body plan), 2 buttocks (profile).
class TLinesPlanView {
public:
    TLinesPlanView(TLinesPlan* APlan, std::uint8_t AKind);
    ~TLinesPlanView();
    TLinesPlanView(const TLinesPlanView&) = delete;
    TLinesPlanView& operator=(const TLinesPlanView&) = delete;

    std::uint8_t GetKind() const { return FKind; }
    TLinesPlanGrid& Grid() { return *FGrid; }
    const TPolylineList& SurfaceEdges() const { return *FSurfaceEdges; }
    const TPolylineList& Contours() const { return *FContours; }
    const TPolylineList& ContourTexts() const { return *FContourTexts; }
    const TMVector& GetOffset() const { return FOffset; }
    TLabelLine LabelLines[2];

    TColor ContourColor = 0;
    TColor SurfaceColor = 0xFFFFFF;
    double GetContourTextSize() const { return FContourTextSize; }
    void SetContourTextSize(double Value);
    void SetShowContourText(bool Value);
    void SetShowSurfaceEdges(bool Value);
    // Stores the offset, gives it to the grid and marks contours and edges; nothing when unchanged.
    void SetOffset(const TMVector& Value);
    // Marks contours and edges and refills the grid's values.
    void SetContours(const TContours& Contours);
    void InvalidateContours() { FRebuildContours = FRebuildEdges = true; }
    void InvalidateLabels() { FRebuildLabels = true; }

    // The sheet point of (s, t) in the grid box, and back; a direction in which the box has no
    // extent leaves its fraction as it was.
    TMVector SheetPoint(double S, double T) const;
    void SheetFraction(const TMVector& P, double& S, double& T) const;
    // Rebuilds whatever is marked: contours, labels, edges.
    void Rebuild();
    void BuildContours();
    void BuildContourTexts();
    void BuildSurfaceEdges();
    void Draw(IGraphics& G);
    void DrawTextLine(IGraphics& G, const TLabelLine& Line);
    // Selects the first end (A1, A2, B1, B2) within the pick distance of the pixel.
    bool SelectHandle(IGraphics& G, int X, int Y);
    bool HasSelectedEnd() const;
    void ClearSelection();
    void MoveSelectedEnd(IGraphics& G, int X, int Y);

private:
    double SectionSign(double Station) const;
    TMMatrix ContourMatrix(double Sign) const;
    TLinesPlan* FPlan;
    std::uint8_t FKind;
    std::unique_ptr<TPolylineList> FSurfaceEdges;
    std::unique_ptr<TPolylineList> FContours;
    std::unique_ptr<TPolylineList> FContourTexts;
    std::unique_ptr<TLinesPlanGrid> FGrid;
    bool FRebuildContours = true;
    bool FRebuildLabels = true;
    bool FRebuildEdges = true;
    double FContourTextSize = 0.1;
    TMVector FOffset;
    bool FShowContourText = false;
    bool FShowSurfaceEdges = true;
};

// Plan states: what must be rebuilt next.
inline constexpr std::uint8_t lpsFacets = 0, lpsContours = 1, lpsLayout = 2, lpsUpToDate = 3;

class TLinesPlan {
public:
    TLinesPlan();
    ~TLinesPlan();
    TLinesPlan(const TLinesPlan&) = delete;
    TLinesPlan& operator=(const TLinesPlan&) = delete;

    // A surface, a surface list or a facet list; anything else throws EError "Object is not a valid
    // Surface". The plan's state goes back to facets either way.
    void AddSurface(const TDataObject& Object);
    void ClearSurfaces();
    int SurfaceCount() const { return static_cast<int>(FSurfaces.size()); }
    TLinesPlanSurface& Surfaces(int Index) { return *FSurfaces.at(Index); }
    TMBox GetExtents() const;

    std::uint8_t GetState() const { return FState; }
    std::uint8_t GetLayout() const { return FLayout; }
    int GetDensity() const { return FDensity; }
    TColor GetGridColor() const { return FGridColor; }
    TColor GetSectionColor() const { return FSectionColor; }
    TColor GetWaterlineColor() const { return FWaterlineColor; }
    TColor GetButtockColor() const { return FButtockColor; }
    TColor GetSurfaceColor() const { return FSurfaceColor; }
    double GetViewGap() const { return FViewGap; }
    bool GetShowGrid() const { return FShowGrid; }
    double GetReflectionPlane() const { return FReflectionPlane; }
    bool GetFlipSections() const { return FFlipSections; }
    bool GetFlipWaterlines() const { return FFlipWaterlines; }
    bool GetShowBorder() const { return FShowBorder; }
    bool GetShowInfoBox() const { return FShowInfoBox; }
    bool GetShowGridText() const { return FShowGridText; }
    bool GetShowContourText() const { return FShowContourText; }
    double GetGridTextSize() const { return FGridTextSize; }
    double GetContourTextSize() const { return FContourTextSize; }
    bool GetShowSurfaceEdges() const { return FShowSurfaceEdges; }

    void SetLayout(std::uint8_t Value);
    void SetDensity(int Value);
    void SetGridColor(TColor Value);
    void SetSectionColor(TColor Value);
    void SetWaterlineColor(TColor Value);
    void SetButtockColor(TColor Value);
    void SetSurfaceColor(TColor Value);
    void SetViewGap(double Value);
    void SetShowGrid(bool Value);
    void SetReflectionPlane(double Value);
    void SetFlipSections(bool Value);
    void SetFlipWaterlines(bool Value);
    void SetShowBorder(bool Value);
    void SetShowInfoBox(bool Value);
    void SetShowGridText(bool Value);
    void SetShowContourText(bool Value);
    void SetGridTextSize(double Value);
    void SetContourTextSize(double Value);
    void SetShowSurfaceEdges(bool Value);

    // The contour positions; call ContoursChanged after editing them in place.
    TContours& Contours() { return *FContours; }
    void ContoursChanged();
    // Brings the plan up to date: facets, contours, layout, as far as needed.
    void Update();
    void Draw(IGraphics& G);

    // Label-line editing.
    bool EditingLabelLines = false;
    TColor SelectedHandleColor = 0x00FFFF;
    TColor LabelLineColor = 0xFFFFFF;
    int PickDistance = 30;
    void SelectHandle(IGraphics& G, int X, int Y, TSelectAction& Action);
    void MouseDown(int X, int Y, IGraphics& G);
    void MouseMove(int X, int Y, IGraphics& G);
    void MouseUp(int X, int Y, IGraphics& G);

    // The whole sheet in z = 0, each polyline carrying its colour.
    std::unique_ptr<TPolylineList> ToPolylineList();
    // Written by the DXF file model of the exchange formats (exchange/LinesPlanDXF.cpp).
    void SaveToDXF(const std::filesystem::path& FileName);

    TLinesPlanView& WaterlinesView() { return *FWaterlines; }
    TLinesPlanView& StationsView() { return *FStations; }
    TLinesPlanView& ButtocksView() { return *FButtocks; }
    TLinesPlanBorder& Border() { return *FBorder; }

private:
    void Layout();
    // Update and every view's rebuilds: what drawing, converting and writing see.
    void Prepare();
    void LowerState(std::uint8_t To);
    void InvalidateViews();
    TLinesPlanView* ViewWithSelection();

    std::vector<std::unique_ptr<TLinesPlanSurface>> FSurfaces;
    std::uint8_t FLayout = 0;
    std::uint8_t FState = lpsFacets;
    std::unique_ptr<TLinesPlanView> FWaterlines;
    std::unique_ptr<TLinesPlanView> FStations;
    std::unique_ptr<TLinesPlanView> FButtocks;
    std::unique_ptr<TLinesPlanBorder> FBorder;
    std::unique_ptr<TContours> FContours;
    int FDensity = 10;
    TColor FGridColor = 0x808080;
    TColor FSectionColor = 0x00FF00;
    TColor FWaterlineColor = 0xFF0000;
    TColor FButtockColor = 0x0000FF;
    TColor FSurfaceColor = 0xFFFFFF;
    double FViewGap = 2.0;
    bool FShowGrid = true;
    double FReflectionPlane = 0;
    bool FFlipSections = false;
    bool FFlipWaterlines = false;
    bool FShowBorder = false;
    bool FShowInfoBox = false;
    bool FShowGridText = true;
    bool FShowContourText = false;
    double FGridTextSize = 0.2;
    double FContourTextSize = 0.1;
    bool FShowSurfaceEdges = true;
};

// Kind word 0x1380: the surfaces, sampled meshes and facet lists of the entities.
inline constexpr std::uint32_t LinesPlanQueryKinds = 0x1380;
std::unique_ptr<TGeometryQuery> GenerateLinesPlanQuery();

}  // namespace sarnova
