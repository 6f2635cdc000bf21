// Surfaces of the kernel: the parametric surface base TSurface with the sampling, meshing,
// triangulating and drawing every surface kind shares, and the rectangular point grid TMesh, which is
// the control net of B-spline surfaces, the result of sampling any surface and a surface of its own.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/Geom.h"
#include "foundation/GeomInfo.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class IGraphics;
class TMesh;
class TPolygonList;
class TPolyline;
class TPolylineList;
class TTextReader;
class TTextWriter;

// Why a surface is sampled; a surface chooses its sample counts by it: 0 the default polygon
// representation, 4 shaded rendering, 5 surface analysis, 6 contours, 7 the lines plan,
// 8 hydrostatic calculation sections, 9 sections by planes and surface intersections.
using TSamplingPurpose = std::uint8_t;

// Position and partial derivatives of a surface at one parameter pair.
struct TSurfaceDerivatives {
    TMVector S, Su, Sv, Suu, Svv, Suv;
};
// Position and first partial derivatives: all that normals, tangent planes and Newton steps need.
struct TSurfaceFirstDerivatives {
    TMVector S, Su, Sv;
};

// A mapping from the parameter rectangle [MinU, MaxU] x [MinV, MaxV] to 3-D points. Objects that the
// sampling operations return (meshes, facet lists) belong to the caller. Operations that may refresh
// derived state (a B-spline's knot vectors) are not const.
class TSurface {
public:
    TSurface() = default;
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;
    virtual ~TSurface();

    // The parameter rectangle; [0, 1] x [0, 1] in the base.
    virtual double MinU() const { return 0; }
    virtual double MaxU() const { return 1; }
    virtual double MinV() const { return 0; }
    virtual double MaxV() const { return 1; }

    // Intervals between drawn lines of constant u (NumULine + 1 lines are drawn) and of constant v.
    virtual int NumULine() const { return FNumULine; }
    virtual int NumVLine() const { return FNumVLine; }
    // The effective number of intervals along one drawn line: the largest of the stored setting,
    // NumULine and NumVLine.
    virtual int LinePointCount() const;
    // The stored setting itself.
    int StoredLinePointCount() const { return FLinePointCount; }
    virtual void SetNumULine(int N) { FNumULine = N; }
    virtual void SetNumVLine(int N) { FNumVLine = N; }
    virtual void SetLinePointCount(int N) { FLinePointCount = N; }

    // The point at (U, V); the base has no shape and answers the zero vector.
    virtual TMVector Evaluate(double U, double V) const;
    // S from Evaluate and zero derivatives in the base.
    virtual TSurfaceDerivatives EvaluateDerivatives(double U, double V);
    // S, Su and Sv of EvaluateDerivatives; surfaces that can skip the second derivatives do.
    virtual TSurfaceFirstDerivatives EvaluateFirstDerivatives(double U, double V);

    // Sample counts for a use of the surface; SurfaceCount is the number of surfaces processed
    // together (large sets are sampled more coarsely). Purposes 10 and above leave NU and NV as they
    // are.
    virtual void SampleCounts(TSamplingPurpose Purpose, int SurfaceCount, int& NU, int& NV) const;
    // The parameters for NU x NV intervals: NU + 1 values evenly from MinU to MaxU, NV + 1 of v.
    // Throws EGeometryError for a count below 1.
    virtual void SampleParameters(int NU, int NV, TDigitisationParameters& UParams,
                                  TDigitisationParameters& VParams);
    // SampleCounts, then SampleParameters with those counts.
    void SampleParametersFor(TSamplingPurpose Purpose, int SurfaceCount, TDigitisationParameters& UParams,
                             TDigitisationParameters& VParams);

    // NumULine + 1 lines of constant u and NumVLine + 1 of constant v, each through LinePointCount + 1
    // points.
    virtual void Draw(IGraphics& G);
    // Nothing in the base.
    virtual void DrawControlNet(IGraphics& G);

