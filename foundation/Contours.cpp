#include "foundation/Contours.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Contour lines shorter than this are dropped.
constexpr double MinimumContourLength = 0.001;

double Coordinate(const TMVector& V, int Axis) { return Axis == 0 ? V.X : Axis == 1 ? V.Y : V.Z; }

TMVector AxisVector(int Axis) { return Axis == 0 ? XAxisVector : Axis == 1 ? YAxisVector : ZAxisVector; }

// A corner the facet does not have counts as the origin, as in the facet measures.
TMVector CornerVector(const TPolygon& F, int Index) {
    const TFacetCorner* P = F.Corner(Index);
    return P ? P->Vector() : ZeroVector;
}

// The two cut points of one triangle and an axis plane. Corner[k] is the corner a point was taken
// from, -1 for a point on an edge.
struct TAxisCut {
    TMVector Point[2];
    int Corner[2] = {-1, -1};
};

// The cut of the triangle Corners with the plane of coordinate C on Axis; false when it gives no
// segment. Corners within Tolerance of the plane count as on it. The one rule behind
// CutFacetWithAxisPlane and the contour tracing.
bool CutTriangle(const TMTriangle& Corners, int Axis, double C, double Tolerance, TAxisCut& Cut) {
    const double V[3] = {Coordinate(Corners[0], Axis), Coordinate(Corners[1], Axis), Coordinate(Corners[2], Axis)};
    // A facet in a plane of constant coordinate has no cut line of its own; its neighbours give the
    // boundary.
    if (std::fabs(V[0] - V[1]) < DefaultTolerance && std::fabs(V[0] - V[2]) < DefaultTolerance) return false;
    TMSegment S;
    if (!TPlaneCutter({AxisVector(Axis), C}, Tolerance).Cut(Corners, S, Cut.Corner)) return false;
    Cut.Point[0] = S.Start;
    Cut.Point[1] = S.End;
    return !VectorsEqual(Cut.Point[0], Cut.Point[1]);
}

// Chains the sorted, cleaned edges of one contour into polylines: each starts from the first unused
// edge and grows at its front and its back by the first unused edge (in sorted order) at the end
// vertex, alternately, until neither end can grow. A vertex where three or more edges meet is passed
// along the first of them; the others start chains of their own.
void ChainContourEdges(TIntersectionEdges& Edges, TColor Color, std::unique_ptr<TPolylineList>& Result) {
    const int N = Edges.Count();
    // The sorted order of two edges at one vertex, without an index: by their ends' positions, as
    // SortEdges ordered them (the cleaning left no two edges with the same ends).
    auto Before = [](const TIntersectionEdge* A, const TIntersectionEdge* B) {
        const TMVector& A1 = A->V1->Position;
        const TMVector& B1 = B->V1->Position;
        if (A1 != B1) return std::tie(A1.X, A1.Y, A1.Z) < std::tie(B1.X, B1.Y, B1.Z);
        const TMVector& A2 = A->V2->Position;
        const TMVector& B2 = B->V2->Position;
        return std::tie(A2.X, A2.Y, A2.Z) < std::tie(B2.X, B2.Y, B2.Z);
    };
    auto FirstUnusedAt = [&Before](const TIntersectionVertex* V) {
        TIntersectionEdge* Best = nullptr;
        for (TIntersectionEdge* E : V->Edges)
            if (!E->Used && (!Best || Before(E, Best))) Best = E;
        return Best;
    };
    std::deque<const TIntersectionVertex*> Chain;
    for (int Start = 0; Start < N; ++Start) {
        TIntersectionEdge* First = Edges.Edge(Start);
        if (First->Used) continue;
        First->Used = true;
        Chain.assign({First->V1, First->V2});
        for (bool Grown = true; Grown;) {
            Grown = false;
            if (TIntersectionEdge* E = FirstUnusedAt(Chain.front())) {
                E->Used = true;
                Chain.push_front(E->OtherVertex(Chain.front()));
                Grown = true;
            }
            if (TIntersectionEdge* E = FirstUnusedAt(Chain.back())) {
                E->Used = true;
                Chain.push_back(E->OtherVertex(Chain.back()));
                Grown = true;
            }
        }
        auto Line = std::make_unique<TPolyline>();
        for (const TIntersectionVertex* V : Chain) Line->AddVector(V->Position);
        Line->OwnColors = true;
        Line->LineColor = Color;
        if (!Result) Result = std::make_unique<TPolylineList>();
        Result->Add(std::move(Line));
    }
}

