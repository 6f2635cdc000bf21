// Surface analysis: Gaussian and mean curvature and zebra stripes (isophotes) of surfaces, sampled into
// points, mapped to levels by a robust scale, coloured smoothly or in bands, and drawn with a legend.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/ColorNames.h"
#include "foundation/Geom.h"
#include "foundation/VkMaths.h"
#include "surfaces/Manifold.h"

namespace sarnova {

class IGraphics;
class IRenderTarget;
class TBSplineSurfaceList;
class TPolygon;
class TPolygonList;
class TSurface;
class TSurfaceAnalysis;

// What an analysis shows.
enum TSurfaceAnalysisMode : std::uint8_t { samGaussian = 0, samMean = 1, samZebra = 2 };

// One sample: its position, both curvatures, the cosine between the light and the surface normal, the
// curvatures mapped to -1 .. 1 and the colour of the smooth display.
class TSurfaceAnalysisPoint {
public:
    TMVector Position;
    double MeanCurvature = 0;
    double GaussianCurvature = 0;
    double LightCosine = 0;
    double MeanLevel = 0;
    double GaussianLevel = 0;
    TColor Color = 0;
};

// The points of every analysed surface together; the list does not own them (their surfaces do).
class TSurfaceAnalysisPoints {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TSurfaceAnalysisPoint* Items(int Index) const;
    void Add(TSurfaceAnalysisPoint* P) { FItems.push_back(P); }
    // Room for N points in all.
    void Reserve(std::size_t N) { FItems.reserve(N); }
    // Empties the list; the points stay with their surfaces.
    void Clear() { FItems.clear(); }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<TSurfaceAnalysisPoint*> FItems;
};

// Receives triangles one at a time; the corners' W carries the value the display bands by.
using TTriangleVisitor = void (*)(void* Context, const TRPoint& A, const TRPoint& B, const TRPoint& C);

// One analysed surface and its samples.
class TSurfaceAnalysisSurface {
public:
    explicit TSurfaceAnalysisSurface(TSurfaceAnalysis& Analysis) : FAnalysis(Analysis) {}
    TSurfaceAnalysisSurface(const TSurfaceAnalysisSurface&) = delete;
    TSurfaceAnalysisSurface& operator=(const TSurfaceAnalysisSurface&) = delete;
    virtual ~TSurfaceAnalysisSurface() = default;

    // The samples in their own colours (smooth display), rendered through G (RenderObject), so that
    // targets without OpenGL only measure them.
    virtual void Draw(IGraphics& G);
    // The samples without colours.
    virtual void DrawUncolored(IGraphics& G);
    // Samples again: the previous points go and the new ones enter the analysis's point list, which the
    // caller has emptied first.
    virtual void Resample() = 0;
    // Appends the triangles of the samples, each corner weighted with the value of the analysis's mode,
    // coloured 0x0000FF.
    void AddTriangles(TPolygonList& List) const;
    // The same triangles handed to Visit without building facets.
    virtual void ForEachTriangle(TTriangleVisitor Visit, void* Context) const = 0;
    // What Draw (Colored) and DrawUncolored show, with the depth test on.
    virtual void Render(IRenderTarget& Target, bool Colored) const = 0;
    // The box of the sample positions.
    virtual TMBox GetExtents() const = 0;

    TSurfaceAnalysis& Analysis() const { return FAnalysis; }

protected:
    TSurfaceAnalysis& FAnalysis;
};

// A parametric surface sampled on a regular NU x NV grid of its parameter rectangle, ends included.
class TSurfaceAnalysisMesh : public TSurfaceAnalysisSurface {
public:
    // Samples S (not owned, it must outlive the analysis mesh) at once.
    TSurfaceAnalysisMesh(TSurfaceAnalysis& Analysis, TSurface& S, int NU, int NV);

    TSurface* Surface() const { return FSurface; }
    int NU() const { return FNU; }
    int NV() const { return FNV; }
    // Point (i, j), 0 <= i < NU, 0 <= j < NV.
    TSurfaceAnalysisPoint& Point(int I, int J) { return FPoints[static_cast<std::size_t>(I + J * FNU)]; }
    const TSurfaceAnalysisPoint& Point(int I, int J) const {
        return FPoints[static_cast<std::size_t>(I + J * FNU)];
    }

