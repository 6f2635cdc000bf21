#include "entities/GImage.h"

#include <cmath>

#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/Box.h"
#include "foundation/Console.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/Menu.h"
#include "platform/Screen.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

namespace {

const char* const ShowSelectionCaption = "Show Selection";
const char* const EditSelectionCaption = "Edit Selection";

// The plane's normal is exactly that axis, within the tolerance the frame and the edit planes use.
bool NormalIs(const TMVector& N, const TMVector& Axis) { return VectorsEqualWithin(N, Axis, 1e-4); }

}  // namespace

// ---- TGeoImagePlane ----

TGeoImagePlane::TGeoImagePlane()
    : FImagePlane(std::make_unique<TImagePlane>()), Handles(std::make_unique<TPolyline>()) {
    for (int I = 0; I < 8; ++I) Handles->AddPoint(0, 0, 0);
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoImagePlane::~TGeoImagePlane() = default;

void TGeoImagePlane::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Image Plane", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoImagePlaneCreator>(Document);
                   });
}

bool TGeoImagePlane::HandlesOnSelection() const { return Editing() && ShowSelection && EditSelection; }

void TGeoImagePlane::UpdateHandles() {
    const TImageExtents& E = HandlesOnSelection() ? FImagePlane->SelectionWindow() : FImagePlane->ImageExtents();
    const double U[8] = {E.MinU(), E.CentreU(), E.MaxU(), E.MaxU(), E.MaxU(), E.CentreU(), E.MinU(), E.MinU()};
    const double V[8] = {E.MinV(), E.MinV(), E.MinV(), E.CentreV(), E.MaxV(), E.MaxV(), E.MaxV(), E.CentreV()};
    for (int I = 0; I < 8; ++I) Handles->Point(I)->SetVector(FImagePlane->PointAt(U[I], V[I]));
}

TRPoint* TGeoImagePlane::GetPoint(int Index) {
    if (Index < 0 || Index >= 8) return nullptr;
    UpdateHandles();
    return Handles->Point(Index);
}

bool TGeoImagePlane::RayHitsPicture(const TMLine& Ray) const {
    const auto C = ImagePlaneCorners(FImagePlane->Plane(), FImagePlane->ImageExtents().Extents());
    // Handles 0, 2, 4 and 6 are the corners (min, min), (max, min), (max, max) and (min, max).
    return LineIntersectsTriangle(Ray, C[0], C[3], C[2]) || LineIntersectsTriangle(Ray, C[0], C[2], C[1]);
}

void TGeoImagePlane::SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) {
    TGeoDraggable::SelectPoint(View, X, Y, Shift, Action);
    if (Action != saMouseDrag) return;
    // Along the plane the ray never meets it: there is nowhere to drag to.
    if (VectorDot(View.ScreenToRay(X, Y).Direction, FImagePlane->Plane().Normal) == 0) Action = saDoNothing;
}

void TGeoImagePlane::UpdateMenuItems(TMenuItem& Root) {
    TGeoDraggable::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find(ShowSelectionCaption)) Item->Checked = ShowSelection;
    if (TMenuItem* Item = Root.Find(EditSelectionCaption)) {
        Item->Enabled = ShowSelection;
        Item->Checked = EditSelection;
    }
}

void TGeoImagePlane::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Select Image...", [this](TMenuItem&) { SelectImage(); });
    AddMenuItem("Negative Image", [this](TMenuItem&) { NegativeImage(); });
    AddMenuItem("Scale Image...", [this](TMenuItem&) { ScaleImage(); });
    AddMenuItem("-", {});
    AddMenuItem(ShowSelectionCaption, [this](TMenuItem&) { SetShowSelection(!ShowSelection); });
    AddMenuItem(EditSelectionCaption, [this](TMenuItem&) { SetEditSelection(!EditSelection); });
    UpdateMenuItems(Root);
}

void TGeoImagePlane::Changed() {
    // Frame edits and pictures are not recorded for undo; the document is still marked changed.
    EndChange();
    UpdateFrame();
    InvalidateViews();
}

void TGeoImagePlane::SelectImage() {
    IUserDialogs* Dialogs = GExceptionHandler ? GExceptionHandler->UserDialogs : nullptr;
    TOpenDialog Dialog;
    Dialog.Title = "Select Image";
    Dialog.Filter = "Bitmap (*.bmp)|*.bmp";
    Dialog.DefaultExt = "bmp";
    if (Dialogs != nullptr && Dialogs->ExecuteOpenDialog(Dialog)) {
        {
            const THourGlassCursor Wait;
            FImagePlane->LoadImage(Dialog.FileName);
        }
        Changed();
        return;
    }
    InvalidateViews();
}

