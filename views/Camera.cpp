#include "views/Camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

constexpr double DegToRad = std::numbers::pi / 180;

TMVector Transform4(const TMMatrix& M, const double In[4], double& W) {
    double Out[4];
    for (int R = 0; R < 4; ++R) Out[R] = M[R][0] * In[0] + M[R][1] * In[1] + M[R][2] * In[2] + M[R][3] * In[3];
    W = Out[3];
    return {Out[0], Out[1], Out[2]};
}

// Where the line Eye + t D meets the plane; t may be of either sign.
TMVector LineMeetsPlane(const TMVector& Point, const TMVector& Direction, const TMPlane& Plane) {
    return IntersectionPointOfLineAndPlane(LineFromDirectionAndPoint(Direction, Point), Plane);
}

}  // namespace

std::unique_ptr<TCameraInfo> TCameraInfoStack::Pop() {
    if (Items.empty()) return nullptr;
    auto Top = std::move(Items.back());
    Items.pop_back();
    return Top;
}

// ---- Projection matrices ----

TMMatrix PerspectiveMatrix(double FieldOfView, double Aspect, double Near, double Far) {
    const double Half = FieldOfView / 2 * DegToRad;
    const double DeltaZ = Far - Near;
    const double Sine = std::sin(Half);
    if (DeltaZ == 0 || Sine == 0 || Aspect == 0) return IdentityMatrix;
    const double Cotangent = std::cos(Half) / Sine;
    TMMatrix M = IdentityMatrix;
    M[0][0] = Cotangent / Aspect;
    M[1][1] = Cotangent;
    M[2][2] = -(Far + Near) / DeltaZ;
    M[2][3] = -2 * Near * Far / DeltaZ;
    M[3][2] = -1;
    M[3][3] = 0;
    return M;
}

TMMatrix OrthoMatrix(double Left, double Right, double Bottom, double Top, double Near, double Far) {
    if (Left == Right || Bottom == Top || Near == Far) return IdentityMatrix;
    TMMatrix M = IdentityMatrix;
    M[0][0] = 2 / (Right - Left);
    M[1][1] = 2 / (Top - Bottom);
    M[2][2] = -2 / (Far - Near);
    M[0][3] = -(Right + Left) / (Right - Left);
    M[1][3] = -(Top + Bottom) / (Top - Bottom);
    M[2][3] = -(Far + Near) / (Far - Near);
    return M;
}

TMMatrix LookAtMatrix(const TMVector& Eye, const TMVector& Target, const TMVector& Up) {
    // Right-handed crosses; the foundation's VectorCross(A, B) is B x A.
    const TMVector Forward = VectorNormalise(VectorFromTo(Eye, Target));
    const TMVector Side = VectorNormalise(VectorCross(Up, Forward));
    const TMVector TrueUp = VectorCross(Forward, Side);
    TMMatrix M = IdentityMatrix;
    const TMVector Rows[3] = {Side, TrueUp, VectorNegate(Forward)};
    for (int R = 0; R < 3; ++R) {
        M[R][0] = Rows[R].X;
        M[R][1] = Rows[R].Y;
        M[R][2] = Rows[R].Z;
        M[R][3] = -VectorDot(Rows[R], Eye);
    }
    return M;
}

// ---- TCamera ----

TCamera::TCamera(ICameraView& AView) : View(AView) {}

void TCamera::SetMode(TCameraMode Value) {
    if (Value == Mode) return;
    Mode = Value;
    if (Far > 0) ViewSize = 2 * Far * std::tan(FieldOfView / 2 * DegToRad);
}

void TCamera::SetFieldOfView(double Degrees) {
    if (!(Degrees >= 0)) Degrees = 0;
    FieldOfView = std::min(Degrees, 90.0);
}

std::unique_ptr<TCameraInfo> TCamera::SaveState() const {
    auto Info = std::make_unique<TCameraInfo>();
    Info->Mode = Mode;
    Info->Eye = Eye;
    Info->Target = Target;
    Info->Up = Up;
    Info->FieldOfView = FieldOfView;
    Info->ViewSize = ViewSize;
    return Info;
}

void TCamera::Restore(const TCameraInfo& Info) {
    Mode = Info.Mode;
    Eye = Info.Eye;
    Target = Info.Target;
    Up = Info.Up;
    FieldOfView = Info.FieldOfView;
    ViewSize = Info.ViewSize;
}

void TCamera::SetDistance(double D) { Eye = VectorAdd(Target, VectorScale(ViewDirection(), -D)); }