    // Writes "Generating Analysis Surface <NU>x<NV> (<class>)" to the console, then evaluates the
    // position and derivatives once per point. A count below 2 samples only the start of that
    // direction (one line), a count below 1 nothing.
    void Resample() override;
    // Two triangles per grid cell: (i, j), (i, j+1), (i+1, j) and (i, j+1), (i+1, j+1), (i+1, j).
    void ForEachTriangle(TTriangleVisitor Visit, void* Context) const override;
    // For each i one quad strip of the points (i - 1, j) and (i, j), each vertex after its colour
    // when Colored; nothing for an empty grid.
    void Render(IRenderTarget& Target, bool Colored) const override;
    TMBox GetExtents() const override;

private:
    TSurface* FSurface;
    int FNU;
    int FNV;
    // One block for the whole grid, point (i, j) at i + j * NU: no allocation per point.
    std::vector<TSurfaceAnalysisPoint> FPoints;
};

// A vertex of an analysis manifold, carrying its sample.
class TSurfaceAnalysisManifoldVertex : public TVertex {
public:
    using TVertex::TVertex;
    TSurfaceAnalysisPoint Point;
};

// A manifold mesh analysed at its vertices (Taubin's estimate of the curvature tensor) on a copy of
// its own, whose vertices carry the samples.
class TSurfaceAnalysisManifold : public TSurfaceAnalysisSurface {
public:
    // Copies M (not owned, it must outlive the analysis manifold) and measures at once; the samples
    // enter the analysis's point list only through ListPoints, so that a failed copy changes nothing
    // there. Throws as Resample.
    TSurfaceAnalysisManifold(TSurfaceAnalysis& Analysis, TManifold& M);

    TManifold* Source() const { return FSource; }
    const TManifold& Copy() const { return *FManifold; }

    // Copies the source again and measures every vertex. Throws EGeometryError
    // "TSurfaceAnalysisPolygons.Create - Manifold Failed to copy" when a face loop of the source is
    // broken; no point of the failed copy enters the analysis's list.
    void Resample() override;
    // Adds every vertex's sample to the analysis's point list.
    void ListPoints();
    // Each face as a fan from its first fin.
    void ForEachTriangle(TTriangleVisitor Visit, void* Context) const override;
    // Every face of exactly three fins as a triangle, each vertex after its colour when Colored; other
    // faces are not drawn.
    void Render(IRenderTarget& Target, bool Colored) const override;
    TMBox GetExtents() const override;

private:
    void CopyAndMeasure();

    TManifold* FSource;
    std::unique_ptr<TManifold> FManifold;
};

// The analysis surfaces, owned.
class TSurfaceAnalysisSurfaces {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TSurfaceAnalysisSurface* Items(int Index) const;
    void Add(std::unique_ptr<TSurfaceAnalysisSurface> S) { FItems.push_back(std::move(S)); }
    // Frees every surface and with it its points.
    void Clear() { FItems.clear(); }

    void DrawAll(IGraphics& G) const;
    void DrawAllUncolored(IGraphics& G) const;
    void ResampleAll() const;

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<std::unique_ptr<TSurfaceAnalysisSurface>> FItems;
};

// How curvature is shown. Every setter stores a changed value and then, when the analysis shows a
// curvature, marks it dirty.
class TSurfaceAnalysisCurvatureParameters {
public:
    explicit TSurfaceAnalysisCurvatureParameters(TSurfaceAnalysis& Analysis) : FAnalysis(Analysis) {}

    TColorInterpolationMode GetShadingModel() const { return FShadingModel; }
    void SetShadingModel(TColorInterpolationMode Value);
    // Number of colour bands of the banded display.
    int GetLayersCount() const { return FLayersCount; }
    void SetLayersCount(int Value);
    // Bands when set, a smooth gradient when clear.
    bool GetLayers() const { return FLayers; }
    void SetLayers(bool Value);

private:
    void Changed();

    TSurfaceAnalysis& FAnalysis;
    TColorInterpolationMode FShadingModel = ciHSL;
    int FLayersCount = 17;
    bool FLayers = false;
};

// How zebra stripes are shown. Every setter stores a changed value (the vector when it differs by
// more than 1e-4) and then, when the analysis shows zebra stripes, marks it dirty.
class TSurfaceAnalysisIsoPhotesParameters {
public:
    explicit TSurfaceAnalysisIsoPhotesParameters(TSurfaceAnalysis& Analysis) : FAnalysis(Analysis) {}

