#include "foundation/Polygon.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "foundation/BitMix.h"
#include "foundation/Graphics.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// A corner the facet does not have counts as the origin, as in the facet measures.
template <class TFacet>
TMVector CornerAt(const TFacet& F, int Index) {
    const TFacetCorner* P = F.Corner(Index);
    return P ? P->Vector() : ZeroVector;
}

// One of the two triangles of a quadrilateral: a fresh facet with copies of corners A, B and C and
// the quadrilateral's selection flag.
template <class TFacet>
std::unique_ptr<TPolygon> QuadTriangle(const TFacet& Q, int A, int B, int C) {
    auto T = std::make_unique<TPolygon>(0);
    const int From[3] = {A, B, C};
    for (int I = 0; I < 3; ++I)
        if (Q.Corner(From[I])) T->AssignCorner(I, Q.CornerPoint(From[I]));
    T->Selected = Q.GetSelected();
    return T;
}

template <class TFacet>
bool IsQuad(const TFacet& F) { return F.GetShape() == 1; }

std::uint64_t Bits(double V) { return std::bit_cast<std::uint64_t>(V); }

std::uint64_t PositionHash(const TFacetCorner& P) { return MixBits(MixBits(MixBits(Bits(P.X)) ^ Bits(P.Y)) ^ Bits(P.Z)); }

// The same position bit for bit: only such corners share a vertex, so a corner reads back exactly.
bool SamePosition(const TFacetCorner& A, const TFacetCorner& B) {
    return Bits(A.X) == Bits(B.X) && Bits(A.Y) == Bits(B.Y) && Bits(A.Z) == Bits(B.Z);
}

}  // namespace

// ---- Storage ----

TPolygonList::TPolygonList() = default;

TPolygonList::~TPolygonList() = default;

void TPolygonList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

TFacetRef TPolygonList::Polygon(int Index) const {
    CheckIndex(Index);
    return TFacetRef(*this, Index);
}

TFacetRef TPolygonList::First() const { return Polygon(0); }

TFacetRef TPolygonList::Last() const { return Polygon(Count() - 1); }

void TPolygonList::GrowVertexTable() {
    // Never more than three quarters full.
    const std::size_t Size = std::bit_ceil(std::max<std::size_t>(64, FStore.Vertices.size() * 4 / 3 + 1));
    FStore.VertexTable.assign(Size, NoVertex);
    const std::size_t Mask = Size - 1;
    for (std::size_t V = 0; V < FStore.Vertices.size(); ++V) {
        std::size_t S = PositionHash(FStore.Vertices[V]) & Mask;
        while (FStore.VertexTable[S] != NoVertex) S = (S + 1) & Mask;
        FStore.VertexTable[S] = static_cast<std::uint32_t>(V);
    }
}

std::uint32_t TPolygonList::Intern(const TFacetCorner& P) {
    // Neighbouring facets share corners: the corners of the last facet added, and a small table of
    // positions met lately, answer most calls without a miss in the large table.
    if (!FStore.Records.empty())
        for (const std::uint32_t V : FStore.Records.back().Vertex)
            if (V != NoVertex && SamePosition(FStore.Vertices[V], P)) return V;
    const std::uint64_t Hash = PositionHash(P);
    std::uint32_t& Recent = FStore.Recent[(Hash >> 40) % FStore.Recent.size()];
    if (Recent != 0 && SamePosition(FStore.Vertices[Recent - 1], P)) return Recent - 1;
    if (4 * (FStore.Vertices.size() + 1) > 3 * FStore.VertexTable.size()) GrowVertexTable();
    const std::size_t Mask = FStore.VertexTable.size() - 1;
    for (std::size_t S = Hash & Mask;; S = (S + 1) & Mask) {
        const std::uint32_t V = FStore.VertexTable[S];
        if (V == NoVertex) {
            if (FStore.Vertices.size() >= NoVertex) throw EGeometryError("TPolygonList - Too many corners");
            FStore.VertexTable[S] = static_cast<std::uint32_t>(FStore.Vertices.size());
            FStore.Vertices.push_back(P);
            Recent = FStore.VertexTable[S] + 1;
            return FStore.VertexTable[S];
        }
        if (SamePosition(FStore.Vertices[V], P)) {
            Recent = V + 1;
            return V;
        }
    }
}

