#include "entities/PointList.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"

namespace sarnova {

TRPoint* TPointCloud::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + IntToStr(Index) + ")");
    return Points[static_cast<std::size_t>(Index)].get();
}

void TPointCloud::Add(std::unique_ptr<TRPoint> P) {
    if (P) Points.push_back(std::move(P));
}

void TPointCloud::AddXYZ(double X, double Y, double Z) { Points.push_back(NewRPoint(X, Y, Z)); }

void TPointCloud::AddPolyline(const TPolyline& Polyline) {
    for (int I = 0; I < Polyline.Count(); ++I) Points.push_back(Polyline.Point(I)->Clone());
}

void TPointCloud::AssignPolyline(const TPolyline& Polyline) {
    Clear();
    AddPolyline(Polyline);
}

void TPointCloud::Delete(int Index) {
    Items(Index);
    Points.erase(Points.begin() + Index);
}

void TPointCloud::Assign(const TPointCloud& Other) {
    if (&Other == this) return;
    Clear();
    for (const auto& P : Other.Points) Points.push_back(P->Clone());
}

std::unique_ptr<TPointCloud> TPointCloud::Clone() const {
    auto Copy = std::make_unique<TPointCloud>();
    Copy->Assign(*this);
    return Copy;
}

std::unique_ptr<TPointCloud> TPointCloud::Transformed(const TMMatrix& M) const {
    auto Copy = std::make_unique<TPointCloud>();
    for (const auto& P : Points) Copy->Points.push_back(P->Transformed(M));
    return Copy;
}

void TPointCloud::Draw(IGraphics& View) const {
    for (const auto& P : Points) View.EditHandlePoint(*P, 2);
}

void TPointCloud::SaveToText(TTextWriter& Out) const {
    Out.WriteLine("NumPoints=" + IntToStr(Count()));
    for (const auto& P : Points) Out.WriteLine(FormatWithPoint("%10.3f %10.3f %10.3f", {P->X, P->Y, P->Z}));
}

void TPointCloud::LoadFromText(TTextReader& In) {
    const std::string Line = In.ReadLine();
    const std::size_t Equals = Line.find('=');
    const std::size_t Start = Equals == std::string::npos ? 0 : Equals + 1;
    int N = 0;
    if (!TryStrToInt(Trim(std::string_view(Line).substr(std::min(Start, Line.size()), 255)), N) || N < 0)
        throw EGeometryError("Error in field PointList.NumPoints");
    // One point per line, appended as read: a count larger than the text holds ends at the reader's
    // end-of-file error instead of allocating for it.
    for (int I = 0; I < N; ++I) {
        const double X = In.ReadReal();
        const double Y = In.ReadReal();
        const double Z = In.ReadReal();
        In.SkipLine();
        AddXYZ(X, Y, Z);
    }
}

std::unique_ptr<TPolyline> TPointCloud::PolylineThrough() const {
    auto Result = std::make_unique<TPolyline>();
    const int N = Count();
    for (int I = 0; I < N && I < 2; ++I) Result->AddPointCopy(Points[static_cast<std::size_t>(I)].get());
    for (int I = 2; I < N; ++I) Result->InsertNearest(*Points[static_cast<std::size_t>(I)]);
    return Result;
}

}  // namespace sarnova
