#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "curvenet/XTCurve.h"
#include "foundation/TextFile.h"
#include "tests/curvenet/CurveDocument.h"

using namespace sarnova;
using sarnova::test::Saved;
using sarnova::test::TCurveDocument;

namespace {

TXTOffsetConstraint* OffsetOf(TXTCurve& C) {
    for (int I = 0; I < C.Constraints().Count(); ++I)
        if (auto* O = dynamic_cast<TXTOffsetConstraint*>(C.Constraints().Items(I))) return O;
    return nullptr;
}

void AddPlane(TXTCurve& C, std::uint8_t Direction) {
    auto P = std::make_unique<TXTPlaneConstraint>();
    P->Direction = Direction;
    C.Constraints().Add(std::move(P));
}

}  // namespace

TEST(XTOffsetConstraint, RecordsAddRemoveAndCopies) {
    TCurveDocument Doc;
    TXTCurve* From = Doc.Add("Sheer(2)", {{0, 0, 0}, {5, 1, 0}, {10, 0, 0}});
    TXTCurve* C = Doc.Add("Deck", {{0, 0, 1}, {10, 0, 1}}, false);

    EXPECT_EQ(TXTOffsetConstraint::OffsetConstraintState(*C), csAbsent);
    AddOffsetConstraint(*C);
    AddOffsetConstraint(*C);
    EXPECT_EQ(C->Constraints().Count(), 1);
    EXPECT_EQ(TXTOffsetConstraint::OffsetConstraintState(*C), csPresent);
    TXTOffsetConstraint* O = OffsetOf(*C);
    ASSERT_NE(O, nullptr);
    EXPECT_NE(Saved(*C).find("NumConstraints=1\nTXTOffsetConstraint\n OffsetDirection=NONE\n OffsetFromCurve=\n"),
              std::string::npos);

    O->OffsetDirection = odZ;
    O->SetOffsetCurve(From);
    EXPECT_TRUE(C->HasInput(From));
    const std::string Text = Saved(*C);
    EXPECT_NE(Text.find("TXTOffsetConstraint\n OffsetDirection=Z\n OffsetFromCurve=Sheer(2)\n"), std::string::npos)
        << Text;

    // Read back, and copied: both keep the direction and the curve.
    TXTCurve* Read = Doc.Add("", {}, false);
    TTextReader R(Text);
    Read->LoadFromText(R);
    TXTCurve* Copy = Doc.Add("", {}, false);
    Copy->Assign(*C);
    for (TXTCurve* K : {Read, Copy}) {
        TXTOffsetConstraint* KO = OffsetOf(*K);
        ASSERT_NE(KO, nullptr);
        EXPECT_EQ(KO->EffectiveDirection(), odZ);
        EXPECT_EQ(KO->OffsetCurve(), From);
        EXPECT_TRUE(K->HasInput(From));
    }

    RemoveOffsetConstraint(*C);
    EXPECT_EQ(C->Constraints().Count(), 0);
    AddPlane(*C, pdZ);
    EXPECT_EQ(TXTOffsetConstraint::OffsetConstraintState(*C), csNotAllowed);
}

TEST(XTOffsetConstraint, EffectiveDirectionFollowsTheOffsetFromCurve) {
    TCurveDocument Doc;
    TXTCurve* Planar = Doc.Add("Planar", {{0, 0, 0}, {5, 1, 0}, {10, 0, 0}});
    AddPlane(*Planar, pdZ);
    TXTCurve* Bent = Doc.Add("Bent", {{0, 0, 0}, {5, 1, 1}, {10, 0, 0}});
    TXTCurve* C = Doc.Add("C", {{0, 0, 1}, {10, 0, 1}}, false);
    auto Owned = std::make_unique<TXTOffsetConstraint>(C);
    TXTOffsetConstraint* O = static_cast<TXTOffsetConstraint*>(C->Constraints().Add(std::move(Owned)));

    O->OffsetDirection = odY;
    EXPECT_EQ(O->EffectiveDirection(), odNone);  // no curve yet
    O->OffsetDirection = odY;
    O->SetOffsetCurve(Planar);
    EXPECT_EQ(O->EffectiveDirection(), odNormal);
    EXPECT_EQ(O->OffsetPlane().Normal, (TMVector{0, 0, 1}));
    O->SetOffsetCurve(Bent);
    EXPECT_EQ(O->EffectiveDirection(), odNone);
    O->OffsetDirection = odX;
    EXPECT_EQ(O->EffectiveDirection(), odX);
    EXPECT_EQ(O->OffsetPlane().Normal, (TMVector{1, 0, 0}));
}

