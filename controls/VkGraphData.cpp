#include "controls/VkGraphData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/VkMaths.h"
#include "controls/VkGraphCore.h"

namespace sarnova {

namespace {

[[noreturn]] void ListIndexError(int Index) { throw EError(Format("List index out of bounds (%d)", {Index})); }

// The point of segment A -> B (data) nearest to pixel P, with its squared pixel distance.
TSeriesQueryResult QuerySegment(const TVkGraphCore& Graph, const TVkDataPoint& A, const TVkDataPoint& B, TPoint P) {
    const TPoint a = Graph.WorldToScreen(A.GetX(), A.GetY());
    const TPoint b = Graph.WorldToScreen(B.GetX(), B.GetY());
    TSeriesQueryResult R;
    const double DX = static_cast<double>(b.X) - a.X;
    const double DY = static_cast<double>(b.Y) - a.Y;
    double T = 0;
    bool IsPoint = false;
    if (std::abs(DY) > 1e-4 || std::abs(DX) > 1e-4) {
        // The foot of the perpendicular from P on the line through a and b.
        const double Length = std::hypot(DX, DY);
        const double NX = -DY / Length, NY = DX / Length;
        const double Offset = NX * P.X + NY * P.Y - (NX * a.X + NY * a.Y);
        const double FX = P.X - NX * Offset, FY = P.Y - NY * Offset;
        T = std::abs(DY) > 1e-4 ? (FY - a.Y) / DY : (FX - a.X) / DX;
        T = std::clamp(T, 0.0, 1.0);
    } else {
        IsPoint = true;
    }
    if (IsPoint) {
        R.ScreenX = a.X;
        R.ScreenY = a.Y;
        R.X = A.GetX();
        R.Y = A.GetY();
    } else {
        R.ScreenX = GraphPixel((1 - T) * a.X + T * b.X);
        R.ScreenY = GraphPixel((1 - T) * a.Y + T * b.Y);
        R.X = (1 - T) * A.GetX() + T * B.GetX();
        R.Y = (1 - T) * A.GetY() + T * B.GetY();
    }
    const std::int64_t EX = std::int64_t{R.ScreenX} - P.X;
    const std::int64_t EY = std::int64_t{R.ScreenY} - P.Y;
    R.SquaredDistance = static_cast<double>(EX * EX + EY * EY);
    return R;
}

}  // namespace

// ---- Free routines ----

TGraphExtents UnionExtents(const TGraphExtents& A, const TGraphExtents& B) {
    return {std::min(A.MinX, B.MinX), std::min(A.MinY, B.MinY), std::max(A.MaxX, B.MaxX), std::max(A.MaxY, B.MaxY)};
}

void ExtendExtents(TGraphExtents& E, double X, double Y) {
    E.MinX = std::min(E.MinX, X);
    E.MinY = std::min(E.MinY, Y);
    E.MaxX = std::max(E.MaxX, X);
    E.MaxY = std::max(E.MaxY, Y);
}

std::string PointTypeToName(int PointType) {
    switch (PointType) {
        case ptCircle: return "Circle";
        case ptSquare: return "Square";
        case ptTriangle: return "Triangle";
        default: return "None";
    }
}

std::uint8_t NameToPointType(std::string_view Name) {
    const std::string Upper = UpperCase(Name);
    if (Upper.find("CIRCLE") != std::string::npos) return ptCircle;
    if (Upper.find("SQUARE") != std::string::npos) return ptSquare;
    if (Upper.find("TRIANGLE") != std::string::npos) return ptTriangle;
    return ptNone;
}

int ComparePointsByX(const TVkDataPoint& A, const TVkDataPoint& B) {
    return A.GetX() < B.GetX() ? -1 : A.GetX() > B.GetX() ? 1 : 0;
}

double NiceStep(double Range) { return NiceNumber(NiceNumber(Range, false) / 9, true); }

// ---- TVkDataPoint ----

void TVkDataPoint::SetX(double Value) {
    X = Value;
    Changed();
}

void TVkDataPoint::SetY(double Value) {
    Y = Value;
    Changed();
}

void TVkDataPoint::Changed() {
    if (Series != nullptr) Series->Changed(this);
}

// ---- TVkSeries ----

TVkSeries::~TVkSeries() { FreePoints(); }

void TVkSeries::FreePoints() {
    Points.clear();
    Extents = {};
}

TVkDataPoint& TVkSeries::GetPoint(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return *Points[static_cast<std::size_t>(Index)];
}

TVkDataPoint& TVkSeries::AddXY(double X, double Y) { return AppendPoint(std::make_unique<TVkDataPoint>(X, Y)); }

TVkDataPoint& TVkSeries::AddPoint() { return AppendPoint(std::make_unique<TVkDataPoint>()); }

TVkDataPoint& TVkSeries::AppendPoint(std::unique_ptr<TVkDataPoint> Point) {
    Point->Series = this;
    TVkDataPoint& Result = *Point;
    Points.push_back(std::move(Point));
    if (SeriesList != nullptr && !SeriesList->GetUpdating()) RecalcExtents();
    Changed(this);
    return Result;
}

void TVkSeries::SetName(const std::string& Value) {
    Name = Value;
    Changed(this);
}

void TVkSeries::SetColor(TColor Value) {
    Color = Value;
    Changed(this);
}

void TVkSeries::SetPointType(std::uint8_t Value) {
    PointType = Value;
    Changed(this);
}

void TVkSeries::SetLineWidth(int Value) {
    LineWidth = Value;
    Changed(this);
}

TVkGraphCore* TVkSeries::GetGraph() const { return SeriesList != nullptr ? SeriesList->GetGraph() : nullptr; }

void TVkSeries::Clear() {
    FreePoints();
    Changed(this);
}

void TVkSeries::AssignSeries(const TVkSeries& Source) {
    Name = Source.Name;
    Color = Source.Color;
    PointType = Source.PointType;
    // Counted first: a series may be assigned to itself and then doubles its points.
    const int N = Source.Count();
    for (int I = 0; I < N; ++I) {
        const TVkDataPoint& P = Source.GetPoint(I);
        AddXY(P.GetX(), P.GetY());
    }
    Update();
    Changed(this);
}

std::unique_ptr<TVkSeries> CloneSeries(const TVkSeries& Source) {
    auto Result = std::make_unique<TVkSeries>();
    Result->AssignSeries(Source);
    return Result;
}

void TVkSeries::Update() {
    if (AutoSort) Sort();
    RecalcExtents();
}

void TVkSeries::Changed(TVkChartObject* Sender) {
    if (SeriesList != nullptr) SeriesList->Notify(Sender);
}

void TVkSeries::Sort() {
    std::sort(Points.begin(), Points.end(),
              [](const auto& A, const auto& B) { return ComparePointsByX(*A, *B) < 0; });
}

void TVkSeries::RecalcExtents() {
    Extents = EmptyExtents;
    for (const auto& P : Points) ExtendExtents(Extents, P->GetX(), P->GetY());
}

TSeriesQueryResult TVkSeries::Query(TPoint Pixel) const {
    TSeriesQueryResult Result;
    const TVkGraphCore* Graph = GetGraph();
    if (Graph == nullptr) return Result;
    for (int I = 1; I < Count(); ++I) {
        TSeriesQueryResult R = QuerySegment(*Graph, GetPoint(I - 1), GetPoint(I), Pixel);
        if (R.SquaredDistance < Result.SquaredDistance) {
            Result = std::move(R);
            Result.SeriesName = Name;
        }
    }
    return Result;
}

// ---- TVkSeriesList ----

TVkSeriesList::~TVkSeriesList() {
    for (auto& S : Series) S->SeriesList = nullptr;
}

TVkSeries& TVkSeriesList::GetSeries(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return *Series[static_cast<std::size_t>(Index)];
}

TVkSeries& TVkSeriesList::AddSeries(std::unique_ptr<TVkSeries> Value) {
    Value->SeriesList = this;
    TVkSeries& Result = *Value;
    Series.push_back(std::move(Value));
    if (!Updating) {
        Result.Update();
        RecalcExtents();
    }
    Notify(this);
    return Result;
}

TVkSeries& TVkSeriesList::AddNew(const std::string& Name) {
    TVkSeries& Result = AddSeries(std::make_unique<TVkSeries>());
    Result.SetName(Name);
    return Result;
}

void TVkSeriesList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    std::unique_ptr<TVkSeries> Removed = std::move(Series[static_cast<std::size_t>(Index)]);
    Series.erase(Series.begin() + Index);
    Removed->SeriesList = nullptr;
    Removed.reset();
    if (!Updating) RecalcExtents();
    Notify(this);
}

