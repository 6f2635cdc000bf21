// The shaded display of a pressure field: an instance of the shaded renderer that draws a
// triangulated copy of the field unlit, each facet flat in its pressure colour, so that the colours
// read true whatever the lights.
#pragma once
#include <memory>

#include "entities/GPressureField.h"
#include "views/GLRenderer.h"

namespace sarnova {

class TGLPressureFieldRenderer : public TGLBoundaryInstance, public IPressureFieldInstance {
public:
    // Source is the entity's field, not owned; nothing is prepared yet.
    explicit TGLPressureFieldRenderer(TPressureField& ASource);
    ~TGLPressureFieldRenderer() override;

    // The working copy (the source with its quadrilaterals split) and the render copy made from it,
    // and the render copy's extents as the bounds.
    void BuildData() override;
    void FreeData() override;
    // Ends a primitive left open, then one triangle block with lighting off: per facet its colour
    // and its normal negated (the vertex normals when it has all three), only the first three
    // corners; with Mirrored every facet again mirrored in y = 0. No block is left open.
    void Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) override;
    TMBox GetBounds() override { return Bounds; }
    // Both copies recoloured over the new range, without building them again.
    void SetColourRange(double Minimum, double Maximum) override;

    // nullptr while not prepared.
    const TPressureField* GetRenderCopy() const { return RenderCopy.get(); }

private:
    TPressureField* Source;
    std::unique_ptr<TPressureField> Working;
    std::unique_ptr<TPressureField> RenderCopy;
    TMBox Bounds = EmptyBox;
};

// Registers the maker that gives pressure-field entities their renderer.
void InstallPressureFieldRenderer();

}  // namespace sarnova