    // The light direction.
    const TMVector& GetZebraVector() const { return FZebraVector; }
    void SetZebraVector(const TMVector& Value);
    TColor GetZebraBand1Color() const { return FZebraBand1Color; }
    void SetZebraBand1Color(TColor Value);
    TColor GetZebraBand2Color() const { return FZebraBand2Color; }
    void SetZebraBand2Color(TColor Value);
    // Number of stripes over the cosine range -1 .. 1.
    int GetZebraBands() const { return FZebraBands; }
    void SetZebraBands(int Value);

private:
    void Changed();

    TSurfaceAnalysis& FAnalysis;
    TMVector FZebraVector{0, 0, 1};
    TColor FZebraBand1Color = 0xFFFFFF;
    TColor FZebraBand2Color = 0xFF0000;
    int FZebraBands = 36;
};

// One band of values and its colour.
class TSurfaceAnalysisColorLayer {
public:
    double Lower = 0;
    double Upper = 0;
    TColor Color = 0;
};

// The bands of the banded display.
class TSurfaceAnalysisColorLayers {
public:
    explicit TSurfaceAnalysisColorLayers(TSurfaceAnalysis& Analysis) : FAnalysis(Analysis) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    const TSurfaceAnalysisColorLayer& Items(int Index) const;
    void AddLayer(TColor Color, double Lower, double Upper);
    // Clear, then N bands. Zebra mode: band i from cos(pi - pi i/N) to cos(pi - pi (i+1)/N), the two
    // zebra colours alternating (band 0 the second). Curvature modes: band i from 2i/N - 1 to
    // 2(i+1)/N - 1, coloured at level 2i/(N - 1) - 1 (a single band at level 0). N below 1 builds none.
    void Build(int N);
    void Clear() { FItems.clear(); }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    TSurfaceAnalysis& FAnalysis;
    std::vector<TSurfaceAnalysisColorLayer> FItems;
};

// The analysis an entity owns. Surfaces are added either one alone (which replaces the previous
// content and recalculates) or several between BeginUpdate and EndUpdate (recalculated once). Adds and
// parameter changes mark the analysis dirty; the next Draw brings the display up to date.
class TSurfaceAnalysis {
public:
    // Mode 0 (Gaussian curvature), the default parameters, no surfaces; dirty.
    TSurfaceAnalysis();
    TSurfaceAnalysis(const TSurfaceAnalysis&) = delete;
    TSurfaceAnalysis& operator=(const TSurfaceAnalysis&) = delete;
    // Resets GSurfaceAnalysis when it refers to this analysis.
    ~TSurfaceAnalysis();

    TSurfaceAnalysisCurvatureParameters& CurvatureParameters() { return FCurvatureParameters; }
    const TSurfaceAnalysisCurvatureParameters& CurvatureParameters() const { return FCurvatureParameters; }
    TSurfaceAnalysisIsoPhotesParameters& IsoPhotesParameters() { return FIsoPhotesParameters; }
    const TSurfaceAnalysisIsoPhotesParameters& IsoPhotesParameters() const { return FIsoPhotesParameters; }
    TSurfaceAnalysisPoints& Points() { return FPoints; }
    const TSurfaceAnalysisSurfaces& Surfaces() const { return FSurfaces; }
    const TSurfaceAnalysisColorLayers& Layers() const { return FLayers; }
    // The banded display's facets; nullptr while the smooth display is in use.
    const TPolygonList* ColoredPolygons() const { return FColoredPolygons.get(); }

    std::uint8_t GetMode() const { return FMode; }
    // Stores a different mode and marks dirty.
    void SetMode(std::uint8_t Mode);
    bool IsDirty() const { return FDirty; }
    bool IsUpdating() const { return FUpdating; }
    // Zebra mode or curvature in bands: the display is the coloured polygons.
    bool ShowsBands() const;

