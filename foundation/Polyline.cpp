#include "foundation/Polyline.h"

#include <cmath>
#include <cstdlib>
#include <cxxabi.h>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <utility>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Enough halvings to shrink any parameter range below the spacing of doubles; a search still short
// of its tolerance after them sits on a break of the curve.
constexpr int MaxHalvings = 200;

TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }  // A x B

}  // namespace

// ---- TCurve ----

TFrenetFrame FrenetFrameFromDerivatives(const TCurveDerivatives& D) {
    const TMVector& D1 = D[1];
    const TMVector D1xD2 = Cross(D1, D[2]);
    TFrenetFrame F;
    F.Point = D[0];
    F.Tangent = VectorNormalise(D1);
    F.Binormal = VectorNormalise(D1xD2);
    F.Normal = Cross(F.Binormal, F.Tangent);
    const double Speed = VectorLength(D1);
    F.Curvature = Speed > 0 ? VectorLength(D1xD2) / (Speed * Speed * Speed) : 0;
    return F;
}

TCurveFirstDerivatives TCurve::FirstDerivatives(double T) {
    const TCurveDerivatives D = Derivatives(T);
    return {D[0], D[1]};
}

std::unique_ptr<TRPoint> TCurve::SearchCoordinate(std::uint8_t Axis, double Value, double Lo, double Hi,
                                                  double Tolerance) {
    for (int Round = 0; Round < MaxHalvings; ++Round) {
        const double Mid = (Lo + Hi) / 2;
        const auto A = PointAt(Hi);
        const auto B = PointAt(Lo);
        auto R = PointAt(Mid);
        if (!A || !B || !R) return nullptr;
        const double D = PointCoordinate(*R, Axis);
        if (D == Value) return R;
        if (Between(D, PointCoordinate(*B, Axis), Value))
            Hi = Mid;
        else if (Between(PointCoordinate(*A, Axis), D, Value))
            Lo = Mid;
        else
            return nullptr;
        if (std::fabs(Value - D) < Tolerance) return R;
    }
    return nullptr;
}

// ---- TPolyline: the curve ----

TRPoint* TPolyline::Point(int Index) {
    while (Index >= Count()) Add(std::make_unique<TRPoint>());
    return TRPoints::Point(Index);
}

double TPolyline::MaxT() const { return 0; }

double TPolyline::MinT() const { return 0; }

std::unique_ptr<TRPoint> TPolyline::PointAt(double T) {
    if (!(T >= 0 && T <= 1)) return nullptr;
    const int N = Count();
    if (N == 0) return nullptr;
    const TRPoints& Points = *this;
    double Total = 0;
    for (int I = 1; I < N; ++I) Total += Points.Point(I)->Distance(*Points.Point(I - 1));
    // No length to measure along (or none a double can hold): the whole curve is its first point,
    // and the points stay as they are.
    if (!(Total > 0) || !std::isfinite(Total)) return Points.Point(0)->Clone();

    // One pass records every point's normalised arc length (the same running sum as above, so the
    // last W is exactly 1) and notes the first segment that reaches T.
    int Segment = 0;
    double Running = 0;
    Point(0)->W = 0;
    for (int I = 1; I < N; ++I) {
        TRPoint* P = TRPoints::Point(I);
        Running += P->Distance(*Points.Point(I - 1));
        P->W = Running / Total;
        if (Segment == 0 && T <= P->W) Segment = I;
    }
    const TRPoint& A = *Points.Point(Segment - 1);
    const TRPoint& B = *Points.Point(Segment);
    if (B.W == A.W) return B.Clone();
    const double F = (T - A.W) / (B.W - A.W);
    return NewRPoint(A.X + (B.X - A.X) * F, A.Y + (B.Y - A.Y) * F, A.Z + (B.Z - A.Z) * F);
}