void TPolygonList::Release(const TRecord& R) {
    for (const std::uint32_t V : R.Vertex) FStore.Released += V != NoVertex;
}

void TPolygonList::DropUnusedVertices() {
    // Each release may leave a position unused: once they reach half the positions kept, a pass
    // over the facets costs no more than the edits that led to it.
    if (2 * FStore.Released <= std::max<std::size_t>(8192, FStore.Vertices.size())) return;
    FStore.Released = 0;
    std::vector<std::uint32_t> Renumbered(FStore.Vertices.size(), NoVertex);
    TChunkedArray<TFacetCorner> Kept;
    for (std::size_t I = 0; I < FStore.Records.size(); ++I)
        for (std::uint32_t& V : FStore.Records[I].Vertex) {
            if (V == NoVertex) continue;
            std::uint32_t& New = Renumbered[V];
            if (New == NoVertex) {
                New = static_cast<std::uint32_t>(Kept.size());
                Kept.push_back(FStore.Vertices[V]);
            }
            V = New;
        }
    FStore.Vertices.swap(Kept);
    FStore.Recent.fill(0);
    FStore.VertexTable.clear();
    GrowVertexTable();
}

std::uint32_t TPolygonList::StyleOf(TColor Color, TColor EdgeColor) {
    // Facets come in runs of one style: the last one answers most calls.
    std::vector<TStyle>& Styles = FStore.Styles;
    const std::uint32_t Last = FStore.LastStyle;
    if (Last < Styles.size() && Styles[Last].Color == Color && Styles[Last].EdgeColor == EdgeColor) return Last;
    const std::uint64_t Key = static_cast<std::uint32_t>(Color) | std::uint64_t{static_cast<std::uint32_t>(EdgeColor)} << 32;
    const auto [It, New] = FStore.StyleNumbers.try_emplace(Key, static_cast<std::uint32_t>(Styles.size()));
    if (New) Styles.push_back({Color, EdgeColor});
    return FStore.LastStyle = It->second;
}

TFacetParts& TPolygonList::MakeParts(TRecord& R) {
    if (R.Parts != 0) return FStore.Parts[R.Parts - 1];
    if (!FStore.FreeParts.empty()) {
        R.Parts = FStore.FreeParts.back() + 1;
        FStore.FreeParts.pop_back();
        FStore.Parts[R.Parts - 1] = TFacetParts();
    } else {
        FStore.Parts.emplace_back();
        R.Parts = static_cast<std::uint32_t>(FStore.Parts.size());
    }
    return FStore.Parts[R.Parts - 1];
}

void TPolygonList::DropParts(TRecord& R) {
    if (R.Parts == 0) return;
    FStore.Parts[R.Parts - 1] = TFacetParts();
    FStore.FreeParts.push_back(R.Parts - 1);
    R.Parts = 0;
}

TPolygonList::TRecord TPolygonList::RecordOf(const TPolygon& F) {
    TRecord R{};
    for (int I = 0; I < 4; ++I)
        R.Vertex[I] = (F.FCornerSet >> I & 1) ? Intern(F.StoredCorner(I)) : NoVertex;
    R.Style = StyleOf(F.Color, F.EdgeColor);
    R.Bits = static_cast<std::uint8_t>((F.FShape == 1 ? QuadBit : 0) | (F.Selected ? SelectedBit : 0) |
                                       (F.OwnColor ? OwnColorBit : 0));
    R.Corners = static_cast<std::uint8_t>((F.FCornerSet & 0xF) | (F.FMarks & 0xF) << 4);
    R.Parts = 0;
    if (F.FParts && (F.FParts->NormalSet != 0 || F.FParts->Extras)) MakeParts(R) = *F.FParts;
    return R;
}

void TPolygonList::CopyInto(int Index, TPolygon& F) const {
    CheckIndex(Index);
    const TRecord& R = Record(Index);
    F.FShape = R.Bits & QuadBit;
    F.FCornerSet = R.Corners & 0xF;
    F.FMarks = R.Corners >> 4 & 0xF;
    for (int I = 0; I < 3; ++I)
        F.FCorners[static_cast<std::size_t>(I)] = R.Vertex[I] == NoVertex ? TFacetCorner() : FStore.Vertices[R.Vertex[I]];
    if (R.Vertex[3] != NoVertex)
        F.Slot(3) = FStore.Vertices[R.Vertex[3]];
    else
        F.FCorner3.reset();
    if (R.Parts != 0)
        static_cast<TFacetParts&>(F.MakeParts()) = FStore.Parts[R.Parts - 1];
    else
        F.FParts.reset();
    F.Color = FStore.Styles[R.Style].Color;
    F.EdgeColor = FStore.Styles[R.Style].EdgeColor;
    F.OwnColor = R.Bits & OwnColorBit;
    F.Selected = R.Bits & SelectedBit;
    F.Group = 0;
}

