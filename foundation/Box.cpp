#include "foundation/Box.h"

#include <string>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

struct TEdge {
    int A;
    int B;
};

// Whether each corner sits at the maximum (1) or the minimum (0) of x, y and z.
constexpr int CornerAtMax[8][3] = {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1},
                                   {1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}};

constexpr TEdge Edges[12] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 7},
                             {2, 6}, {3, 5}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};

struct TFace {
    TMVector AxisNormal;  // outward normal of the axis-aligned box
    int Corners[4];       // counter-clockwise seen from outside
};

constexpr TFace Faces[6] = {{{-1, 0, 0}, {3, 2, 1, 0}}, {{1, 0, 0}, {7, 6, 5, 4}},  {{0, 0, -1}, {0, 1, 7, 4}},
                            {{0, 0, 1}, {2, 3, 5, 6}},  {{0, -1, 0}, {4, 5, 3, 0}}, {{0, 1, 0}, {1, 2, 6, 7}}};

std::array<TMVector, 8> CornersOf(const TMVector& Min, const TMVector& Max) {
    std::array<TMVector, 8> Result;
    for (int I = 0; I < 8; ++I) {
        const int* At = CornerAtMax[I];
        Result[I] = {At[0] ? Max.X : Min.X, At[1] ? Max.Y : Min.Y, At[2] ? Max.Z : Min.Z};
    }
    return Result;
}

}  // namespace

TBox::TBox(double XSize, double YSize, double ZSize, double XCentre, double YCentre, double ZCentre) {
    SetGeometry(XSize, YSize, ZSize, XCentre, YCentre, ZCentre);
}

void TBox::SetGeometry(double XSize, double YSize, double ZSize, double XCentre, double YCentre,
                       double ZCentre) {
    const TMVector Min{XCentre - XSize / 2, YCentre - YSize / 2, ZCentre - ZSize / 2};
    const TMVector Max{XCentre + XSize / 2, YCentre + YSize / 2, ZCentre + ZSize / 2};
    const auto C = CornersOf(Min, Max);
    for (int I = 0; I < 8; ++I) FCorners[I].SetVector(C[I]);
}

double TBox::Dimension(int Code) {
    const TMBox B = GetBounds();
    switch (Code) {
        case 1: return (B.Max.X + B.Min.X) / 2;
        case 2: return (B.Max.Y + B.Min.Y) / 2;
        case 3: return (B.Max.Z + B.Min.Z) / 2;
        case 4: return B.Max.X - B.Min.X;
        case 5: return B.Max.Y - B.Min.Y;
        case 6: return B.Max.Z - B.Min.Z;
        default: return -1;
    }
}

void TBox::SetDimension(int Code, double Value) {
    if (Code < 1 || Code > 6) return;
    double D[7];
    for (int I = 1; I <= 6; ++I) D[I] = Dimension(I);
    D[Code] = Value;
    SetGeometry(D[4], D[5], D[6], D[1], D[2], D[3]);
}

const TRPoint& TBox::Corner(int Index) const {
    if (Index < 0 || Index > 7)
        throw EError("TBox.Corner - Index " + std::to_string(Index) + " out of bounds, only 0..7 allowed");
    return FCorners[static_cast<std::size_t>(Index)];
}

void TBox::Assign(const TBox& Other) {
    for (int I = 0; I < 8; ++I) FCorners[I].Assign(Other.FCorners[I]);
}

std::unique_ptr<TBox> TBox::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TBox>(0, 0, 0, 0, 0, 0);
    for (int I = 0; I < 8; ++I) Result->FCorners[I].Assign(*FCorners[I].Transformed(M));
    return Result;
}

void TBox::Draw(IGraphics& View) const {
    for (const TEdge& E : Edges) View.LinePoints(FCorners[E.A], FCorners[E.B]);
}

TMBox TBox::GetBounds() {
    InitEmptyBox(FBounds);
    for (const TRPoint& P : FCorners) P.AddToBox(FBounds);
    return FBounds;
}

void TBox::Render(IGraphics& View) {
    if (IRenderTarget* Target = RenderTargetOf(View)) Render(*Target);
}

void TBox::Render(IRenderTarget& Target) const {
    TMVector Sum;
    for (const TRPoint& P : FCorners) Sum = VectorAdd(Sum, P.Vector());
    const TMVector Centre = VectorScale(Sum, 1.0 / 8);
    Target.Color(1, 1, 1);
    Target.Begin(TRenderPrimitive::Quads);
    for (const TFace& F : Faces) {
        const TMVector A = FCorners[F.Corners[0]].Vector(), B = FCorners[F.Corners[1]].Vector();
        const TMVector C = FCorners[F.Corners[2]].Vector(), D = FCorners[F.Corners[3]].Vector();
        // (C - A) x (D - B): the normal of a quadrilateral from its diagonals.
        TMVector N = VectorNormalise(VectorCross(VectorFromTo(B, D), VectorFromTo(A, C)));
        if (N == ZeroVector) {
            N = F.AxisNormal;  // a face without area: nothing to light
        } else if (VectorDot(N, VectorFromTo(Centre, VectorScale(VectorSum4(A, B, C, D), 0.25))) < 0) {
            N = VectorNegate(N);  // corners mirrored or turned inside out by negative sizes
        }
        Target.Normal(N);
        Target.Vertex(A);
        Target.Vertex(B);
        Target.Vertex(C);
        Target.Vertex(D);
    }
    Target.End();
}

std::unique_ptr<TPolygonList> TBox::Facets() const {
    static constexpr int Triangles[12][3] = {{1, 3, 2}, {1, 0, 3}, {4, 6, 5}, {4, 7, 6}, {0, 5, 3}, {0, 4, 5},
                                             {7, 2, 6}, {7, 1, 2}, {3, 6, 2}, {3, 5, 6}, {0, 7, 4}, {0, 1, 7}};
    auto List = std::make_unique<TPolygonList>();
    for (const auto& T : Triangles) List->Add(NewTriangle(FCorners[T[0]], FCorners[T[1]], FCorners[T[2]]));
    return List;
}

void TBox::SaveToText(TTextWriter& Out) const {
    for (const TRPoint& P : FCorners) Out.WriteLine(FormatWithPoint(" %9.3f %9.3f %9.3f", {P.X, P.Y, P.Z}));
}

void TBox::LoadFromText(TTextReader& In) {
    for (TRPoint& P : FCorners) {
        P.X = In.ReadReal();
        P.Y = In.ReadReal();
        P.Z = In.ReadReal();
        In.SkipLine();
    }
}

void DrawBoxEdges(const TMBox& B, IGraphics& View) {
    const auto C = CornersOf(B.Min, B.Max);
    for (const TEdge& E : Edges) View.Line(C[E.A].X, C[E.A].Y, C[E.A].Z, C[E.B].X, C[E.B].Y, C[E.B].Z);
}

void DrawBoxCorners(const TMBox& B, IGraphics& View) {
    TMBox Marker = B;
    ScaleBox(Marker, 1.05);
    const auto C = CornersOf(Marker.Min, Marker.Max);
    for (const TEdge& E : Edges) {
        View.LineVectors(C[E.A], VectorLerp(C[E.A], C[E.B], 0.33));
        View.LineVectors(C[E.B], VectorLerp(C[E.A], C[E.B], 0.67));
    }
}

}  // namespace sarnova
