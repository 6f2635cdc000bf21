#include "hulls/GraftSurface.h"

#include <cmath>

#include "foundation/Geom.h"
#include "foundation/Polygon.h"
#include "surfaces/BSurface.h"

namespace sarnova {

namespace {

// The triangles 0, 1, 2 and, for a quadrilateral, 0, 2, 3.
template <class F>
void ForEachTriangle(const TPolygon& P, F Body) {
    if (P.CornerCount() != 4) {
        Body(P);
        return;
    }
    for (const int Third : {1, 2}) {
        TPolygon T(0);
        T.Assign(P);
        T.SetCorner(0, P.StoredCorner(0));
        T.SetCorner(1, P.StoredCorner(Third));
        T.SetCorner(2, P.StoredCorner(Third + 1));
        Body(T);
    }
}

}  // namespace

TBSPNode::TBSPNode(const TPolygon& Polygon) { SetPlane(Polygon); }

TBSPNode::~TBSPNode() = default;

void TBSPNode::SetPlane(const TPolygon& F) {
    Normal = PolygonNormal(F);
    Distance = VectorDot(Normal, F.StoredCorner(0).Vector());
    HasPlane = true;
}

TBSPSide TBSPNode::PointSide(const TMVector& P) const {
    const double S = VectorDot(Normal, P) - Distance;
    if (std::fabs(S) < DefaultTolerance) return bsOn;
    return S > 0 ? bsFront : bsBack;
}

TBSPSide TBSPNode::ClassifyPolygon(const TPolygon& F) const {
    int Z = 0, N = 0, P = 0;
    for (int i = 0; i < 3; ++i) switch (PointSide(F.StoredCorner(i).Vector())) {
            case bsOn: ++Z; break;
            case bsBack: ++N; break;
            default: ++P; break;
        }
    if (Z == 3) return bsOn;
    if (N > 0 && P > 0) return bsSpanning;
    return N > 0 ? bsBack : bsFront;
}

void TBSPNode::AddTo(std::unique_ptr<TBSPNode>& Child, const TPolygon& F) {
    ForEachTriangle(F, [&](const TPolygon& T) {
        if (T.Area() <= BSPAreaThreshold) return;
        if (Child) {
            Child->InsertPolygon(T);
        } else {
            Child = std::make_unique<TBSPNode>(T);
            Child->Polygon = CopyPolygon(T);
        }
    });
}

void TBSPNode::AddBack(const TPolygon& F) { AddTo(Back, F); }

void TBSPNode::AddFront(const TPolygon& F) { AddTo(Front, F); }

void TBSPNode::InsertPolygon(const TPolygon& F) {
    if (F.Area() <= BSPAreaThreshold) return;
    switch (ClassifyPolygon(F)) {
        case bsBack: AddBack(F); break;
        case bsFront: AddFront(F); break;
        case bsSpanning: {
            std::unique_ptr<TPolygon> Above, Below;
            SplitTriangleByPlane(F, Plane(), Above, Below);
            if (Below) AddBack(*Below);
            if (Above) AddFront(*Above);
            break;
        }
        default: break;  // on the plane: dropped
    }
}

TBSPSide TBSPNode::ClassifyPoint(const TMVector& P) const {
    const TBSPSide C = PointSide(P);
    if (C == bsBack && Back) return Back->ClassifyPoint(P);
    if (C == bsFront && Front) return Front->ClassifyPoint(P);
    if (C != bsOn) return C;
    TBSPSide Result = bsOn;
    if (Back && Back->ClassifyPoint(P) == bsFront) Result = bsFront;
    if (Front && Front->ClassifyPoint(P) == bsBack) Result = bsBack;
    return Result;
}

void TBSPNode::AddSurface(const TBSplineSurface& Surface) {
    const auto Add = [this](const TRPoint& A, const TRPoint& B, const TRPoint& C) {
        TPolygon T(0);
        T.SetCorner(0, A);
        T.SetCorner(1, B);
        T.SetCorner(2, C);
        if (T.Area() <= BSPAreaThreshold) return;
        if (HasPlane)
            InsertPolygon(T);
        else
            SetPlane(T);
    };
    for (int j = 0; j + 1 < Surface.NumV(); ++j)
        for (int i = 0; i + 1 < Surface.NumU(); ++i) {
            Add(Surface.Point(i, j), Surface.Point(i + 1, j), Surface.Point(i, j + 1));
            Add(Surface.Point(i, j + 1), Surface.Point(i + 1, j), Surface.Point(i + 1, j + 1));
        }
}

void TBSPNode::ClipTriangle(const TPolygon& F, TBSPSide Side, TPolygonList& List) const {
    const auto Down = [&](const std::unique_ptr<TBSPNode>& Child, TBSPSide ChildSide, const TPolygon& Part) {
        if (Child)
            Child->ClipPolygon(Part, Side, List);
        else if (Side == ChildSide)
            List.Add(CopyPolygon(Part));
    };
    switch (ClassifyPolygon(F)) {
        case bsBack: Down(Back, bsBack, F); break;
        case bsFront: Down(Front, bsFront, F); break;
        case bsSpanning: {
            std::unique_ptr<TPolygon> Above, Below;
            SplitTriangleByPlane(F, Plane(), Above, Below);
            if (Below) Down(Back, bsBack, *Below);
            if (Above) Down(Front, bsFront, *Above);
            break;
        }
        default: break;
    }
}

void TBSPNode::ClipPolygon(const TPolygon& F, TBSPSide Side, TPolygonList& List) const {
    ForEachTriangle(F, [&](const TPolygon& T) { ClipTriangle(T, Side, List); });
}

}  // namespace sarnova
