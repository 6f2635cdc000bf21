#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTCoonsBrownPatch.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTPatchComplex.h"
#include "curvenet/XTPatchFace.h"
#include "curvenet/XTSubDivisionPatch.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/Gregory.h"
#include "surfaces/NPatchFootprint.h"
#include "surfaces/SurfaceList.h"
#include "tests/curvenet/CurveDocument.h"
#include "tests/curvenet/XTPatchFixtures.h"

using namespace sarnova;

namespace {

// A face built by hand, copied into a manifold whose faces are patch faces.
struct TLeafFace {
    test::TXTPatchFace Source;
    TManifold M;
    TXTPatchFace* Face = nullptr;
    TXTSurface Surface;

    explicit TLeafFace(int Sides) : Source(test::RegularPolygon(Sides)) {
        UseXTEdgeFactories(M);
        M.FaceFactory = [](TManifold* A) { return std::make_unique<TXTPatchFace>(A); };
        M.Assign(Source.M);
        Face = dynamic_cast<TXTPatchFace*>(M.Faces().Face(0));
    }
    void Build(TXTPatchType Type, int Levels = 1) {
        TXTSurfaceOptions O;
        O.PatchType = Type;
        O.SubdivisionIterations = Levels;
        Face->BuildPatch(O, {}, Surface);
    }
};

std::vector<std::string> DrawnBy(const std::function<void(IGraphics&)>& Draw) {
    TRecordingGraphics G;
    Draw(G);
    return G.Names();
}

// Curves and a surface resting on them.
struct TSurfaceNet : test::TCurveDocument {
    TXTSurface Surface;
    TSurfaceNet() {
        Surface.SetName("Surf");
        Surface.Manager = this;
    }
    ~TSurfaceNet() override { Surface.Clear(); }
    TXTCurve* Curve(const std::string& Name, const std::vector<TMVector>& Points) {
        TXTCurve* C = Add(Name, Points);
        Surface.Curves().Add(C);
        return C;
    }
    void Square() {
        Curve("Bottom", {{0, 0, 0}, {2, 0, 0}});
        Curve("Right", {{2, 0, 0}, {2, 2, 0}});
        Curve("Top", {{2, 2, 0}, {0, 2, 0}});
        Curve("Left", {{0, 2, 0}, {0, 0, 0}});
    }
};

}  // namespace

TEST(XTPatchFace, FiveSidedLeafFaceGetsWhatItsPatchTypeCanBuild) {
    const struct {
        TXTPatchType Type;
        bool NPatch;
        bool Subdivision;
    } Cases[] = {
        {sptGregory, false, false},       {sptCoons, false, false},         {sptLSqrsNPatch_C0, true, false},
        {sptLSqrsNPatch_C1, true, false}, {sptGregoryNPatch, true, false}, {sptSubdivision, false, true},
    };
    for (const auto& C : Cases) {
        TLeafFace L(5);
        L.Build(C.Type);
        EXPECT_EQ(L.Face->Surface(), nullptr) << C.Type;
        EXPECT_EQ(L.Face->PatchSurface(), nullptr) << C.Type;
        EXPECT_EQ(L.Face->NPatch() != nullptr, C.NPatch) << C.Type;
        EXPECT_EQ(L.Face->SubdivisionPatch() != nullptr, C.Subdivision) << C.Type;
        const bool Polygons = C.NPatch || C.Subdivision;
        ASSERT_EQ(L.Face->Polygons() != nullptr, Polygons) << C.Type;
        if (Polygons) {
            EXPECT_GT(L.Face->Polygons()->Count(), 0) << C.Type;
            TPolygonList Fresh;
            L.Face->AddPolygons(Fresh, 0);
            EXPECT_EQ(Fresh.Count(), L.Face->Polygons()->Count()) << C.Type;
        }
        if (C.Subdivision) {
            EXPECT_EQ(L.Face->Polygons()->Count(), 5) << "one quadrilateral per corner";
        }
        if (C.NPatch) {
            EXPECT_EQ(L.Face->NPatch()->Edges().Count(), 5) << C.Type;
        }
        if (!Polygons) {
            // Without a patch the face draws as its inset polygon.
            EXPECT_EQ(DrawnBy([&](IGraphics& G) { L.Face->Draw(G); }),
                      DrawnBy([&](IGraphics& G) { L.Face->DrawInset(G); }));
        }
    }
}

TEST(XTPatchFace, FourSidedPatchKindsGiveTheirSurfaceAndRebuildingReplacesIt) {
    TLeafFace L(4);
    L.Build(sptGregory);
    ASSERT_NE(dynamic_cast<TGregorySurface*>(L.Face->Surface()), nullptr);
    EXPECT_EQ(L.Face->PatchSurface(), L.Face->Surface());
    L.Build(sptCoonsBrown);
    ASSERT_NE(dynamic_cast<TXTCoonsBrownPatch*>(L.Face->Surface()), nullptr);
    // The patch takes the face's corners.
    const TMVector P = L.Face->Surface()->Evaluate(0, 0);
    bool AtCorner = false;
    for (const TMVector& C : test::RegularPolygon(4)) AtCorner = AtCorner || VectorDistance(P, C) < 1e-9;
    EXPECT_TRUE(AtCorner);
    L.Build(sptGregoryNPatch);
    EXPECT_EQ(L.Face->Surface(), nullptr);
}

