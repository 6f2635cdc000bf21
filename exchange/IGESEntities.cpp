#include "exchange/IGESEntities.h"

#include <cmath>
#include <numbers>

#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

// ---- Parameters ----

TIGESParameters::TIGESParameters(const TIGESEntity& AEntity, std::size_t Wanted)
    : Values(AEntity.ReadParameters(Wanted)), Entity(AEntity) {}

int TIGESParameters::Count(long long I, const char* What) const {
    const double V = (*this)[I];
    const float F = static_cast<float>(V);
    if (!std::isfinite(F) || F < 0 || F > 1e9f)
        throw EError(Entity.Where() + ": " + What + " (" + FloatToStrWithPoint(V) + ") is not a valid count");
    return TruncSingle(V);
}

void TIGESParameters::Require(long long N, const char* What) const {
    if (static_cast<long long>(Values.size()) < N)
        throw EError(Entity.Where() + ": " + What + " need " + std::to_string(N) + " parameters, the entry holds " +
                     std::to_string(Values.size()));
}

std::optional<TMMatrix> IGESTransformation(const TIGESEntity& Entity) {
    if (Entity.TransformationMatrix == 0 || !Entity.File) return std::nullopt;
    auto* M = dynamic_cast<TIGESEntity124*>(Entity.File->EntityByDE(Entity.TransformationMatrix));
    if (!M) return std::nullopt;
    return M->GetMatrix();
}

namespace {

TMVector PointOf(const TIGESParameters& P, long long I) { return {P[I], P[I + 1], P[I + 2]}; }

void TransformPoint(TRPoint& Point, const TMMatrix& M) {
    const TMVector V = MatrixTransformPoint(M, Point.Vector());
    Point.X = V.X;
    Point.Y = V.Y;
    Point.Z = V.Z;
}

void WarnWeights(const TIGESEntity& E, const TIGESParameters& P, long long From, long long Count) {
    for (long long I = From; I < From + Count; ++I)
        if (P[I] != 1.0) {
            if (GConsole)
                GConsole->WriteLine("Warning: " + E.Where() + " has weights other than 1; they are not used");
            return;
        }
}

}  // namespace

// ---- Polyline entities ----

TIGESPolylineEntity::TIGESPolylineEntity(int AType) : TIGESEntity(AType), Polyline(std::make_unique<TPolyline>()) {}

TPolyline& TIGESPolylineEntity::GetPolyline() {
    DecodeParameters();
    return *Polyline;
}

void TIGESPolylineEntity::SetPolyline(const TPolyline& P) {
    Polyline = P.Clone();
    EncodeParameters();
}

// ---- 100: circular arc ----

TIGESEntity100::TIGESEntity100()
    : TIGESPolylineEntity(100), Arc(std::make_unique<TArc>()), Circle(std::make_unique<TCircle>()) {}

void TIGESEntity100::DecodeParameters() {
    const TIGESParameters P(*this);
    const double ZT = P[1];
    Centre = TRPoint(TMVector{P[2], P[3], ZT});
    StartPoint = TRPoint(TMVector{P[4], P[5], ZT});
    EndPoint = TRPoint(TMVector{P[6], P[7], ZT});
    const TMArc Frame = ArcFromEndsCentreAndNormal(StartPoint.Vector(), EndPoint.Vector(), Centre.Vector(), {0, 0, -1});
    Arc->SetFrame(Frame);
    Circle->SetFrame(MakeCircle(Frame.Centre, Frame.Normal, Frame.Radius));
    Polyline = std::make_unique<TPolyline>();
    const double R = std::hypot(StartPoint.X - Centre.X, StartPoint.Y - Centre.Y);
    const double A1 = std::atan2(StartPoint.Y - Centre.Y, StartPoint.X - Centre.X);
    double A2 = std::atan2(EndPoint.Y - Centre.Y, EndPoint.X - Centre.X);
    while (A2 <= A1) A2 += 2 * std::numbers::pi;
    const int N = RoundToInteger(static_cast<float>((A2 - A1) * 180.0 / std::numbers::pi));
    if (N < 1) {
        Polyline->AddVector(StartPoint.Vector());
        Polyline->AddVector(EndPoint.Vector());
    } else {
        for (int I = 0; I <= N; ++I) {
            const double A = A1 + static_cast<double>(I) / N * (A2 - A1);
            Polyline->AddPoint(Centre.X + R * std::cos(A), Centre.Y + R * std::sin(A), ZT);
        }
    }
    if (const auto M = IGESTransformation(*this)) {
        Polyline = Polyline->Transformed(*M);
        Arc = Arc->Transformed(*M);
        Circle = Circle->Transformed(*M);
    }
}