int TPolygonList::Add(const TPolygon& F) {
    const TRecord R = RecordOf(F);
    FStore.Records.push_back(R);
    if (!FStore.Values.empty()) FStore.Values.push_back(0);
    return Count() - 1;
}

void TPolygonList::Store(int Index, const TPolygon& F) {
    CheckIndex(Index);
    TRecord R = RecordOf(F);
    DropParts(Record(Index));
    Release(Record(Index));
    Record(Index) = R;
    DropUnusedVertices();
}

void TPolygonList::Delete(int Index) {
    CheckIndex(Index);
    DropParts(Record(Index));
    Release(Record(Index));
    FStore.Records.erase(static_cast<std::size_t>(Index));
    if (!FStore.Values.empty()) FStore.Values.erase(FStore.Values.begin() + Index);
    DropUnusedVertices();
}

void TPolygonList::Clear() { FStore = TStorage(); }

double TPolygonList::FacetValue(int Index) const {
    CheckIndex(Index);
    return FStore.Values.empty() ? 0 : FStore.Values[static_cast<std::size_t>(Index)];
}

void TPolygonList::SetFacetValue(int Index, double Value) {
    CheckIndex(Index);
    if (FStore.Values.empty()) {
        if (Value == 0 && !std::signbit(Value)) return;
        FStore.Values.assign(FStore.Records.size(), 0.0);
    }
    FStore.Values[static_cast<std::size_t>(Index)] = Value;
}

void TPolygonList::AppendFrom(const TPolygonList& Source, int Index, bool Moved, std::vector<std::uint32_t>* Map) {
    const TRecord& From = Source.Record(Index);
    TRecord R = From;
    // A copy is a fresh facet with the original's content: no corner marks, no value.
    if (!Moved) R.Corners &= 0xF;
    if (&Source != this) {
        for (int I = 0; I < 4; ++I) {
            const std::uint32_t V = From.Vertex[I];
            if (V == NoVertex) continue;
            if (!Map) {
                R.Vertex[I] = Intern(Source.FStore.Vertices[V]);
                continue;
            }
            std::uint32_t& Here = (*Map)[V];
            if (Here == NoVertex) Here = Intern(Source.FStore.Vertices[V]);
            R.Vertex[I] = Here;
        }
        const TStyle& S = Source.FStore.Styles[From.Style];
        R.Style = StyleOf(S.Color, S.EdgeColor);
    }
    R.Parts = 0;
    if (From.Parts != 0) {
        // Read before the parts grow: Source may be this list.
        TFacetParts Parts = Source.FStore.Parts[From.Parts - 1];
        MakeParts(R) = std::move(Parts);
    }
    const double Value = Moved && !Source.FStore.Values.empty() ? Source.FStore.Values[static_cast<std::size_t>(Index)] : 0;
    FStore.Records.push_back(R);
    if (!FStore.Values.empty()) FStore.Values.push_back(0);
    SetFacetValue(Count() - 1, Value);
}

void TPolygonList::Assign(const TPolygonList& Other) {
    if (&Other == this) return;
    Clear();
    ShowNormals = Other.ShowNormals;
    // The storage as it is (what AddCopies would give, without looking up a single position): copies
    // carry no corner marks and no values.
    FStore = Other.FStore;
    FStore.Values.clear();
    for (std::size_t I = 0; I < FStore.Records.size(); ++I) FStore.Records[I].Corners &= 0xF;
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
    std::vector<std::uint32_t> Map = VertexMap(*Other);
    for (int I = 0; I < N; ++I) AppendFrom(*Other, I, false, &Map);
}

void TPolygonList::TakeFrom(TPolygonList& L) {
    if (&L == this) return;
    std::vector<std::uint32_t> Map = VertexMap(L);
    for (int I = L.Count() - 1; I >= 0; --I) AppendFrom(L, I, true, &Map);
    L.Clear();
}