    // CreateMeshSized with NumULine and NumVLine.
    virtual std::unique_ptr<TMesh> CreateMesh();
    // CreateMeshSized with the counts SampleCounts gives.
    virtual std::unique_ptr<TMesh> CreateMeshFor(TSamplingPurpose Purpose, int SurfaceCount);
    // The surface evaluated at the SampleParameters grid; a plain TMesh gives a copy of itself
    // whatever NU and NV.
    virtual std::unique_ptr<TMesh> CreateMeshSized(int NU, int NV);
    // Appends parameter-line polylines to List, which takes them over: a plain TMesh its rows and
    // columns, other surfaces lines at the SampleParametersFor positions running over [0, 1] with
    // the stored LinePointCount points each.
    virtual void AddParameterLines(TPolylineList& List, TSamplingPurpose Purpose, int SurfaceCount);
    // Triangles: a plain TMesh two per grid cell, other surfaces those of a mesh sampled at NumULine
    // x NumVLine.
    virtual std::unique_ptr<TPolygonList> CreatePolygons();
    // Triangles of the mesh sampled for Purpose; for purpose 8 (calculation sections) the points are
    // first rounded to the 0.001 grid. A plain TMesh gives CreatePolygons.
    virtual std::unique_ptr<TPolygonList> CreatePolygonsFor(TSamplingPurpose Purpose, int SurfaceCount);
    // Triangles of the mesh sampled at NU x NV intervals; a plain TMesh gives CreatePolygons.
    virtual std::unique_ptr<TPolygonList> CreatePolygonsSized(int NU, int NV);
    // The empty box in the base.
    virtual TMBox GetExtents() const;

protected:
    // The sample count factor for SurfaceCount surfaces processed together: 3 up to 75, 2 up to 150,
    // 1 above.
    static int SampleFactor(int SurfaceCount);
    // True for an object of exactly the class TMesh: subclasses never take the grid-as-surface paths.
    bool IsPlainMesh() const;

private:
    int FNumULine = 25;
    int FNumVLine = 25;
    int FLinePointCount = 50;
};

// A grid of NumU x NumV points. Point (i, j) is item i + j * NumU of the point list: rows of constant
// j one after the other, u running fastest. The list is not kept at NumU * NumV items: asking for an
// item at or beyond its end first appends default points (0, 0, 0, weight 1) up to it, and SetSize
// leaves the list as it is (a caller that resizes a filled mesh clears it first). The const accessors
// never grow the list: they read a default point where it has none. Weights are stored, copied and
// written, but no evaluation uses them.
class TMesh : public TSurface {
public:
    TMesh(int ANumU, int ANumV);
    ~TMesh() override;

    // Sets NumU and NumV only.
    virtual void SetSize(int ANumU, int ANumV);
    int NumU() const { return FNumU; }
    int NumV() const { return FNumV; }

    // The stored point (i, j), the list grown to it when needed. Throws EError "TMesh.Point - Index
    // (i, j) outside the net of NumU x NumV points" unless 0 <= i < NumU and 0 <= j < NumV.
    TRPoint& Point(int I, int J);
    // Item K, the list grown to it when needed; EError "List index out of bounds (<k>)" for K < 0.
    TRPoint& PointByIndex(int K);
    // The same points read without growing: a default point beyond the end of the list.
    const TRPoint& Point(int I, int J) const;
    const TRPoint& PointByIndex(int K) const;
    int PointCount() const { return static_cast<int>(FPoints.size()); }
    // Point (i, j) without checks, for evaluation loops that made sure the list holds the whole grid
    // (PointCount() >= NumU() NumV()) and that i and j lie inside it.
    const TRPoint& GridPoint(int I, int J) const {
        return *FPoints[static_cast<std::size_t>(I) + static_cast<std::size_t>(J) * static_cast<std::size_t>(FNumU)];
    }
    // Copies x, y, z, weight, parameter and tag of Source into point (i, j).
    void SetPoint(int I, int J, const TRPoint& Source);
    // Frees every point; NumU and NumV stay.
    void Clear() { FPoints.clear(); }
    // Clear, Other's size (set directly, so a subclass keeps its orders and knots), then a copy of
    // every point (i, j) of Other.
    void Assign(const TMesh& Other);
    // A new plain TMesh holding a copy of the grid.
    std::unique_ptr<TMesh> Clone() const;
    // A new plain TMesh of the same size with every point carried through M.
    std::unique_ptr<TMesh> CreateTransformed(const TMMatrix& M) const;

