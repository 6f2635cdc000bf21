// Openings cut out of the hull's facets: a rectangle strip of shell between two stations and
// optional profiles, and a side damage whose inboard limit is a wedge reaching a given penetration.
#include <cmath>
#include <utility>
#include <vector>

#include "document/Settings.h"
#include "foundation/Contours.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyListSections.h"
#include "foundation/PolylineOps.h"
#include "foundation/VkMaths.h"
#include "naval/GOpening.h"

namespace sarnova {

namespace {

std::unique_ptr<TPolyline> JoinedOrEmpty(std::unique_ptr<TPolylineList> Pieces) {
    std::unique_ptr<TPolyline> Joined = Pieces ? JoinPolylines(*Pieces) : nullptr;
    return Joined ? std::move(Joined) : std::make_unique<TPolyline>();
}

// The largest y where the waterline crosses x = X; throws when it does not reach that station.
double HalfBreadthAt(TPolyline& Waterline, double X) {
    const std::unique_ptr<TPolyline> Crossings = CurvePlaneIntersections(TMPlane{{1, 0, 0}, X}, Waterline);
    if (!Crossings || Crossings->Count() == 0)
        throw EGeometryError(Format("GOpening:CreateSolasOpening - The waterline does not reach x = %0.3f", {X}));
    return Crossings->Extents().Max.Y;
}

// Cuts every section at the bottom profile, then at the top profile.
void CutToProfiles(TPolylineList& Sections, TRectangleOpening& D) {
    for (int I = 0; I < Sections.Count(); ++I) {
        if (D.Bottom->Count() > 0) CutToBoundary(*Sections.Items(I), *D.Bottom, 1, 2);
        if (D.Top->Count() > 0) CutToBoundary(*Sections.Items(I), *D.Top, -1, 2);
    }
}

std::unique_ptr<TGeoOpening> FinishOpening(TPolylineList& Sections, TRectangleOpening& D) {
    if (Sections.Count() == 0) throw EGeometryError("Opening " + D.Name + ", No section cuts the hull");
    if (D.Reflect)
        for (int I = 0; I < Sections.Count(); ++I)
            for (int J = 0; J < Sections.Items(I)->Count(); ++J) Sections.Items(I)->Point(J)->Y *= -1;
    auto Opening = std::make_unique<TGeoOpening>();
    Opening->SetName(D.Name);
    Opening->Sections().AddCopies(Sections);
    Opening->UnifySections();
    if (D.Normal) Opening->OrientToNormal(D.Normal->Vector());
    Opening->Connection().Assign(D.Connection);
    return Opening;
}

void RequireHull(const TRectangleOpening& D) {
    if (!D.HullPolygons) throw EGeometryError("No Hull Entity");
    if (D.SectionCount < 2) throw EGeometryError("Opening " + D.Name + ", Number of sections is less than 2");
}

}  // namespace

void TrimSectionAtDeckEdge(TPolyline& Section) {
    Section.RemoveDuplicatePoints();
    double Best = -1e33;
    int Edge = -1;
    for (int I = 0; I < Section.Count(); ++I) {
        const double S = Section.Point(I)->Y + Section.Point(I)->Z;
        if (S > Best) {
            Best = S;
            Edge = I;
        }
    }
    while (Edge >= 0 && Section.Count() > Edge + 1) Section.Delete(Section.Count() - 1);
}

std::unique_ptr<TPolyline> StarboardHalfOfCut(const TPolyline& Cut) {
    constexpr double Tolerance = DefaultTolerance;
    std::vector<TMVector> P;
    for (int I = 0; I < Cut.Count(); ++I) P.push_back(std::as_const(Cut).Point(I)->Vector());
    if (Cut.IsClosed() && P.size() > 1) P.pop_back();
    const std::size_t N = P.size();
    bool Port = false, Starboard = false;
    for (const TMVector& V : P) {
        Port = Port || V.Y < -Tolerance;
        Starboard = Starboard || V.Y > Tolerance;
    }
    if (!Port || !Starboard) return nullptr;
    const bool Closed = Cut.IsClosed();
    const std::size_t Segments = Closed ? N : N - 1;
    // The lowest place where the cut crosses the centre plane, and which way the starboard side lies.
    double Lowest = HugeValue;
    std::size_t From = 0;
    bool Forward = true;
    TMVector Keel;
    for (std::size_t I = 0; I < Segments; ++I) {
        const TMVector& A = P[I];
        const TMVector& B = P[(I + 1) % N];
        if ((A.Y > 0) == (B.Y > 0) || A.Y == B.Y) continue;
        const TMVector C = VectorLerp(A, B, A.Y / (A.Y - B.Y));
        if (C.Z < Lowest) {
            Lowest = C.Z;
            Keel = {C.X, 0, C.Z};
            Forward = B.Y > 0;
            From = Forward ? (I + 1) % N : I;
        }
    }
    if (Lowest == HugeValue) return nullptr;
    auto Half = std::make_unique<TPolyline>();
    Half->AddPoint(Keel.X, Keel.Y, Keel.Z);
    std::size_t I = From;
    for (std::size_t Step = 0; Step < N; ++Step) {
        const TMVector& V = P[I];
        if (V.Y < -Tolerance) {
            // Back across the centre plane: the half ends there.
            const TMVector Before = Half->Last()->Vector();
            if (Before.Y > 0) {
                const TMVector C = VectorLerp(Before, V, Before.Y / (Before.Y - V.Y));
                Half->AddPoint(C.X, 0, C.Z);
            }
            break;
        }
        Half->AddPoint(V.X, V.Y, V.Z);
        if (!Closed && (Forward ? I + 1 >= N : I == 0)) break;
        I = Forward ? (I + 1) % N : (I + N - 1) % N;
    }
    return Half;
}

std::unique_ptr<TPolyline> HullWaterline(const TPolygonList& Hull, double Z) {
    TContours C;
    C.AddContour(2, Z);
    return JoinedOrEmpty(ContoursFromPolygons(&Hull, C, ContourColors()));
}

std::unique_ptr<TPolyline> SlantedHullCut(const TPolygonList& Hull, const TMMatrix& M) {
    const std::unique_ptr<TPolygonList> Moved = Hull.Transformed(M);
    TContours C;
    C.AddContour(0, 0);
    return JoinedOrEmpty(ContoursFromPolygons(Moved.get(), C, ContourColors()))->Transformed(MatrixInverse(M));
}

std::unique_ptr<TPolylineList> HullOpeningSections(const TPolygonList& Hull, double Location, double Length, int N) {
    TContours C;
    for (int I = 0; I < N; ++I) C.AddContour(0, Location - Length / 2 + static_cast<double>(I) / (N - 1) * Length);
    std::unique_ptr<TPolylineList> Sections = ContoursFromPolygons(&Hull, C, ContourColors());
    if (!Sections) return std::make_unique<TPolylineList>();
    // A whole hull's sections run round both sides: the opening is in the starboard shell.
    for (int I = 0; I < Sections->Count(); ++I)
        if (auto Half = StarboardHalfOfCut(*Sections->Items(I))) {
            Sections->Delete(I);
            Sections->Insert(I, std::move(Half));
        }
    OrientPolylinesUpward(*Sections);
    Sections->SortByStation();
    TidySections(*Sections);
    Sections->SortByStation();
    for (int I = 0; I < Sections->Count(); ++I) TrimSectionAtDeckEdge(*Sections->Items(I));
    return Sections;
}

std::unique_ptr<TGeoOpening> CreateRectangleOpening(TRectangleOpening& D) {
    RequireHull(D);
    std::unique_ptr<TPolylineList> Sections = HullOpeningSections(*D.HullPolygons, D.Location, D.Length, D.SectionCount);
    CutToProfiles(*Sections, D);
    return FinishOpening(*Sections, D);
}

std::unique_ptr<TGeoOpening> CreateSolasOpening(TSolasOpening& D) {
    RequireHull(D);
    const TPolygonList& Hull = *D.HullPolygons;
    const double T = D.Draught, Xm = D.Location, L = D.Length;
    std::unique_ptr<TPolyline> Waterline = HullWaterline(Hull, T);
    const double YMid = HalfBreadthAt(*Waterline, Xm);

    // The penetration: a distance, or "B" and the divisor of the breadth on the waterline.
    const std::string Text = UpperCase(D.Penetration);
    const auto B = Text.find('B');
    const double P = B == std::string::npos ? ParseFloat(Text)
                                            : 2 * Waterline->Extents().Max.Y / ParseFloat(Text.substr(B + 1));
    if (GConsole) GConsole->WriteLine(Format(" Penetration: %0.3f", {P}));
    const double Ya = YMid - P;

    // The wedge: the hull's traces in the vertical planes through the apex and the waterline's side
    // at either end of the opening.
    const double YAft = HalfBreadthAt(*Waterline, Xm - L / 2);
    const double YFore = HalfBreadthAt(*Waterline, Xm + L / 2);
    const double Angles[] = {std::atan(L / (2 * (YAft - Ya))), -std::atan(L / (2 * (YFore - Ya)))};
    TPolylineList W;
    for (double Theta : Angles) {
        const TMMatrix M = MatrixMultiply(MatrixFromRotationAngles(0, 0, Theta), MatrixTranslation(-Xm, -Ya, 0));
        std::unique_ptr<TPolyline> Cut = SlantedHullCut(Hull, M);
        // On a whole hull the plane cuts both sides: the damage is in the starboard shell.
        if (auto Half = StarboardHalfOfCut(*Cut)) Cut = std::move(Half);
        W.Add(std::move(Cut));
    }
    OrientPolylinesUpward(W);
    const double Top = W.Extents().Max.Z;
    for (int I = 0; I < W.Count(); ++I) {
        TPolyline& Cut = *W.Items(I);
        TrimSectionAtDeckEdge(Cut);
        if (Cut.Count() == 0) throw EGeometryError("GOpening:CreateSolasOpening - The wedge misses the hull");
        Cut.Last()->Z = Top;
    }
    W.SortByStation();

    // Both cuts start on the vertical line through the apex.
    auto StartAtApex = [Xm](TPolyline& Cut, bool Aft) {
        std::unique_ptr<TRPoint> S = Cut.PointAtX(Xm);
        if (!S) throw EGeometryError("GOpening:CreateSolasOpening - The wedge misses the hull");
        while (Cut.Count() > 0 && (Aft ? Cut.First()->X > S->X : Cut.First()->X < S->X)) Cut.Delete(0);
        Cut.Insert(0, std::move(S));
    };
    StartAtApex(*W.Items(0), true);
    StartAtApex(*W.Items(1), false);
    std::unique_ptr<TPolyline> Fence = W.Items(0)->JoinAtNearestEnds(*W.Items(1));
    std::unique_ptr<TPolylineList> Below = ClipListAtHeight(W, -1, false, T);
    if (!Below) Below = std::make_unique<TPolylineList>();

    std::unique_ptr<TPolylineList> All = HullOpeningSections(Hull, Xm, L, D.SectionCount);
    for (int I = 0; I < All->Count(); ++I)
        if (All->Items(I)->Count() > 0) All->Items(I)->Last()->Z = Top;
    if (All->Count() != D.SectionCount)
        throw EGeometryError("GOpening:CreateSolasOpening - Wrong Number of Sections Created");
    std::unique_ptr<TPolylineList> Sections = ClipListAtLevel(*All, 1, 2, Ya - 0.001, false);
    if (!Sections || Sections->Count() == 0)
        throw EGeometryError("GOpening:CreateSolasOpening - Wrong Number of Sections Created");

    // The end sections start where the wedge's trace below the waterline reaches them.
    auto ClipEnd = [&](int Index, const TPolyline* Cut, double Dx) {
        TPolyline& S = *Sections->Items(Index);
        if (Cut == nullptr) return;
        const std::unique_ptr<TRPoint> H = const_cast<TPolyline*>(Cut)->PointAtX(S.GetStation() + Dx);
        if (!H) return;
        if (std::unique_ptr<TPolyline> Upper = S.ClipAtHeight(1, false, H->Z)) {
            Sections->Insert(Index, std::move(Upper));
            Sections->Delete(Index + 1);
        }
    };
    const int N = Sections->Count();
    ClipEnd(0, Below->Count() > 0 ? Below->Items(0) : nullptr, 0.001);
    ClipEnd(N - 1, Below->Count() > 0 ? Below->Items(Below->Count() - 1) : nullptr, -0.001);
    for (int I = 1; I < N - 1; ++I)
        if (Fence) CutToBoundary(*Sections->Items(I), *Fence, 1, 1);

    CutToProfiles(*Sections, D);
    return FinishOpening(*Sections, D);
}

}  // namespace sarnova