void TIGESEntity100::EncodeParameters() {
    ClearParameters();
    AddIntegerParameter(100);
    AddRealParameter(Centre.Z);
    for (const TRPoint* Q : {&Centre, &StartPoint, &EndPoint}) {
        AddRealParameter(Q->X);
        AddRealParameter(Q->Y);
    }
    EndParameters();
}

TArc& TIGESEntity100::GetArc() {
    DecodeParameters();
    return *Arc;
}

TCircle& TIGESEntity100::GetCircle() {
    DecodeParameters();
    return *Circle;
}

bool TIGESEntity100::IsFullCircle() {
    DecodeParameters();
    return VectorLength(VectorFromTo(StartPoint.Vector(), EndPoint.Vector())) < 1e-30;
}

// ---- 102: composite curve ----

void TIGESEntity102::DecodeParameters() {
    const TIGESParameters P(*this);
    const int N = P.Count(1, "composite curve member count");
    P.Require(2LL + N, "composite curve members");
    Polyline = std::make_unique<TPolyline>();
    const auto Join = [&](const TPolyline& Piece) {
        if (Polyline->Count() == 0) Polyline->AddCopies(Piece);
        else Polyline = Polyline->JoinAtNearestEnds(Piece);
    };
    for (int K = 2; K <= N + 1; ++K) {
        const int DE = TruncSingle(P[K]);
        TIGESEntity* Member = File ? File->EntityByDE(DE) : nullptr;
        if (!Member)
            throw EError(Where() + ": composite curve member " + std::to_string(DE) + " is not a directory entry");
        if (auto* Line = dynamic_cast<TIGESEntity110*>(Member)) {
            const TRPoint& S = Line->GetStartPoint();
            if (Polyline->Count() == 0 || !Polyline->Point(Polyline->Count() - 1)->IsEqual(S)) Polyline->AddPointCopy(&S);
            const TRPoint& E = Line->GetEndPoint();
            if (!Polyline->Point(Polyline->Count() - 1)->IsEqual(E)) Polyline->AddPointCopy(&E);
        } else if (Member->EntityType == 106 || Member->EntityType == 100) {
            Join(static_cast<TIGESPolylineEntity*>(Member)->GetPolyline());
        } else if (auto* Curve = dynamic_cast<TIGESEntity126*>(Member)) {
            Join(*Curve->GetSpline().Digitise());
        } else {
            throw EError("Entity " + std::to_string(Member->EntityType) + " not supported in Composite Curve Entity");
        }
    }
    if (const auto M = IGESTransformation(*this)) Polyline = Polyline->Transformed(*M);
}

// ---- 106: copious data ----

void TIGESEntity106::DecodeParameters() {
    const TIGESParameters P(*this);
    const int IP = TruncSingle(P[1]);
    const int N = P.Count(2, "copious data point count");
    Polyline = std::make_unique<TPolyline>();
    long long First = 0, Step = 0;
    switch (IP) {
        case 1: First = 4, Step = 2; break;
        case 2: First = 3, Step = 3; break;
        case 3: First = 3, Step = 6; break;
        default: break;
    }
    if (Step > 0) {
        P.Require(First + Step * N, "copious data points");
        for (int I = 0; I < N; ++I) {
            const long long B = First + Step * I;
            Polyline->AddPoint(P[B], P[B + 1], IP == 1 ? P[3] : P[B + 2]);
        }
    }
    if (const auto M = IGESTransformation(*this)) Polyline = Polyline->Transformed(*M);
}

void TIGESEntity106::EncodeParameters() {
    FormNumber = 12;
    ClearParameters();
    AddIntegerParameter(106);
    AddIntegerParameter(2);
    AddIntegerParameter(Polyline->Count());
    for (int I = 0; I < Polyline->Count(); ++I) {
        const TRPoint* Q = Polyline->Point(I);
        AddRealParameter(Q->X);
        AddRealParameter(Q->Y);
        AddRealParameter(Q->Z);
    }
    EndParameters();
}

// ---- 108: plane ----

TMPlane TIGESEntity108::GetPlane() {
    const TIGESParameters P(*this);
    PlaneA = P[1];
    PlaneB = P[2];
    PlaneC = P[3];
    PlaneD = P[4];
    return {{PlaneA, PlaneB, PlaneC}, PlaneD};
}

