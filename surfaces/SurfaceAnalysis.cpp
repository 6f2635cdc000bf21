#include "surfaces/SurfaceAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <typeinfo>

#include "document/Geometry.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsSolvers.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

TSurfaceAnalysis* GSurfaceAnalysis = nullptr;

namespace {

// Values within this of zero count as neither curved one way nor the other.
constexpr double ClearlyNonZero = 1e-5;

[[noreturn]] void ThrowIndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

// The curvatures and the light cosine at one sample. n = Sv x Su is the unnormalised normal, so the
// fundamental forms come out scaled by |n| and |n|^2, which the divisions take out again. A zero
// normal (a singular first fundamental form) gives zeros, and so does a result that overflows there.
void MeasurePoint(const TSurfaceDerivatives& D, const TMVector& UnitLight, TSurfaceAnalysisPoint& P) {
    P.Position = D.S;
    const TMVector n = VectorCross(D.Su, D.Sv);
    const double Length = VectorLength(n);
    if (!(Length > 0)) return;
    const double L = VectorDot(n, D.Suu), M = VectorDot(n, D.Suv), N = VectorDot(n, D.Svv);
    const double E = VectorDot(D.Su, D.Su), F = VectorDot(D.Su, D.Sv), G = VectorDot(D.Sv, D.Sv);
    const double Length2 = Length * Length;
    const double Gaussian = (L * N - M * M) / (Length2 * Length2);
    const double Mean = (L * G - 2 * M * F + N * E) / (2 * Length2 * Length);
    const double Cosine = std::clamp(VectorDot(UnitLight, VectorScale(n, 1 / Length)), -1.0, 1.0);
    P.GaussianCurvature = std::isfinite(Gaussian) ? Gaussian : 0;
    P.MeanCurvature = std::isfinite(Mean) ? Mean : 0;
    P.LightCosine = std::isfinite(Cosine) ? Cosine : 0;
}

// Taubin's estimate of the curvature tensor at vertex Vi from the triangles of the fins ending there
// and the normal curvatures along its edges. A vertex without area around it, and edges of no
// length, add nothing, so the values stay finite.
void MeasureVertex(const TVertex& Vi, const TMVector& UnitLight, TSurfaceAnalysisPoint& P) {
    P.Position = Vi.Position;
    // The fin of an edge ending at Vi, when it lies in a face loop; c is twice its triangle's area
    // along its normal.
    const auto FaceFin = [&](const TEdge& E, TMVector& c) -> bool {
        const TFin* F = E.GetFin(&Vi);
        if (F->GetFace() == nullptr || F->NextFin == nullptr || F->PrevFin == nullptr) return false;
        const TMVector Previous = F->PrevFin->Position();
        const TMVector Next = F->NextFin->Position();
        c = VectorCross(VectorFromTo(Previous, Vi.Position), VectorFromTo(Previous, Next));
        return true;
    };

    TMVector Sum, c;
    double Area = 0;
    for (int K = 0; K < Vi.EdgeCount(); ++K)
        if (FaceFin(*Vi.Edge(K), c)) {
            const double a = VectorLength(c) / 2;
            Sum = VectorAdd(Sum, VectorScale(VectorNormalise(c), a));
            Area += a;
        }
    const TMVector N = VectorNormalise(Sum);
    P.LightCosine = VectorDot(UnitLight, N);
    if (!(Area > 0)) return;

    TMMatrix M;  // all zero
    for (int K = 0; K < Vi.EdgeCount(); ++K) {
        const TEdge& E = *Vi.Edge(K);
        if (!FaceFin(E, c)) continue;
        const TVertex* Vj = E.OtherVertex(&Vi);
        if (Vj == nullptr) continue;
        const TMVector e = VectorFromTo(Vi.Position, Vj->Position);
        const double Length2 = VectorDot(e, e);
        if (!(Length2 > 0)) continue;
        const TMVector T = VectorNormalise(VectorPerpendicularPart(N, e));  // P e, P = I - N N^T
        const double Kappa = 2 * VectorDot(N, VectorFromTo(Vj->Position, Vi.Position)) / Length2;
        const double w = VectorLength(c) / 2 / Area;
        const double t[3] = {T.X, T.Y, T.Z};
        for (int r = 0; r < 3; ++r)
            for (int s = 0; s < 3; ++s) M[r][s] += w * Kappa * t[r] * t[s];
    }

    // The Householder reflection that takes N to the first axis: the tangent-plane part of the tensor
    // is then its lower 2 x 2 block.
    const TMVector X{1, 0, 0};
    const TMVector Plus = VectorAdd(X, N), Minus = VectorFromTo(N, X);
    const TMVector W = VectorNormalise(VectorLength(Plus) >= VectorLength(Minus) ? Plus : Minus);
    const double w[3] = {W.X, W.Y, W.Z};
    double Q[3][3], QM[3][3];
    for (int r = 0; r < 3; ++r)
        for (int s = 0; s < 3; ++s) Q[r][s] = (r == s ? 1 : 0) - 2 * w[r] * w[s];
    for (int r = 0; r < 3; ++r)
        for (int s = 0; s < 3; ++s) QM[r][s] = Q[0][r] * M[0][s] + Q[1][r] * M[1][s] + Q[2][r] * M[2][s];
    TMMatrix A;
    for (int r = 0; r < 3; ++r)
        for (int s = 0; s < 3; ++s) A[r][s] = QM[r][0] * Q[0][s] + QM[r][1] * Q[1][s] + QM[r][2] * Q[2][s];
    std::array<double, 4> D{};
    TMMatrix V;
    int Rotations = 0;
    Jacobi(A, 3, D, V, Rotations);

    const double k1 = 3 * D[1] - D[2], k2 = 3 * D[2] - D[1];
    P.MeanCurvature = (k1 + k2) / 2;
    P.GaussianCurvature = k1 * k2;
}

// The level mapping of one curvature, gathered point by point. Only two order statistics of the
// sorted values matter (the scale ends), so they are selected in linear time instead of sorting.
class TLevelScale {
public:
    // Room for every point on either side: pages never written cost nothing.
    explicit TLevelScale(int Count) {
        Negatives.reserve(static_cast<std::size_t>(Count));
        Positives.reserve(static_cast<std::size_t>(Count));
    }

