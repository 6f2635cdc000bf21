#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTPatchComplex.h"
#include "curvenet/XTReferencePoints.h"
#include "curvenet/XTSnapQuery.h"
#include "surfaces/Gregory.h"
#include "surfaces/SurfaceList.h"
#include "tests/curvenet/CurveDocument.h"
#include "tests/curvenet/XTPatchFixtures.h"

using namespace sarnova;

namespace {

struct TSplitNet : test::TCurveDocument {
    TXTSurface Surface;
    explicit TSplitNet(const TXTSurfaceOptions& Options = {}) {
        Surface.SetName("Surf");
        Surface.Manager = this;
        Surface.SetOptions(Options);
    }
    ~TSplitNet() override { Surface.Clear(); }
    TXTCurve* Curve(const std::string& Name, const std::vector<TMVector>& Points) {
        TXTCurve* C = Add(Name, Points);
        Surface.Curves().Add(C);
        return C;
    }
    // Closed loop of straight curves through the corners.
    void Loop(const std::vector<TMVector>& Corners) {
        for (std::size_t I = 0; I < Corners.size(); ++I)
            Curve("C" + std::to_string(I), {Corners[I], Corners[(I + 1) % Corners.size()]});
    }
    // The leaf faces without the outside face, which the list also holds.
    const TFaces& Generate() {
        Surface.Regenerate();
        Inside.Clear();
        const TFaces& All = Surface.PatchFaces();
        for (int I = 0; I < All.Count(); ++I)
            if (!All.Face(I)->IsExterior()) Inside.Add(All.Face(I));
        return Inside;
    }
    TXTPatchFaces Inside;
    std::vector<std::string> Texts() const {
        std::vector<std::string> T;
        for (const TInfoMessage& M : Messages) T.push_back(M.Text);
        return T;
    }
};

// Point Index of Holder becomes a bead on Host at Host's place nearest to it.
void BeadOn(TXTCurve& Holder, int Index, TXTCurve& Host) {
    Host.Regenerate();
    TXTSnapTarget S;
    S.Curve = &Host;
    S.Point = Holder.PointAt(Index);
    S.WorldPosition = Holder.PointAt(Index)->GetPosition();
    Host.NearestAddress(S.WorldPosition, S.Address);
    S.Kind = skCurve;
    Holder.ApplySnap(S);
}

TXTSurfaceOptions With(bool Regular, bool Irregular, bool Triangles = false, bool Join = false) {
    TXTSurfaceOptions O;
    O.UseRegularSubdivision = Regular;
    O.UseIrregularSubdivision = Irregular;
    O.AllowTrianglePatches = Triangles;
    O.JoinAdjacentEdges = Join;
    return O;
}

int CountWithSides(const TFaces& Faces, int Sides) {
    int N = 0;
    for (int I = 0; I < Faces.Count(); ++I) N += Faces.Face(I)->FinCount() == Sides ? 1 : 0;
    return N;
}

}  // namespace

TEST(XTPatchComplex, TriangleOfCurvesIsPatchedWholeOrAsThreeQuadrilaterals) {
    const struct {
        TXTSurfaceOptions Options;
        int Pieces;
        int Surfaces;
    } Cases[] = {
        {With(true, true), 3, 3},           // fewer than four sides: regular subdivision
        {With(true, false), 3, 3},
        {With(true, true, true), 1, 1},     // triangle patches allowed
        {With(false, false), 1, 1},         // no split: the four-sided kinds take three sides too
    };
    for (const auto& C : Cases) {
        TSplitNet N(C.Options);
        N.Loop({{0, 0, 0}, {2, 0, 0}, {1, 2, 0}});
        const TFaces& Pieces = N.Generate();
        EXPECT_TRUE(N.Surface.Generated());
        ASSERT_EQ(Pieces.Count(), C.Pieces);
        if (C.Pieces == 3) {
            EXPECT_EQ(CountWithSides(Pieces, 4), 3);
        }
        EXPECT_EQ(N.Surface.Surfaces().Count(), C.Surfaces);
    }
}

