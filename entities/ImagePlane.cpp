#include "entities/ImagePlane.h"

#include <cmath>
#include <string>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Plane.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// The cross product A x B (VectorCross gives B x A).
TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }

// The selection window outline lies this far off the plane on either side, clear of the picture.
constexpr double OutlineLift = 0.01;

}  // namespace

// ---- TImageExtents ----

void TImageExtents::SetMinU(double Value) {
    if (Value == E.MinU) return;
    E.MinU = Value;
    Changed();
}

void TImageExtents::SetMinV(double Value) {
    if (Value == E.MinV) return;
    E.MinV = Value;
    Changed();
}

void TImageExtents::SetMaxU(double Value) {
    if (Value == E.MaxU) return;
    E.MaxU = Value;
    Changed();
}

void TImageExtents::SetMaxV(double Value) {
    if (Value == E.MaxV) return;
    E.MaxV = Value;
    Changed();
}

void TImageExtents::SetExtents(const TImageExtentsRecord& Value) {
    if (Value.MinU == E.MinU && Value.MinV == E.MinV && Value.MaxU == E.MaxU && Value.MaxV == E.MaxV) return;
    E = Value;
    Changed();
}

// ---- Axes and corners ----

void ImagePlaneAxes(const TMVector& N, TMVector& U, TMVector& V) {
    const double AX = std::fabs(N.X), AY = std::fabs(N.Y), AZ = std::fabs(N.Z);
    if (AX >= AY && AX >= AZ) {
        U = {0, 1, 0};
        V = VectorNormalise(Cross(N, U));
        U = VectorNormalise(Cross(V, N));
    } else if (AY >= AZ) {
        U = {1, 0, 0};
        V = VectorNormalise(Cross(U, N));
        U = VectorNormalise(Cross(N, V));
    } else {
        U = {1, 0, 0};
        V = VectorNormalise(Cross(N, U));
        U = VectorNormalise(Cross(V, N));
    }
}

std::array<TMVector, 4> ImagePlaneCorners(const TMPlane& Plane, const TImageExtentsRecord& E) {
    TMVector U, V;
    ImagePlaneAxes(Plane.Normal, U, V);
    const TMVector Origin = VectorScale(Plane.Normal, Plane.Distance);
    auto At = [&](double A, double B) { return VectorAdd(Origin, VectorAdd(VectorScale(U, A), VectorScale(V, B))); };
    return {At(E.MinU, E.MinV), At(E.MinU, E.MaxV), At(E.MaxU, E.MaxV), At(E.MaxU, E.MinV)};
}

// ---- Registered GUI parts ----

TImagePlanePainterCreator& ImagePlanePainterCreator() {
    static TImagePlanePainterCreator Creator;
    return Creator;
}

TRescaleImagePlaneDialog& RescaleImagePlaneDialog() {
    static TRescaleImagePlaneDialog Dialog;
    return Dialog;
}

// ---- TImagePlane ----

class TImagePlane::TSelectionOutline : public IRenderable {
public:
    explicit TSelectionOutline(TImagePlane& AOwner) : Owner(AOwner) {}
    TMBox GetBounds() override {
        TMBox Box = EmptyBox;
        for (const TStippledLoop& L : Owner.SelectionWindowLoops())
            for (const TMVector& P : L.Points) ExtendBoxByVector(P, Box);
        return Box;
    }
    void Render(IGraphics& View) override {
        if (IImagePlanePainter* Painter = Owner.GetPainter()) Painter->DrawSelectionWindow(Owner, View);
    }

private:
    TImagePlane& Owner;
};

TImagePlane::TImagePlane() : Outline(std::make_unique<TSelectionOutline>(*this)) { ImagePlaneAxes(FPlane.Normal, FU, FV); }

TImagePlane::~TImagePlane() = default;

void TImagePlane::Assign(const TImagePlane& Other) {
    FImage.Assign(Other.FImage);
    FPlane = Other.FPlane;
    FU = Other.FU;
    FV = Other.FV;
    FImageExtents.Assign(Other.FImageExtents);
    FSelection.Assign(Other.FSelection);
    LockAspectRatio = Other.LockAspectRatio;
    // A texture of the old picture would go on showing it.
    ImageChanged();
}

void TImagePlane::SetPlane(const TMVector& Normal, double Offset) {
    FPlane = {Normal, Offset};
    ImagePlaneAxes(Normal, FU, FV);
}

TMVector TImagePlane::PointAt(double U, double V) const {
    return VectorAdd(VectorScale(FPlane.Normal, FPlane.Distance), VectorAdd(VectorScale(FU, U), VectorScale(FV, V)));
}