void TCamera::SetViewDirection(const TMVector& V) {
    const double D = Distance();
    Target = VectorAdd(Eye, VectorScale(VectorNormalise(V), D));
}

double TCamera::Distance() const { return VectorDistance(Eye, Target); }

TMVector TCamera::ViewDirection() const { return VectorNormalise(VectorFromTo(Eye, Target)); }

TMPlane TCamera::ViewPlane() const { return PlaneFromNormalAndPoint(ViewDirection(), Eye); }

TMPlane TCamera::TargetPlane() const { return PlaneFromNormalAndPoint(ViewDirection(), Target); }

TPlaneDirection TCamera::ViewDirectionCode() const {
    const TMVector D = ViewDirection();
    const double X = std::fabs(D.X), Y = std::fabs(D.Y), Z = std::fabs(D.Z);
    if (X == 0 && Y == 0 && Z == 1) return 0;
    if (X == 1 && Y == 0 && Z == 0) return 1;
    if (X == 0 && Y == 1 && Z == 0) return 2;
    return 6;
}

TMPlane TCamera::NearestAxisPlane() const { return {NearestAxis(ViewDirection()), 0}; }

TEditPlaneKind TCamera::NearestAxisPlaneCode() const {
    switch (ViewDirectionCode()) {
        case 0: return epXY;
        case 1: return epYZ;
        case 2: return epZX;
        default: break;
    }
    const TMVector D = ViewDirection();
    if (D == ZeroVector) return epView;
    const double A = std::fabs(D.Z), B = std::fabs(D.X), C = std::fabs(D.Y);
    if (C > std::max(A, B)) return epZX;
    if (B > A) return epYZ;
    return epXY;
}

TEditPlaneSet TCamera::FacingAxisPlanes() const {
    switch (ViewDirectionCode()) {
        case 0: return 1u << epXY;
        case 1: return 1u << epYZ;
        case 2: return 1u << epZX;
        default: break;
    }
    // A plane is offered while its normal is within 60 degrees of the viewing direction.
    const TMVector D = ViewDirection();
    TEditPlaneSet Set = (1u << epXY) | (1u << epYZ) | (1u << epZX);
    if (std::fabs(D.X) < 0.5) Set &= ~(1u << epYZ);
    if (std::fabs(D.Y) < 0.5) Set &= ~(1u << epZX);
    if (std::fabs(D.Z) < 0.5) Set &= ~(1u << epXY);
    return Set;
}

double TCamera::ViewHeight() {
    if (Mode == cmPerspective) ViewSize = 2 * Far * std::tan(FieldOfView / 2 * DegToRad);
    return ViewSize;
}

double TCamera::ViewWidth() { return ViewHeight() * Aspect; }

double TCamera::ViewLeft() { return -ViewWidth() / 2; }

double TCamera::ViewRight() { return ViewWidth() / 2; }

double TCamera::HalfHeightAt(double D) const {
    return Mode == cmPerspective ? 0.5 * D * std::sin(FieldOfView * DegToRad) : ViewSize / 2;
}

double TCamera::HalfWidthAt(double D) const { return HalfHeightAt(D) * Aspect; }

TCameraFrustum TCamera::FrustumSection(double D) const {
    const TMVector Dir = ViewDirection();
    const TMVector R = VectorNormalise(VectorCross(Up, Dir));
    const TMVector U = VectorCross(Dir, R);
    const TMMatrix M = MatrixFromAxes(R, U, Dir, Eye);
    const double H = HalfHeightAt(D), W = HalfWidthAt(D);
    TCameraFrustum F;
    F.TopLeft = MatrixTransformPoint(M, {-W, H, D});
    F.TopRight = MatrixTransformPoint(M, {W, H, D});
    F.BottomLeft = MatrixTransformPoint(M, {-W, -H, D});
    F.BottomRight = MatrixTransformPoint(M, {W, -H, D});
    F.Centre = MatrixTransformPoint(M, {0, 0, D});
    F.Width = VectorDistance(F.TopLeft, F.TopRight);
    F.Height = VectorDistance(F.TopLeft, F.BottomLeft);
    return F;
}

TMVector TCamera::RightVector() const {
    const TCameraFrustum F = FrustumSection(Distance());
    return VectorFromTo(Target, VectorMidpoint(F.TopRight, F.BottomRight));
}

TMVector TCamera::UpVector() const {
    const TCameraFrustum F = FrustumSection(Distance());
    return VectorFromTo(Target, VectorMidpoint(F.TopLeft, F.TopRight));
}