    // AppendU adds a default point at the end of every row (a new line i = NumU); AppendV a new row
    // j = NumV of default points.
    void AppendU();
    void AppendV();
    // For 0 < Index < NumU: a new line at Index made of the midpoints of lines Index - 1 and Index
    // (weight 1); any other index changes nothing. InsertV the same across v.
    void InsertU(int Index);
    void InsertV(int Index);
    // For 0 <= Index < NumU: the grid without line Index; any other index changes nothing.
    void DeleteU(int Index);
    void DeleteV(int Index);
    // Point (i, j) moves to (NumU - 1 - i, j), to (i, NumV - 1 - j), or to (j, i) with NumU and NumV
    // exchanged; every value of the points travels.
    virtual void ReverseU();
    virtual void ReverseV();
    virtual void SwapUV();

    // New polylines of copies: Direction 0 the points (Index, 0 .. NumV - 1), Direction 1 the points
    // (0 .. NumU - 1, Index), any other direction an empty polyline.
    std::unique_ptr<TPolyline> GridLine(int Direction, int Index) const;
    // Boundary Code 0: line i = 0, 1: row j = 0, 2: line i = NumU - 1, 3 and any other: row j = NumV - 1.
    std::unique_ptr<TPolyline> EdgePolyline(int Code) const;
    // AlongU: a polyline through every row (0 .. NumU - 1, j); otherwise through every line
    // (i, 0 .. NumV - 1).
    std::unique_ptr<TPolylineList> GridLines(bool AlongU) const;
    // AddParameterLines with purpose 0 for one surface into a new list.
    std::unique_ptr<TPolylineList> CreateParameterLines();
    // x, y and z of every stored point put on the 0.001 grid (RoundToThousandth).
    void RoundPoints();

    // Every row, then every line of the grid.
    void Draw(IGraphics& G) override;
    // The box of the grid points (i < NumU, j < NumV).
    TMBox GetExtents() const override;

    // "NumU=", "NumV=", then one "%13.6f %13.6f %13.6f %10.3f" line (x, y, z, weight) per point,
    // i outer, j inner.
    virtual void SaveToText(TTextWriter& F) const;
    // Reads that block by line order: a count that is not a non-negative integer throws
    // EGeometryError "Error in field Mesh.NumU" ("Mesh.NumV"); the counts are stored directly (not
    // through SetSize) and four reals per point are read across blanks and line ends, the rest of
    // each line skipped. The points are read into temporary storage first, so a damaged count ends
    // at the reader's end-of-text error instead of allocating for it, and a failed read changes
    // nothing of the mesh. The list is not cleared first: readers fill fresh meshes.
    virtual void LoadFromText(TTextReader& F);

protected:
    // Called by LoadFromText with the counts read, before any point is read; throws to refuse them.
    virtual void CheckLoadedSize(int ANumU, int ANumV) const;
    // Sets the counts without SetSize (nothing else of a subclass changes).
    void StoreSize(int ANumU, int ANumV) {
        FNumU = ANumU;
        FNumV = ANumV;
    }

private:
    // Builds a NewU x NewV grid whose point (i, j) is Source(i, j) (a point of this grid or nullptr for
    // a default one) and Assigns it.
    template <typename F>
    void Rebuild(int NewU, int NewV, F Source);
    // The list grown to hold the whole grid.
    void FillGrid();
    // Throws Point's error unless (I, J) lies on the net.
    void CheckNetIndex(int I, int J) const;

    std::vector<std::unique_ptr<TRPoint>> FPoints;
    int FNumU = 0;
    int FNumV = 0;
};

// X to the 0.001 grid: the value truncated toward zero to three decimals, moved one step away from
// zero when it lay more than 0.0005 from it; ties stay on the side of zero.
double RoundToThousandth(double X);

}  // namespace sarnova