void TPolygonList::MoveFacetsTo(const std::vector<bool>& Take, TPolygonList& Target) {
    if (&Target == this) return;
    std::size_t Kept = 0;
    std::vector<std::uint32_t> Map = Target.VertexMap(*this);
    for (std::size_t I = 0; I < FStore.Records.size(); ++I) {
        if (I < Take.size() && Take[I]) {
            Target.AppendFrom(*this, static_cast<int>(I), true, &Map);
            DropParts(FStore.Records[I]);
            Release(FStore.Records[I]);
        } else {
            FStore.Records[Kept] = FStore.Records[I];
            if (!FStore.Values.empty()) FStore.Values[Kept] = FStore.Values[I];
            ++Kept;
        }
    }
    FStore.Records.resize_down(Kept);
    if (!FStore.Values.empty()) FStore.Values.resize(Kept);
    DropUnusedVertices();
}

std::unique_ptr<TPolygonList> TPolygonList::TriangulatedCopy() const {
    auto Result = std::make_unique<TPolygonList>();
    Result->ShowNormals = ShowNormals;
    std::vector<std::uint32_t> Map = Result->VertexMap(*this);
    TPolygon Q;
    for (int I = 0; I < Count(); ++I) {
        if (Record(I).Bits & QuadBit) {
            CopyInto(I, Q);
            Result->Add(*QuadTriangle(Q, 0, 1, 2));
            Result->Add(*QuadTriangle(Q, 0, 2, 3));
        } else {
            Result->AppendFrom(*this, I, false, &Map);
        }
    }
    return Result;
}

void TPolygonList::Triangulate() { SplitQuadrilaterals(false); }

void TPolygonList::SplitQuadrilaterals(bool KeepStyle) {
    bool Any = false;
    for (std::size_t I = 0; I < FStore.Records.size() && !Any; ++I) Any = FStore.Records[I].Bits & QuadBit;
    if (!Any) return;
    // The split facets go into new storage in one pass instead of being inserted into the middle
    // once per quadrilateral; the positions and parts stay where they are.
    TChunkedArray<TRecord> Records;
    std::vector<double> Values;
    TPolygon Q;
    for (int I = 0; I < Count(); ++I) {
        TRecord& R = Record(I);
        const double Value = FStore.Values.empty() ? 0 : FStore.Values[static_cast<std::size_t>(I)];
        if (!(R.Bits & QuadBit)) {
            Records.push_back(R);
            if (!FStore.Values.empty()) Values.push_back(Value);
            continue;
        }
        CopyInto(I, Q);
        std::unique_ptr<TPolygon> Second = QuadTriangle(Q, 0, 2, 3);
        if (KeepStyle) {
            Second->Color = Q.Color;
            Second->OwnColor = Q.OwnColor;
            Second->EdgeColor = Q.EdgeColor;
            // Setting corner 2 drops corner 3 and keeps everything else of the facet.
            Q.SetCorner(2, Q.CornerPoint(2));
        } else {
            Q.Assign(*QuadTriangle(Q, 0, 1, 2));
        }
        DropParts(R);
        Records.push_back(RecordOf(Q));
        Records.push_back(RecordOf(*Second));
        if (!FStore.Values.empty()) {
            Values.push_back(Value);
            Values.push_back(KeepStyle ? Value : 0);
        }
    }
    FStore.Records.swap(Records);
    FStore.Values.swap(Values);
}

void TPolygonList::ReplaceByTriangles() {
    auto Triangles = TriangulatedCopy();
    std::swap(FStore, Triangles->FStore);
}