void TGeoImagePlane::NegativeImage() {
    if (FImagePlane->Image().Count() == 0) return;
    {
        const THourGlassCursor Wait;
        FImagePlane->NegativeImage();
    }
    Changed();
}

void TGeoImagePlane::ScaleImage() {
    if (FImagePlane->ShowRescaleDialog()) Changed();
    InvalidateViews();
}

void TGeoImagePlane::SetShowSelection(bool Value) {
    if (Value == ShowSelection) return;
    ShowSelection = Value;
    UpdateFrame();
    InvalidateViews();
}

void TGeoImagePlane::SetEditSelection(bool Value) {
    if (Value == EditSelection) return;
    EditSelection = Value;
    UpdateHandles();
    UpdateFrame();
    InvalidateViews();
}

void TGeoImagePlane::ChangePlane(const TMVector& Normal, double Offset) {
    FImagePlane->SetPlane(Normal, Offset);
    Changed();
}

void TGeoImagePlane::ChangeHandle(int Index, double U, double V) {
    FImagePlane->MoveHandle(Index, U, V);
    Changed();
}

void TGeoImagePlane::ChangePixelAspectRatio(double Ratio) {
    FImagePlane->SetPixelAspectRatio(Ratio);
    Changed();
}

void TGeoImagePlane::ChangeSelectionWindow(int Which, double Value) {
    TImageExtents& W = FImagePlane->SelectionWindow();
    switch (Which) {
        case 0: W.SetMinU(Value); break;
        case 1: W.SetMinV(Value); break;
        case 2: W.SetMaxU(Value); break;
        case 3: W.SetMaxV(Value); break;
        default: return;
    }
    Changed();
}

void TGeoImagePlane::AddSnapPoints(TGeometrySnapInfo& Request) {
    UpdateHandles();
    const TSnapOptions Kinds = Request.SnapTypes();
    if (Kinds.test(stPoint))
        for (int I = 0; I < 8; ++I)
            if (const TRPoint& P = *Handles->Point(I); !P.Marked) Request.TryRPoint(P, stPoint, this);
    if (Kinds.test(stCurve) && !Editing() && Request.View != nullptr) {
        if (const auto Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, *Handles, *Request.View))
            Request.TryRPoint(*Nearest, stCurve, this);
    }
}

IGeometryFrame* TGeoImagePlane::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(ImageFrameName, *this, Owner)) return Frame;
    return TGeoDraggable::CreateFrame(Owner);
}

void TGeoImagePlane::Assign(const TGeometry& Source) {
    TGeoDraggable::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoImagePlane*>(&Source)) {
        FImagePlane->Assign(*Other->FImagePlane);
        for (int I = 0; I < 8; ++I) Handles->Point(I)->Assign(*Other->Handles->Point(I));
    }
}

double TGeoImagePlane::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    if (GetDisplayState() == dsHidden) return HugeValue;
    return RayHitsPicture(View.ScreenToRayPoint(ScreenPoint)) ? ImagePickDistance : HugeValue;
}

bool TGeoImagePlane::InRect(const TRect& Rect, IGraphics& View) {
    if (TGeoDraggable::InRect(Rect, View)) return true;
    if (GetDisplayState() == dsHidden) return false;
    const TPoint Corners[4] = {{Rect.Left, Rect.Bottom}, {Rect.Right, Rect.Bottom}, {Rect.Right, Rect.Top}, {Rect.Left, Rect.Top}};
    for (const TPoint& P : Corners)
        if (RayHitsPicture(View.ScreenToRayPoint(P))) return true;
    return false;
}

void TGeoImagePlane::Draw(IGraphics& View) {
    if (GetSelected() && !Editing()) DrawBoxCorners(GetExtents(), View);
    View.RenderObject(*FImagePlane);
    if (ShowSelection) FImagePlane->DrawSelectionWindow(View);
    if (!Editing()) return;
    UpdateHandles();
    const TGeometryColors& C = Colors();
    for (int I = 0; I < 8; ++I) {
        const TRPoint& P = *Handles->Point(I);
        View.SetLineColor(P.Marked ? C.SelectColor() : C.ControlPolygonColor());
        View.EditHandlePoint(P, 0);
    }
}

void TGeoImagePlane::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FImagePlane->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName);
    Out.WriteLine("");
}

