// Curve-network surfaces: a surface node resting on a list of curves, and the surface that, on every
// regeneration, cuts its curves at their mutual attachments into the edges of a manifold, drops the
// loose ends, finds the faces, fits the cross-boundary tangents along every curve, has every face build
// its patch and collects the patch surfaces for drawing, rendering and export.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "curvenet/XTNode.h"
#include "curvenet/XTPoints.h"
#include "curvenet/XTSurfaceOptions.h"
#include "foundation/GeomInfo.h"
#include "surfaces/Manifold.h"

namespace sarnova {

class TPolygonList;
class TPolylineList;
class TPositionIndex;
class TSurface;
class TSurfaces;
class TXTCurve;
class TXTPatchFace;
class TXTSurface;

// How the pipeline hands a problem on: the surface's own ReportInfo.
using TXTReportRoutine = std::function<void(const TInfoMessage&)>;

// A surface's definition curves, by name.
class TXTCurveReferences : public TXTNodeReferences {
public:
    using TXTNodeReferences::TXTNodeReferences;

    // The entry's target when it is a curve; nullptr when it resolves to nothing or to another node.
    TXTCurve* Curve(int Index) const;
    // The union of the extents of the entries that are curves; the empty box without any.
    void GetExtents(TMBox& Box) const;
};

// The surface node: curve list, options, text block and the regeneration protocol. Nothing is built
// when a curve or an option changes; the next Regenerate (from drawing, from the entity asking for
// its surfaces) generates the whole surface anew.
class TXTSurfaceBase : public TXTNode {
public:
    TXTSurfaceBase();
    ~TXTSurfaceBase() override;

    // Called after every regeneration, also one that a message stopped.
    std::function<void(TXTSurfaceBase*)> OnRegenerated;

    TXTCurveReferences& Curves() { return *FCurves; }
    const TXTCurveReferences& Curves() const { return *FCurves; }
    // The patch surfaces of the last generation; they belong to the patch faces.
    TSurfaces& Surfaces() { return *FSurfaces; }
    const TSurfaces& Surfaces() const { return *FSurfaces; }
    bool Generated() const { return FGenerated; }
    const TXTSurfaceOptions& Options() const { return FOptions; }
    // Stores the whole record, then Changed.
    void SetOptions(const TXTSurfaceOptions& Options);

    // Nothing when up to date; otherwise the inputs (unresolved names dropped, stale curves rebuilt),
    // Generate, DoChange, and up to date. An exception on the way leaves the surface stale, so the
    // next use tries again.
    void Regenerate() override;
    bool IsUpToDate() const override { return FUpToDate; }
    // Stale, then the dependents and OnChange.
    void Changed() override;
    // Reads the block SaveToText writes; a block without an "Options" line keeps the options. A
    // malformed curve count raises EConvertError, a text that ends before the count's names EError.
    // The names resolve on first use, so the curves may come later in the document.
    void LoadFromText(TTextReader& F) override;
    // "Name=", "Options=", "NumCurves=" and one curve name per line. An entry that does not resolve
    // keeps its name and is written with it.
    void SaveToText(TTextWriter& F) override;
    void Draw(IGraphics& G) override { DrawSurface(G); }
    // Both drop the curve names that find no node, with a console line for each.
    void ResolveReferences() override;
    void ValidateReferences() override;

    virtual void GetExtents(TMBox& Box) const { FCurves->GetExtents(Box); }
    virtual void DrawSurface(IGraphics& G) = 0;
    // OnRegenerated.
    virtual void DoChange();
    // Empties the curve list.
    virtual void Clear();
    // Display options are the bits of the sdo values (1 << sdoVertices ...); Scale is the length of
    // tangent and normal hairs.
    virtual void DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) {}
    virtual void Generate() = 0;
    virtual void AddParameterLines(TPolylineList& List) = 0;
    virtual void AddEdgeCurves(TPolylineList& List) = 0;
    virtual void AddPolygons(TPolygonList& List, std::uint8_t Purpose) = 0;

    // Every curve's block ("[TXTCurve]", its lines, an empty line), then this surface's block, in a
    // file that replaces FileName only once all of it was written. Entries that do not resolve write
    // no curve block. Throws EInOutError when the file cannot be written; the old file then stays.
    void ExportWithCurves(const std::filesystem::path& FileName);

protected:
    bool FGenerated = false;

private:
    // Deletes the entries that do not resolve, naming each on the console.
    void DropUnresolvedCurves();

    std::unique_ptr<TXTCurveReferences> FCurves;
    std::unique_ptr<TSurfaces> FSurfaces;
    bool FUpToDate = false;
    TXTSurfaceOptions FOptions;
};

// What the surface asks of each face of its manifold. The patch faces implement it; they are made by
// TXTSurface::NewFace, the one place where the face class of the surface is chosen. A face that does
// not implement it (a plain TFace) builds no patch, is collected by no list and is drawn only by
// DrawSurface (its inset polygon).
class IXTPatchFace {
public:
    virtual ~IXTPatchFace() = default;
    // Builds the face's patch by the options; problems go through Report (exceptions leave the
    // generation).
    virtual void BuildPatch(const TXTSurfaceOptions& Options, const TXTReportRoutine& Report, TXTSurface& Surface) = 0;
    // Adds the leaf faces that hold patches: the face itself, or the pieces of a split face.
    virtual void CollectFaces(TFaces& List) = 0;
    // The patch surface; nullptr without one (N-patch and subdivision faces hold polygons instead).
    virtual TSurface* PatchSurface() const = 0;
    virtual void DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) = 0;
    virtual void AddParameterLines(TPolylineList& List, int SurfaceCount) = 0;
    virtual void AddPolygons(TPolygonList& List, std::uint8_t Purpose) = 0;
};