void TIGESEntity108::SetPlane(const TMPlane& Plane) {
    PlaneA = Plane.Normal.X;
    PlaneB = Plane.Normal.Y;
    PlaneC = Plane.Normal.Z;
    PlaneD = Plane.Distance;
    ClearParameters();
    AddIntegerParameter(108);
    for (double V : {PlaneA, PlaneB, PlaneC, PlaneD}) AddRealParameter(V);
    AddIntegerParameter(0);
    for (int I = 0; I < 4; ++I) AddRealParameter(0.0);
    EndParameters();
}

// ---- 110: line ----

void TIGESEntity110::DecodeParameters() {
    const TIGESParameters P(*this);
    StartPoint = TRPoint(PointOf(P, 1));
    EndPoint = TRPoint(PointOf(P, 4));
    if (const auto M = IGESTransformation(*this)) {
        TransformPoint(StartPoint, *M);
        TransformPoint(EndPoint, *M);
    }
}

const TRPoint& TIGESEntity110::GetStartPoint() {
    DecodeParameters();
    return StartPoint;
}

const TRPoint& TIGESEntity110::GetEndPoint() {
    DecodeParameters();
    return EndPoint;
}

// ---- 124: transformation matrix ----

TIGESEntity124::TIGESEntity124() : TIGESEntity(124), Matrix(IdentityMatrix) {}

void TIGESEntity124::DecodeParameters() {
    const TIGESParameters P(*this);
    Matrix = IdentityMatrix;
    for (int R = 0; R < 3; ++R)
        for (int C = 0; C < 4; ++C) Matrix[R][C] = P[1 + 4 * R + C];
}

const TMMatrix& TIGESEntity124::GetMatrix() {
    DecodeParameters();
    return Matrix;
}

void TIGESEntity124::SetMatrix(const TMMatrix& M) {
    Matrix = M;
    ClearParameters();
    AddIntegerParameter(124);
    for (int R = 0; R < 3; ++R)
        for (int C = 0; C < 4; ++C) AddRealParameter(Matrix[R][C]);
    EndParameters();
}

// ---- 126: B-spline curve ----

TIGESEntity126::TIGESEntity126() : TIGESEntity(126), Spline(std::make_unique<TBSpline>(4)) {}

bool TIGESEntity126::IsSupported() const {
    const TIGESParameters P(*this, 3);
    return P[1] + P[2] + 2 < MaxKnots;
}

void TIGESEntity126::DecodeParameters() {
    const TIGESParameters P(*this);
    const int K = P.Count(1, "B-spline curve upper index"), M = P.Count(2, "B-spline curve degree");
    if (K + M >= MaxKnots - 1)
        throw EError(Format("TIGESEntity126.UpdateCurve - Unable to support a BSpline with %d points", {K}));
    const long long C0 = 2LL * K + M + 10;
    P.Require(C0 + 3LL * (K + 1) + 2, "B-spline curve knots, weights and points");
    WarnWeights(*this, P, K + M + 9, K + 1);
    auto S = std::make_unique<TBSpline>(4);
    S->SetOrder(M + 1);
    for (int I = 0; I <= K; ++I) S->AddVector(PointOf(P, C0 + 3LL * I));
    const double V0 = P[5LL * K + M + 13], V1 = P[5LL * K + M + 14];
    S->UpdateKnots();
    const int NKnots = K + M + 2;
    bool Same = S->MinT() == V0 && S->MaxT() == V1;
    for (int I = 1; Same && I <= NKnots; ++I) Same = S->Knot(I) == P[6 + I];
    if (!Same) {
        S->KnotType = ktCustom;
        for (int I = 1; I <= NKnots; ++I) S->SetKnot(I, P[6 + I]);
        S->MinTParameter = V0;
        S->MaxTParameter = V1;
    }
    if (const auto Mx = IGESTransformation(*this)) S = S->Transformed(*Mx);
    Spline = std::move(S);
}

TBSpline& TIGESEntity126::GetSpline() {
    DecodeParameters();
    return *Spline;
}

std::unique_ptr<TPolyline> TIGESEntity126::ControlPolygon() const {
    const TIGESParameters P(*this);
    const int K = P.Count(1, "B-spline curve upper index"), M = P.Count(2, "B-spline curve degree");
    const long long C0 = 2LL * K + M + 10;
    P.Require(C0 + 3LL * (K + 1), "B-spline curve points");
    auto Result = std::make_unique<TPolyline>();
    for (int I = 0; I <= K; ++I) Result->AddVector(PointOf(P, C0 + 3LL * I));
    if (const auto Mx = IGESTransformation(*this)) Result = Result->Transformed(*Mx);
    return Result;
}

