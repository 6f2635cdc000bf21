// The faces of a curve-network surface that fill themselves with a patch: by the surface's patch type
// a four-sided (or two- or three-sided) patch surface on the face's patch edges, a subdivision patch,
// or an N-sided patch of the kernel built straight from the edge splines and their ribbons. A patch
// face draws its patch by the surface's display options, gives its parameter lines and polygons and
// takes part in copying.
#pragma once
#include <cstdint>
#include <memory>

#include "curvenet/XTSurface.h"
#include "surfaces/Manifold.h"

namespace sarnova {

class TFootprintNPatch;
class TPolygonList;
class TPolylineList;
class TSurface;
class TXTPatchEdges;
class TXTSubDivisionPatch;

class TXTPatchFace : public TFace, public IXTPatchFace {
public:
    explicit TXTPatchFace(TManifold* AManifold);
    ~TXTPatchFace() override;

    TXTPatchEdges& PatchEdges() { return *FPatchEdges; }
    // At most one of the three is set after a build.
    TSurface* Surface() const { return FSurface.get(); }
    TFootprintNPatch* NPatch() const { return FNPatch.get(); }
    TXTSubDivisionPatch* SubdivisionPatch() const { return FSubdivisionPatch.get(); }
    // The polygons made with a subdivision patch or an N-patch; nullptr otherwise.
    TPolygonList* Polygons() const { return FPolygons.get(); }

    // Frees the surface, the N-patch, the polygons and the subdivision patch.
    void FreePatches();
    // The exterior flag; otherwise true when every fin's edge lies on a curve flagged
    // coSurfaceBoundary (a fin without a curve makes it false).
    bool IsExterior() const override;
    // Some fin of the loop is not a curve-network fin, so it carries no ribbon.
    bool HasForeignFin() const;

    // By the options' patch type. Types 0-5 take faces of 2 to 4 fins only; other faces and other
    // types get nothing. The report routine is not used here. A patch kind that fails raises.
    void BuildPatch(const TXTSurfaceOptions& Options, const TXTReportRoutine& Report, TXTSurface& Surface) override;
    void CollectFaces(TFaces& List) override { List.Add(this); }
    TSurface* PatchSurface() const override { return FSurface.get(); }

    // The patch when there is one, otherwise the inset polygon.
    void Draw(IGraphics& Graphics) override;
    // The surface, else the N-patch, else the subdivision patch.
    void DrawPatch(IGraphics& Graphics);
    // Patch, control net, boundary normals, inset polygon, then the side curves, tangents,
    // derivatives and normals (of the N-patch where there is one), each by its option bit.
    void DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) override;
    // Normals of length Scale at 101 samples along each of the surface's four parameter bounds,
    // right-handed (Su x Sv), their tips joined along each bound. Nothing without a surface.
    void DrawBoundaryNormals(IGraphics& G, double Scale);
    // The lines of the surface, the N-patch or the subdivision patch, appended to List.
    void AddParameterLines(TPolylineList& List, int SurfaceCount) override;
    // Fresh polygons of the surface, the N-patch or the subdivision patch, appended to List.
    void AddPolygons(TPolygonList& List, std::uint8_t Purpose) override;

    // Flags, centroid and normal; from another patch face also its patch edges, a copy of its
    // B-spline or Gregory surface (a Coons-Brown or Coons-Gregory patch is made anew on this face's
    // patch edges), its polygons and a subdivision patch of the same level. N-patches are not copied.
    void Assign(const TFace& Source) override;

    // The kernel's N-patches on the face's edge splines; nullptr for a face with a foreign fin.
    std::unique_ptr<TFootprintNPatch> BuildLeastSquaresC0();
    std::unique_ptr<TFootprintNPatch> BuildLeastSquaresC1();
    std::unique_ptr<TFootprintNPatch> BuildGregoryNPatch();

private:
    // The boundary curves (with the fins' ribbons as cross tangents when Ribbons), then Update.
    void FillNPatch(TFootprintNPatch& Patch, bool Ribbons);
    void BuildNPatch(std::unique_ptr<TFootprintNPatch> Patch);

    std::unique_ptr<TXTPatchEdges> FPatchEdges;
    std::unique_ptr<TSurface> FSurface;
    std::unique_ptr<TFootprintNPatch> FNPatch;
    std::unique_ptr<TXTSubDivisionPatch> FSubdivisionPatch;
    std::unique_ptr<TPolygonList> FPolygons;
};

}  // namespace sarnova
