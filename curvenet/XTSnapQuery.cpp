#include "curvenet/XTSnapQuery.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <typeinfo>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "foundation/Graphics.h"
#include "foundation/Errors.h"
#include "foundation/PolylineOps.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

double PixelDistance(const TPoint& A, const TPoint& B) {
    return std::hypot(static_cast<double>(A.X - B.X), static_cast<double>(A.Y - B.Y));
}

// In a plane view (parallel rays along an axis: the body plan, profile or plan) the plane through
// World across the view; std::nullopt in any other view.
std::optional<TMPlane> DepthPlane(IGraphics& G, const TPoint& Pixel, const TMVector& World) {
    const TMVector D = VectorNormalise(G.ScreenToRayPoint(Pixel).Direction);
    const TMVector E = VectorNormalise(G.ScreenToRayPoint({Pixel.X + 50, Pixel.Y + 50}).Direction);
    const double Along = std::max({std::abs(D.X), std::abs(D.Y), std::abs(D.Z)});
    if (!(Along > 1 - 1e-9) || VectorDistance(D, E) > 1e-9) return std::nullopt;
    return PlaneFromNormalAndPoint(D, World);
}

// The curve's plane constraint when it has a direction, else nullptr.
const TXTPlaneConstraint* ActivePlane(const TXTCurve& Curve) {
    const TXTPlaneConstraint* Plane = Curve.Constraints().PlaneConstraint();
    return Plane && Plane->Direction != pdNone ? Plane : nullptr;
}

}  // namespace

TXTSnapQuery::TXTSnapQuery(TXTCurve* ACurve, std::uint8_t AOptions, IGraphics& G)
    : Options(AOptions), FCurve(ACurve), FGraphics(&G) {
    if (TXTPoint* P = SelectedPoint()) FStartPosition = P->GetPosition();
}

TXTSnapQuery::~TXTSnapQuery() { ClearTargets(); }

int TXTSnapQuery::SelectedCount() const {
    int N = 0;
    for (int I = 0; I < FCurve->PointCount(); ++I)
        if (FCurve->PointAt(I)->Selected) ++N;
    return N;
}

int TXTSnapQuery::SelectedIndex() const {
    int Found = -1;
    for (int I = 0; I < FCurve->PointCount(); ++I) {
        if (!FCurve->PointAt(I)->Selected) continue;
        if (Found >= 0) return -1;
        Found = I;
    }
    return Found;
}

TXTPoint* TXTSnapQuery::SelectedPoint() const {
    int I = SelectedIndex();
    return I >= 0 ? FCurve->PointAt(I) : nullptr;
}

