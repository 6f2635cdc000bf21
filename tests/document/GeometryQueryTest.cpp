// Queries for kernel objects, object-snap requests and menu items that carry their document.
#include "document/GeometryQuery.h"

#include <gtest/gtest.h>

#include "TestPoint.h"
#include "document/Settings.h"
#include "foundation/Errors.h"
#include "platform/RecordingGraphics.h"

namespace sarnova::test {
namespace {

// A kernel object that counts the live copies.
struct TCounted {
    TCounted() { ++Alive; }
    ~TCounted() { --Alive; }
    static inline int Alive = 0;
};

// An entity holding one surface-like object: it answers kind 10 before kind 8, a mesh made for the
// query (kind 7) last, and counts in count-only mode.
class TSurfaceLike : public TGeometry {
public:
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TSurfaceLike>(); }
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, 1, 1, 1); }
    void Query(TGeometryQuery& Q) override {
        const int Kind = Q.FirstAsked({qkSurfaceList, qkSurface, qkSampledMesh});
        if (Kind < 0) return;
        if (Q.CountOnly)
            Q.CountItem();
        else if (Kind == qkSampledMesh)
            Q.AddInstance(std::make_unique<TCounted>(), GetName());
        else
            Q.AddReference(&Kept, GetName());
    }
    TCounted Kept;
};

TEST(GeometryQueryTest, CountOnlyQueriesCountAndRefuseItems) {
    TGeometryList Document;
    Document.Add(std::make_unique<TSurfaceLike>());
    Document.Add(std::make_unique<TTestPoint>("P", 0));
    TGeometryQuery Q;
    Q.Kinds = QueryKinds({8, 10, 12, 13});
    Q.CountOnly = true;
    Document.Query(Q, false);
    EXPECT_EQ(Q.Count(), 1);
    try {
        Q.AddReference(&Q, "x");
        FAIL();
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TGeometryQuery.AddReference - Querying Object data Only, Cannot Add Reference");
    }
    try {
        Q.AddInstance(std::make_unique<TCounted>(), "x");
        FAIL();
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TGeometryQuery.AddReference - Querying Object data Only, Cannot Add Instance");
    }
}

TEST(GeometryQueryTest, AQueryFreesWhatWasMadeForItAndNothingElse) {
    TSurfaceLike Entity;
    Entity.SetName("Hull");
    const int Before = TCounted::Alive;
    {
        TGeometryQuery Q;
        Q.Kinds = QueryKinds({qkSurface, qkSampledMesh});
        Entity.Query(Q);
        Q.Kinds = QueryKinds({qkSampledMesh});
        Entity.Query(Q);
        ASSERT_EQ(Q.Count(), 2);
        EXPECT_EQ(Q.First()->As<TCounted>(), &Entity.Kept);
        EXPECT_FALSE(Q.Item(0).Owned());
        EXPECT_TRUE(Q.Item(1).Owned());
        EXPECT_EQ(Q.Item(1).Name, "Hull");
        EXPECT_EQ(Q.Item(1).As<TSurfaceLike>(), nullptr);
        EXPECT_EQ(TCounted::Alive, Before + 1);
    }
    EXPECT_EQ(TCounted::Alive, Before);
    EXPECT_EQ(TGeometryQuery::Resolution(), 4);
}

// Pixels are world x and y.
class TPlanView : public TRecordingGraphics {
public:
    TPoint WorldToScreenVector(const TMVector& V) override { return {int(V.X), int(V.Y)}; }
};

TEST(GeometrySnapTest, ALowerKindInsideTheToleranceBeatsACloserHigherKind) {
    struct TCase {
        double PointDistance;
        double CurveDistance;
        std::uint8_t Kind;  // 255: nothing found
    };
    // The default snap kinds are stPoint and stCurve; stSurfaceEdge is switched off.
    const TCase Cases[] = {{20, 2, stPoint}, {31, 2, stCurve}, {29.9, 0, stPoint}, {40, 35, 255}};
    TPlanView View;
    TGeometry A, B;
    for (const TCase& C : Cases) {
        TGeometrySnapInfo Snap({100, 100}, &View, nullptr, ZeroVector);
        Snap.TryPoint({100, 100, 0}, stSurfaceEdge, &A);
        Snap.TryPoint({100 + C.CurveDistance, 100, 0}, stCurve, &B);
        Snap.TryPoint({100, 100 + C.PointDistance, 0}, stPoint, &A);
        EXPECT_EQ(Snap.Found(), C.Kind != 255) << C.PointDistance;
        EXPECT_EQ(Snap.BestKind, C.Kind) << C.PointDistance;
        if (C.Kind != 255) {
            EXPECT_EQ(Snap.SnapTarget, C.Kind == stPoint ? &A : &B);
        }
    }
    // Within one kind the nearest wins, and of two equally near the first stays.
    TGeometrySnapInfo Snap({0, 0}, &View, nullptr, ZeroVector);
    Snap.TryPoint({5, 0, 0}, stPoint, &A);
    Snap.TryPoint({0, 5, 0}, stPoint, &B);
    Snap.TryPoint({0, 3, 0}, stPoint, &B);
    EXPECT_EQ(Snap.BestPoint.Y, 3);
    Snap.TryPoint({3, 0, 0}, stPoint, &A);
    EXPECT_EQ(Snap.SnapTarget, &B);
}

TEST(GeometrySnapTest, AnEntityAskingTakesItsListsSnapDistance) {
    TGeometryList Document;
    Document.SnapDistance = 12;
    TTestPoint* Asker = static_cast<TTestPoint*>(Document.Add(std::make_unique<TTestPoint>("P", 0)));
    EXPECT_EQ(TGeometrySnapInfo({0, 0}, nullptr, Asker, ZeroVector).Tolerance, 12);
    TTestPoint Loose("Q", 0);
    EXPECT_EQ(TGeometrySnapInfo({0, 0}, nullptr, &Loose, ZeroVector).Tolerance, 30);
}

TEST(GeometryMenuItemTest, AClickedItemCarriesItsDocument) {
    TGeometryList Document;
    TGeometryList* Clicked = nullptr;
    TMenuItem Root;
    Root.Add(NewGMenuItem("New Curve", &Document, [&](TMenuItem& Sender) { Clicked = GeometryListOf(Sender); }));
    Root.Items(0).Click();
    EXPECT_EQ(Clicked, &Document);
    EXPECT_EQ(GeometryListOf(Root), nullptr);
}

}  // namespace
}  // namespace sarnova::test