void TVkSeriesList::Clear() {
    std::vector<std::unique_ptr<TVkSeries>> Old = std::move(Series);
    Series.clear();
    for (auto& S : Old) S->SeriesList = nullptr;
    Old.clear();
    Extents = {};
    Notify(this);
}

void TVkSeriesList::EndUpdate() {
    if (!Updating) return;
    Updating = false;
    for (auto& S : Series) S->Update();
    RecalcExtents();
    Notify(this);
}

void TVkSeriesList::RecalcExtents() {
    Extents = EmptyExtents;
    for (const auto& S : Series) Extents = UnionExtents(Extents, S->GetExtents());
}

void TVkSeriesList::Notify(TVkChartObject* Sender) {
    if (Updating) return;
    if (const auto* Point = dynamic_cast<TVkDataPoint*>(Sender)) {
        if (Point->GetSeries() != nullptr) Point->GetSeries()->Update();
        RecalcExtents();
    } else if (dynamic_cast<TVkSeries*>(Sender) != nullptr || dynamic_cast<TVkSeriesList*>(Sender) != nullptr) {
        RecalcExtents();
    }
    if (Graph != nullptr) Graph->Changed(Sender);
}

TSeriesQueryResult TVkSeriesList::Query(TPoint Pixel) const {
    TSeriesQueryResult Result;
    Result.SeriesName = "?notfound?";
    for (const auto& S : Series) {
        TSeriesQueryResult R = S->Query(Pixel);
        if (R.SquaredDistance < Result.SquaredDistance) Result = std::move(R);
    }
    return Result;
}