    void Add(double c) {
        if (c < -ClearlyNonZero)
            Negatives.push_back(c);
        else if (c > ClearlyNonZero)
            Positives.push_back(c);
    }

    // Beyond about ten values on a side, the outer 5 % of that side saturate.
    void Finish() {
        const auto NegCount = static_cast<std::ptrdiff_t>(Negatives.size());
        const auto PosCount = static_cast<std::ptrdiff_t>(Positives.size());
        if (NegCount > 0) {
            const auto At = Negatives.begin() + (NegCount > 10 ? NegCount / 20 : 0);
            std::nth_element(Negatives.begin(), At, Negatives.end());
            Lo = *At;
        }
        if (PosCount > 0) {
            const std::ptrdiff_t K = PosCount - 1;
            const auto At = Positives.begin() + (K > 10 ? K / 20 : 0);
            std::nth_element(Positives.begin(), At, Positives.end(), std::greater<double>());
            Hi = *At;
        }
    }

    void Apply(double c, double& Level) const {
        if (c < -ClearlyNonZero)
            Level = c < Lo ? -1 : -std::sqrt((c + ClearlyNonZero) / (Lo + ClearlyNonZero));
        else if (c > ClearlyNonZero)
            Level = c > Hi ? 1 : std::sqrt((c - ClearlyNonZero) / (Hi - ClearlyNonZero));
        else if (!Negatives.empty() && !Positives.empty())
            Level = 0;
    }

private:
    std::vector<double> Negatives, Positives;
    double Lo = 0, Hi = 0;
};

void NormaliseLevels(const TSurfaceAnalysisPoints& Points, double TSurfaceAnalysisPoint::*Value,
                     double TSurfaceAnalysisPoint::*Level) {
    if (Points.Count() < 4) return;
    TLevelScale Scale(Points.Count());
    for (const TSurfaceAnalysisPoint* P : Points) Scale.Add(P->*Value);
    Scale.Finish();
    for (TSurfaceAnalysisPoint* P : Points) Scale.Apply(P->*Value, P->*Level);
}

// The colour of a point in a curvature mode.
TColor LevelColor(TColorInterpolationMode Model, std::uint8_t Mode, const TSurfaceAnalysisPoint& P) {
    return ZeroCentredColor(Model, -1, 1, Mode == samGaussian ? P.GaussianLevel : P.MeanLevel);
}

}  // namespace

// ---- Lists ----

TSurfaceAnalysisPoint* TSurfaceAnalysisPoints::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

TSurfaceAnalysisSurface* TSurfaceAnalysisSurfaces::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TSurfaceAnalysisSurfaces::DrawAll(IGraphics& G) const {
    for (const auto& S : FItems) S->Draw(G);
}

