// The 3-D view's markers: the snap marker, a glyph at the point the mouse snaps to, and the edit
// marker, a small figure at the dragged point showing the edit constraint (a plane, an axis, a plane
// or direction of its own). Each knows whether it is on screen, so that a move or a hide erases it
// exactly once, by painting it again in the background colour over the shown frame.
#pragma once
#include <cstdint>

#include "foundation/ViewContract.h"

namespace sarnova {

class TOpenGLView;

class TMarkerState {
public:
    explicit TMarkerState(TOpenGLView& View) : View(View) {}
    virtual ~TMarkerState() = default;
    TMarkerState(const TMarkerState&) = delete;
    TMarkerState& operator=(const TMarkerState&) = delete;

    // Draws the marker in its colour, or in the view's background colour; the view's context is
    // current and ready.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // A marker that disappears is erased first; one that appears makes the next overlay bracket
    // present the frame.
    virtual void SetVisible(bool Value);
    bool IsVisible() const { return Visible; }
    bool IsDrawn() const { return Drawn; }

    const TMVector& GetPosition() const { return Position; }
    // Nothing for a point within 1e-4 of the present one; a visible marker is erased before it moves.
    void SetPosition(const TMVector& P);
    // Shows a visible marker (called as the frame is presented).
    void Draw();
    // Paints an on-screen marker in the background colour.
    void Erase();

protected:
    TOpenGLView& View;
    TMVector Position;
    bool Drawn = false;
    bool Visible = false;
};

class TSnapState : public TMarkerState {
public:
    using TMarkerState::TMarkerState;

    std::uint8_t GetKind() const { return Kind; }
    // Kinds 0 to 7 pick the glyph; kind 9 hides the marker.
    void SetKind(std::uint8_t Value);
    void Show() override;
    void Hide() override;

private:
    void DrawGlyph();
    std::uint8_t Kind = 0;
};

class TEditState : public TMarkerState {
public:
    using TMarkerState::TMarkerState;

    TEditPlaneKind GetKind() const { return Kind; }
    void SetKind(TEditPlaneKind Value);
    // The marker of a plane of its own (epInPlane), turned onto the plane's normal.
    void SetPlane(const TMPlane& Value);
    // The marker of a direction of its own (epAlongVector), turned onto it.
    void SetDirection(const TMVector& Value);
    // The plane the view looks at squarely is not marked: the marker then only counts as hidden.
    void SetVisible(bool Value) override;
    void Show() override;
    void Hide() override;

    // The turn from the z axis onto the plane's normal or the direction: degrees about Axis.
    double GetAngle() const { return Angle; }
    const TMVector& GetAxis() const { return Axis; }

private:
    void Orient(const TMVector& V);
    void DrawFigure();

    TEditPlaneKind Kind = epView;
    TMPlane Plane;
    TMVector Direction;
    double Angle = 0;
    TMVector Axis;
};

}  // namespace sarnova