// ---- TVkAxis ----

double TVkAxis::GetMin() const {
    if (!AutoMin) return Min;
    if (DataMax - DataMin == 0) {
        const double B = NiceStep(2);
        return B == 0 ? 0 : B * std::floor((DataMin - 1) / B);
    }
    if (TickMode == tmTight) return DataMin;
    const double B = NiceStep(DataMax - DataMin);
    return B == 0 ? 0 : B * std::floor(DataMin / B);
}

double TVkAxis::GetMax() const {
    if (!AutoMax) return Max;
    if (DataMin - DataMax == 0) {
        const double B = NiceStep(2);
        return B == 0 ? 0 : B * std::floor((DataMax + 1) / B);
    }
    if (TickMode == tmLoose) {
        const double B = NiceStep(DataMax - DataMin);
        return B == 0 ? 0 : B * std::ceil(DataMax / B);
    }
    return DataMax;
}

double TVkAxis::GetGap() const {
    if (!AutoGap) return Gap;
    const double Range = GetMax() - GetMin();
    return Range != 0 ? NiceStep(Range) : Gap;
}

void TVkAxis::SetMin(double Value) {
    Min = Value;
    AutoMin = false;
    Changed();
}

void TVkAxis::SetMax(double Value) {
    Max = Value;
    AutoMax = false;
    Changed();
}

void TVkAxis::SetGap(double Value) {
    Gap = Value;
    AutoGap = false;
    Changed();
}

void TVkAxis::SetTickMode(TTickMode Value) {
    TickMode = Value;
    Changed();
}

void TVkAxis::SetAutoMin(bool Value) {
    AutoMin = Value;
    Changed();
}

void TVkAxis::SetAutoMax(bool Value) {
    AutoMax = Value;
    Changed();
}

void TVkAxis::SetAutoGap(bool Value) {
    AutoGap = Value;
    Changed();
}

void TVkAxis::SetTitle(const std::string& Value) {
    Title = Value;
    Changed();
}

void TVkAxis::SetGridLines(bool Value) {
    GridLines = Value;
    Changed();
}

void TVkAxis::Changed() {
    if (Graph != nullptr) Graph->Changed(this);
}

}  // namespace sarnova
