#include "foundation/Polygon.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Graphics.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// A corner the facet does not have counts as the origin, as in the facet measures.
TMVector CornerAt(const TPolygon& F, int Index) {
    const TFacetCorner* P = F.Corner(Index);
    return P ? P->Vector() : ZeroVector;
}

// One of the two triangles of a quadrilateral: a fresh facet with copies of corners A, B and C and
// the quadrilateral's selection flag.
std::unique_ptr<TPolygon> QuadTriangle(const TPolygon& Q, int A, int B, int C) {
    auto T = std::make_unique<TPolygon>(0);
    const int From[3] = {A, B, C};
    for (int I = 0; I < 3; ++I)
        if (Q.Corner(From[I])) T->AssignCorner(I, Q.CornerPoint(From[I]));
    T->Selected = Q.Selected;
    return T;
}

bool IsQuad(const TPolygon& F) { return F.GetShape() == 1; }

}  // namespace

TPolygonList::~TPolygonList() { TPolygonList::Clear(); }

int TPolygonList::Add(std::unique_ptr<TPolygon> F) {
    FItems.push_back(F.get());
    F.release();
    return Count() - 1;
}

void TPolygonList::Delete(int Index) {
    TPolygon* F = Polygon(Index);
    TPolygons::Delete(Index);
    delete F;
}

void TPolygonList::Clear() {
    for (TPolygon* F : FItems) delete F;
    FItems.clear();
}

void TPolygonList::Assign(const TPolygonList& Other) {
    if (&Other == this) return;
    Clear();
    ShowNormals = Other.ShowNormals;
    AddCopies(&Other);
}

std::unique_ptr<TPolygonList> TPolygonList::Clone() const {
    auto Result = std::make_unique<TPolygonList>();
    Result->Assign(*this);
    return Result;
}

void TPolygonList::AddCopies(const TPolygonList* Other) {
    if (!Other) return;
    // By index and count taken first: copying a list into itself doubles it.
    const int N = Other->Count();
    FItems.reserve(FItems.size() + static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I) Add(CopyPolygon(*Other->FItems[static_cast<std::size_t>(I)]));
}

void TPolygonList::TakeFrom(TPolygonList& L) {
    if (&L == this) return;
    FItems.reserve(FItems.size() + L.FItems.size());
    for (auto It = L.FItems.rbegin(); It != L.FItems.rend(); ++It) FItems.push_back(*It);
    L.FItems.clear();
}

void TPolygonList::MoveFacetsTo(const std::vector<bool>& Take, TPolygonList& Target) {
    if (&Target == this) return;
    std::size_t Kept = 0;
    for (std::size_t I = 0; I < FItems.size(); ++I) {
        if (I < Take.size() && Take[I])
            Target.FItems.push_back(FItems[I]);
        else
            FItems[Kept++] = FItems[I];
    }
    FItems.resize(Kept);
}

std::unique_ptr<TPolygonList> TPolygonList::TriangulatedCopy() const {
    auto Result = std::make_unique<TPolygonList>();
    Result->ShowNormals = ShowNormals;
    Result->FItems.reserve(FItems.size());
    for (const TPolygon* F : FItems) {
        if (IsQuad(*F)) {
            Result->Add(QuadTriangle(*F, 0, 1, 2));
            Result->Add(QuadTriangle(*F, 0, 2, 3));
        } else {
            Result->Add(CopyPolygon(*F));
        }
    }
    return Result;
}

void TPolygonList::Triangulate() {
    SplitQuadrilaterals([](const TPolygon& F) { return QuadTriangle(F, 0, 2, 3); },
                        [](TPolygon& F) { F.Assign(*QuadTriangle(F, 0, 1, 2)); });
}

void TPolygonList::SplitQuadrilaterals(const std::function<std::unique_ptr<TPolygon>(const TPolygon&)>& Second,
                                       const std::function<void(TPolygon&)>& First) {
    // The second triangles are made first, so that running out of memory leaves the list untouched;
    // the list is then rebuilt in one pass instead of inserting into the middle once per quadrilateral.
    std::vector<std::unique_ptr<TPolygon>> Seconds;
    for (const TPolygon* F : FItems)
        if (IsQuad(*F)) Seconds.push_back(Second(*F));
    if (Seconds.empty()) return;
    std::vector<TPolygon*> Items;
    Items.reserve(FItems.size() + Seconds.size());
    auto Next = Seconds.begin();
    for (TPolygon* F : FItems) {
        Items.push_back(F);
        if (!IsQuad(*F)) continue;
        First(*F);
        Items.push_back((Next++)->release());
    }
    FItems = std::move(Items);
}