void TIGESEntity126::SetSpline(const TBSpline& Curve) {
    Spline = std::make_unique<TBSpline>(4);
    Spline->Assign(Curve);
    Spline->UpdateKnots();
    const int N = Spline->Count(), Order = Spline->GetOrder();
    ClearParameters();
    AddIntegerParameter(126);
    AddIntegerParameter(N - 1);
    AddIntegerParameter(Order - 1);
    AddIntegerParameter(0);
    AddIntegerParameter(0);
    AddIntegerParameter(1);
    AddIntegerParameter(Spline->KnotType == ktPeriodic ? 1 : 0);
    for (int I = 1; I <= N + Order; ++I) AddRealParameter(Spline->Knot(I));
    // The kernel is polynomial: every weight is 1, as the flag above says.
    for (int I = 0; I < N; ++I) AddRealParameter(1.0);
    for (int I = 0; I < N; ++I) {
        const TRPoint* Q = Spline->Point(I);
        AddRealParameter(Q->X);
        AddRealParameter(Q->Y);
        AddRealParameter(Q->Z);
    }
    AddRealParameter(Spline->MinT());
    AddRealParameter(Spline->MaxT());
    AddRealParameter(1.0);
    AddRealParameter(0.0);
    AddRealParameter(0.0);
    EndParameters();
}

// ---- 128: B-spline surface ----

TIGESEntity128::TIGESEntity128() : TIGESEntity(128), Surface(std::make_unique<TBSplineSurface>(4, 4)) {}

bool TIGESEntity128::IsSupported() const {
    const TIGESParameters P(*this, 5);
    return P[1] + P[3] + 1 < MaxKnots && P[2] + P[4] + 1 < MaxKnots && !(P[3] == 1 && P[4] == 1);
}

namespace {

struct TSurfaceLayout {
    int K1, K2, M1, M2;
    long long Weights, Points, Count;
};

TSurfaceLayout SurfaceLayout(const TIGESParameters& P) {
    TSurfaceLayout L{};
    L.K1 = P.Count(1, "B-spline surface upper index in U");
    L.K2 = P.Count(2, "B-spline surface upper index in V");
    L.M1 = P.Count(3, "B-spline surface degree in U");
    L.M2 = P.Count(4, "B-spline surface degree in V");
    L.Weights = 14LL + L.K1 + L.K2 + L.M1 + L.M2;
    L.Count = (L.K1 + 1LL) * (L.K2 + 1LL);
    L.Points = L.Weights + L.Count;
    return L;
}

// The control points, U index fastest.
void FillNet(TBSplineSurface& S, const TIGESParameters& P, const TSurfaceLayout& L) {
    for (int J = 0; J <= L.K2; ++J)
        for (int I = 0; I <= L.K1; ++I) {
            const TMVector V = PointOf(P, L.Points + 3LL * (I + (L.K1 + 1LL) * J));
            TRPoint& Q = S.Point(I, J);
            Q.X = V.X;
            Q.Y = V.Y;
            Q.Z = V.Z;
        }
}

}  // namespace