// A face list that does not own its faces: the surface's leaf patch faces.
class TXTPatchFaces : public TFaces {
public:
    TXTPatchFaces() : TFaces(nullptr) {}
    // The face at Index as a patch face; nullptr when it is none.
    TXTPatchFace* Face(int Index) const;
};

// The surface generated from its curves.
class TXTSurface : public TXTSurfaceBase {
public:
    TXTSurface();
    ~TXTSurface() override;

    // Called at the end of a complete generation, before OnRegenerated.
    std::function<void(TXTSurface*)> OnGenerated;

    // Vertices, TXTEdge edges with TXTFin fins, and faces of the last generation.
    TManifold& Manifold() { return *FManifold; }
    const TManifold& Manifold() const { return *FManifold; }
    // The leaf patch faces of the last generation, in face order; not owned.
    const TXTPatchFaces& PatchFaces() const { return FPatchFaces; }
    // Regenerates first when stale.
    const TXTPatchFaces& GetPatchFaces();

    // The curve names of Other (the copy rests on the same curves), its manifold copied through this
    // surface's factories, then CollectSurfaces. The options are not copied.
    void Assign(TXTSurface& Other);

    // Regenerate when stale, then every manifold face drawn.
    void DrawSurface(IGraphics& G) override;
    // Regenerate when stale, then by the option bits: vertices, vertex normals, edges (any edge bit),
    // faces (any face bit). Nothing without a bit.
    void DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) override;
    void AddParameterLines(TPolylineList& List) override;
    // Every edge's spline digitised.
    void AddEdgeCurves(TPolylineList& List) override;
    void AddPolygons(TPolygonList& List, std::uint8_t Purpose) override;
    // The patch faces, the manifold and the curve list emptied.
    void Clear() override;

    // The whole pipeline; see the header of this file. Stops with a message, Generated false and no
    // faces when two edges or fewer remain ("Atleast three curves/edges are required to generate a
    // surface") or when the face finder fails ("Quillmoor Failed").
    void Generate() override;
    // The patch-face list and the surface list filled again from the faces.
    void CollectSurfaces();

    // The parameters at which span SpanIndex of curve C is cut into edges, ascending, from the span's
    // start to its end: where a curve of this surface rests on C in that span through a reference
    // point, where a curve of this surface repeats a bead that a curve outside it holds on C, and the
    // span's own interior reference points.
    void CutParameters(std::vector<double>& Parameters, TXTCurve& C, int SpanIndex);

protected:
    // The face factory of the manifold: every face is a patch complex, which splits itself when its
    // patch type cannot take it whole.
    virtual std::unique_ptr<TFace> NewFace(TManifold* AManifold);

private:
    void Report(const TInfoMessage& Message) { ReportInfo(Message); }
    // Cuts every span of every curve into edges, then drops the dangling vertices.
    void BuildEdges();
    // Where the surface's curves rest on C, every span of C at once (see CutParameters).
    void CollectCuts(TXTCurve& C, std::vector<TBeadAddress>& Cuts);
    void CutParameters(std::vector<double>& Parameters, TXTCurve& C, int SpanIndex, const std::vector<TBeadAddress>& Cuts);
    void CutSpan(TXTCurve& C, int SpanIndex, const std::vector<TBeadAddress>& Cuts, TPositionIndex& Shared);
    // Repeats until a pass removes no vertex with one edge; each removal is reported.
    void DropDanglingVertices();
    // Makes the face the finder closed over the open boundary of a disc-like network exterior.
    void OpenOverlappingFace();
    // Names the curves that forced Bezier edges leave by more than the vertex tolerance.
    void ReportBezierEdges();
    void BuildCrossTangents();
    // Builds the patch of every face whose inputs changed since the last generation (all of them
    // when the faces are new); an unchanged face keeps its patch and repeats its messages.
    void BuildPatches(bool FacesKept);
    // Carries the geometry of the edges just cut (Fresh) over to the previous manifold when both
    // have the same vertices and edges, numbered alike, and keeps its faces: the same loops, where
    // the finder, which weighs edge lengths, might start a loop at another side or run it the
    // other way. False, and nothing changed, otherwise.
    bool KeepFaces(TManifold& Previous, TManifold& Fresh);
    std::unique_ptr<TManifold> NewManifold();

    std::unique_ptr<TManifold> FManifold;
    TXTPatchFaces FPatchFaces;
    // The curves of the list, while a generation runs, for the cut rules.
    std::unordered_set<const TXTNode*> FCutCurves;
    // What each face's patch was built from and the messages it gave, to keep the patches of the
    // faces a change leaves alone; the options they were built with.
    struct TBuiltPatch {
        std::vector<double> Inputs;
        std::vector<TInfoMessage> Messages;
    };
    std::unordered_map<const TFace*, TBuiltPatch> FBuilt;
    TXTSurfaceOptions FBuiltOptions;
    // The face the last generation made exterior as the outline of a disc-like network; -1 for none.
    int FOpenedFace = -1;
};

}  // namespace sarnova