void TPolygonList::ReplaceByTriangles() {
    auto Triangles = TriangulatedCopy();
    std::swap(FItems, Triangles->FItems);
}

std::unique_ptr<TPolygonList> TPolygonList::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TPolygonList>();
    Result->ShowNormals = ShowNormals;
    Result->FItems.reserve(FItems.size());
    for (const TPolygon* F : FItems) Result->Add(TransformedPolygon(*F, M));
    return Result;
}

void TPolygonList::FlipNormals() {
    for (TPolygon* F : FItems) FlipPolygon(*F);
}

TMBox TPolygonList::Extents() const {
    TMBox Box = EmptyBox;
    for (const TPolygon* F : FItems)
        for (int I = 0; I < F->CornerCount(); ++I) ExtendBoxByVector(CornerAt(*F, I), Box);
    return Box;
}

int TPolygonList::SelectedCount() const {
    return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const TPolygon* F) { return F->Selected; }));
}

std::unique_ptr<TPolygons> TPolygonList::SelectedPolygons() const {
    auto Result = std::make_unique<TPolygons>();
    for (TPolygon* F : FItems)
        if (F->Selected) Result->Add(F);
    return Result;
}

void TPolygonList::Draw(IGraphics& G) const {
    if (FItems.empty()) return;
    double Size = 0;
    if (ShowNormals) {
        const TMBox Box = Extents();
        Size = 0.01 * std::max({Box.Max.X - Box.Min.X, Box.Max.Y - Box.Min.Y, Box.Max.Z - Box.Min.Z, 0.0});
    }
    for (const TPolygon* F : FItems) {
        const int N = F->CornerCount();
        for (int I = 0; I < N; ++I) {
            const TMVector A = CornerAt(*F, I);
            const TMVector B = CornerAt(*F, (I + 1) % N);
            G.Line(A.X, A.Y, A.Z, B.X, B.Y, B.Z);
        }
        if (!ShowNormals) continue;
        G.VectorPoints(TRPoint(PolygonCentroid(*F)), TRPoint(PolygonNormal(*F)), Size, true);
        if (!PolygonHasNormals(*F)) continue;
        for (int I = 0; I < 3; ++I) {
            const TMVector A = CornerAt(*F, I);
            const TMVector B = VectorAdd(A, VectorScale(*F->Normal(I), Size));
            G.Line(A.X, A.Y, A.Z, B.X, B.Y, B.Z);
        }
    }
}

void TPolygonList::DrawFilled(IGraphics& G) const {
    for (const TPolygon* F : FItems) G.Polygon(*F);
}

void TPolygonList::SaveToText(TTextWriter& Out) const {
    std::string Text = "NumberofPolygons=" + std::to_string(Count()) + "\n";
    for (const TPolygon* F : FItems) F->SaveToText(Text);
    Out.Write(Text);
}

void TPolygonList::LoadFromText(TTextReader& In) {
    const std::string Line = In.ReadLine();
    const std::size_t Equals = Line.find('=');
    const std::string_view Number = std::string_view(Line).substr(Equals == std::string::npos ? 0 : Equals + 1, 255);
    const int N = StrToInt(Number);
    for (int I = 0; I < N; ++I) {
        if (In.Eof()) throw EInOutError("I/O Result 100");
        auto F = std::make_unique<TPolygon>();
        F->LoadFromText(In.ReadLine());
        Add(std::move(F));
    }
}

std::unique_ptr<TPolygonList> ClipPolygonsByPlane(const TPolygonList& Mesh, int Side, const TMPlane& Plane) {
    TMPlane Kept = Plane;
    if (Side == 1) Kept = {VectorNegate(Plane.Normal), -Plane.Distance};
    auto Result = std::make_unique<TPolygonList>();
    auto Clip = [&](const TPolygon& T) {
        if (auto Part = ClippedPolygonArea(T, Kept)) Result->Add(std::move(Part));
    };
    auto Below = [&Kept](const TMVector& P) { return VectorDot(Kept.Normal, P) - Kept.Distance <= -DefaultTolerance; };
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TPolygon& F = *Mesh.Polygon(I);
        // The clip decides by the first three corners only, so a quadrilateral is clipped as its two
        // triangles; one wholly below is kept whole, with its normals, and split below like the rest.
        if (IsQuad(F) && !(Below(CornerAt(F, 0)) && Below(CornerAt(F, 1)) && Below(CornerAt(F, 2)) &&
                           Below(CornerAt(F, 3)))) {
            Clip(*QuadTriangle(F, 0, 1, 2));
            Clip(*QuadTriangle(F, 0, 2, 3));
        } else {
            Clip(F);
        }
    }
    Result->Triangulate();
    return Result;
}

}  // namespace sarnova