double TCamera::WorldPerPixel(const TMVector& P) {
    if (View.IsMeasuring()) return 0;
    const double S = ViewHeight() / 10;
    const TMVector Dir = ViewDirection();
    const TMVector R = VectorNormalise(VectorCross(Up, Dir));
    const TMVector U = VectorCross(Dir, R);
    const TMVector Q = VectorAdd(P, VectorAdd(VectorScale(R, S), VectorScale(U, S)));
    const TPoint A = WorldToScreenVector(P);
    const TPoint B = WorldToScreenVector(Q);
    return VectorDistance(P, Q) / std::hypot(double(B.X - A.X), double(B.Y - A.Y));
}

// ---- Applying ----

void TCamera::UpdateClipping() {
    Aspect = double(View.GetClientWidth()) / double(View.GetClientHeight());
    const TMBox B = View.GetExtents();
    const TMVector C = BoxCentre(B);
    const double R = VectorDistance(C, B.Max);
    const double Depth = std::fabs(VectorDot(ViewDirection(), VectorFromTo(Eye, C)));
    if (Mode == cmPerspective) {
        Near = 0.01;
        Far = Depth + 10 * R;
        if (Far < Near + 0.01) Far = Near + 0.01;
    } else {
        Near = Depth - 10 * R;
        Far = Depth + 10 * R;
    }
}

void TCamera::ApplyProjection() {
    if (Mode == cmPerspective)
        ProjectionMatrix = PerspectiveMatrix(FieldOfView, Aspect, Near, Far);
    else
        ProjectionMatrix = OrthoMatrix(ViewLeft(), ViewRight(), ViewBottom(), ViewTop(), Near, Far);
    ModelViewMatrix = LookAtMatrix(Eye, Target, Up);
}

void TCamera::Apply() {
    UpdateClipping();
    ApplyProjection();
    CalculateProjectedExtents(View.GetExtents());
}

void TCamera::CalculateProjectedExtents(const TMBox& Box) {
    // A collapsed window has no pixel scale; the extents of the last real window stay.
    if (ViewportWidth() == 0 || ViewportHeight() == 0) return;
    MinX = MinY = HugeValue;
    MaxX = MaxY = -HugeValue;
    const double Left = ViewLeft(), Right = ViewRight(), Bottom = ViewBottom(), Top = ViewTop();
    for (int I = 0; I < 8; ++I) {
        const TMVector Corner{(I & 1) ? Box.Max.X : Box.Min.X, (I & 2) ? Box.Max.Y : Box.Min.Y,
                              (I & 4) ? Box.Max.Z : Box.Min.Z};
        const TPoint P = WorldToScreenVector(Corner);
        const double X = Intepolation(P.X, 0, ViewportWidth(), Left, Right);
        const double Y = Intepolation(P.Y, ViewportHeight(), 0, Bottom, Top);
        MinX = std::min(MinX, X);
        MaxX = std::max(MaxX, X);
        MaxY = std::max(MaxY, Y);
        MinY = std::min(MinY, Y);
    }
}

void TCamera::ApplyForAspect(int Width, int Height) {
    UpdateClipping();
    const double SavedSize = ViewSize;
    const double SavedAspect = Aspect;
    const double A = double(Width) / double(Height);
    if (ViewWidth() > ViewHeight() * A) ViewSize = ViewWidth() / A * 1.1;
    Aspect = A;
    ApplyProjection();
    CalculateProjectedExtents(View.GetExtents());
    ViewSize = SavedSize;
    Aspect = SavedAspect;
}

// ---- Conversions ----

bool TCamera::Project(const TMVector& P, TMVector& Window) const {
    const double In[4] = {P.X, P.Y, P.Z, 1};
    double W = 0;
    const TMVector Eyes = Transform4(ModelViewMatrix, In, W);
    const double EyeIn[4] = {Eyes.X, Eyes.Y, Eyes.Z, W};
    TMVector Clip = Transform4(ProjectionMatrix, EyeIn, W);
    if (W == 0) return false;
    Clip = VectorScale(Clip, 1 / W);
    Window.X = Viewport.X + (1 + Clip.X) * Viewport.Width / 2;
    Window.Y = Viewport.Y + (1 + Clip.Y) * Viewport.Height / 2;
    Window.Z = (1 + Clip.Z) / 2;
    return true;
}