TEST(XTPatchComplex, RegularPentagonBecomesFiveQuadrilateralsRoundItsCentreWithGregoryPatches) {
    // Bezier sides are split at the midpoint's parameter, curve pieces at its curve address.
    for (const bool Bezier : {true, false}) {
        TXTSurfaceOptions O;
        O.ForceBezierEdges = Bezier;
        TSplitNet N(O);
        N.Loop(test::RegularPolygon(5, 2.0));
        const TFaces& Pieces = N.Generate();
        ASSERT_EQ(Pieces.Count(), 5);
        EXPECT_EQ(CountWithSides(Pieces, 4), 5);
        ASSERT_EQ(N.Surface.Surfaces().Count(), 5);
        for (int I = 0; I < 5; ++I) EXPECT_NE(dynamic_cast<TGregorySurface*>(N.Surface.Surfaces().Surface(I)), nullptr);
        // The pieces meet at the centre vertex.
        auto* Complex = dynamic_cast<TXTPatchComplex*>(N.Surface.Manifold().Faces().Face(0));
        if (Complex->IsExterior()) Complex = dynamic_cast<TXTPatchComplex*>(N.Surface.Manifold().Faces().Face(1));
        ASSERT_NE(Complex->LocalManifold(), nullptr);
        TVertices& V = Complex->LocalManifold()->Vertices();
        int Centre = 0;
        for (int I = 0; I < V.Count(); ++I) {
            if (V.Vertex(I)->EdgeCount() == 5) {
                ++Centre;
                EXPECT_LT(VectorLength(V.Vertex(I)->Position), 1e-9);
            }
        }
        EXPECT_EQ(Centre, 1);
        EXPECT_EQ(V.Count(), 11);
        // Every piece's patch keeps to its piece's side: a corner of the surface is a loop vertex.
        for (int I = 0; I < 5; ++I) {
            const TMVector P = N.Surface.Surfaces().Surface(I)->Evaluate(0, 0);
            double Nearest = 1e9;
            for (int J = 0; J < V.Count(); ++J) Nearest = std::min(Nearest, VectorDistance(P, V.Vertex(J)->Position));
            EXPECT_LT(Nearest, 1e-6);
        }
    }
}

TEST(XTPatchComplex, SidesOnOneCurveJoinAcrossASmoothPointButNotAcrossAKnuckle) {
    // The square's bottom curve is cut where a loose stem rests on it, or at its knuckle: the face
    // has five sides, two of them on the bottom curve.
    const struct {
        bool Knuckle;
        bool Join;
        int Pieces;
    } Cases[] = {{false, false, 5}, {false, true, 1}, {true, true, 5}};
    for (const auto& C : Cases) {
        // The straight corner on the bottom keeps a face from suiting regular subdivision, so only
        // that is allowed here.
        TSplitNet N(With(true, false, false, C.Join));
        TXTCurve* Bottom = N.Curve("Bottom", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
        N.Curve("Right", {{2, 0, 0}, {2, 2, 0}});
        N.Curve("Top", {{2, 2, 0}, {0, 2, 0}});
        N.Curve("Left", {{0, 2, 0}, {0, 0, 0}});
        if (C.Knuckle) {
            auto K = std::make_unique<TXTKnuckleConstraint>();
            K->Vertex = 1;
            Bottom->Constraints().Add(std::move(K));
        } else {
            TXTCurve* Stem = N.Curve("Stem", {{1.2, 0, 0}, {1.2, -1, 0}});
            BeadOn(*Stem, 0, *Bottom);
        }
        const TFaces& Pieces = N.Generate();
        ASSERT_EQ(Pieces.Count(), C.Pieces) << C.Knuckle << C.Join;
        EXPECT_EQ(CountWithSides(Pieces, 4), C.Pieces);
        EXPECT_EQ(N.Surface.Surfaces().Count(), C.Pieces);
    }
}

TEST(XTPatchComplex, FaceThatCannotBeDecomposedIsReportedWithItsBoxAndTheRestIsPatched) {
    // A square with a triangle on its right side; only decomposition may split.
    TSplitNet N(With(false, true));
    N.Loop({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}});
    N.Curve("Low", {{2, 0, 0}, {3, 1, 0}});
    N.Curve("High", {{3, 1, 0}, {2, 2, 0}});
    N.Generate();
    EXPECT_TRUE(N.Surface.Generated());
    ASSERT_EQ(N.Texts(), std::vector<std::string>{"Decomposition Failed"});
    const TMBox& Box = N.Messages[0].Box;
    EXPECT_NEAR(Box.Min.X, 2, 1e-9);
    EXPECT_NEAR(Box.Max.X, 3, 1e-9);
    EXPECT_NEAR(Box.Max.Y, 2, 1e-9);
    EXPECT_EQ(N.Surface.Surfaces().Count(), 1) << "the square still gets its patch";
}

TEST(XTPatchComplex, BothSplitsOffLeaveAManySidedFaceWithoutPatch) {
    TSplitNet N(With(false, false));
    N.Loop(test::RegularPolygon(6, 2.0));
    const TFaces& Pieces = N.Generate();
    ASSERT_EQ(Pieces.Count(), 1);
    EXPECT_EQ(Pieces.Face(0)->FinCount(), 6);
    EXPECT_EQ(N.Surface.Surfaces().Count(), 0);
    EXPECT_TRUE(N.Messages.empty());
}