void TSurfaceAnalysisSurfaces::DrawAllUncolored(IGraphics& G) const {
    for (const auto& S : FItems) S->DrawUncolored(G);
}

void TSurfaceAnalysisSurfaces::ResampleAll() const {
    for (const auto& S : FItems) S->Resample();
}

// ---- Parameters ----

void TSurfaceAnalysisCurvatureParameters::Changed() {
    if (FAnalysis.GetMode() == samGaussian || FAnalysis.GetMode() == samMean) FAnalysis.Invalidate();
}

void TSurfaceAnalysisCurvatureParameters::SetShadingModel(TColorInterpolationMode Value) {
    if (Value == FShadingModel) return;
    FShadingModel = Value;
    Changed();
}

void TSurfaceAnalysisCurvatureParameters::SetLayersCount(int Value) {
    if (Value == FLayersCount) return;
    FLayersCount = Value;
    Changed();
}

void TSurfaceAnalysisCurvatureParameters::SetLayers(bool Value) {
    if (Value == FLayers) return;
    FLayers = Value;
    Changed();
}

void TSurfaceAnalysisIsoPhotesParameters::Changed() {
    if (FAnalysis.GetMode() == samZebra) FAnalysis.Invalidate();
}

void TSurfaceAnalysisIsoPhotesParameters::SetZebraVector(const TMVector& Value) {
    if (VectorsEqual(Value, FZebraVector)) return;
    FZebraVector = Value;
    Changed();
}

void TSurfaceAnalysisIsoPhotesParameters::SetZebraBand1Color(TColor Value) {
    if (Value == FZebraBand1Color) return;
    FZebraBand1Color = Value;
    Changed();
}

void TSurfaceAnalysisIsoPhotesParameters::SetZebraBand2Color(TColor Value) {
    if (Value == FZebraBand2Color) return;
    FZebraBand2Color = Value;
    Changed();
}

void TSurfaceAnalysisIsoPhotesParameters::SetZebraBands(int Value) {
    if (Value == FZebraBands) return;
    FZebraBands = Value;
    Changed();
}

// ---- Analysis surfaces ----

void TSurfaceAnalysisSurface::AddTriangles(TPolygonList& List) const {
    ForEachTriangle(
        [](void* Context, const TRPoint& A, const TRPoint& B, const TRPoint& C) {
            auto F = NewTriangle(A, B, C);
            F->SetColor(0x0000FF);
            static_cast<TPolygonList*>(Context)->Add(std::move(F));
        },
        &List);
}

TSurfaceAnalysisMesh::TSurfaceAnalysisMesh(TSurfaceAnalysis& Analysis, TSurface& S, int NU, int NV)
    : TSurfaceAnalysisSurface(Analysis), FSurface(&S), FNU(std::max(NU, 0)), FNV(std::max(NV, 0)) {
    if (FNU == 0 || FNV == 0) FNU = FNV = 0;
    Resample();
}

void TSurfaceAnalysisMesh::Resample() {
    if (GConsole)
        GConsole->WriteLine(
            Format("Generating Analysis Surface %dx%d (%s)", {FNU, FNV, ClassNameOf(typeid(*FSurface))}));
    const std::size_t Count = static_cast<std::size_t>(FNU) * static_cast<std::size_t>(FNV);
    // The block is kept when the size is unchanged; every point is made anew as it is measured.
    FPoints.clear();
    FPoints.reserve(Count);
    const TMVector Light = VectorNormalise(FAnalysis.IsoPhotesParameters().GetZebraVector());
    // Evaluation brings derived state up to date (a B-spline's knots, on which its range depends), so
    // one is made before the range is read.
    if (Count > 0) FSurface->EvaluateDerivatives(FSurface->MinU(), FSurface->MinV());
    const double U0 = FSurface->MinU(), U1 = FSurface->MaxU();
    const double V0 = FSurface->MinV(), V1 = FSurface->MaxV();
    // A single sample in a direction sits at its start rather than at 0/0.
    const auto Fraction = [](int K, int N) { return N > 1 ? static_cast<double>(K) / (N - 1) : 0.0; };
    // Along the rows of the block (i runs fastest), so that a large grid is written in one sweep
    // instead of a stride of a whole row per point.
    try {
        for (int j = 0; j < FNV; ++j) {
            const double v = V0 + (V1 - V0) * Fraction(j, FNV);
            for (int i = 0; i < FNU; ++i) {
                const double u = U0 + (U1 - U0) * Fraction(i, FNU);
                MeasurePoint(FSurface->EvaluateDerivatives(u, v), Light, FPoints.emplace_back());
            }
        }
    } catch (...) {
        // The grid stays whole for drawing; the points not measured are at their defaults.
        FPoints.resize(Count);
        throw;
    }
    TSurfaceAnalysisPoints& List = FAnalysis.Points();
    List.Reserve(static_cast<std::size_t>(List.Count()) + Count);
    // Listed only once all are measured, so a failed evaluation leaves no point of this mesh listed.
    for (TSurfaceAnalysisPoint& P : FPoints) List.Add(&P);
}

