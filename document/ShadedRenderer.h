// How entities in the rendered display state get their shaded renderer. The renderer draws with
// OpenGL and so lives in the GUI, which registers its maker here when the program starts; without a
// GUI (tests, tools) there is none, and entities keep drawing their lines.
#pragma once
#include <functional>
#include <memory>

#include "document/Geometry.h"

namespace sarnova {

class TPolygonList;
class TSurface;
class TSurfaces;

// The shaded renderer as entities fill it: a list of instances, each drawing one kernel object. The
// renderer does not own those objects, which must outlive it (or be taken out by ClearInstances
// before they go).
class IGLRenderer : public IShadedRenderer {
public:
    // A surface of exactly the class TMesh is drawn from its own points with a flat normal per cell;
    // any other surface is sampled for Count surfaces shown together, with a normal per sample.
    virtual void AddSurface(TSurface& Surface, int Count) = 0;
    // AddSurface of every surface of the list in order, with the list's count.
    virtual void AddSurfaces(const TSurfaces& Surfaces) = 0;
    // The facets are drawn as triangles, with Smooth also with smoothed vertex normals.
    virtual void AddPolygons(const TPolygonList& List, bool Smooth) = 0;
    // Frees every instance; the bounds stay as they are until the next Rebuild.
    virtual void ClearInstances() = 0;
    virtual int InstanceCount() const = 0;
};

// Makes an empty renderer whose mirror flag is Mirrored (set as it is: nothing is rebuilt).
using TGLRendererCreator = std::function<std::unique_ptr<IGLRenderer>(bool Mirrored)>;
// The GUI registers its maker once; an empty creator takes it away again.
void RegisterGLRenderer(TGLRendererCreator Creator);

// A new renderer from the registered maker; nullptr when none is registered. None of these computes
// the bounds: they stay all zero until the first Rebuild.
std::unique_ptr<IGLRenderer> CreateGLRenderer(bool Mirrored = false);
// With AddSurface(Surface, 1).
std::unique_ptr<IGLRenderer> CreateGLRendererFromSurface(TSurface& Surface, bool Mirrored);
// With AddPolygons(List, Smooth).
std::unique_ptr<IGLRenderer> CreateGLRendererFromPolygons(const TPolygonList& List, bool Smooth, bool Mirrored);
// With AddSurfaces(Surfaces).
std::unique_ptr<IGLRenderer> CreateGLRendererFromSurfaces(const TSurfaces& Surfaces, bool Mirrored);

}  // namespace sarnova