void TXTSnapQuery::FindSnap(TXTSnapTarget& Target, const TPoint& Pixel, const TMVector& World, int DraggedIndex) {
    TXTCurveRepresentation& Candidate = *Target.Curve;
    // A candidate that cannot be rebuilt offers nothing; the query never raises.
    try {
        if (!Candidate.IsUpToDate()) Candidate.Regenerate();
    } catch (const EError&) {
        return;
    }
    const TXTPlaneConstraint* Plane = DraggedIndex > 0 ? ActivePlane(*FCurve) : nullptr;

    TXTSnapTarget OnCurve;
    if ((Options & soCurves) && Candidate.Polyline().Count() > 0) {
        std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Pixel, Candidate.Polyline(), *FGraphics);
        TBeadAddress Address = MakeBeadAddress(Nearest->Tag, Nearest->W);
        Candidate.NormaliseAddress(Address);
        if (IsValidAddress(Address)) {
            TMVector Q;
            Candidate.F(Address, Q);
            TPoint Screen = FGraphics->WorldToScreenVector(Q);
            double ScreenDistance = PixelDistance(Screen, Pixel);
            if (ScreenDistance < SnapTolerance) {
                OnCurve.Kind = skCurve;
                OnCurve.Address = Address;
                OnCurve.WorldPosition = Q;
                OnCurve.ScreenPosition = Screen;
                OnCurve.WorldDistance = VectorDistance(World, Q);
                OnCurve.ScreenDistance = ScreenDistance;
                // A planar curve's vertex must stay in its plane, and a vertex placed in a plane view
                // at the view's depth (a keel seen end-on in the body plan is one pixel for every x):
                // it goes where the candidate crosses that plane.
                std::optional<TMPlane> Keep;
                if (Plane) {
                    Keep = Plane->Plane();
                } else if (const auto Depth = DepthPlane(*FGraphics, Pixel, World)) {
                    const double Scale = 1 + VectorLength(World) + VectorLength(Q);
                    if (std::abs(VectorDot(Depth->Normal, VectorFromTo(World, Q))) > 1e-9 * Scale) Keep = Depth;
                }
                if (Keep) {
                    Candidate.NearestPlaneIntersection(*Keep, World, OnCurve.Address);
                    if (IsValidAddress(OnCurve.Address))
                        Candidate.F(OnCurve.Address, OnCurve.WorldPosition);
                    else
                        OnCurve.Kind = skNone;
                }
            }
        }
    }

    TXTSnapTarget OnVertex;
    if (Options & soVertices) {
        int Best = -1;
        double BestDistance = 0.0;
        TPoint BestScreen;
        for (int I = 0; I < Candidate.PointCount(); ++I) {
            const TXTPoint* V = Candidate.PointAt(I);
            if (V->State == 0) continue;
            TPoint Screen = FGraphics->WorldToScreenVector(V->GetPosition());
            double D = PixelDistance(Screen, Pixel);
            if (Best < 0 || D < BestDistance) {
                Best = I;
                BestDistance = D;
                BestScreen = Screen;
            }
        }
        // A vertex of another curve is in general not in this curve's plane.
        if (Best >= 0 && BestDistance < SnapTolerance && !Plane) {
            OnVertex.Kind = skVertex;
            OnVertex.VertexIndex = Best;
            OnVertex.WorldPosition = Candidate.PointAt(Best)->GetPosition();
            OnVertex.ScreenPosition = BestScreen;
            OnVertex.WorldDistance = VectorDistance(World, OnVertex.WorldPosition);
            OnVertex.ScreenDistance = BestDistance;
        }
    }

    const TXTSnapTarget& Found = OnVertex.Kind == skVertex ? OnVertex : OnCurve;
    if (Found.Kind == skNone) return;
    Target.Kind = Found.Kind;
    Target.WorldPosition = Found.WorldPosition;
    Target.ScreenPosition = Found.ScreenPosition;
    Target.Address = Found.Address;
    Target.VertexIndex = Found.VertexIndex;
    Target.WorldDistance = Found.WorldDistance;
    Target.ScreenDistance = Found.ScreenDistance;
}