std::unique_ptr<TPolygonList> TPolygonList::Transformed(const TMMatrix& M) const {
    // What TransformedPolygon gives for every facet, with each position carried through M once.
    auto Result = std::make_unique<TPolygonList>();
    Result->ShowNormals = ShowNormals;
    for (std::size_t V = 0; V < FStore.Vertices.size(); ++V)
        Result->FStore.Vertices.push_back(TFacetCorner(MatrixTransformPoint(M, FStore.Vertices[V].Vector())));
    // A corner the facet lacks is there in the new facet, at the origin.
    std::uint32_t Origin = NoVertex;
    Result->FStore.Styles = FStore.Styles;
    Result->FStore.StyleNumbers = FStore.StyleNumbers;
    TMMatrix Linear = M;
    Linear[0][3] = Linear[1][3] = Linear[2][3] = 0;
    for (std::size_t I = 0; I < FStore.Records.size(); ++I) {
        TRecord R = FStore.Records[I];
        const int Corners = R.Bits & QuadBit ? 4 : 3;
        for (int K = 0; K < Corners; ++K)
            if (R.Vertex[K] == NoVertex) {
                if (Origin == NoVertex) {
                    Origin = static_cast<std::uint32_t>(Result->FStore.Vertices.size());
                    Result->FStore.Vertices.push_back(TFacetCorner());
                }
                R.Vertex[K] = Origin;
            }
        R.Corners = static_cast<std::uint8_t>((1u << Corners) - 1);
        R.Bits |= OwnColorBit;
        R.Parts = 0;
        if (FStore.Records[I].Parts != 0) {
            const TFacetParts& From = FStore.Parts[FStore.Records[I].Parts - 1];
            TFacetParts Parts;
            for (int K = 0; K < 3; ++K)
                if (From.NormalSet >> K & 1) {
                    Parts.Normal[static_cast<std::size_t>(K)] = VectorNormalise(MatrixTransformPoint(Linear, From.Normal[static_cast<std::size_t>(K)]));
                    Parts.NormalSet |= static_cast<std::uint8_t>(1u << K);
                }
            // Weights and codes go along, parameters do not, as with a point carried through M.
            if (From.Extras) {
                TFacetCornerExtras Extras{};
                bool Any = false;
                for (int K = 0; K < 4; ++K) {
                    if (!(FStore.Records[I].Corners >> K & 1)) continue;
                    const TFacetCornerExtra& E = (*From.Extras)[static_cast<std::size_t>(K)];
                    Extras[static_cast<std::size_t>(K)] = {E.W, 0, E.Tag};
                    Any = Any || std::bit_cast<std::uint64_t>(E.W) != std::bit_cast<std::uint64_t>(1.0) || E.Tag != 0;
                }
                if (Any) Parts.Extras = std::make_unique<TFacetCornerExtras>(Extras);
            }
            if (Parts.NormalSet != 0 || Parts.Extras) Result->MakeParts(R) = std::move(Parts);
        }
        Result->FStore.Records.push_back(R);
    }
    Result->GrowVertexTable();
    return Result;
}

void TPolygonList::FlipNormals() {
    for (int I = 0; I < Count(); ++I) FlipPolygon(Polygon(I));
}

TMBox TPolygonList::Extents() const {
    TMBox Box = EmptyBox;
    for (int I = 0; I < Count(); ++I) {
        const TFacetRef F(*this, I);
        for (int K = 0; K < F.CornerCount(); ++K) ExtendBoxByVector(CornerAt(F, K), Box);
    }
    return Box;
}

int TPolygonList::SelectedCount() const {
    int N = 0;
    for (std::size_t I = 0; I < FStore.Records.size(); ++I) N += (FStore.Records[I].Bits & SelectedBit) != 0;
    return N;
}

std::vector<int> TPolygonList::SelectedIndices() const {
    std::vector<int> Result;
    for (std::size_t I = 0; I < FStore.Records.size(); ++I)
        if (FStore.Records[I].Bits & SelectedBit) Result.push_back(static_cast<int>(I));
    return Result;
}

void TPolygonList::Draw(IGraphics& G) const {
    if (Count() == 0) return;
    double Size = 0;
    if (ShowNormals) {
        const TMBox Box = Extents();
        Size = 0.01 * std::max({Box.Max.X - Box.Min.X, Box.Max.Y - Box.Min.Y, Box.Max.Z - Box.Min.Z, 0.0});
    }
    for (int K = 0; K < Count(); ++K) {
        const TFacetRef F(*this, K);
        const int N = F.CornerCount();
        for (int I = 0; I < N; ++I) {
            const TMVector A = CornerAt(F, I);
            const TMVector B = CornerAt(F, (I + 1) % N);
            G.Line(A.X, A.Y, A.Z, B.X, B.Y, B.Z);
        }
        if (!ShowNormals) continue;
        G.VectorPoints(TRPoint(PolygonCentroid(F)), TRPoint(PolygonNormal(F)), Size, true);
        if (!PolygonHasNormals(F)) continue;
        for (int I = 0; I < 3; ++I) {
            const TMVector A = CornerAt(F, I);
            const TMVector B = VectorAdd(A, VectorScale(*F.Normal(I), Size));
            G.Line(A.X, A.Y, A.Z, B.X, B.Y, B.Z);
        }
    }
}