bool TCamera::UnProject(double WinX, double WinY, double WinZ, TMVector& P) const {
    const TMMatrix Inverse = MatrixInverse(MatrixMultiply(ProjectionMatrix, ModelViewMatrix));
    if (Inverse == ZeroMatrix) return false;
    const double In[4] = {(WinX - Viewport.X) / Viewport.Width * 2 - 1, (WinY - Viewport.Y) / Viewport.Height * 2 - 1,
                          WinZ * 2 - 1, 1};
    double W = 0;
    const TMVector Out = Transform4(Inverse, In, W);
    if (W == 0) return false;
    P = VectorScale(Out, 1 / W);
    return true;
}

TPoint TCamera::WorldToScreen(double X, double Y, double Z) {
    ApplyProjection();
    TMVector Window;
    if (!Project({X, Y, Z}, Window)) Window = ZeroVector;
    return {TruncSingle(Window.X), (ViewportHeight()) - TruncSingle(Window.Y)};
}

TPoint TCamera::WorldToScreenVector(const TMVector& V) { return WorldToScreen(V.X, V.Y, V.Z); }

TPoint TCamera::WorldToScreenPoint(const TRPoint& P) { return WorldToScreen(P.X, P.Y, P.Z); }

TMVector TCamera::Unprojected(int X, int Y, double Depth) {
    ApplyProjection();
    TMVector P;
    if (!UnProject(X, ViewportHeight() - Y, Depth, P)) P = ZeroVector;
    return P;
}

TMVector TCamera::ScreenToWorld(int X, int Y, double Depth) {
    TMVector P = Unprojected(X, Y, Depth);
    switch (ViewDirectionCode()) {
        case 0: P.Z = 0; break;
        case 1: P.X = 0; break;
        case 2: P.Y = 0; break;
        default: break;
    }
    return P;
}

TMVector TCamera::ScreenToWorldPoint(TPoint Pixel) { return ScreenToWorld(Pixel.X, Pixel.Y, 0); }

TMLine TCamera::ScreenToRay(int X, int Y) { return LineThroughPoints(Unprojected(X, Y, 0), Unprojected(X, Y, 1)); }

TMLine TCamera::ScreenToRayPoint(TPoint Pixel) { return ScreenToRay(Pixel.X, Pixel.Y); }

TMVector TCamera::ScreenToWorldConstrained(const TMVector& Base, TPoint Pixel, TEditPlaneKind Code) {
    TEditPlane Constraint;
    Constraint.Kind = Code;
    // The plain form knows no plane or direction of its own.
    if (Code == epInPlane || Code == epAlongVector) Constraint.Kind = static_cast<TEditPlaneKind>(255);
    return ScreenToWorldEditConstraint(Base, Pixel, Constraint);
}

TMVector TCamera::ScreenToWorldEditConstraint(const TMVector& Base, TPoint Pixel, const TEditPlane& Constraint) {
    const TMLine Ray = ScreenToRayPoint(Pixel);
    const TMVector OnPlane[4] = {ViewDirection(), ZAxisVector, XAxisVector, YAxisVector};
    const TMVector AlongAxis[3] = {XAxisVector, YAxisVector, ZAxisVector};
    switch (Constraint.Kind) {
        case epView:
        case epXY:
        case epYZ:
        case epZX:
            return IntersectionPointOfLineAndPlane(Ray, PlaneFromNormalAndPoint(OnPlane[Constraint.Kind], Base));
        case epAlongX:
        case epAlongY:
        case epAlongZ:
            return PointOnLineClosestToLine(LineFromDirectionAndPoint(AlongAxis[Constraint.Kind - epAlongX], Base),
                                            Ray);
        case epInPlane:
            return IntersectionPointOfLineAndPlane(Ray, PlaneFromNormalAndPoint(Constraint.Plane.Normal, Base));
        case epAlongVector:
            return PointOnLineClosestToLine(LineFromDirectionAndPoint(Constraint.Direction, Base), Ray);
        default:
            return ScreenToWorldPoint(Pixel);
    }
}

// ---- Fitting and zooming ----

