#include "surfaces/Surface.h"

#include <array>
#include <climits>
#include <cmath>
#include <typeinfo>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

[[noreturn]] void IndexError(long long Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

// Two triangles per grid cell, their corners copies of the grid points.
std::unique_ptr<TPolygonList> TriangulateGrid(const TMesh& Mesh) {
    auto Result = std::make_unique<TPolygonList>();
    for (int i = 0; i + 1 < Mesh.NumU(); ++i)
        for (int j = 0; j + 1 < Mesh.NumV(); ++j) {
            Result->Add(NewTriangle(Mesh.Point(i, j), Mesh.Point(i + 1, j), Mesh.Point(i, j + 1)));
            Result->Add(NewTriangle(Mesh.Point(i, j + 1), Mesh.Point(i + 1, j), Mesh.Point(i + 1, j + 1)));
        }
    return Result;
}

// Count + 1 values evenly from Min to Max inclusive.
TDigitisationParameters EvenParameters(int Count, double Min, double Max, const char* Direction) {
    if (Count < 1)
        throw EGeometryError(Format("TSurface.SampleParameters - %d intervals in %s, at least 1 needed",
                                    {Count, Direction}));
    TDigitisationParameters Result(static_cast<std::size_t>(Count) + 1);
    for (int i = 0; i <= Count; ++i)
        Result[static_cast<std::size_t>(i)] = Min + (Max - Min) * (static_cast<double>(i) / Count);
    return Result;
}

// The text after the first "=" of a key line, trimmed, as a non-negative integer.
int ReadCount(const std::string& Line, const char* Message) {
    int Value = 0;
    if (!TryStrToInt(Trim(TextAfterKeyword("=", Line)), Value) || Value < 0) throw EGeometryError(Message);
    return Value;
}

}  // namespace

// ---- TSurface ----

TSurface::~TSurface() = default;

int TSurface::SampleFactor(int SurfaceCount) { return SurfaceCount <= 75 ? 3 : SurfaceCount <= 150 ? 2 : 1; }

bool TSurface::IsPlainMesh() const { return typeid(*this) == typeid(TMesh); }

int TSurface::LinePointCount() const {
    return std::max({FLinePointCount, NumULine(), NumVLine()});
}

TMVector TSurface::Evaluate(double, double) const { return ZeroVector; }

TSurfaceDerivatives TSurface::EvaluateDerivatives(double U, double V) {
    TSurfaceDerivatives D;
    D.S = Evaluate(U, V);
    return D;
}

TSurfaceFirstDerivatives TSurface::EvaluateFirstDerivatives(double U, double V) {
    const TSurfaceDerivatives D = EvaluateDerivatives(U, V);
    return {D.S, D.Su, D.Sv};
}

void TSurface::SampleCounts(TSamplingPurpose Purpose, int SurfaceCount, int& NU, int& NV) const {
    int N;
    if (SurfaceCount == 1) {
        switch (Purpose) {
            case 0:
                NU = NumULine();
                NV = NumVLine();
                return;
            case 1: N = 32; break;
            case 2: N = 16; break;
            case 3: N = 8; break;
            case 4:
            case 5:
            case 6: N = 16; break;
            case 7:
            case 8: N = 32; break;
            case 9: N = 64; break;
            default: return;
        }
    } else {
        const int f = SampleFactor(SurfaceCount);
        switch (Purpose % 128) {
            case 0: N = 6 * f; break;
            case 1: N = 9 * f; break;
            case 2: N = 6 * f; break;
            case 3: N = 3 * f; break;
            case 4:
            case 5:
            case 6: N = 6 * f; break;
            case 7:
            case 8: N = 9 * f; break;
            case 9: N = 64; break;
            default: return;
        }
    }
    NU = N;
    NV = N;
}

void TSurface::SampleParameters(int NU, int NV, TDigitisationParameters& UParams, TDigitisationParameters& VParams) {
    UParams = EvenParameters(NU, MinU(), MaxU(), "u");
    VParams = EvenParameters(NV, MinV(), MaxV(), "v");
}