void TPolygonList::DrawFilled(IGraphics& G) const {
    TPolygon F;
    for (int I = 0; I < Count(); ++I) {
        CopyInto(I, F);
        G.Polygon(F);
    }
}

void TPolygonList::SaveFacet(int Index, std::string& Text) const {
    const TFacetRef F(*this, Index);
    AppendFacetLine(Text, F.GetShape(), F.StoredCorner(0), F.StoredCorner(1), F.StoredCorner(2), F.StoredCorner(3));
}

void TPolygonList::SaveToText(TTextWriter& Out) const {
    std::string Text = "NumberofPolygons=" + std::to_string(Count()) + "\n";
    for (int I = 0; I < Count(); ++I) SaveFacet(I, Text);
    Out.Write(Text);
}

void TPolygonList::LoadFromText(TTextReader& In) {
    const std::string Line = In.ReadLine();
    const std::size_t Equals = Line.find('=');
    const std::string_view Number = std::string_view(Line).substr(Equals == std::string::npos ? 0 : Equals + 1, 255);
    const int N = StrToInt(Number);
    TPolygon F;
    for (int I = 0; I < N; ++I) {
        if (In.Eof()) throw EInOutError("I/O Result 100");
        F.LoadFromText(In.ReadLine());
        Add(F);
    }
}

// ---- TFacetRef ----

const TFacetCorner TFacetRef::NoCorner;

TRPoint TFacetRef::CornerPoint(int Index) const {
    TRPoint P;
    if (!HasCorner(Index)) return P;
    P.SetVector(StoredCorner(Index).Vector());
    const TPolygonList::TRecord& R = Rec();
    if (R.Parts != 0) {
        if (const TFacetCornerExtras* E = FList->FStore.Parts[R.Parts - 1].Extras.get()) {
            const TFacetCornerExtra& X = (*E)[static_cast<std::size_t>(Index)];
            P.W = X.W;
            P.T = X.T;
            P.Tag = X.Tag;
        }
    }
    P.Marked = R.Corners >> (4 + Index) & 1;
    return P;
}

const TMVector* TFacetRef::Normal(int Index) const noexcept {
    const TPolygonList::TRecord& R = Rec();
    if (Index < 0 || Index > 2 || R.Parts == 0) return nullptr;
    const TFacetParts& P = FList->FStore.Parts[R.Parts - 1];
    return (P.NormalSet >> Index & 1) ? &P.Normal[static_cast<std::size_t>(Index)] : nullptr;
}

TMTriangle TFacetRef::Triangle() const {
    if (GetShape() != 0) throw EGeometryError("TPolygon.Triangle - Polygon is a Quadrilateral");
    return {StoredCorner(0).Vector(), StoredCorner(1).Vector(), StoredCorner(2).Vector()};
}

double TFacetRef::Area() const { return (**this).Area(); }

TPolygon TFacetRef::operator*() const {
    TPolygon F;
    FList->CopyInto(FIndex, F);
    return F;
}

void TFacetRef::SetSelected(bool Value) noexcept {
    auto& R = FList->Record(FIndex);
    R.Bits = static_cast<std::uint8_t>(Value ? R.Bits | TPolygonList::SelectedBit : R.Bits & ~TPolygonList::SelectedBit);
}

void TFacetRef::SetColor(TColor C) {
    auto& R = FList->Record(FIndex);
    R.Style = FList->StyleOf(C, GetEdgeColor());
    R.Bits |= TPolygonList::OwnColorBit;
}

void TFacetRef::SetEdgeColor(TColor C) {
    auto& R = FList->Record(FIndex);
    R.Style = FList->StyleOf(GetColor(), C);
}

void TFacetRef::SetCornerMarked(int Index, bool Value) noexcept {
    if (!HasCorner(Index)) return;
    auto& R = FList->Record(FIndex);
    const auto Bit = static_cast<std::uint8_t>(1u << (4 + Index));
    R.Corners = static_cast<std::uint8_t>(Value ? R.Corners | Bit : R.Corners & ~Bit);
}