TEST(XTOffsetConstraint, VerticesKeepTheirOffsetsAsTheOtherCurveMoves) {
    struct TCase {
        std::uint8_t Direction;
        TMVector Expected;  // where vertex 1 lands on the straight offset-from curve y = 0
    };
    const TCase Cases[] = {
        {odNone, {4, 0, 0}},  // onto the curve
        {odZ, {4, 0, 2}},     // over its place, 2 above
        {odY, {4, 3, 0}},
    };
    for (const TCase& K : Cases) {
        TCurveDocument Doc;
        TXTCurve* From = Doc.Add("From", {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}});
        TXTCurve* C = Doc.Add("C", {{0, 3, 2}, {4, 3, 2}, {8, 3, 2}}, false);
        auto O = std::make_unique<TXTOffsetConstraint>(C, From);
        O->OffsetDirection = K.Direction;
        C->Constraints().Add(std::move(O));
        C->Regenerate();
        const TMVector P = C->PointAt(1)->GetPosition();
        EXPECT_NEAR(P.X, K.Expected.X, 1e-3) << int(K.Direction);
        EXPECT_NEAR(P.Y, K.Expected.Y, 1e-9) << int(K.Direction);
        EXPECT_NEAR(P.Z, K.Expected.Z, 1e-9) << int(K.Direction);

        // The other curve moves up by 1: every vertex follows with its kept attachment.
        for (int I = 0; I < From->PointCount(); ++I) {
            TMVector V = From->PointAt(I)->GetPosition();
            V.Z += 1;
            From->PointAt(I)->SetPosition(V);
        }
        C->Regenerate();
        EXPECT_NEAR(C->PointAt(1)->GetPosition().Z, K.Expected.Z + 1, 1e-9) << int(K.Direction);
        EXPECT_NEAR(C->PointAt(1)->GetPosition().X, P.X, 1e-12) << int(K.Direction);
    }
}

TEST(XTOffsetConstraint, VertexDroppedNearASpanEndAttachesThere) {
    TCurveDocument Doc;
    // A knuckle at x = 4 makes two spans.
    TXTCurve* From = Doc.Add("From", {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}}, false);
    auto K = std::make_unique<TXTKnuckleConstraint>();
    K->Vertex = 1;
    From->Constraints().Add(std::move(K));
    TXTCurve* C = Doc.Add("C", {{0, 0, 1}, {2, 0, 1}, {8, 0, 1}}, false);
    auto O = std::make_unique<TXTOffsetConstraint>(C, From);
    O->OffsetDirection = odZ;
    C->Constraints().Add(std::move(O));
    C->Regenerate();
    ASSERT_EQ(From->Segments().Count(), 2);
    EXPECT_EQ(C->PointAt(1)->OffsetAttachment.Address.SegmentIndex, 0);

    // Dropped just short of the knuckle: attached at the start of the second span, exactly over it.
    C->PointAt(1)->SetPosition({3.99, 0, 1.5});
    C->Regenerate();
    const TXTOffsetAttachment& A = C->PointAt(1)->OffsetAttachment;
    EXPECT_EQ(A.Address, MakeBeadAddress(1, 0.0));
    EXPECT_NEAR(A.Distance, 1.5, 1e-12);
    EXPECT_NEAR(C->PointAt(1)->GetPosition().X, 4, 1e-12);
}

// A deck line offset straight up from a rising sheer keeps its points when the attachments are
// found again from the points alone, as after saving and reopening.
TEST(XTOffsetConstraint, FindingTheAttachmentsAgainMovesNoPoint) {
    TCurveDocument Doc;
    TXTCurve* From = Doc.Add("Sheer", {{0, 0, 1}, {5, 2, 1.6}, {10, 2.5, 2.8}, {15, 2, 4.5}});
    TXTCurve* C = Doc.Add("Deck", {{1, 0.5, 2}, {6, 2, 2.5}, {11, 2.5, 3.5}, {14, 2.2, 5}}, false);
    AddOffsetConstraint(*C);
    TXTOffsetConstraint* O = OffsetOf(*C);
    O->SetOffsetCurve(From);
    O->OffsetDirection = odZ;
    C->Regenerate();
    std::vector<TMVector> Placed;
    for (int I = 0; I < C->PointCount(); ++I) Placed.push_back(C->PointAt(I)->GetPosition());
    for (int Reopen = 0; Reopen < 3; ++Reopen) {
        for (int I = 0; I < C->PointCount(); ++I) C->PointAt(I)->OffsetAttachment = {};
        O->ApplyToPositions();
        for (int I = 0; I < C->PointCount(); ++I)
            EXPECT_LT(VectorDistance(C->PointAt(I)->GetPosition(), Placed[static_cast<std::size_t>(I)]), 1e-9)
                << "point " << I << " after " << Reopen + 1;
    }
}