void TIGESEntity128::DecodeParameters() {
    const TIGESParameters P(*this);
    const TSurfaceLayout L = SurfaceLayout(P);
    if (L.K1 + L.M1 + 1 > MaxKnots || L.K2 + L.M2 + 1 > MaxKnots)
        throw EError(Format("TIGESEntity128.UpdateCurve - Unable to support a BSpline Surface with [%d,%d] points",
                            {L.K1 + 1, L.K2 + 1}));
    P.Require(L.Points + 3 * L.Count + 4, "B-spline surface knots, weights and points");
    WarnWeights(*this, P, L.Weights, L.Count);
    auto S = std::make_unique<TBSplineSurface>(L.K1 + 1, L.K2 + 1);
    S->SetOrderU(L.M1 + 1);
    S->SetOrderV(L.M2 + 1);
    FillNet(*S, P, L);
    const long long Range = L.Points + 3 * L.Count;
    const double U0 = P[Range], U1 = P[Range + 1], V0 = P[Range + 2], V1 = P[Range + 3];
    const long long UFirst = 10, VFirst = 12LL + L.K1 + L.M1;
    const int NU = L.K1 + L.M1 + 2, NV = L.K2 + L.M2 + 2;
    S->UpdateKnots();
    bool Same = S->MinU() == U0 && S->MaxU() == U1 && S->MinV() == V0 && S->MaxV() == V1;
    for (int I = 1; Same && I <= NU; ++I) Same = S->KnotU(I) == P[UFirst + I - 1];
    for (int I = 1; Same && I <= NV; ++I) Same = S->KnotV(I) == P[VFirst + I - 1];
    if (!Same) {
        S->KnotType = ktCustom;
        for (int I = 1; I <= NU; ++I) S->SetKnotU(I, P[UFirst + I - 1]);
        for (int I = 1; I <= NV; ++I) S->SetKnotV(I, P[VFirst + I - 1]);
        S->MinUParameter = U0;
        S->MaxUParameter = U1;
        S->MinVParameter = V0;
        S->MaxVParameter = V1;
        if (S->MinU() >= S->MaxU() || S->MinV() >= S->MaxV()) S->KnotType = ktNonUniform;
    }
    if (const auto M = IGESTransformation(*this)) S = S->CreateTransformed(*M);
    Surface = std::move(S);
}

TBSplineSurface& TIGESEntity128::GetSurface() {
    DecodeParameters();
    return *Surface;
}

std::unique_ptr<TBSplineSurface> TIGESEntity128::ControlNet() const {
    const TIGESParameters P(*this);
    const TSurfaceLayout L = SurfaceLayout(P);
    P.Require(L.Points + 3 * L.Count, "B-spline surface points");
    auto S = std::make_unique<TBSplineSurface>(L.K1 + 1, L.K2 + 1);
    FillNet(*S, P, L);
    return S;
}

void TIGESEntity128::SetSurface(const TBSplineSurface& Source) {
    Surface = std::make_unique<TBSplineSurface>(4, 4);
    Surface->Assign(Source);
    TBSplineSurface& S = *Surface;
    S.UpdateKnots();
    const int NU = S.NumU(), NV = S.NumV(), OU = S.OrderU(), OV = S.OrderV();
    ClearParameters();
    AddIntegerParameter(128);
    for (int V : {NU - 1, NV - 1, OU - 1, OV - 1, 0, 0, 1, 0, 0}) AddIntegerParameter(V);
    for (int I = 1; I <= NU + OU; ++I) AddRealParameter(S.KnotU(I));
    for (int I = 1; I <= NV + OV; ++I) AddRealParameter(S.KnotV(I));
    // The kernel is polynomial: every weight is 1, as the flag above says.
    for (long long I = 0; I < static_cast<long long>(NU) * NV; ++I) AddRealParameter(1.0);
    for (int J = 0; J < NV; ++J)
        for (int I = 0; I < NU; ++I) {
            const TRPoint& Q = S.Point(I, J);
            AddRealParameter(Q.X);
            AddRealParameter(Q.Y);
            AddRealParameter(Q.Z);
        }
    AddRealParameter(S.MinU());
    AddRealParameter(S.MaxU());
    AddRealParameter(S.MinV());
    AddRealParameter(S.MaxV());
    EndParameters();
}

// ---- The virtual construction of the reader ----

std::unique_ptr<TIGESEntity> TIGESEntity::CreateFromDirectory(std::string_view Text, TIGESFile* AFile) {
    // The class follows the type number exactly as the entry's reader takes it (blanks and control
    // characters round it ignored), so that the object always is of the class its number names.
    TIGESEntity Plain;
    Plain.ReadDirectoryEntry(Text);
    std::unique_ptr<TIGESEntity> E;
    switch (Plain.EntityType) {
        case 100: E = std::make_unique<TIGESEntity100>(); break;
        case 102: E = std::make_unique<TIGESEntity102>(); break;
        case 106: E = std::make_unique<TIGESEntity106>(); break;
        case 108: E = std::make_unique<TIGESEntity108>(); break;
        case 110: E = std::make_unique<TIGESEntity110>(); break;
        case 124: E = std::make_unique<TIGESEntity124>(); break;
        case 126: E = std::make_unique<TIGESEntity126>(); break;
        case 128: E = std::make_unique<TIGESEntity128>(); break;
        default: E = std::make_unique<TIGESEntity>(); break;
    }
    E->File = AFile;
    E->ReadDirectoryEntry(Text);
    return E;
}

}  // namespace sarnova