void TFacetRef::SetNormal(int Index, const TMVector& N) {
    if (Index < 0 || Index > 2) return;
    TFacetParts& P = FList->MakeParts(FList->Record(FIndex));
    P.Normal[static_cast<std::size_t>(Index)] = N;
    P.NormalSet |= static_cast<std::uint8_t>(1u << Index);
}

void TFacetRef::MoveCorner(int Index, const TMVector& V) {
    if (!HasCorner(Index)) return;
    const std::uint32_t Vertex = FList->Intern(TFacetCorner(V));
    std::uint32_t& Held = FList->Record(FIndex).Vertex[Index];
    if (Held == Vertex) return;
    Held = Vertex;
    ++FList->FStore.Released;
    FList->DropUnusedVertices();
}

template <class TEdit>
void TFacetRef::Edit(TEdit&& Change) {
    TPolygon F;
    FList->CopyInto(FIndex, F);
    Change(F);
    FList->Store(FIndex, F);
}

void TFacetRef::SetCorner(int Index, const TRPoint& P) {
    Edit([&](TPolygon& F) { F.SetCorner(Index, P); });
}

void TFacetRef::AssignCorner(int Index, const TRPoint& P) {
    Edit([&](TPolygon& F) { F.AssignCorner(Index, P); });
}

void TFacetRef::Assign(const TPolygon& Source) {
    Edit([&](TPolygon& F) { F.Assign(Source); });
}

void TFacetRef::Insert(int Index, const TMVector& V) {
    Edit([&](TPolygon& F) { F.Insert(Index, V); });
}

void TFacetRef::Delete(int Index) {
    Edit([&](TPolygon& F) { F.Delete(Index); });
}

void TFacetRef::SwapCornerValues(int A, int B) {
    if (!HasCorner(A) || !HasCorner(B)) return;
    auto& R = FList->Record(FIndex);
    std::swap(R.Vertex[A], R.Vertex[B]);
    if (R.Parts != 0)
        if (TFacetCornerExtras* E = FList->FStore.Parts[R.Parts - 1].Extras.get())
            std::swap((*E)[static_cast<std::size_t>(A)], (*E)[static_cast<std::size_t>(B)]);
}

void FlipPolygon(TFacetRef F) { F.SwapCornerValues(0, 2); }

void SetPolygonNormalAt(TFacetRef F, const TRPoint& P, const TMVector& N) { F.SetNormal(PolygonCornerIndex(F, P), N); }

std::unique_ptr<TPolygon> CopyPolygon(const TFacetRef& F) {
    auto Copy = std::make_unique<TPolygon>();
    F.List().CopyInto(F.Index(), *Copy);
    // A copy is a fresh facet: its corners are not marked.
    for (int I = 0; I < 4; ++I) Copy->SetCornerMarked(I, false);
    return Copy;
}

std::unique_ptr<TPolygonList> ClipPolygonsByPlane(const TPolygonList& Mesh, int Side, const TMPlane& Plane) {
    TMPlane Kept = Plane;
    if (Side == 1) Kept = {VectorNegate(Plane.Normal), -Plane.Distance};
    auto Result = std::make_unique<TPolygonList>();
    std::vector<std::uint32_t> Map = Result->VertexMap(Mesh);
    auto Clip = [&](const auto& T) {
        if (auto Part = ClippedPolygonArea(T, Kept)) Result->Add(std::move(Part));
    };
    auto Below = [&Kept](const TMVector& P) { return VectorDot(Kept.Normal, P) - Kept.Distance <= -DefaultTolerance; };
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TFacetRef F(Mesh, I);
        // The clip decides by the first three corners only, so a quadrilateral is clipped as its two
        // triangles; one wholly below is kept whole, with its normals, and split below like the rest.
        const bool AllBelow = Below(CornerAt(F, 0)) && Below(CornerAt(F, 1)) && Below(CornerAt(F, 2)) &&
                              (!IsQuad(F) || Below(CornerAt(F, 3)));
        if (AllBelow && F.Corner(0) && F.Corner(1) && F.Corner(2)) {
            Result->AppendFrom(Mesh, I, false, &Map);
        } else if (IsQuad(F) && !AllBelow) {
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