TMBox TImagePlane::GetBounds() {
    TMBox Box = EmptyBox;
    for (double Lift : {OutlineLift, -OutlineLift})
        for (const TMVector& P :
             ImagePlaneCorners({FPlane.Normal, FPlane.Distance + Lift}, FImageExtents.Extents()))
            ExtendBoxByVector(P, Box);
    return Box;
}

IImagePlanePainter* TImagePlane::GetPainter() {
    if (!Painter && ImagePlanePainterCreator()) Painter = ImagePlanePainterCreator()();
    return Painter.get();
}

void TImagePlane::Render(IGraphics& View) {
    if (IImagePlanePainter* P = GetPainter()) P->Render(*this, View);
}

void TImagePlane::DrawSelectionWindow(IGraphics& View) { View.RenderObject(*Outline); }

std::array<TImagePlane::TTexturedCorner, 4> TImagePlane::TextureQuad() const {
    const auto C = ImagePlaneCorners(FPlane, FImageExtents.Extents());
    return {{{C[0], 0, 0}, {C[3], 1, 0}, {C[2], 1, 1}, {C[1], 0, 1}}};
}

std::array<TStippledLoop, 4> TImagePlane::SelectionWindowLoops() const {
    std::array<TStippledLoop, 4> Loops;
    for (int Side = 0; Side < 2; ++Side) {
        const double Lift = Side == 0 ? OutlineLift : -OutlineLift;
        const auto C = ImagePlaneCorners({FPlane.Normal, FPlane.Distance + Lift}, FSelection.Extents());
        const std::array<TMVector, 4> Points{C[0], C[3], C[2], C[1]};
        const TColor First = Side == 0 ? clBlack : clWhite;
        const TColor Second = Side == 0 ? clWhite : clBlack;
        Loops[static_cast<std::size_t>(2 * Side)] = {Points, First, 0xF0F0};
        Loops[static_cast<std::size_t>(2 * Side + 1)] = {Points, Second, 0x0F0F};
    }
    return Loops;
}

double TImagePlane::PixelAspectRatio() const {
    const double SU = FImageExtents.SizeU();
    if (SU == 0 || FImage.GetWidth() == 0 || FImage.GetHeight() == 0) return 0;
    return (FImageExtents.SizeV() / FImage.GetHeight()) / (SU / FImage.GetWidth());
}

void TImagePlane::SetPixelAspectRatio(double Ratio) {
    const double SU = FImageExtents.SizeU(), SV = FImageExtents.SizeV();
    const int W = FImage.GetWidth(), H = FImage.GetHeight();
    if (SU == 0 || SV == 0 || W == 0 || H == 0) return;
    const double Area = SU * SV;
    const double Square = W * Area / (H * Ratio);
    // A ratio of 0, below 0 or not a number, or a turned-over rectangle, has no such size.
    if (!(Square > 0) || !std::isfinite(Square)) return;
    const double S = std::sqrt(Square);
    const double T = Area / S;
    const double CU = FImageExtents.CentreU(), CV = FImageExtents.CentreV();
    FImageExtents.SetExtents({CU - S / 2, CV - T / 2, CU + S / 2, CV + T / 2});
}

void TImagePlane::MoveHandle(int Index, double U, double V) {
    TImageExtents& E = FImageExtents;
    const bool Lock = LockAspectRatio && E.SizeU() != 0 && E.SizeV() != 0;
    if (!Lock) {
        switch (Index) {
            case 0: E.SetMinU(U); E.SetMinV(V); break;
            case 1: E.SetMinV(V); break;
            case 2: E.SetMaxU(U); E.SetMinV(V); break;
            case 3: E.SetMaxU(U); break;
            case 4: E.SetMaxU(U); E.SetMaxV(V); break;
            case 5: E.SetMaxV(V); break;
            case 6: E.SetMinU(U); E.SetMaxV(V); break;
            case 7: E.SetMinU(U); break;
            default: break;
        }
        return;
    }
    const double R = E.SizeV() / E.SizeU();
    switch (Index) {
        case 0:
            if (R < (E.MaxV() - V) / (E.MaxU() - U)) {
                E.SetMinV(V);
                E.SetMinU(E.MaxU() - E.SizeV() / R);
            } else {
                E.SetMinU(U);
                E.SetMinV(E.MaxV() - R * E.SizeU());
            }
            break;
        case 1:
            E.SetMinV(V);
            E.SetMinU(E.MaxU() - E.SizeV() / R);
            break;
        case 2:
            if (R < (E.MaxV() - V) / (U - E.MinU())) {
                E.SetMinV(V);
                E.SetMaxU(E.MinU() + E.SizeV() / R);
            } else {
                E.SetMaxU(U);
                E.SetMinV(E.MaxV() - R * E.SizeU());
            }
            break;
        case 3:
            E.SetMaxU(U);
            E.SetMaxV(E.MinV() + R * E.SizeU());
            break;
        case 4:
            if (R < (V - E.MinV()) / (U - E.MinU())) {
                E.SetMaxV(V);
                E.SetMaxU(E.MinU() + E.SizeV() / R);
            } else {
                E.SetMaxU(U);
                E.SetMaxV(E.MinV() + R * E.SizeU());
            }
            break;
        case 5:
            E.SetMaxV(V);
            E.SetMaxU(E.MinU() + E.SizeV() / R);
            break;
        case 6:
            if (R < (V - E.MinV()) / (E.MaxU() - U)) {
                E.SetMaxV(V);
                E.SetMinU(E.MaxU() - E.SizeV() / R);
            } else {
                E.SetMinU(U);
                E.SetMaxV(E.MinV() + R * E.SizeU());
            }
            break;
        case 7:
            E.SetMinU(U);
            E.SetMinV(E.MaxV() - R * E.SizeU());
            break;
        default: break;
    }
}