void TSurface::SampleParametersFor(TSamplingPurpose Purpose, int SurfaceCount, TDigitisationParameters& UParams,
                                   TDigitisationParameters& VParams) {
    // Purposes without counts of their own keep the surface's line counts.
    int NU = NumULine();
    int NV = NumVLine();
    SampleCounts(Purpose, SurfaceCount, NU, NV);
    SampleParameters(NU, NV, UParams, VParams);
}

void TSurface::Draw(IGraphics& G) {
    const int m = LinePointCount();
    const double U0 = MinU(), U1 = MaxU(), V0 = MinV(), V1 = MaxV();
    for (int i = 0; i <= NumULine(); ++i) {
        const double u = U0 + (U1 - U0) * (static_cast<double>(i) / NumULine());
        G.LineStartVector(Evaluate(u, V0));
        for (int k = 1; k <= m; ++k) G.LineNextVector(Evaluate(u, V0 + (V1 - V0) * (static_cast<double>(k) / m)));
        G.LineFinish();
    }
    for (int i = 0; i <= NumVLine(); ++i) {
        const double v = V0 + (V1 - V0) * (static_cast<double>(i) / NumVLine());
        G.LineStartVector(Evaluate(U0, v));
        for (int k = 1; k <= m; ++k) G.LineNextVector(Evaluate(U0 + (U1 - U0) * (static_cast<double>(k) / m), v));
        G.LineFinish();
    }
}

void TSurface::DrawControlNet(IGraphics&) {}

std::unique_ptr<TMesh> TSurface::CreateMesh() { return CreateMeshSized(NumULine(), NumVLine()); }

std::unique_ptr<TMesh> TSurface::CreateMeshFor(TSamplingPurpose Purpose, int SurfaceCount) {
    int NU = NumULine();
    int NV = NumVLine();
    SampleCounts(Purpose, SurfaceCount, NU, NV);
    return CreateMeshSized(NU, NV);
}

std::unique_ptr<TMesh> TSurface::CreateMeshSized(int NU, int NV) {
    if (IsPlainMesh()) return static_cast<const TMesh&>(*this).Clone();
    TDigitisationParameters UParams, VParams;
    SampleParameters(NU, NV, UParams, VParams);
    const int CU = static_cast<int>(UParams.size());
    const int CV = static_cast<int>(VParams.size());
    auto Result = std::make_unique<TMesh>(CU, CV);
    // Row by row, so the point list grows at its end.
    for (int j = 0; j < CV; ++j)
        for (int i = 0; i < CU; ++i)
            Result->Point(i, j).SetVector(Evaluate(UParams[static_cast<std::size_t>(i)], VParams[static_cast<std::size_t>(j)]));
    return Result;
}

void TSurface::AddParameterLines(TPolylineList& List, TSamplingPurpose Purpose, int SurfaceCount) {
    if (IsPlainMesh()) {
        const TMesh& Mesh = static_cast<const TMesh&>(*this);
        for (int i = 0; i < Mesh.NumU(); ++i) List.Add(Mesh.GridLine(0, i));
        for (int j = 0; j < Mesh.NumV(); ++j) List.Add(Mesh.GridLine(1, j));
        return;
    }
    TDigitisationParameters UParams, VParams;
    SampleParametersFor(Purpose, SurfaceCount, UParams, VParams);
    const int n = StoredLinePointCount();
    for (const double u : UParams) {
        auto Line = std::make_unique<TPolyline>();
        Line->AddVector(Evaluate(u, 0));
        for (int k = 1; k < n; ++k) Line->AddVector(Evaluate(u, static_cast<double>(k) / (n - 1)));
        List.Add(std::move(Line));
    }
    for (const double v : VParams) {
        auto Line = std::make_unique<TPolyline>();
        Line->AddVector(Evaluate(0, v));
        for (int k = 1; k < n; ++k) Line->AddVector(Evaluate(static_cast<double>(k) / (n - 1), v));
        List.Add(std::move(Line));
    }
}

