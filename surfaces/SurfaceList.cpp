#include "surfaces/SurfaceList.h"

#include <string>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

void CheckIndex(int Index, int Count) {
    if (Index < 0 || Index >= Count) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

// The list display settings every surface gets when it enters a list through AddSurface.
void SetListDisplay(TBSplineSurface& S) {
    S.SetNumULine(5);
    S.SetNumVLine(5);
    S.SetLinePointCount(10);
}

TBSplineSurface& BSplineItem(const TSurfaces& List, int Index, const char* Routine) {
    TBSplineSurface* S = List.BSplineSurface(Index);
    if (!S) throw EGeometryError(Format("%s - Surface %d is not a B-spline surface", {Routine, Index}));
    return *S;
}

}  // namespace

TSurfaces::~TSurfaces() = default;

TSurface* TSurfaces::Surface(int Index) const {
    CheckIndex(Index, Count());
    return FItems[static_cast<std::size_t>(Index)].Surface;
}

TBSplineSurface* TSurfaces::BSplineSurface(int Index) const { return dynamic_cast<TBSplineSurface*>(Surface(Index)); }

int TSurfaces::Add(TSurface* S) {
    FItems.push_back({S, nullptr});
    return Count() - 1;
}

int TSurfaces::Add(std::unique_ptr<TSurface> S) {
    TSurface* P = S.get();
    FItems.push_back({P, std::move(S)});
    return Count() - 1;
}

int TSurfaces::AddSurface(TBSplineSurface* S) {
    if (S) SetListDisplay(*S);
    return Add(static_cast<TSurface*>(S));
}

int TSurfaces::AddSurface(std::unique_ptr<TBSplineSurface> S) {
    if (S) SetListDisplay(*S);
    return Add(std::unique_ptr<TSurface>(std::move(S)));
}

void TSurfaces::Delete(int Index) {
    CheckIndex(Index, Count());
    FItems.erase(FItems.begin() + Index);
}

void TSurfaces::Clear() { FItems.clear(); }

void TSurfaces::AddCopies(const TSurfaces& Other) {
    // Copies first, so a failure leaves this list as it was (and Other may be this list).
    std::vector<std::unique_ptr<TBSplineSurface>> Copies;
    for (int i = 0; i < Other.Count(); ++i) Copies.push_back(CloneBSplineSurface(BSplineItem(Other, i, "TSurfaces.AddCopies")));
    for (auto& S : Copies) AddSurface(std::move(S));
}

void TSurfaces::AssignCopies(const TSurfaces& Other) {
    if (&Other == this) return;
    Clear();
    AddCopies(Other);
}

TMBox TSurfaces::GetExtents() const {
    TMBox B = EmptyBox;
    for (const TItem& Item : FItems)
        if (Item.Surface) B = UniteBoxes(B, Item.Surface->GetExtents());
    return B;
}

std::unique_ptr<TPolygonList> TSurfaces::CreatePolygons() const { return CreatePolygonsFor(0); }

std::unique_ptr<TPolygonList> TSurfaces::CreatePolygonsFor(TSamplingPurpose Purpose) const {
    auto Result = std::make_unique<TPolygonList>();
    for (const TItem& Item : FItems)
        if (Item.Surface) Result->TakeFrom(*Item.Surface->CreatePolygonsFor(Purpose, Count()));
    return Result;
}

void TSurfaces::SaveToText(TTextWriter& F) const {
    F.WriteLine("NumSurfaces=" + IntToStr(Count()));
    for (int i = 0; i < Count(); ++i) {
        const TMesh* Mesh = dynamic_cast<const TMesh*>(Surface(i));
        if (!Mesh) throw EGeometryError(Format("TSurfaces.SaveToText - Surface %d has no text form", {i}));
        Mesh->SaveToText(F);
    }
}

std::unique_ptr<TBSplineSurfaceList> TBSplineSurfaceList::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TBSplineSurfaceList>();
    for (int i = 0; i < Count(); ++i)
        Result->AddSurface(BSplineItem(*this, i, "TBSplineSurfaceList.Transformed").CreateTransformed(M));
    return Result;
}

void TBSplineSurfaceList::LoadFromText(TTextReader& F) {
    const int N = StrToInt(Trim(TextAfterKeyword("=", F.ReadLine())));
    for (int i = 0; i < N; ++i) {
        auto S = std::make_unique<TBSplineSurface>(4, 4);
        S->LoadFromText(F);
        AddSurface(std::move(S));
    }
}

}  // namespace sarnova