void TImagePlane::RescaleToSelection(double UMin, double VMin, double UMax, double VMax) {
    const TImageExtents& P = FImageExtents;
    const TImageExtents& W = FSelection;
    if (P.SizeU() == 0 || P.SizeV() == 0 || W.SizeU() == 0 || W.SizeV() == 0) return;
    // The window's start and width as fractions of the picture, along u and along v.
    const double SU = (W.MinU() - P.MinU()) / P.SizeU();
    const double WU = (W.MaxU() - P.MinU()) / P.SizeU() - SU;
    const double SV = (W.MinV() - P.MinV()) / P.SizeV();
    const double WV = (W.MaxV() - P.MinV()) / P.SizeV() - SV;
    FImageExtents.SetExtents({UMin + (0 - SU) / WU * (UMax - UMin), VMin + (0 - SV) / WV * (VMax - VMin),
                              UMin + (1 - SU) / WU * (UMax - UMin), VMin + (1 - SV) / WV * (VMax - VMin)});
    FSelection.SetExtents({UMin, VMin, UMax, VMax});
}

void TImagePlane::LoadImage(const std::filesystem::path& FileName) {
    FImage.LoadFromFile(FileName);
    ImageChanged();
}

void TImagePlane::NegativeImage() {
    if (FImage.Count() == 0) return;
    FImage.Negate();
    ImageChanged();
}

bool TImagePlane::ShowRescaleDialog() {
    const TRescaleImagePlaneDialog& Dialog = RescaleImagePlaneDialog();
    return Dialog && Dialog(*this);
}

void TImagePlane::SaveToText(TTextWriter& Out) const {
    Out.WriteLine(VectorLineText("PlaneNormal", FPlane.Normal));
    Out.WriteLine(ValueLineText("PlaneOffset", FPlane.Distance));
    Out.WriteLine(std::string("LockAspectRatio=") + (LockAspectRatio ? "TRUE" : "FALSE"));
    // The picture rectangle's minimum u and v under "MinV" and its maximum u and v under "MaxV": the
    // keys files have always had, read back by position.
    Out.WriteLine(ValueLineText("MinV", FImageExtents.MinU()));
    Out.WriteLine(ValueLineText("MinV", FImageExtents.MinV()));
    Out.WriteLine(ValueLineText("MaxV", FImageExtents.MaxU()));
    Out.WriteLine(ValueLineText("MaxV", FImageExtents.MaxV()));
    FImage.SaveToText(Out);
}

void TImagePlane::LoadFromText(TTextReader& In) {
    const TMVector Normal = ParseVectorLine(In.ReadLine());
    const double Offset = ParseValueLine(In.ReadLine());
    const double Length = VectorLength(Normal);
    if (!(Length > 0) || !std::isfinite(Length)) throw EGeometryError("Image plane normal is not a direction");
    std::string Line = In.ReadLine();
    bool Lock = false;
    if (UpperCase(Line).find("LOCKASPECTRATIO") != std::string::npos) {
        Lock = Line.find("TRUE") != std::string::npos;
        Line = In.ReadLine();
    }
    TImageExtentsRecord Extents;
    Extents.MinU = ParseValueLine(Line);
    Extents.MinV = ParseValueLine(In.ReadLine());
    Extents.MaxU = ParseValueLine(In.ReadLine());
    Extents.MaxV = ParseValueLine(In.ReadLine());
    TOpenGLCompressedImage Picture;
    Picture.LoadFromText(In);

    FImage = std::move(Picture);
    LockAspectRatio = Lock;
    FImageExtents.SetExtents(Extents);
    SetPlane(Normal, Offset);
    ImageChanged();
}

void TImagePlane::ImageChanged() {
    if (Painter) Painter->ImageChanged();
}

}  // namespace sarnova