    // Empties the point list, frees every analysis surface, marks dirty.
    void Clear();
    // Throws EGeometryError "TSurfaceAnalysis.BeginUpdate - Already Updating"; otherwise Clear and
    // start a batch.
    void BeginUpdate();
    // Throws EGeometryError "TSurfaceAnalysis.EndUpdate - Not Updating"; otherwise ends the batch and
    // recalculates.
    void EndUpdate();
    // S sampled for analysis (purpose 5) among SurfaceCount surfaces. S is not owned and must stay
    // alive while the analysis holds it.
    void AddSurface(TSurface& S, int SurfaceCount);
    // Every surface of L, sampled as L.Count surfaces.
    void AddSurfaces(const TBSplineSurfaceList& L);
    // Marks dirty and appends an analysis of M's vertices. M is not owned and must stay alive while the
    // analysis holds it.
    void AddManifold(TManifold& M);
    // Marks dirty and appends S sampled at NU x NV points.
    void AddMesh(TSurface& S, int NU, int NV);
    void Invalidate() { FDirty = true; }
    // NormaliseGaussian, NormaliseMean, ColorPoints.
    void Recalculate();

    // The curvatures mapped to levels in -1 .. 1. Clearly negative values (below -1e-5) go to -1 .. 0
    // as -sqrt((c + 1e-5)/(Lo + 1e-5)), clearly positive ones (above 1e-5) to 0 .. 1 as
    // sqrt((c - 1e-5)/(Hi - 1e-5)); Lo and Hi are the extremes, or with more than 11 values on a side
    // the values past which the outer 5 % of that side lie, and those saturate at -1 and 1. Values
    // near zero get 0 when both sides are present and keep their level otherwise; with fewer than
    // four points nothing changes. Linear in the number of points.
    void NormaliseGaussian();
    void NormaliseMean();
    // Mode 0 colours every point at its Gaussian level, mode 1 at its mean level; mode 2 nothing.
    void ColorPoints();

    // Brings the display up to date and clears the dirty flag: the banded display resamples every
    // surface, normalises and rebuilds the coloured polygons; the smooth one frees them and colours the
    // points.
    void Update();
    // Rebuilds the bands and the coloured polygons, showing the hourglass meanwhile.
    void BuildColorPolygons();
    // Every facet (quadrilaterals as two triangles) cut into the parts inside each band, in facet order
    // then band order, each part coloured as its band.
    std::unique_ptr<TPolygonList> ClipToLayers(const TPolygonList& Triangles) const;

    // Updates when dirty, draws the coloured polygons (banded) or every surface in its point colours
    // (smooth), and makes this the analysis whose legend the view draws.
    void Draw(IGraphics& G);
    // Every surface's samples without colours.
    void DrawUncolored(IGraphics& G);
    // The 130 x 30 pixel legend 10 pixels from the right and bottom edges of the view: the bands or the
    // gradient over -1 .. 1, with "-", "0" and "+" marks below. Targets that cannot render get nothing.
    void DrawLegend(IGraphics& View) const;

    // The value a triangle corner carries in the current mode: Gaussian level, mean level or cosine.
    double WeightOf(const TSurfaceAnalysisPoint& P) const;

private:
    // For each band, the parts of the triangle or quadrilateral (split into (0, 1, 2) and (0, 2, 3))
    // inside it, appended to Result in the band's colour. The parts' corners keep their weights when
    // KeepWeights is set; the drawn bands need their positions only, which a facet keeps in less room.
    void ClipPolygonToLayers(const TRPoint* Corners, int Count, TPolygonList& Result, bool KeepWeights) const;

    TSurfaceAnalysisCurvatureParameters FCurvatureParameters{*this};
    TSurfaceAnalysisIsoPhotesParameters FIsoPhotesParameters{*this};
    TSurfaceAnalysisPoints FPoints;
    TSurfaceAnalysisSurfaces FSurfaces;
    std::uint8_t FMode = samGaussian;
    TSurfaceAnalysisColorLayers FLayers{*this};
    std::unique_ptr<TPolygonList> FColoredPolygons;
    bool FDirty = true;
    bool FUpdating = false;
};

// The part of triangle P whose interpolated weight is at least Level (Side 1) or at most Level
// (Side -1): a copy of P when all of it is, nullptr when none or when the part has no area; new
// corners on the edges carry the weight Level.
std::unique_ptr<TPolygon> ClippedPolygonArea(const TPolygon& P, int Side, double Level);

// The analysis drawn last in the current redraw; its legend is drawn over the view. Not owned.
extern TSurfaceAnalysis* GSurfaceAnalysis;

}  // namespace sarnova