std::unique_ptr<TPolygonList> TSurface::CreatePolygons() {
    if (IsPlainMesh()) return TriangulateGrid(static_cast<const TMesh&>(*this));
    return CreatePolygonsSized(NumULine(), NumVLine());
}

std::unique_ptr<TPolygonList> TSurface::CreatePolygonsFor(TSamplingPurpose Purpose, int SurfaceCount) {
    if (IsPlainMesh()) return CreatePolygons();
    auto Mesh = CreateMeshFor(Purpose, SurfaceCount);
    // Calculation sections see coordinates on the 0.001 grid.
    if (Purpose == 8) Mesh->RoundPoints();
    return TriangulateGrid(*Mesh);
}

std::unique_ptr<TPolygonList> TSurface::CreatePolygonsSized(int NU, int NV) {
    if (IsPlainMesh()) return CreatePolygons();
    return TriangulateGrid(*CreateMeshSized(NU, NV));
}

TMBox TSurface::GetExtents() const { return EmptyBox; }

// ---- TMesh ----

// Not through the virtual SetSize: a derived class's override cannot run before it is constructed,
// so derived constructors call their own.
TMesh::TMesh(int ANumU, int ANumV) : FNumU(ANumU), FNumV(ANumV) {}

TMesh::~TMesh() = default;

void TMesh::SetSize(int ANumU, int ANumV) { StoreSize(ANumU, ANumV); }

void TMesh::CheckNetIndex(int I, int J) const {
    // An index off the net would reach a point of another line, or grow the list with stray points.
    if (I < 0 || I >= FNumU || J < 0 || J >= FNumV)
        throw EError(Format("TMesh.Point - Index (%d, %d) outside the net of %d x %d points", {I, J, FNumU, FNumV}));
}

TRPoint& TMesh::Point(int I, int J) {
    CheckNetIndex(I, J);
    const long long K = I + static_cast<long long>(J) * FNumU;
    if (K > INT_MAX || K < INT_MIN) IndexError(K);
    return PointByIndex(static_cast<int>(K));
}

TRPoint& TMesh::PointByIndex(int K) {
    if (K < 0) IndexError(K);
    while (PointCount() <= K) FPoints.push_back(std::make_unique<TRPoint>());
    return *FPoints[static_cast<std::size_t>(K)];
}

const TRPoint& TMesh::Point(int I, int J) const {
    CheckNetIndex(I, J);
    const long long K = I + static_cast<long long>(J) * FNumU;
    if (K > INT_MAX || K < INT_MIN) IndexError(K);
    return PointByIndex(static_cast<int>(K));
}

const TRPoint& TMesh::PointByIndex(int K) const {
    static const TRPoint Default;
    if (K < 0) IndexError(K);
    return K < PointCount() ? *FPoints[static_cast<std::size_t>(K)] : Default;
}

void TMesh::SetPoint(int I, int J, const TRPoint& Source) { Point(I, J).Assign(Source); }

void TMesh::Assign(const TMesh& Other) {
    if (&Other == this) return;
    Clear();
    StoreSize(Other.NumU(), Other.NumV());
    for (int J = 0; J < FNumV; ++J)
        for (int I = 0; I < FNumU; ++I) SetPoint(I, J, Other.Point(I, J));
}

std::unique_ptr<TMesh> TMesh::Clone() const {
    auto Result = std::make_unique<TMesh>(0, 0);
    Result->Assign(*this);
    return Result;
}

std::unique_ptr<TMesh> TMesh::CreateTransformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TMesh>(FNumU, FNumV);
    for (int J = 0; J < FNumV; ++J)
        for (int I = 0; I < FNumU; ++I) Result->SetPoint(I, J, *Point(I, J).Transformed(M));
    return Result;
}

void TMesh::FillGrid() {
    const long long Size = static_cast<long long>(FNumU) * FNumV;
    if (Size > 0) Point(FNumU - 1, FNumV - 1);
}