namespace {

// The first crossing of the value on Axis along the point order.
std::unique_ptr<TRPoint> PolylinePointAtCoordinate(const TPolyline& Polyline, std::uint8_t Axis,
                                                   double Value) {
    const int N = Polyline.Count();
    if (N == 0) return nullptr;
    const TMBox Box = Polyline.Extents();
    const double Low = Axis == 0 ? Box.Min.X : Axis == 1 ? Box.Min.Y : Box.Min.Z;
    const double High = Axis == 0 ? Box.Max.X : Axis == 1 ? Box.Max.Y : Box.Max.Z;
    if (!Between(Low, High, Value)) return nullptr;
    if (N == 1) {
        const TRPoint& P = *Polyline.Point(0);
        return std::fabs(PointCoordinate(P, Axis) - Value) < DefaultTolerance ? P.Clone() : nullptr;
    }
    for (int I = 1; I < N; ++I) {
        const TRPoint& A = *Polyline.Point(I - 1);
        const TRPoint& B = *Polyline.Point(I);
        const double CA = PointCoordinate(A, Axis);
        const double CB = PointCoordinate(B, Axis);
        if (!Between(CA, CB, Value)) continue;
        if (CA == CB) return B.Clone();
        return InterpolatePoints(A, B, Axis, Value);
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<TRPoint> TPolyline::PointAtX(double X) { return PolylinePointAtCoordinate(*this, 0, X); }

std::unique_ptr<TRPoint> TPolyline::PointAtY(double Y) { return PolylinePointAtCoordinate(*this, 1, Y); }

std::unique_ptr<TRPoint> TPolyline::PointAtZ(double Z) { return PolylinePointAtCoordinate(*this, 2, Z); }

TCurveDerivatives TPolyline::Derivatives(double T) { return {}; }

TFrenetFrame TPolyline::FrenetFrame(double T) { return {}; }

TMBox TPolyline::Extents() const {
    TMBox Box = EmptyBox;
    for (int I = 0; I < Count(); ++I) {
        const TRPoint& P = *Point(I);
        ExtendBoxXYZ(Box, P.X, P.Y, P.Z);
    }
    return Box;
}

TDigitisationParameters TPolyline::DigitisationParameters(bool ByKnotInterval) { return {}; }

std::unique_ptr<TPolyline> TPolyline::Digitise() { return Clone(); }

// ---- TPolyline: text, order and drawing ----

void TPolyline::SaveToText(TTextWriter& Out) {
    Out.WriteLine("NumPoints=" + IntToStr(Count()));
    // "%10.3f %10.3f %10.3f" per point, one line buffer for all of them.
    std::string Line;
    for (int I = 0; I < Count(); ++I) {
        const TRPoint& P = *TRPoints::Point(I);
        Line.clear();
        AppendFixed(Line, P.X, 10, 3);
        Line += ' ';
        AppendFixed(Line, P.Y, 10, 3);
        Line += ' ';
        AppendFixed(Line, P.Z, 10, 3);
        Out.WriteLine(Line);
    }
}

void TPolyline::LoadFromText(TTextReader& In) {
    const std::string_view Line = In.ReadLineView();
    const std::size_t Equals = Line.find('=');
    const std::size_t Start = Equals == std::string_view::npos ? 0 : Equals + 1;
    int N = 0;
    if (!TryStrToInt(TrimmedView(Line.substr(Start, 255)), N))
        throw EGeometryError("Error in field Polyline.NumPoints");
    // Points grow one line at a time, so a count larger than the text holds ends at the reader's
    // end-of-file error instead of allocating for it; room is made ahead only for a count that
    // the rest of the text can hold at six characters a point.
    if (N > Count() && static_cast<std::size_t>(N) <= In.Remaining() / 6) Reserve(N);
    for (int I = 0; I < N; ++I) {
        const double X = In.ReadReal();
        const double Y = In.ReadReal();
        const double Z = In.ReadReal();
        In.SkipLine();
        if (I < Count())
            TRPoints::Point(I)->SetXYZ(X, Y, Z);
        else
            AddPoint(X, Y, Z);
    }
}

void TPolyline::Reverse() {
    const int N = Count();
    for (int I = 0; I < N / 2; ++I) Exchange(I, N - 1 - I);
}

void TPolyline::Draw(IGraphics& G) { G.Polyline(*this); }

void TPolyline::DrawControlPolygon(IGraphics& G) { G.Polyline(*this); }

// ---- TPolyline: building and editing ----

std::unique_ptr<TPolyline> TPolyline::Clone() const {
    auto Result = std::make_unique<TPolyline>();
    Result->Assign(*this);
    return Result;
}

int TPolyline::AddPoint(double X, double Y, double Z) { return Add(NewRPoint(X, Y, Z)); }

int TPolyline::AddVector(const TMVector& V) { return AddPoint(V.X, V.Y, V.Z); }

void TPolyline::InsertPoint(int Index, double X, double Y, double Z) { Insert(Index, NewRPoint(X, Y, Z)); }

void TPolyline::InsertVector(int Index, const TMVector& V) { InsertPoint(Index, V.X, V.Y, V.Z); }

void TPolyline::AddPointCopy(const TRPoint* P) {
    if (P) Add(P->Clone());
}

int TPolyline::AddRPoint(std::unique_ptr<TRPoint> P) { return Add(std::move(P)); }

void TPolyline::AddCopies(const TPolyline& Other) {
    // Counted first, so that adding a polyline's copies to itself doubles it once.
    const int N = Other.Count();
    for (int I = 0; I < N; ++I) Add(Other.Point(I)->Clone());
}

void TPolyline::AddZeroPoints(int N) {
    for (int I = 0; I < N; ++I) Add(std::make_unique<TRPoint>());
}

void TPolyline::SetPoint(int Index, const TRPoint& P) { Point(Index)->Assign(P); }

double TPolyline::Length() const {
    double Sum = 0;
    for (int I = 1; I < Count(); ++I) Sum += Point(I)->Distance(*Point(I - 1));
    return Sum;
}

double TPolyline::GetStation() const { return Count() > 0 ? Last()->X : FStation; }

void TPolyline::SetStation(double X) {
    FStation = X;
    for (int I = 0; I < Count(); ++I) TRPoints::Point(I)->X = X;
}

bool TPolyline::IsClosed() const { return Count() >= 3 && First()->IsEqual(*Last()); }

void TPolyline::SetClosed(bool Closed) {
    if (Count() <= 2) return;
    if (Closed) {
        if (!IsClosed()) Add(First()->Clone());
    } else {
        while (IsClosed()) Delete(Count() - 1);
    }
}

void TPolyline::SortPoints(int Key) {
    if (Count() < 2) return;
    const TRPoints& Points = *this;
    const auto KeyOf = [&Points, Key](int I) {
        return Key >= 0 && Key <= 3 ? PointCoordinate(*Points.Point(I), static_cast<std::uint8_t>(Key)) : 0.0;
    };
    // Quicksort with the middle point's key as pivot. The smaller part is sorted by recursion and
    // the larger one by the loop, so the depth stays logarithmic however the keys lie.
    const auto Sort = [&](auto& Self, int Lo, int Hi) -> void {
        while (Lo < Hi) {
            const double Pivot = KeyOf((Lo + Hi) / 2);
            int I = Lo;
            int J = Hi;
            while (I <= J) {
                while (KeyOf(I) < Pivot) ++I;
                while (KeyOf(J) > Pivot) --J;
                if (I <= J) {
                    if (I != J) Exchange(I, J);
                    ++I;
                    --J;
                }
            }
            if (J - Lo < Hi - I) {
                Self(Self, Lo, J);
                Lo = I;
            } else {
                Self(Self, I, Hi);
                Hi = J;
            }
        }
    };
    Sort(Sort, 0, Count() - 1);
}

std::unique_ptr<TPolyline> TPolyline::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TPolyline>();
    Result->OwnColors = OwnColors;
    Result->Filled = Filled;
    Result->FillColor = FillColor;
    Result->LineColor = LineColor;
    for (int I = 0; I < Count(); ++I) Result->Add(Point(I)->Transformed(M));
    return Result;
}

std::string TPolyline::ClassName() const {
    // Every block of a saved document asks: each class is demangled once.
    static std::unordered_map<std::type_index, std::string> Names;
    const std::type_index Type(typeid(*this));
    if (const auto Found = Names.find(Type); Found != Names.end()) return Found->second;
    const char* Mangled = typeid(*this).name();
    int Status = 0;
    char* Demangled = abi::__cxa_demangle(Mangled, nullptr, nullptr, &Status);
    std::string Name = Status == 0 && Demangled ? Demangled : Mangled;
    std::free(Demangled);
    const std::size_t Scope = Name.rfind("::");
    return Names.emplace(Type, Scope == std::string::npos ? Name : Name.substr(Scope + 2)).first->second;
}

void TPolyline::SaveToFile(const std::filesystem::path& FileName) {
    TTextWriter Out;
    Out.WriteLine("[" + ClassName() + "]");
    SaveToText(Out);
    Out.SaveToFile(FileName);
}

void TPolyline::DrawOutline(IGraphics& G) {
    // Restores the flags on the way out, also when drawing throws.
    struct TRestore {
        TPolyline& Self;
        bool OwnColors;
        bool Filled;
        ~TRestore() {
            Self.OwnColors = OwnColors;
            Self.Filled = Filled;
        }
    } Restore{*this, OwnColors, Filled};
    OwnColors = false;
    Filled = false;
    Draw(G);
}

void TPolyline::DrawDirection(IGraphics& G) {
    for (int I = 1; I < Count(); ++I) {
        const TMVector A = Point(I - 1)->Vector();
        const TMVector B = Point(I)->Vector();
        if (VectorDistance(A, B) >= 1.0) {
            G.Vector(A, VectorScale(VectorNormalise(VectorFromTo(A, B)), 0.5), 1.0, true);
            return;
        }
    }
}

TMVector TPolyline::AreaNormal() const {
    TMVector Sum = ZeroVector;
    if (Count() < 3) return Sum;
    const TMVector P0 = Point(0)->Vector();
    for (int I = 0; I + 2 < Count(); ++I) {
        const TMVector P1 = Point(I + 1)->Vector();
        const TMVector P2 = Point(I + 2)->Vector();
        Sum = VectorAdd(Sum, Cross(VectorFromTo(P0, P1), VectorFromTo(P1, P2)));
    }
    return VectorNormalise(Sum);
}

TMPlane TPolyline::FittedPlane() const {
    TMPlane Plane;
    Plane.Normal = AreaNormal();
    if (Count() > 0) Plane.Distance = VectorDot(Plane.Normal, First()->Vector());
    OrientPlane(Plane);
    return Plane;
}

}  // namespace sarnova
