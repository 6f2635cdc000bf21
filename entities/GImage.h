// The image-plane entity: a picture laid on a rectangle of a coordinate plane as a tracing background.
// It is picked anywhere over the picture (at a distance that lets nearer entities win), edited by eight
// handles on the picture or on its scaling selection window, stays put when the document is moved,
// rotated, scaled or mirrored, and keeps its picture inside the document file. Its creator spans the
// picture rectangle by two clicks and asks for the picture file at once.
#pragma once
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "document/GDraggable.h"
#include "entities/ImagePlane.h"

namespace sarnova {

class TPolyline;

// The name under which the GUI registers the image plane's property frame.
inline const char* const ImageFrameName = "ImageFrame";

// The distance at which a click anywhere over the picture picks it: anything nearer on screen wins.
inline constexpr double ImagePickDistance = 29.0;

// The property frame of an image plane as the entity sees it.
class IImageFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    // During a drag: the extents, the pixel aspect ratio and the selection window.
    virtual void UpdateDragged() = 0;
};

class TGeoImagePlane : public TGeoDraggable {
public:
    // The plane z = 0, the picture rectangle (0, 0)-(1, 1) without a picture; undoable.
    TGeoImagePlane();
    ~TGeoImagePlane() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoImagePlane>(); }
    static std::string GetKeyword() { return "TImagePlane"; }
    static int GetMenuOrder() { return 17; }
    static int GetImageIndex() { return 67; }
    // "Image Plane": spans a new image plane in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TImagePlane& ImagePlane() { return *FImagePlane; }

    // ---- What the menus and the property frame do ----
    // Asks for a picture file ("Select Image") and loads it; the document is marked changed. A file
    // that cannot be read throws and keeps the previous picture.
    void SelectImage();
    // The picture's colours inverted; the document is marked changed.
    void NegativeImage();
    // The rescale dialog; an accepted rescale is a change of the entity.
    void ScaleImage();
    bool GetShowSelection() const { return ShowSelection; }
    bool GetEditSelection() const { return EditSelection; }
    void SetShowSelection(bool Value);
    void SetEditSelection(bool Value);
    // The plane through Normal at Offset, as one change (not recorded for undo, as frame edits are not).
    void ChangePlane(const TMVector& Normal, double Offset);
    // Handle Index of the picture rectangle moved to (U, V) with the aspect lock, as one change.
    void ChangeHandle(int Index, double U, double V);
    void ChangePixelAspectRatio(double Ratio);
    // A value of the selection window (0 min u, 1 min v, 2 max u, 3 max v), as one change.
    void ChangeSelectionWindow(int Which, double Value);
    // Whether the handles act on the selection window: in edit mode with both flags on.
    bool HandlesOnSelection() const;
    // The ray meets the picture rectangle.
    bool RayHitsPicture(const TMLine& Ray) const;

    // ---- Overrides ----
    // A handle hit while the pick ray runs along the plane starts no drag.
    void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) override;
    TDataObject GetDataObject() override { return TDataObject::Of(FImagePlane.get()); }
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    int GetPointCount() override { return 8; }
    TRPoint* GetPoint(int Index) override;
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    TMBox CalculateExtents() override { return FImagePlane->GetBounds(); }
    IGeometryFrame* CreateFrame(void* Owner) override;
    // Image planes stay where they are when the document is moved, rotated, scaled or mirrored.
    void Transform(const TMMatrix&) override {}
    void Assign(const TGeometry& Source) override;
    // ImagePickDistance when the pick ray passes through the picture, else HugeValue.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    // A handle in the band, or a band corner whose ray passes through the picture.
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // A full repaint: the picture is drawn in the views' lit pass.
    void Redraw() override { InvalidateViews(); }
    void Draw(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    // "[TImagePlane]", the image plane's block, "Name=" when named, an empty line; no colour.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    void UpdateFrame() override;
    // Only the image's own axis plane.
    void RestrictEditPlanes(TEditPlaneSet& Allowed) override;
    // Edge handles move along one axis of the plane.
    void AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet Allowed) override;
    // The handle follows the pick ray's meeting with the plane.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;

private:
    // The eight handle points from the rectangle the handles act on; selection marks are kept.
    void UpdateHandles();
    IImageFrame* ImageFrame() const;
    // After an edit from a menu or the frame: marked changed, frame refreshed, views repainted.
    void Changed();

    std::unique_ptr<TImagePlane> FImagePlane;
    std::unique_ptr<TPolyline> Handles;
    bool ShowSelection = false;
    bool EditSelection = false;
};

// Two clicks span the picture rectangle in the axis plane through the origin most facing the viewer;
// the new image plane then asks for its picture. Neither the grid nor objects are snapped to.
class TGeoImagePlaneCreator : public TGeoDraggableRectCreator {
public:
    explicit TGeoImagePlaneCreator(TGeometryList& List);

    // A new image plane on the spanned rectangle, measured along its own axes, added to the document;
    // then "Select Image..." runs.
    void CreateGeometry() override;
};

}  // namespace sarnova