void TMesh::AppendU() {
    FillGrid();
    // From the last row back, so the earlier insertion points stay where they were.
    for (int j = FNumV; j >= 1; --j)
        FPoints.insert(FPoints.begin() + static_cast<std::ptrdiff_t>(j) * FNumU, std::make_unique<TRPoint>());
    ++FNumU;
}

void TMesh::AppendV() {
    FillGrid();
    const std::ptrdiff_t End = static_cast<std::ptrdiff_t>(FNumU) * std::max(FNumV, 0);
    for (int i = 0; i < FNumU; ++i) FPoints.insert(FPoints.begin() + End + i, std::make_unique<TRPoint>());
    ++FNumV;
}

template <typename F>
void TMesh::Rebuild(int NewU, int NewV, F Source) {
    std::vector<std::unique_ptr<TRPoint>> Points;
    Points.reserve(static_cast<std::size_t>(std::max(NewU, 0)) * static_cast<std::size_t>(std::max(NewV, 0)));
    for (int J = 0; J < NewV; ++J)
        for (int I = 0; I < NewU; ++I) {
            auto P = std::make_unique<TRPoint>();
            if (const TRPoint* S = Source(I, J)) P->Assign(*S);
            Points.push_back(std::move(P));
        }
    FPoints = std::move(Points);
    StoreSize(NewU, NewV);
}

void TMesh::InsertU(int Index) {
    if (!(Index > 0 && Index < FNumU)) return;
    const TMesh& Old = *this;
    std::vector<TRPoint> Middle;
    for (int J = 0; J < FNumV; ++J) Middle.push_back(*Old.Point(Index - 1, J).MidPoint(Old.Point(Index, J)));
    Rebuild(FNumU + 1, FNumV, [&](int I, int J) -> const TRPoint* {
        if (I == Index) return &Middle[static_cast<std::size_t>(J)];
        return &Old.Point(I < Index ? I : I - 1, J);
    });
}

void TMesh::InsertV(int Index) {
    if (!(Index > 0 && Index < FNumV)) return;
    const TMesh& Old = *this;
    std::vector<TRPoint> Middle;
    for (int I = 0; I < FNumU; ++I) Middle.push_back(*Old.Point(I, Index - 1).MidPoint(Old.Point(I, Index)));
    Rebuild(FNumU, FNumV + 1, [&](int I, int J) -> const TRPoint* {
        if (J == Index) return &Middle[static_cast<std::size_t>(I)];
        return &Old.Point(I, J < Index ? J : J - 1);
    });
}

void TMesh::DeleteU(int Index) {
    if (!(Index >= 0 && Index <= FNumU - 1)) return;
    const TMesh& Old = *this;
    Rebuild(FNumU - 1, FNumV, [&](int I, int J) { return &Old.Point(I < Index ? I : I + 1, J); });
}

void TMesh::DeleteV(int Index) {
    if (!(Index >= 0 && Index <= FNumV - 1)) return;
    const TMesh& Old = *this;
    Rebuild(FNumU, FNumV - 1, [&](int I, int J) { return &Old.Point(I, J < Index ? J : J + 1); });
}

void TMesh::ReverseU() {
    const TMesh& Old = *this;
    Rebuild(FNumU, FNumV, [&](int I, int J) { return &Old.Point(FNumU - 1 - I, J); });
}

void TMesh::ReverseV() {
    const TMesh& Old = *this;
    Rebuild(FNumU, FNumV, [&](int I, int J) { return &Old.Point(I, FNumV - 1 - J); });
}

void TMesh::SwapUV() {
    const TMesh& Old = *this;
    Rebuild(FNumV, FNumU, [&](int I, int J) { return &Old.Point(J, I); });
}

std::unique_ptr<TPolyline> TMesh::GridLine(int Direction, int Index) const {
    auto Result = std::make_unique<TPolyline>();
    if (Direction == 0)
        for (int J = 0; J < FNumV; ++J) Result->AddPointCopy(&Point(Index, J));
    else if (Direction == 1)
        for (int I = 0; I < FNumU; ++I) Result->AddPointCopy(&Point(I, Index));
    return Result;
}