// Drops every point closer than 0.01 in y and z to its predecessor, keeping the first point and the
// last two; a point after a dropped one is not looked at.
void ThinSectionPoints(TPolyline& Section) {
    for (int I = 1; I < Section.Count() - 2; ++I) {
        const TRPoint& A = *std::as_const(Section).Point(I - 1);
        const TRPoint& B = *std::as_const(Section).Point(I);
        const double DY = B.Y - A.Y;
        const double DZ = B.Z - A.Z;
        if (DY * DY + DZ * DZ < 0.0001) Section.Delete(I);
    }
}

// Makes a section run from its bottom inboard end to its top outboard end, judged by the sum of height
// and distance from the centre plane on the side the section lies.
void OrientSection(TPolyline& Section, const TMBox& Box) {
    if (Section.Count() == 0) return;
    const int Side = Sign((Box.Min.Y + Box.Max.Y) / 2);
    auto Key = [Side](const TRPoint& P) { return Side == -1 ? P.Z - P.Y : P.Y + P.Z; };
    if (Key(*Section.First()) > Key(*Section.Last())) Section.Reverse();
}

}  // namespace

// ---- Contour lists ----

TContour* TContourList::Item(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

TContour* TContourList::Add(std::uint8_t Axis, double Position) {
    auto C = std::make_unique<TContour>();
    C->Axis = Axis;
    C->Position = Position;
    FItems.push_back(std::move(C));
    return FItems.back().get();
}

// ---- Contour sets ----

void TContours::AddContour(int Axis, double Position) {
    if (Axis < 0 || Axis > 2) return;
    FLists[Axis].Add(static_cast<std::uint8_t>(Axis), Position);
}

void TContours::AddContourRange(int Axis, int N, double First, double Last) {
    if (N < 0) return;
    // A range of no steps is its first contour; the general formula would divide 0 by 0.
    if (N == 0) {
        AddContour(Axis, First);
        return;
    }
    for (int I = 0; I <= N; ++I) AddContour(Axis, First + static_cast<double>(I) / N * (Last - First));
}

TContour* TContours::Contour(int Index) const {
    if (Index < 0) return nullptr;
    for (const TContourList& L : FLists) {
        if (Index < L.Count()) return L.Item(Index);
        Index -= L.Count();
    }
    return nullptr;
}

void TContours::Clear() {
    for (TContourList& L : FLists) L.Clear();
}

void TContours::Assign(const TContours& Other) {
    if (&Other == this) return;
    Clear();
    for (int A = 0; A < 3; ++A)
        for (int I = 0; I < Other.FLists[A].Count(); ++I) {
            const TContour& C = *Other.FLists[A].Item(I);
            FLists[A].Add(C.Axis, C.Position);
        }
}

std::unique_ptr<TContours> TContours::Clone() const {
    auto Result = std::make_unique<TContours>();
    Result->Assign(*this);
    return Result;
}

void TContours::SaveToText(TTextWriter& Out) const {
    std::string Text = "NumContours=" + IntToStr(Count()) + "\n";
    for (int A = 0; A < 3; ++A)
        for (int I = 0; I < FLists[A].Count(); ++I) {
            const std::string Position = FormatWithPoint("%10.3f", {FLists[A].Item(I)->Position});
            Text += FormatWithPoint("%10d", {A + 1});
            // A position that fills its field or more would run into the code and leave a line that
            // no reader can split; a blank keeps the two apart.
            if (Position.front() != ' ') Text += ' ';
            Text += Position;
            Text += '\n';
        }
    Out.Write(Text);
}

void TContours::LoadFromText(TTextReader& In) {
    Clear();
    const std::string Line = In.ReadLine();
    const std::size_t Equals = Line.find('=');
    const int N = StrToInt(std::string_view(Line).substr(Equals == std::string::npos ? 0 : Equals + 1, 255));
    // One line per contour, read as it comes: a count larger than the text ends at the reader's
    // end-of-file error, never in an allocation for it.
    for (int I = 0; I < N; ++I) {
        const double Code = In.ReadReal();
        // The code is an integer field: a fraction is the reader's invalid-number error.
        if (!(Code == std::trunc(Code))) throw EInOutError("I/O Result 106");
        const double Position = In.ReadReal();
        In.SkipLine();
        if (Code >= 1 && Code <= 3) AddContour(static_cast<int>(Code) - 1, Position);
    }
}

// ---- Filling ----

void SetContourSpacing(const TMBox& Box, TContours& Contours, double DX, double DY, double DZ) {
    const double Spacing[3] = {DX, DY, DZ};
    for (int A = 0; A < 3; ++A) {
        const double D = Spacing[A];
        const double Min = Coordinate(Box.Min, A);
        const double Max = Coordinate(Box.Max, A);
        if (!(std::fabs(D) > 0.0001 && Max > Min)) continue;
        const int Lo = TruncSingle(Min / D) - 1;
        const int Hi = TruncSingle(Max / D) + 1;
        if (static_cast<double>(Hi) - Lo + 1 > MaxContoursPerAxis)
            throw EGeometryError("SetContourSpacing - Too many contours");
        if (A == 0) Contours.ClearX();
        if (A == 1) Contours.ClearY();
        if (A == 2) Contours.ClearZ();
        Contours.AddContourRange(A, Hi - Lo, Lo * D, Hi * D);
    }
}

void AddStationContours(const TPolylineList& List, TContours& Contours) {
    for (int I = 0; I < List.Count(); ++I) {
        const TPolyline& P = *List.Items(I);
        if (!(std::fabs(P.FittedPlane().Normal.X) > 1 - 0.0001)) continue;
        const double Station = P.GetStation();
        bool Present = false;
        for (int K = 0; K < Contours.XCount() && !Present; ++K)
            Present = std::fabs(Contours.XContour(K)->Position - Station) < 0.0001;
        if (!Present) Contours.AddContour(0, Station);
    }
}

// ---- Cutting ----

void CutFacetWithAxisPlane(const TPolygon& Facet, int Axis, TLines& Lines, double Position) {
    if (Facet.GetShape() != 0 || Axis < 0 || Axis > 2) return;
    const TMTriangle Corners{CornerVector(Facet, 0), CornerVector(Facet, 1), CornerVector(Facet, 2)};
    TAxisCut Cut;
    // One facet alone has no mesh to measure rounding against: corners count as on the plane only
    // when they lie exactly on it.
    if (!CutTriangle(Corners, Axis, Position, 0, Cut)) return;
    auto PointOf = [&](int K) {
        // A corner on the plane is taken with everything it carries.
        const int Corner = Cut.Corner[K];
        return Corner >= 0 && Facet.Corner(Corner) ? Facet.CornerPoint(Corner).Clone()
                                                   : NewRPointFromVector(Cut.Point[K]);
    };
    Lines.Add(PointOf(0), PointOf(1));
}

std::unique_ptr<TPolylineList> ContoursFromPolygons(const TPolygonList* Facets, const TContours& Contours,
                                                   const TContourColors& Colors) {
    if (!Facets) return nullptr;
    if (GConsole) GConsole->WriteLine("  Creating Contours from Polygon Representation...");
    if (Contours.Count() == 0) return nullptr;

    std::unique_ptr<TPolylineList> Result;
    // One segment graph for all contours: merged end points, sorted and cleaned edges.
    TPolygonIntersections Segments;
    // The global index runs over the X contours, then Y, then Z.
    int First = 0;
    for (int Axis = 0; Axis < 3; ++Axis) {
        const int N = Axis == 0 ? Contours.XCount() : Axis == 1 ? Contours.YCount() : Contours.ZCount();
        std::vector<double> Levels(static_cast<std::size_t>(N));
        for (int I = 0; I < N; ++I) Levels[static_cast<std::size_t>(I)] = Contours.Contour(First + I)->Position;
        First += N;
        if (N == 0) continue;
        const TFacetCutIndex Index(*Facets, AxisVector(Axis));
        for (const double Position : Levels) {
            Segments.Clear();
            Index.ForEachNear(Position, [&](int I) {
                // Only triangles are cut: a quadrilateral's halves are not.
                if (Index.FromQuadrilateral(I)) return;
                TAxisCut Cut;
                if (CutTriangle(Index.Triangle(I), Axis, Position, Index.Tolerance(), Cut))
                    Segments.AddSegmentUnchecked(Cut.Point[0], Cut.Point[1]);
            });
            if (Segments.Edges.Count() == 0) continue;
            Segments.Edges.SortEdges();
            ChainContourEdges(Segments.Edges, Colors.ForAxis(Axis), Result);
        }
    }
    if (!Result) return nullptr;
    for (int I = Result->Count() - 1; I >= 0; --I)
        if (Result->Items(I)->Length() < MinimumContourLength) Result->Delete(I);
    if (Result->Count() == 0) return nullptr;
    return Result;
}

namespace {

// The section from the station cut of (one body of) a hull mesh.
std::unique_ptr<TPolyline> SectionFromCut(const std::unique_ptr<TPolylineList>& Cut) {
    if (!Cut || Cut->Count() == 0) return nullptr;
    std::unique_ptr<TPolyline> Section = JoinPolylines(*Cut);
    if (!Section) return nullptr;
    const TMBox Box = Section->Extents();
    if (Section->IsClosed()) return Section;
    Section->RemoveDuplicatePoints();
    ThinSectionPoints(*Section);
    OrientSection(*Section, Box);
    // A half section against the centre plane is completed by its mirror image. A whole section
    // reaches as far to one side as to the other; it can come out open where the cut of a fine,
    // narrow end merges the crossings either side of the keel, and a mirror image would double it.
    const bool Whole = -Box.Min.Y > Box.Max.Y / 2;
    if (std::fabs(Box.Min.Y) < 0.05 && !Whole) {
        for (int I = Section->Count() - 1; I >= 1; --I) {
            const TRPoint& P = *std::as_const(*Section).Point(I);
            Section->AddPoint(P.X, -P.Y, P.Z);
        }
    }
    Section->SetClosed(true);
    return Section;
}

}  // namespace

std::unique_ptr<TPolyline> PolygonSectionAtX(const TPolygonList& Facets, double X) {
    return SectionFromCut(IntersectPlaneWithPolygons(PlaneFromDirection(3, X), Facets));
}

std::unique_ptr<TPolyline> PolygonSectionAtX(const TFacetCutIndex& Index, double X) {
    return SectionFromCut(IntersectPlaneWithPolygons(PlaneFromDirection(3, X), Index));
}

std::unique_ptr<TPolylineList> PolygonSectionsAtX(const TFacetCutIndex& Index, double X) {
    const std::unique_ptr<TPolylineList> Cut = IntersectPlaneWithPolygons(PlaneFromDirection(3, X), Index);
    if (!Cut || Cut->Count() == 0) return nullptr;
    // The cut's chains, and the bodies they belong to: chains whose boxes meet are pieces of one
    // section (a gap in the mesh), chains that lie apart are sections of their own.
    const std::unique_ptr<TPolylineList> Chains = WeldPolylinesWithin(*Cut, DefaultTolerance);
    const int N = Chains->Count();
    std::vector<TMBox> Boxes;
    std::vector<int> Body(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I) {
        Boxes.push_back(Chains->Items(I)->Extents());
        Body[static_cast<std::size_t>(I)] = I;
    }
    auto Meet = [](const TMBox& A, const TMBox& B) {
        return A.Min.Y <= B.Max.Y + DefaultTolerance && B.Min.Y <= A.Max.Y + DefaultTolerance &&
               A.Min.Z <= B.Max.Z + DefaultTolerance && B.Min.Z <= A.Max.Z + DefaultTolerance;
    };
    // Joined until nothing changes: a chain may bridge two others.
    for (bool Changed = true; Changed;) {
        Changed = false;
        for (int I = 0; I < N; ++I)
            for (int J = I + 1; J < N; ++J) {
                auto& BI = Body[static_cast<std::size_t>(I)];
                auto& BJ = Body[static_cast<std::size_t>(J)];
                if (BI != BJ && Meet(Boxes[static_cast<std::size_t>(I)], Boxes[static_cast<std::size_t>(J)])) {
                    const int From = std::max(BI, BJ), To = std::min(BI, BJ);
                    for (int& B : Body)
                        if (B == From) B = To;
                    Changed = true;
                }
            }
    }
    auto Sections = std::make_unique<TPolylineList>();
    for (int B = 0; B < N; ++B) {
        auto Pieces = std::make_unique<TPolylineList>();
        for (int I = 0; I < N; ++I)
            if (Body[static_cast<std::size_t>(I)] == B) Pieces->Add(Chains->Items(I)->Clone());
        if (Pieces->Count() == 0) continue;
        if (auto Section = SectionFromCut(Pieces)) Sections->Add(std::move(Section));
    }
    if (Sections->Count() == 0) return nullptr;
    return Sections;
}

}  // namespace sarnova