TEST(XTPatchFace, NPatchParameterLinesAreAppendedToThoseAlreadyListed) {
    TLeafFace L(5);
    L.Build(sptGregoryNPatch);
    TPolylineList Own;
    L.Face->AddParameterLines(Own, 1);
    ASSERT_GT(Own.Count(), 0);
    TPolylineList List;
    List.Add(std::make_unique<TPolyline>());
    L.Face->AddParameterLines(List, 1);
    EXPECT_EQ(List.Count(), Own.Count() + 1);
}

TEST(XTPatchFace, BoundaryNormalsPointAlongSuCrossSv) {
    TLeafFace L(4);
    L.Build(sptGregory);
    TRecordingGraphics G;
    L.Face->DrawBoundaryNormals(G, 1.0);
    // Four runs of 101 hairs, each hair after the first joined to the previous tip.
    ASSERT_EQ(G.Names().size(), 4u * (101 + 100));
    TSurface* S = L.Face->Surface();
    const TSurfaceDerivatives D = S->EvaluateDerivatives(S->MinU(), S->MinV());
    const TMVector Right = VectorNormalise(VectorCross(D.Sv, D.Su));
    const auto& First = G.Calls.front();
    EXPECT_NEAR(VectorDistance(VectorFromTo(First.Points[0], First.Points[1]), Right), 0, 1e-9);
}

TEST(XTPatchFace, EveryEdgeOnASurfaceBoundaryCurveMakesTheFaceExterior) {
    for (const bool AllFlagged : {true, false}) {
        TSurfaceNet N;
        N.Square();
        for (auto& C : N.Curves)
            if (AllFlagged || C->GetName() != "Top") C->SetOptions(coSurfaceBoundary);
        N.Surface.Regenerate();
        int Exterior = 0;
        for (int I = 0; I < N.Surface.Manifold().Faces().Count(); ++I) {
            TFace* F = N.Surface.Manifold().Faces().Face(I);
            // The face finder marks only the outside face.
            Exterior += F->Exterior;
            EXPECT_TRUE(dynamic_cast<TXTPatchFace*>(F)->IsExterior() || !AllFlagged);
        }
        EXPECT_EQ(Exterior, 1);
        EXPECT_EQ(N.Surface.Surfaces().Count(), AllFlagged ? 0 : 1);
    }
}

TEST(XTPatchFace, CopiedCoonsBrownFaceBuildsItsPatchOnTheCopiedEdges) {
    TSurfaceNet N;
    N.Square();
    TXTSurfaceOptions O;
    O.PatchType = sptCoonsBrown;
    N.Surface.SetOptions(O);
    N.Surface.Regenerate();
    ASSERT_EQ(N.Surface.Surfaces().Count(), 1);

    TXTSurface Copy;
    Copy.Assign(N.Surface);
    ASSERT_EQ(Copy.Surfaces().Count(), 1);
    auto* Original = dynamic_cast<TXTCoonsBrownPatch*>(N.Surface.Surfaces().Surface(0));
    auto* Made = dynamic_cast<TXTCoonsBrownPatch*>(Copy.Surfaces().Surface(0));
    ASSERT_NE(Made, nullptr);
    ASSERT_NE(Made, Original);
    auto* Face = dynamic_cast<TXTPatchFace*>(Copy.PatchFaces().Face(0));
    EXPECT_EQ(&Made->Edges(), &Face->PatchEdges());
    EXPECT_NEAR(VectorDistance(Made->Evaluate(0.3, 0.7), Original->Evaluate(0.3, 0.7)), 0, 1e-12);
    Copy.Clear();
}

TEST(XTPatchFace, CopiedSurfaceKeepsItsPatchesButNotItsNPatches) {
    const struct {
        TXTPatchType Type;
        int Sides;
        bool Same;  // the copy gives the original's polygons
    } Cases[] = {
        {sptGregory, 4, true},         {sptCoonsGregory, 4, true}, {sptSubdivision, 4, true},
        {sptGregory, 5, true},  // split into pieces, which are copied with the face
        {sptGregoryNPatch, 4, false},
    };
    for (const auto& C : Cases) {
        TSurfaceNet N;
        const std::vector<TMVector> Corners = test::RegularPolygon(C.Sides, 2.0);
        for (int I = 0; I < C.Sides; ++I)
            N.Curve("C" + std::to_string(I), {Corners[I], Corners[(I + 1) % C.Sides]});
        TXTSurfaceOptions O;
        O.PatchType = C.Type;
        O.SubdivisionIterations = 2;
        N.Surface.SetOptions(O);
        TPolygonList Original;
        N.Surface.AddPolygons(Original, 0);
        ASSERT_GT(Original.Count(), 0) << C.Type;

        TXTSurface Copy;
        Copy.Assign(N.Surface);
        EXPECT_EQ(Copy.Surfaces().Count(), N.Surface.Surfaces().Count()) << C.Type;
        TPolygonList Copied;
        for (int I = 0; I < Copy.Manifold().Faces().Count(); ++I)
            dynamic_cast<TXTPatchFace*>(Copy.Manifold().Faces().Face(I))->AddPolygons(Copied, 0);
        EXPECT_EQ(Copied.Count() == Original.Count(), C.Same) << C.Type;
        if (C.Same) {
            EXPECT_LT(VectorDistance(Copied.Polygon(0)->Corner(0)->Vector(), Original.Polygon(0)->Corner(0)->Vector()), 1e-9);
        } else {
            EXPECT_EQ(Copied.Count(), 0);
        }
        Copy.Clear();
    }
}