std::unique_ptr<TPolyline> TMesh::EdgePolyline(int Code) const {
    switch (Code) {
        case 0: return GridLine(0, 0);
        case 1: return GridLine(1, 0);
        case 2: return GridLine(0, FNumU - 1);
        default: return GridLine(1, FNumV - 1);
    }
}

std::unique_ptr<TPolylineList> TMesh::GridLines(bool AlongU) const {
    auto Result = std::make_unique<TPolylineList>();
    if (AlongU)
        for (int J = 0; J < FNumV; ++J) Result->Add(GridLine(1, J));
    else
        for (int I = 0; I < FNumU; ++I) Result->Add(GridLine(0, I));
    return Result;
}

std::unique_ptr<TPolylineList> TMesh::CreateParameterLines() {
    auto Result = std::make_unique<TPolylineList>();
    AddParameterLines(*Result, 0, 1);
    return Result;
}

void TMesh::RoundPoints() {
    for (auto& P : FPoints) P->SetXYZ(RoundToThousandth(P->X), RoundToThousandth(P->Y), RoundToThousandth(P->Z));
}

void TMesh::Draw(IGraphics& G) {
    if (FNumU <= 0 || FNumV <= 0) return;
    const TMesh& Grid = *this;
    for (int I = 0; I < FNumU; ++I) {
        G.LineStartPoint(Grid.Point(I, 0));
        for (int J = 1; J < FNumV; ++J) G.LineNextPoint(Grid.Point(I, J));
        G.LineFinish();
    }
    for (int J = 0; J < FNumV; ++J) {
        G.LineStartPoint(Grid.Point(0, J));
        for (int I = 1; I < FNumU; ++I) G.LineNextPoint(Grid.Point(I, J));
        G.LineFinish();
    }
}

TMBox TMesh::GetExtents() const {
    TMBox B = EmptyBox;
    for (int J = 0; J < FNumV; ++J)
        for (int I = 0; I < FNumU; ++I) Point(I, J).AddToBox(B);
    return B;
}

void TMesh::SaveToText(TTextWriter& F) const {
    F.WriteLine("NumU=" + IntToStr(FNumU));
    F.WriteLine("NumV=" + IntToStr(FNumV));
    for (int I = 0; I < FNumU; ++I)
        for (int J = 0; J < FNumV; ++J) {
            const TRPoint& P = Point(I, J);
            F.WriteLine(FormatWithPoint("%13.6f %13.6f %13.6f %10.3f", {P.X, P.Y, P.Z, P.W}));
        }
}

void TMesh::CheckLoadedSize(int, int) const {}

void TMesh::LoadFromText(TTextReader& F) {
    const int NU = ReadCount(F.ReadLine(), "Error in field Mesh.NumU");
    const int NV = ReadCount(F.ReadLine(), "Error in field Mesh.NumV");
    CheckLoadedSize(NU, NV);
    // Grows with the text read, never with the counts.
    std::vector<std::array<double, 4>> Values;
    for (int I = 0; I < NU; ++I)
        for (int J = 0; J < NV; ++J) {
            std::array<double, 4> V;
            for (double& x : V) x = F.ReadReal();
            F.SkipLine();
            Values.push_back(V);
        }
    StoreSize(NU, NV);
    std::size_t k = 0;
    for (int I = 0; I < NU; ++I)
        for (int J = 0; J < NV; ++J, ++k) {
            TRPoint& P = Point(I, J);
            P.SetXYZ(Values[k][0], Values[k][1], Values[k][2]);
            P.W = Values[k][3];
        }
}

double RoundToThousandth(double X) {
    const double r = std::trunc(X / 0.001) * 0.001;
    if (std::fabs(r - X) <= 0.0005) return r;
    return r + Sign(X - r) * 0.001;
}

}  // namespace sarnova