TMVector TCamera::CalculateClosestCamera(const TMBox& Box) {
    const TCameraFrustum F = FrustumSection(Far);
    TMPlane Sides[4] = {PlaneFromPoints(Eye, F.BottomLeft, F.TopLeft), PlaneFromPoints(Eye, F.TopLeft, F.TopRight),
                        PlaneFromPoints(Eye, F.TopRight, F.BottomRight),
                        PlaneFromPoints(Eye, F.BottomRight, F.BottomLeft)};
    // Each side moves parallel to itself until the whole box lies on its inner side, touching it.
    for (TMPlane& Side : Sides) {
        double Largest = -HugeValue;
        for (int I = 0; I < 8; ++I) {
            const TMVector Corner{(I & 1) ? Box.Max.X : Box.Min.X, (I & 2) ? Box.Max.Y : Box.Min.Y,
                                  (I & 4) ? Box.Max.Z : Box.Min.Z};
            Largest = std::max(Largest, VectorDot(Side.Normal, Corner));
        }
        Side.Distance = Largest;
    }
    const TMPlane& Left = Sides[0];
    const TMPlane& Top = Sides[1];
    const TMPlane& Right = Sides[2];
    const TMPlane& Bottom = Sides[3];
    const TMVector C = PointBetweenTwoLines(IntersectionOfTwoPlanes(Top, Bottom), IntersectionOfTwoPlanes(Left, Right));
    const TMLine L = LineFromDirectionAndPoint(ViewDirection(), C);
    double Smallest = HugeValue;
    for (const TMPlane& Side : Sides) {
        const double A = VectorDot(Side.Normal, L.Direction);
        if (std::fabs(A) < 1e-9)
            throw EGeometryError(
                "TCamera.CalculateClosestCamera.LinePlaneT: Intersection attempted with a line parallel to plane");
        Smallest = std::min(Smallest, (Side.Distance - VectorDot(Side.Normal, L.Point)) / A);
    }
    return PointOnLine(L, Smallest);
}

void TCamera::FitToBox(const TMBox& Box) {
    const TMVector D = ViewDirection();
    Target = BoxCentre(Box);
    const double R = VectorDistance(Target, Box.Max);
    Eye = VectorAdd(Target, VectorScale(D, -(1.01 * R / std::sin(FieldOfView / 2 * DegToRad))));
    UpdateClipping();
    ApplyProjection();
    if (Mode == cmPerspective) {
        const TMPlane P = TargetPlane();
        Eye = CalculateClosestCamera(Box);
        Target = LineMeetsPlane(Eye, D, P);
        return;
    }
    CalculateProjectedExtents(Box);
    if (std::fabs(MaxY - MinY) < 1e-9) {
        ViewSize = BoxMaxSize(Box);
        UpdateClipping();
        ApplyProjection();
        CalculateProjectedExtents(Box);
    }
    const double W = MaxX - MinX, H = MaxY - MinY;
    ViewSize = W / H >= Aspect ? W * 1.1 / Aspect : H * 1.1;
}

void TCamera::ZoomWindow(const TRect& Rect) {
    const int Left = std::min(Rect.Left, Rect.Right), Right = std::max(Rect.Left, Rect.Right);
    const int Top = std::min(Rect.Top, Rect.Bottom), Bottom = std::max(Rect.Top, Rect.Bottom);
    const TMVector Wc = ScreenToWorld((Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2, 0);
    const TMVector Wtl = ScreenToWorld(Left, Top, 0);
    const TMVector Wbl = ScreenToWorld(Left, Bottom, 0);
    const TMVector Wtr = ScreenToWorld(Right, Top, 0);
    const double WorldWidth = VectorDistance(Wtl, Wtr);
    const double WorldHeight = VectorDistance(Wtl, Wbl);
    const double A = WorldWidth / WorldHeight;
    const TMVector D = ViewDirection();
    double Dist = 0;
    if (Mode == cmPerspective) {
        const TWindowMeasure Found = View.MeasureWindow(Rect);
        if (Found.Count == 0) return;
        Target = BoxCentre(Found.Extents);
        const double F = A >= Aspect ? std::abs(Rect.Left - Rect.Right) / double(ViewportWidth())
                                     : std::abs(Rect.Top - Rect.Bottom) / double(ViewportHeight());
        const TMVector Q = VectorAdd(VectorScale(Found.Mean, 1 - F), VectorScale(Eye, F));
        Dist = VectorDistance(Target, Q);
    } else {
        ViewSize = A >= Aspect ? WorldWidth / Aspect : WorldHeight;
        Dist = Distance();
        Target = LineMeetsPlane(Wc, D, TargetPlane());
    }
    Eye = VectorAdd(Target, VectorScale(D, -Dist));
}

void TCamera::Zoom(double Factor) {
    if (Mode == cmPerspective)
        SetDistance(Distance() * Factor);
    else
        ViewSize *= Factor;
}

void TCamera::ZoomIn() { Zoom(0.8); }

void TCamera::ZoomOut() { Zoom(1.2); }

}  // namespace sarnova