void TXTSnapQuery::Query(const TPoint& Pixel, const TMVector& World, TXTSnapTarget& Result) {
    FDetaching = false;
    Result.Kind = skNone;
    Result.Curve = nullptr;
    Result.Point = nullptr;
    int Dragged = SelectedIndex();
    if (Dragged >= 0) {
        TXTPoint* Vertex = FCurve->PointAt(Dragged);
        ClearTargets();
        if (FCurve->Manager) {
            std::unique_ptr<TXTNodeList> Nodes = FCurve->Manager->Nodes();
            for (int I = 0; I < Nodes->Count(); ++I) {
                auto* Candidate = dynamic_cast<TXTCurveRepresentation*>(Nodes->Items(I));
                if (!Candidate || FCurve->HasDependent(Candidate)) continue;
                if (OnFilter && !OnFilter(Candidate)) continue;
                auto Target = std::make_unique<TXTSnapTarget>();
                Target->Curve = Candidate;
                Target->Point = Vertex;
                FTargets.push_back(std::move(Target));
            }
        }
        for (auto& Target : FTargets) FindSnap(*Target, Pixel, World, Dragged);
        std::sort(FTargets.begin(), FTargets.end(), [](const auto& A, const auto& B) {
            bool VertexA = A->Kind == skVertex, VertexB = B->Kind == skVertex;
            bool CurveA = A->Kind == skCurve, CurveB = B->Kind == skCurve;
            if (VertexA && CurveB) return true;
            if (CurveA && VertexB) return false;
            return A->WorldDistance < B->WorldDistance;
        });

        TXTSnapTarget Best;
        if (!FTargets.empty()) Best = *FTargets.front();
        auto* Reference = dynamic_cast<TXTReferencePoint*>(Vertex);
        if (Reference && (Best.Kind == skVertex || Best.Kind == skCurve) && Best.Curve == Reference->GetTargetNode()) {
            // Still on its own host: it stays attached where it is.
            Result.Point = Vertex;
            Result.Kind = skNone;
        } else if (Best.Kind != skNone) {
            Result = Best;
        } else if (Reference) {
            FDetaching = true;
            Result.Kind = skDetach;
            Result.Point = Vertex;
            Result.ScreenPosition = Pixel;
            Result.WorldPosition = World;
        }
    }
    RedirectVertexSnap(Result);
}

void TXTSnapQuery::RedirectVertexSnap(TXTSnapTarget& Result) const {
    if (Result.Kind != skVertex || !Result.Curve) return;
    if (Result.VertexIndex < 0 || Result.VertexIndex >= Result.Curve->PointCount()) return;
    TXTPoint* V = Result.Curve->PointAt(Result.VertexIndex);
    if (typeid(*V) != typeid(TXTPoint)) {
        // Never answer with a reference whose own target is again a vertex reference.
        for (auto* Ref = dynamic_cast<TXTPointIndexReference*>(V);
             Ref && dynamic_cast<TXTPointIndexReference*>(Ref->ReferencedVertex());
             Ref = dynamic_cast<TXTPointIndexReference*>(Ref->ReferencedVertex())) {
            Result.Curve = static_cast<TXTCurveRepresentation*>(Ref->GetTargetNode());
            Result.VertexIndex = Ref->VertexIndex();
        }
        return;
    }
    // A vertex already shared is always referenced through the first curve that took it.
    const TXTReferences& Dependents = Result.Curve->Dependents();
    for (int I = 0; I < Dependents.Count(); ++I) {
        auto* Holder = dynamic_cast<TXTCurve*>(Dependents.OwnerOf(I));
        if (!Holder) continue;
        for (int J = 0; J < Holder->PointCount(); ++J) {
            auto* Ref = dynamic_cast<TXTPointIndexReference*>(Holder->PointAt(J));
            if (Ref && Ref->GetTargetNode() == Result.Curve && Ref->VertexIndex() == Result.VertexIndex) {
                Result.Curve = Holder;
                Result.VertexIndex = J;
                return;
            }
        }
    }
}

TCursor TXTSnapQuery::Cursor() const {
    if (FDetaching) return crDetachPending;
    if (FTargets.empty() || FTargets.front()->Kind == skNone) return 0;
    if (TXTPoint* Vertex = SelectedPoint()) {
        auto* Reference = dynamic_cast<TXTReferencePoint*>(Vertex);
        if (Reference && FTargets.front()->Curve == Reference->GetTargetNode()) return 0;
    }
    return crSnapPending;
}

void FillCurveNameList(std::vector<std::string>& Names, const TXTCurve& Curve, bool WithNone) {
    Names.clear();
    if (WithNone) Names.push_back("<none>");
    if (!Curve.Manager) return;
    std::unique_ptr<TXTNodeList> Nodes = Curve.Manager->Nodes();
    for (int I = 0; I < Nodes->Count(); ++I) {
        TXTNode* Node = Nodes->Items(I);
        if (Node && typeid(*Node) == typeid(Curve) && !Curve.HasDependent(Node)) Names.push_back(Node->GetName());
    }
}

}  // namespace sarnova