// A hand-built face whose copy is a patch complex.
struct THandComplex {
    test::TXTPatchFace Hand;
    TManifold M;
    TXTPatchComplex* Face = nullptr;
    explicit THandComplex(const std::vector<TMVector>& Corners, test::TXTPatchFace::TSideShape Shape = {})
        : Hand(Corners, std::move(Shape)) {
        UseXTEdgeFactories(M);
        M.FaceFactory = [](TManifold* A) { return std::make_unique<TXTPatchComplex>(A); };
        M.Assign(Hand.M);
        Face = dynamic_cast<TXTPatchComplex*>(M.Faces().Face(0));
    }
};

TEST(XTPatchComplex, FailedRegularSubdivisionIsReportedAndLeavesTheFaceWhole) {
    // The sides lie on no curve and are not Bezier edges, so they cannot be split.
    THandComplex H(test::RegularPolygon(5));
    std::vector<TInfoMessage> Reported;
    TXTSurface Surface;
    H.Face->BuildPatch(With(true, false), [&](const TInfoMessage& M) { Reported.push_back(M); }, Surface);
    ASSERT_EQ(Reported.size(), 1u);
    EXPECT_EQ(Reported[0].Text, "Regular Subdivision Failed");
    EXPECT_NEAR(Reported[0].Box.Max.X, 1, 1e-12);
    EXPECT_EQ(H.Face->LocalManifold(), nullptr);
    TXTPatchFaces Leaves;
    H.Face->CollectFaces(Leaves);
    ASSERT_EQ(Leaves.Count(), 1);
    EXPECT_EQ(Leaves.Face(0), H.Face);
    EXPECT_EQ(H.Face->PatchSurface(), nullptr);
}

TEST(XTPatchComplex, WideCornerMakesAFaceUnsuitableForRegularSubdivision) {
    // Corner angles of a regular hexagon are 120 degrees; pushing one corner out flattens its
    // neighbours' corners past 155 degrees.
    const struct {
        double Push;
        bool Suitable;
    } Cases[] = {{1.0, true}, {0.1, false}};
    for (const auto& C : Cases) {
        std::vector<TMVector> Corners = test::RegularPolygon(6, 2.0);
        Corners[0] = VectorScale(Corners[0], C.Push);
        THandComplex H(Corners);
        TXTPatchComplex* Face = H.Face;
        TFace* Local = Face->CopyFace();
        EXPECT_EQ(Local->FinCount(), 6);
        EXPECT_EQ(Face->IsRegularSubdivisionSuitable(*Local), C.Suitable) << C.Push;
    }
}

TEST(XTPatchComplex, BisectorsThatDoNotMeetMakeAFaceUnsuitableInsteadOfFailing) {
    // A twisted quadrilateral whose normal lies in the plane of the two chords at its first corner,
    // so the face plane and their bisector planes share a direction; the sides bow out of that
    // plane there, so the corner itself is narrow.
    const TMVector B{1, 0, 0};
    const std::vector<TMVector> Corners{B, {1, 0, 1}, {0, 1, -1}, {0, 0, 0}};
    THandComplex H(Corners, [&](const TMVector& P, const TMVector& Q) {
        const TMVector Bow = VectorsEqual(P, B) || VectorsEqual(Q, B) ? TMVector{0, 0.5, 0} : TMVector{};
        return std::vector<TMVector>{P, VectorAdd(VectorLerp(P, Q, 1.0 / 3), Bow), VectorAdd(VectorLerp(P, Q, 2.0 / 3), Bow), Q};
    });
    TFace* Local = H.Face->CopyFace();
    bool Suitable = true;
    EXPECT_NO_THROW(Suitable = H.Face->IsRegularSubdivisionSuitable(*Local));
    EXPECT_FALSE(Suitable);
}

TEST(XTPatchComplex, FaceUnsuitableForRegularSubdivisionIsDecomposedWhenBothSplitsAreOn) {
    // An elongated hexagon whose long sides each bend by only 10 degrees at their middle corner.
    const double Bend = 0.0875;  // tan(5 degrees)
    const std::vector<TMVector> Corners{{0, 0, 0}, {2, -2 * Bend, 0}, {4, 0, 0}, {4, 1, 0}, {2, 1 + 2 * Bend, 0}, {0, 1, 0}};
    const struct {
        bool Regular;
        int Pieces;
    } Cases[] = {{true, 6}, {false, 2}};
    for (const auto& C : Cases) {
        TSplitNet N(C.Regular ? With(true, false) : With(true, true));
        N.Loop(Corners);
        const TFaces& Pieces = N.Generate();
        EXPECT_TRUE(N.Messages.empty()) << N.Texts().front();
        // Decomposed: one cut from bent corner to bent corner, in the plane x = 2.
        ASSERT_EQ(Pieces.Count(), C.Pieces) << C.Regular;
        EXPECT_EQ(CountWithSides(Pieces, 4), Pieces.Count());
        EXPECT_EQ(N.Surface.Surfaces().Count(), Pieces.Count());
    }
}