void TSurfaceAnalysisMesh::ForEachTriangle(TTriangleVisitor Visit, void* Context) const {
    TRPoint Corners[4];
    const auto Corner = [&](int K, int I, int J) {
        const TSurfaceAnalysisPoint& P = Point(I, J);
        Corners[K].SetVector(P.Position);
        Corners[K].W = FAnalysis.WeightOf(P);
    };
    for (int i = 0; i + 1 < FNU; ++i)
        for (int j = 0; j + 1 < FNV; ++j) {
            Corner(0, i, j);
            Corner(1, i, j + 1);
            Corner(2, i + 1, j);
            Corner(3, i + 1, j + 1);
            Visit(Context, Corners[0], Corners[1], Corners[2]);
            Visit(Context, Corners[1], Corners[3], Corners[2]);
        }
}

TSurfaceAnalysisManifold::TSurfaceAnalysisManifold(TSurfaceAnalysis& Analysis, TManifold& M)
    : TSurfaceAnalysisSurface(Analysis), FSource(&M), FManifold(std::make_unique<TManifold>()) {
    FManifold->VertexFactory = [](TManifold* Owner) {
        return std::make_unique<TSurfaceAnalysisManifoldVertex>(Owner);
    };
    CopyAndMeasure();
}

void TSurfaceAnalysisManifold::CopyAndMeasure() {
    if (FManifold->Assign(*FSource) != 0)
        throw EGeometryError("TSurfaceAnalysisPolygons.Create - Manifold Failed to copy");
    const TMVector Light = VectorNormalise(FAnalysis.IsoPhotesParameters().GetZebraVector());
    const TVertexContainer& Vertices = FManifold->Vertices();
    for (int I = 0; I < Vertices.Count(); ++I) {
        auto& V = static_cast<TSurfaceAnalysisManifoldVertex&>(*Vertices.Vertex(I));
        MeasureVertex(V, Light, V.Point);
    }
}

void TSurfaceAnalysisManifold::ListPoints() {
    TSurfaceAnalysisPoints& List = FAnalysis.Points();
    const TVertexContainer& Vertices = FManifold->Vertices();
    for (int I = 0; I < Vertices.Count(); ++I)
        List.Add(&static_cast<TSurfaceAnalysisManifoldVertex&>(*Vertices.Vertex(I)).Point);
}

void TSurfaceAnalysisManifold::Resample() {
    CopyAndMeasure();
    ListPoints();
}

void TSurfaceAnalysisManifold::ForEachTriangle(TTriangleVisitor Visit, void* Context) const {
    TRPoint Corners[3];
    const auto Corner = [&](int K, const TFin* F) {
        if (F == nullptr || F->GetVertex() == nullptr) return false;
        const TSurfaceAnalysisPoint& P = static_cast<const TSurfaceAnalysisManifoldVertex&>(*F->GetVertex()).Point;
        Corners[K].SetVector(P.Position);
        Corners[K].W = FAnalysis.WeightOf(P);
        return true;
    };
    const TFaceContainer& Faces = FManifold->Faces();
    for (int I = 0; I < Faces.Count(); ++I) {
        const TFace& Face = *Faces.Face(I);
        const TFin* f = Face.FirstFin();
        if (f == nullptr || f->NextFin == nullptr) continue;
        // A copied loop is closed; the count still bounds the walk.
        const TFin* q = f->NextFin->NextFin;
        for (int Steps = Face.FinCount(); q != nullptr && q != f && Steps > 0; q = q->NextFin, --Steps)
            if (Corner(0, f) && Corner(1, q->PrevFin) && Corner(2, q))
                Visit(Context, Corners[0], Corners[1], Corners[2]);
    }
}

// ---- The analysis ----

TSurfaceAnalysis::TSurfaceAnalysis() = default;

TSurfaceAnalysis::~TSurfaceAnalysis() {
    if (GSurfaceAnalysis == this) GSurfaceAnalysis = nullptr;
}

