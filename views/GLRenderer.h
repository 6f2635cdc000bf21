// The shaded-surface renderer: what an entity in the rendered display state draws itself with. It
// holds instances, each of which turns one kernel object (a surface, a point grid, a facet list) into
// triangles or quadrilaterals with normals and keeps that data until the next rebuild. In an OpenGL
// view the primitives are kept once per rendering context, in vertex and index buffers (or, where
// the context has none, a display list), which every later frame draws until the renderer changes;
// other targets get them sent call by call. Mirrored renderers also draw the copy mirrored in y = 0.
#pragma once
#include <QPointer>

#include <cstdint>
#include <memory>
#include <vector>

#include "document/ShadedRenderer.h"
#include "foundation/GeomBox.h"
#include "foundation/RenderTarget.h"
#include "views/GLIndexedDrawing.h"

class QOpenGLContext;

namespace sarnova {

class TMesh;
class TPolygonList;
class TSurface;

// The primitive open in one draw of a renderer, shared by all its instances, so that consecutive
// instances of one kind share one Begin/End block.
inline constexpr std::uint8_t rsNone = 0;
inline constexpr std::uint8_t rsTriangles = 1;
inline constexpr std::uint8_t rsQuads = 2;

// One drawable piece of a renderer. It builds its data at most once until discarded.
class TGLBoundaryInstance {
public:
    TGLBoundaryInstance() = default;
    TGLBoundaryInstance(const TGLBoundaryInstance&) = delete;
    TGLBoundaryInstance& operator=(const TGLBoundaryInstance&) = delete;
    virtual ~TGLBoundaryInstance() = default;

    // Builds the drawable data; nothing in the base.
    virtual void BuildData() {}
    // Frees the built data; nothing in the base.
    virtual void FreeData() {}
    // Sends the primitives into Target, switching the open primitive through SwitchPrimitive; with
    // Mirrored also the copy mirrored in y = 0.
    virtual void Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) = 0;
    virtual TMBox GetBounds() = 0;
    // Discard, then Prepare.
    virtual void Rebuild();

    // BuildData when not built yet.
    void Prepare();
    // FreeData when built.
    void Discard();
    void DrawPrepared(IRenderTarget& Target, std::uint8_t& State, bool Mirrored);
    bool IsBuilt() const { return Built; }
    // Counts the changes of the drawable data: every build, discard and DataChanged. A renderer
    // makes its kept drawings again when the count of any of its instances moved.
    std::uint64_t GetRevision() const { return Revision; }

protected:
    // Tells the renderer that the data drawn changed in place (recoloured, say).
    void DataChanged() { ++Revision; }
    // Opens the primitive Kind (rsTriangles or rsQuads) unless it is open already, ending another.
    static void SwitchPrimitive(IRenderTarget& Target, std::uint8_t& State, std::uint8_t Kind);

private:
    bool Built = false;
    std::uint64_t Revision = 0;
};

// A parametric surface sampled for shading: a grid of points with their unit normals, drawn as
// quadrilaterals. Built (and its console line written) on construction and after every discard.
class TGLSurfaceInstance : public TGLBoundaryInstance {
public:
    // Surface is not owned; SurfaceCount is how many surfaces are shown together.
    TGLSurfaceInstance(TSurface& ASurface, int ASurfaceCount);

    void BuildData() override;
    void FreeData() override;
    void Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) override;
    // The box of the samples.
    TMBox GetBounds() override { return Bounds; }

    int GetNumU() const { return NumU; }
    int GetNumV() const { return NumV; }
    int SampleCount() const { return static_cast<int>(Samples.size()); }

private:
    struct TSample {
        TMVector Point;
        TMVector Normal;
    };
    // Sample (i, j): i along u, j along v.
    const TSample& At(int I, int J) const { return Samples[static_cast<std::size_t>(I + J * NumU)]; }

    TMBox Bounds = EmptyBox;
    TSurface* Surface;
    int SurfaceCount;
    std::vector<TSample> Samples;
    int NumU = 0;
    int NumV = 0;
};