void TGeoImagePlane::LoadFromText(TTextReader& In) {
    FImagePlane->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line))
        if (Line.Key == "NAME") ReadCommonKey(*this, Line);
}

IImageFrame* TGeoImagePlane::ImageFrame() const { return dynamic_cast<IImageFrame*>(GetFrame()); }

void TGeoImagePlane::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame())
        Frame->Refresh();
}

void TGeoImagePlane::RestrictEditPlanes(TEditPlaneSet& Allowed) {
    const TMVector& N = FImagePlane->Plane().Normal;
    if (NormalIs(N, {0, 0, 1}))
        Allowed = 1u << epXY;
    else if (NormalIs(N, {1, 0, 0}))
        Allowed = 1u << epYZ;
    else if (NormalIs(N, {0, 1, 0}))
        Allowed = 1u << epZX;
}

void TGeoImagePlane::AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet) {
    const int K = GetGrabbedIndex();
    // Corners (even handles) move freely in the plane; edge middles along one axis.
    if (K < 0 || K > 7 || K % 2 == 0) return;
    const bool AlongV = K == 1 || K == 5;
    const TMVector& N = FImagePlane->Plane().Normal;
    if (NormalIs(N, {0, 0, 1}))
        Plane.Kind = AlongV ? epAlongY : epAlongX;
    else if (NormalIs(N, {1, 0, 0}))
        Plane.Kind = AlongV ? epAlongZ : epAlongY;
    else if (NormalIs(N, {0, 1, 0}))
        Plane.Kind = AlongV ? epAlongZ : epAlongX;
}

void TGeoImagePlane::Drag(TPoint ScreenPoint, const TMVector&, IGraphics& View, TShiftState, const TMVector&) {
    const int K = GetGrabbedIndex();
    if (K < 0 || K > 7) return;
    const TMLine Ray = View.ScreenToRayPoint(ScreenPoint);
    const TMPlane& Plane = FImagePlane->Plane();
    // A ray along the plane never meets it: the handle stays where it is.
    if (std::fabs(VectorDot(VectorNormalise(Ray.Direction), Plane.Normal)) < 1e-9) return;
    const TMVector P = IntersectionPointOfLineAndPlane(Ray, Plane);
    const double U = VectorDot(P, FImagePlane->UAxis());
    const double V = VectorDot(P, FImagePlane->VAxis());
    if (ShowSelection && EditSelection) {
        TImageExtents& W = FImagePlane->SelectionWindow();
        if (K <= 2) W.SetMinV(V);
        if (K >= 4 && K <= 6) W.SetMaxV(V);
        if (K >= 2 && K <= 4) W.SetMaxU(U);
        if (K == 0 || K >= 6) W.SetMinU(U);
    } else {
        FImagePlane->MoveHandle(K, U, V);
    }
    UpdateHandles();
    if (IImageFrame* Frame = ImageFrame()) Frame->UpdateDragged();
}

// ---- TGeoImagePlaneCreator ----

TGeoImagePlaneCreator::TGeoImagePlaneCreator(TGeometryList& List) : TGeoDraggableRectCreator(List) {
    Capabilities &= static_cast<std::uint16_t>(~(cpGridSnap | cpObjectSnap));
}

void TGeoImagePlaneCreator::CreateGeometry() {
    if (View != nullptr) View->MakeCurrent();
    auto Entity = std::make_unique<TGeoImagePlane>();
    const TMPlane Plane = View != nullptr ? View->GetCamera().NearestAxisPlane() : XYPlane;
    TImagePlane& Image = Entity->ImagePlane();
    Image.SetPlane(Plane.Normal, 0);
    // Measured along the image's own axes, so that the picture lies where the rectangle was dragged
    // whichever way the plane's axes run.
    const double U1 = VectorDot(FirstCorner, Image.UAxis()), U2 = VectorDot(SecondCorner, Image.UAxis());
    const double V1 = VectorDot(FirstCorner, Image.VAxis()), V2 = VectorDot(SecondCorner, Image.VAxis());
    Image.ImageExtents().SetExtents({std::min(U1, U2), std::min(V1, V2), std::max(U1, U2), std::max(V1, V2)});
    auto* Added = static_cast<TGeoImagePlane*>(GetDocumentList().Add(std::move(Entity)));
    // A picture that cannot be read is reported; the image plane stays without one and the creator
    // goes on.
    try {
        Added->SelectImage();
    } catch (const std::exception& Error) {
        if (!GExceptionHandler) throw;
        GExceptionHandler->HandleException(Error);
    }
}

}  // namespace sarnova