void TSurfaceAnalysis::SetMode(std::uint8_t Mode) {
    if (Mode == FMode) return;
    FMode = Mode;
    FDirty = true;
}

bool TSurfaceAnalysis::ShowsBands() const { return FMode == samZebra || FCurvatureParameters.GetLayers(); }

double TSurfaceAnalysis::WeightOf(const TSurfaceAnalysisPoint& P) const {
    switch (FMode) {
        case samGaussian: return P.GaussianLevel;
        case samMean: return P.MeanLevel;
        default: return P.LightCosine;
    }
}

void TSurfaceAnalysis::Clear() {
    FPoints.Clear();
    FSurfaces.Clear();
    FDirty = true;
}

void TSurfaceAnalysis::BeginUpdate() {
    if (FUpdating) throw EGeometryError("TSurfaceAnalysis.BeginUpdate - Already Updating");
    Clear();
    FUpdating = true;
}

void TSurfaceAnalysis::EndUpdate() {
    if (!FUpdating) throw EGeometryError("TSurfaceAnalysis.EndUpdate - Not Updating");
    FUpdating = false;
    Recalculate();
}

void TSurfaceAnalysis::AddSurface(TSurface& S, int SurfaceCount) {
    if (!FUpdating) Clear();
    int NU = 0, NV = 0;
    S.SampleCounts(5, SurfaceCount, NU, NV);
    AddMesh(S, NU, NV);
    if (!FUpdating) Recalculate();
}

void TSurfaceAnalysis::AddSurfaces(const TBSplineSurfaceList& L) {
    if (!FUpdating) Clear();
    for (int I = 0; I < L.Count(); ++I) {
        TSurface& S = *L.Surface(I);
        int NU = 0, NV = 0;
        S.SampleCounts(5, L.Count(), NU, NV);
        AddMesh(S, NU, NV);
    }
    if (!FUpdating) Recalculate();
}

void TSurfaceAnalysis::AddManifold(TManifold& M) {
    // Copied before anything is cleared, so a failed copy leaves the analysis as it was.
    auto S = std::make_unique<TSurfaceAnalysisManifold>(*this, M);
    if (!FUpdating) Clear();
    FDirty = true;
    S->ListPoints();
    FSurfaces.Add(std::move(S));
    if (!FUpdating) Recalculate();
}

void TSurfaceAnalysis::AddMesh(TSurface& S, int NU, int NV) {
    FDirty = true;
    FSurfaces.Add(std::make_unique<TSurfaceAnalysisMesh>(*this, S, NU, NV));
}

void TSurfaceAnalysis::Recalculate() {
    if (FPoints.Count() < 4) {
        ColorPoints();
        return;
    }
    // NormaliseGaussian, NormaliseMean and ColorPoints in two sweeps over the points instead of
    // seven: a large grid does not stay in the cache from one sweep to the next.
    TLevelScale Gaussian(FPoints.Count()), Mean(FPoints.Count());
    for (const TSurfaceAnalysisPoint* P : FPoints) {
        Gaussian.Add(P->GaussianCurvature);
        Mean.Add(P->MeanCurvature);
    }
    Gaussian.Finish();
    Mean.Finish();
    const bool Colored = FMode == samGaussian || FMode == samMean;
    const TColorInterpolationMode Model = FCurvatureParameters.GetShadingModel();
    for (TSurfaceAnalysisPoint* P : FPoints) {
        Gaussian.Apply(P->GaussianCurvature, P->GaussianLevel);
        Mean.Apply(P->MeanCurvature, P->MeanLevel);
        if (Colored) P->Color = LevelColor(Model, FMode, *P);
    }
}

void TSurfaceAnalysis::NormaliseGaussian() {
    NormaliseLevels(FPoints, &TSurfaceAnalysisPoint::GaussianCurvature, &TSurfaceAnalysisPoint::GaussianLevel);
}

void TSurfaceAnalysis::NormaliseMean() {
    NormaliseLevels(FPoints, &TSurfaceAnalysisPoint::MeanCurvature, &TSurfaceAnalysisPoint::MeanLevel);
}

void TSurfaceAnalysis::ColorPoints() {
    if (FMode != samGaussian && FMode != samMean) return;
    const TColorInterpolationMode Model = FCurvatureParameters.GetShadingModel();
    for (TSurfaceAnalysisPoint* P : FPoints) P->Color = LevelColor(Model, FMode, *P);
}

}  // namespace sarnova