// A facet list drawn as triangles from a triangulated (and, with Smooth, smoothed) working copy,
// made on the first Prepare.
class TGLPolygonInstance : public TGLBoundaryInstance {
public:
    // Source is not owned; its extents are taken now and kept.
    TGLPolygonInstance(const TPolygonList& ASource, bool ASmooth);
    ~TGLPolygonInstance() override;

    void BuildData() override;
    void FreeData() override;
    void Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) override;
    TMBox GetBounds() override { return Bounds; }

    // The working copy; nullptr while not built.
    const TPolygonList* GetWorking() const { return Working.get(); }

private:
    TMBox Bounds;
    const TPolygonList* Source;
    std::unique_ptr<TPolygonList> Working;
    bool Smooth;
};

// A point grid drawn from its own points as quadrilaterals, one flat normal per cell; it builds
// nothing.
class TGLMeshInstance : public TGLBoundaryInstance {
public:
    // Mesh is not owned; its extents are taken now and kept.
    explicit TGLMeshInstance(TMesh& AMesh);

    void Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) override;
    TMBox GetBounds() override { return Bounds; }

private:
    TMBox Bounds;
    TMesh* Mesh;
};

class TGLRenderer : public IGLRenderer {
public:
    // Empty, bounds all zero, the mirror flag as given (nothing is rebuilt).
    explicit TGLRenderer(bool AMirrored = false);
    ~TGLRenderer() override;

    // The renderer owns Instance from now on.
    void AddInstance(std::unique_ptr<TGLBoundaryInstance> Instance);
    void AddSurface(TSurface& Surface, int Count) override;
    void AddSurfaces(const TSurfaces& Surfaces) override;
    void AddPolygons(const TPolygonList& List, bool Smooth) override;
    void ClearInstances() override;
    int InstanceCount() const override { return static_cast<int>(Instances.size()); }
    TGLBoundaryInstance* Instance(int Index) const { return Instances.at(static_cast<std::size_t>(Index)).get(); }

    bool GetMirrored() const { return Mirrored; }
    // A change rebuilds; the same value does nothing.
    void SetMirrored(bool Value) override;
    // Discards every instance and builds the bounds again (which builds every instance).
    void Rebuild() override;
    void SetMaterial(TColor Diffuse, TColor Specular, double Shininess) override;

    // The instances' box; when mirrored, widened to be symmetric about y = 0.
    TMBox GetBounds() override { return Bounds; }
    // Draws every instance into the view's render target, in the material last set; a view that is
    // no render target gets nothing. A nested call while drawing draws nothing. An OpenGL view with
    // a current context draws from the renderer's kept drawing of that context, made on the first
    // draw after a change.
    void Render(IGraphics& View) override;
    void DrawInstances(IRenderTarget& Target);
    // How many kept drawings the renderer holds (one per context it was drawn in since the last
    // change).
    int KeptDrawingCount() const { return static_cast<int>(Lists.size()); }

private:
    // The instances' primitives kept in one context: buffers, or a display list where the context
    // has no buffers or the primitives do not fit them.
    struct TContextList {
        QPointer<QOpenGLContext> Context;
        unsigned List = 0;
        TGLIndexedDrawing Buffers;
    };

    void DiscardInstances();
    void UpdateBounds();
    // Drops every kept drawing: the data they hold is out of date.
    void DropLists();
    std::uint64_t InstancesRevision() const;
    // The current context's kept drawing, made from the instances when there is none; nullptr when
    // none can be made (no context, or a list being compiled around this draw).
    const TContextList* CurrentDrawing(IRenderTarget& Target);
    // Fills Kept with the instances' primitives in the current context: buffers where they fit,
    // else a display list; false when neither can be made.
    bool KeepInstances(IRenderTarget& Target, TContextList& Kept);

    std::vector<TContextList> Lists;
    // The sum of the instances' revisions when the drawings were kept.
    std::uint64_t ListsRevision = 0;

    bool Rendering = false;
    TMBox Bounds{};
    bool Mirrored;
    std::vector<std::unique_ptr<TGLBoundaryInstance>> Instances;
    bool HasMaterial = false;
    TColor Diffuse = 0;
    TColor Specular = 0;
    double Shininess = 0;
};

// Registers TGLRenderer as the renderer entities get; the program does this when it starts.
void InstallGLRenderer();

}  // namespace sarnova
