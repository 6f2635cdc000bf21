#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "tests/curvenet/CurveDocument.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

using namespace sarnova;
using sarnova::test::Saved;
using sarnova::test::TCurveDocument;

namespace {

std::vector<TMVector> Line(int N, double Y = 0.0) {
    std::vector<TMVector> P;
    for (int I = 0; I < N; ++I) P.push_back({static_cast<double>(I), Y, 0.0});
    return P;
}

// Makes point Index of Curve rest on Target: at Address for a curve snap, on vertex Vertex otherwise.
TXTReferencePoint* Snap(TXTCurve& Curve, int Index, TXTCurve& Target, std::uint8_t Kind, TBeadAddress Address,
                        int Vertex = -1) {
    TXTSnapTarget S;
    S.Curve = &Target;
    S.Point = Curve.PointAt(Index);
    S.WorldPosition = Curve.PointAt(Index)->GetPosition();
    S.Address = Address;
    S.VertexIndex = Vertex;
    S.Kind = Kind;
    Curve.ApplySnap(S);
    return dynamic_cast<TXTReferencePoint*>(Curve.PointAt(Index));
}

void ExpectNear(const TMVector& A, const TMVector& B, double Tol, const std::string& What = "") {
    EXPECT_NEAR(A.X, B.X, Tol) << What;
    EXPECT_NEAR(A.Y, B.Y, Tol) << What;
    EXPECT_NEAR(A.Z, B.Z, Tol) << What;
}

}  // namespace

TEST(XTReferencePoints, VertexReferenceFollowsInsertedRemovedAndReversedHostPoints) {
    struct TCase {
        const char* What;
        std::function<void(TXTCurve&)> Edit;
        int Expected;  // -1: the reference became a plain point
    };
    const TCase Cases[] = {
        {"insert at 2", [](TXTCurve& H) { H.InsertPointAt(2, {1.5, 1, 0}); }, 4},
        {"insert at 5", [](TXTCurve& H) { H.InsertPointAt(5, {4.5, 1, 0}); }, 3},
        {"insert at 3", [](TXTCurve& H) { H.InsertPointAt(3, {2.5, 1, 0}); }, 4},
        {"remove 1", [](TXTCurve& H) { H.DeletePoint(1); }, 2},
        {"remove 4", [](TXTCurve& H) { H.DeletePoint(4); }, 3},
        {"remove 3", [](TXTCurve& H) { H.DeletePoint(3); }, -1},
        {"reverse", [](TXTCurve& H) { H.ReversePoints(); }, 6},
    };
    for (const TCase& C : Cases) {
        TCurveDocument Doc;
        TXTCurve* Host = Doc.Add("Host", Line(10));
        TXTCurve* Holder = Doc.Add("Holder", {{3, -1, 0}, {3, 0, 0}, {3, 1, 1}});
        auto* R = dynamic_cast<TXTPointIndexReference*>(Snap(*Holder, 1, *Host, skVertex, InvalidBeadAddress, 3));
        ASSERT_NE(R, nullptr) << C.What;
        Holder->Regenerate();
        EXPECT_EQ(Holder->PointAt(1)->GetPosition().X, 3.0) << C.What;

        C.Edit(*Host);
        TXTPoint* P = Holder->PointAt(1);
        if (C.Expected < 0) {
            EXPECT_FALSE(P->IsReferencePoint()) << C.What;
            ExpectNear(P->GetPosition(), {3, 0, 0}, 1e-12, C.What);
            EXPECT_EQ(Holder->DirtyLevel(), dlSpans) << C.What;
            EXPECT_FALSE(Holder->HasInput(Host)) << C.What;
        } else {
            ASSERT_TRUE(P->IsReferencePoint()) << C.What;
            EXPECT_EQ(static_cast<TXTPointIndexReference*>(P)->VertexIndex(), C.Expected) << C.What;
            Holder->Regenerate();
            EXPECT_EQ(Holder->PointAt(1)->GetPosition(), Host->PointAt(C.Expected)->GetPosition()) << C.What;
        }
    }
}

TEST(XTReferencePoints, VertexReferenceRefusesABeadAddressAndReportsAFreeVertex) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", Line(5), false);  // inner points free
    TXTCurve* Holder = Doc.Add("Holder", {{2, -1, 0}, {2, 0, 0}, {2, 1, 1}});
    TXTReferencePoint* R = Snap(*Holder, 1, *Host, skVertex, InvalidBeadAddress, 2);
    ASSERT_NE(R, nullptr);

    const std::pair<std::function<void()>, const char*> Setters[] = {
        {[&] { R->SetBeadAddress({0, 0.5}); },
         "TXTPointIndexReference.SetBeadAddress - Cannot set the BeadAddress of a Point Index reference point"},
        {[&] { R->SetT(0.5); }, "TXTPointIndexReference.SetT - Cannot set the BeadAddress of a Point Index reference point"},
        {[&] { R->SetSegmentIndex(0); },
         "TXTPointIndexReference.SetSegmentIndex - Cannot set the BeadAddress of a Point Index reference point"},
    };
    for (const auto& [Set, Message] : Setters) {
        try {
            Set();
            ADD_FAILURE() << "no error: " << Message;
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
    }

    // A free vertex is still followed, but the user is told.
    Holder->Regenerate();
    EXPECT_EQ(Holder->PointAt(1)->GetPosition(), Host->PointAt(2)->GetPosition());
    ASSERT_FALSE(Doc.Messages.empty());
    EXPECT_EQ(Doc.Messages.back().Text, "Incorrect Referenced Control Point (Index: 1)");
    // It has no place on the host, so a paste check turns it into a plain point.
    TBeadAddress A;
    R->GetBeadAddress(A);
    EXPECT_FALSE(IsValidAddress(A));
    Holder->CheckReferences();
    EXPECT_FALSE(Holder->PointAt(1)->IsReferencePoint());
}

TEST(XTReferencePoints, BeadFollowsItsHostAndOutlivesIt) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {2, 1, 0}, {4, 0, 0}});
    TXTCurve* Holder = Doc.Add("Holder", {{1, -1, 0}, {1, 0, 0}, {1, 1, 1}});
    TMVector Target;
    Host->F({0, 0.5}, Target);
    TXTReferencePoint* B = Snap(*Holder, 1, *Host, skCurve, {0, 0.5});
    ASSERT_NE(dynamic_cast<TXTBead*>(B), nullptr);
    Holder->Regenerate();
    ExpectNear(Holder->PointAt(1)->GetPosition(), Target, 1e-12, "placed at its address");

    // Moving a host point keeps the address and moves the bead with the host.
    Host->PointAt(1)->SetPosition({2, 3, 0});
    Holder->Regenerate();
    B = static_cast<TXTReferencePoint*>(Holder->PointAt(1));
    EXPECT_EQ(B->GetSegmentIndex(), 0);
    EXPECT_EQ(B->GetT(), 0.5);
    Host->F({0, 0.5}, Target);
    ExpectNear(B->GetPosition(), Target, 1e-12, "moved with the host");

    // Reversal and insertion re-address the bead to where it was, not to its old parameter.
    const TMVector Before = B->GetPosition();
    Host->ReversePoints();
    Holder->Regenerate();
    ExpectNear(Holder->PointAt(1)->GetPosition(), Before, 1e-3, "after reversal");
    EXPECT_GT(B->GetT(), 0.5);
    // After a point is inserted, the bead goes to the place of the new host nearest to where it was,
    // not to its old parameter.
    const double OldT = B->GetT();
    TMVector OnHost;
    Host->F({0, 0.25}, OnHost);
    Host->InsertPointAt(1, OnHost);
    Holder->Regenerate();
    EXPECT_GT(std::abs(B->GetT() - OldT), 0.05);
    TBeadAddress Nearest;
    Host->NearestAddress(Before, Nearest);
    Host->F(Nearest, OnHost);
    ExpectNear(Holder->PointAt(1)->GetPosition(), OnHost, 1e-3, "after insertion");

    // Deleting the host leaves a plain point where the bead was.
    const TMVector Last = Holder->PointAt(1)->GetPosition();
    Doc.Delete(Host);
    TXTPoint* P = Holder->PointAt(1);
    EXPECT_FALSE(P->IsReferencePoint());
    EXPECT_EQ(P->GetPosition(), Last);
    EXPECT_EQ(Holder->DirtyLevel(), dlSpans);
    EXPECT_EQ(Holder->Inputs().Count(), 0);
    Holder->Regenerate();
}

TEST(XTReferencePoints, DraggedBeadSlidesAlongItsHost) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}});
    TXTCurve* Holder = Doc.Add("Holder", {{1, -1, 0}, {1, 0, 0}, {1, 1, 1}});
    TXTReferencePoint* B = Snap(*Holder, 1, *Host, skCurve, {0, 0.5});
    B->SetPosition({3, 5, 5});
    ExpectNear(B->GetPosition(), {3, 0, 0}, 1e-3, "nearest place");
    B->SetX(6);
    ExpectNear(B->GetPosition(), {6, 0, 0}, 1e-4, "where the host reaches x = 6");
    // Released, it goes where it is put; set back, it returns onto the host.
    B->ReleaseAt({6, 2, 0});
    EXPECT_EQ(B->GetPosition(), (TMVector{6, 2, 0}));
    B->SetReleased(false);
    ExpectNear(B->GetPosition(), {6, 0, 0}, 1e-3, "back on the host");
}

TEST(XTReferencePoints, MissingHostFailsRegenerationButNotAPasteCheck) {
    TCurveDocument Doc;
    TXTCurve* Holder = Doc.Add("Holder", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    auto Bead = std::make_unique<TXTBead>(Holder);
    Bead->SetPosition({1, 0, 0});
    Bead->ReadReferenceText("Bead at Address 0:0.250000 on Curve Missing");
    Holder->Points().Replace(Holder->PointAt(1), std::move(Bead));
    try {
        Holder->Regenerate();
        ADD_FAILURE() << "regenerated without its host";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TXTReferencePoint.ValidateReferences - Point Reference could not be resolved");
    }
    Holder->CheckReferences();
    EXPECT_FALSE(Holder->PointAt(1)->IsReferencePoint());
    EXPECT_EQ(Holder->PointAt(1)->GetPosition(), (TMVector{1, 0, 0}));
    Holder->Regenerate();
}

// Beads that would close a cycle (C on A, A on B, B on C) are refused; the message names the curves
// of the cycle in the order they would rest on each other.
TEST(XTReferencePoints, ACycleOfBeadsNamesItsCurves) {
    TCurveDocument Doc;
    TXTCurve* Curves[3] = {Doc.Add("A", Line(3)), Doc.Add("B", Line(3)), Doc.Add("C", Line(3))};
    const auto BeadOn = [](TXTCurve* Holder, const std::string& Host) {
        auto Bead = std::make_unique<TXTBead>(Holder);
        Bead->SetPosition({1, 0, 0});
        Bead->ReadReferenceText("Bead at Address 0:0.250000 on Curve " + Host);
        Holder->Points().Replace(Holder->PointAt(1), std::move(Bead));
    };
    BeadOn(Curves[0], "B");
    BeadOn(Curves[1], "C");
    Curves[0]->Regenerate();
    BeadOn(Curves[2], "A");
    try {
        Curves[2]->Regenerate();
        ADD_FAILURE() << "a cycle regenerated";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TXTReferencePoint.ValidateReferences - Point Reference could not be resolved, "
                               "the curves would rest on each other: C -> A -> B -> C");
    }
}

TEST(XTReferencePoints, PointOnAKnuckleLineIsAKnuckle) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", Line(3));
    TXTCurve* Holder = Doc.Add("Holder", {{1, -1, 0}, {1, 0, 0}, {1, 1, 1}}, false);
    Snap(*Holder, 1, *Host, skVertex, InvalidBeadAddress, 1);
    Holder->Regenerate();
    EXPECT_EQ(Holder->PointAt(1)->State, psInterpolated);
    Host->SetRibbonKind(rkKnuckle);
    Holder->Regenerate();
    EXPECT_EQ(Holder->PointAt(1)->State, psKnuckle);
}

TEST(XTReferencePoints, TransformedVertexReferenceBecomesABeadInsideTheHostsBoxElsePlain) {
    for (const double Shift : {0.5, 20.0}) {
        TCurveDocument Doc;
        TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {2, 1, 0}, {4, 0, 0}, {6, 1, 0}});
        TXTCurve* Holder = Doc.Add("Holder", {{2, -1, 0}, {2, 1, 0}, {2, 3, 1}});
        Snap(*Holder, 1, *Host, skVertex, InvalidBeadAddress, 1);
        Holder->Regenerate();
        Holder->Transform(MatrixTranslation(Shift, 0, 0));
        TXTPoint* P = Holder->PointAt(1);
        if (Shift < 1) {
            ASSERT_NE(dynamic_cast<TXTBead*>(P), nullptr);
            TBeadAddress A;
            static_cast<TXTBead*>(P)->GetBeadAddress(A);
            TMVector On;
            Host->F(A, On);
            ExpectNear(P->GetPosition(), On, 1e-9, "bead on the host");
            EXPECT_NEAR(P->GetPosition().X, 2.5, 0.1);
        } else {
            EXPECT_FALSE(P->IsReferencePoint());
            ExpectNear(P->GetPosition(), {22, 1, 0}, 1e-12, "plain point moved");
        }
    }
}

TEST(XTReferencePoints, PlaneConstraintRangeIsWhereEveryHostIsCut) {
    TCurveDocument Doc;
    TXTCurve* A = Doc.Add("A", {{1, 0, 0}, {2.5, 0, 0}, {4, 0, 0}});
    TXTCurve* B = Doc.Add("B", {{3, 0, 2}, {6, 0, 2}, {9, 0, 2}});
    TXTCurve* Holder = Doc.Add("Holder", {{3.5, 0, 0}, {3.5, 0, 1}, {3.5, 0, 2}});
    Snap(*Holder, 0, *A, skCurve, {0, 0.5});
    Snap(*Holder, 2, *B, skCurve, {0, 0.1});
    auto Plane = std::make_unique<TXTPlaneConstraint>();
    Plane->Direction = pdX;
    TXTPlaneConstraint* P = static_cast<TXTPlaneConstraint*>(Holder->Constraints().Add(std::move(Plane)));
    Holder->Regenerate();
    P->UpdateRange();
    EXPECT_NEAR(P->RangeMin, 3, 1e-9);
    EXPECT_NEAR(P->RangeMax, 4, 1e-9);
    EXPECT_EQ(P->ClampToRange(8), P->RangeMax);
    EXPECT_EQ(P->ClampToRange(0), P->RangeMin);
    // Both beads sit where the plane cuts their hosts.
    P->SetParameterValue(7);
    Holder->Regenerate();
    EXPECT_NEAR(Holder->PointAt(0)->GetPosition().X, 4, 1e-5);
    EXPECT_NEAR(Holder->PointAt(2)->GetPosition().X, 4, 1e-5);
}

// ---- The text block ----

namespace {

const char* const ExampleBlock =
    "Name=XTCurve1\n"
    "CurveOptions=[coFitChordLength]\n"
    "TangentRibbon=None\n"
    "NumConstraints=0\n"
    "NumPoints=2\n"
    "0.000000 0.000000 0.000000\n"
    "1.000000 2.000000 0.500000 (Bead at Address 0:0.250000 on Curve XTCurve2)\n";

// Sets the numeric locale for one test; skips when the system does not have it.
struct TNumericLocale {
    explicit TNumericLocale(const char* Name) : Old(std::setlocale(LC_NUMERIC, nullptr)) {
        Ok = std::setlocale(LC_NUMERIC, Name) != nullptr;
    }
    ~TNumericLocale() { std::setlocale(LC_NUMERIC, Old.c_str()); }
    std::string Old;
    bool Ok;
};

}  // namespace

TEST(XTCurveText, ExampleBlockReadsAndWritesBackUnchanged) {
    for (const char* Locale : {"C", "de_DE.utf8"}) {
        TNumericLocale L(Locale);
        if (!L.Ok) continue;
        TCurveDocument Doc;
        // XTCurve2 is a straight line through the bead at its address.
        TMVector At;
        Doc.Add("Probe", {{0, 2, 0.5}, {4, 2, 0.5}}, false)->F({0, 0.25}, At);
        const double X0 = 1 - At.X;
        TXTCurve* C2 = Doc.Add("XTCurve2", {{X0, 2, 0.5}, {X0 + 4, 2, 0.5}}, false);
        C2->Regenerate();
        TXTCurve* C1 = Doc.Add("", {}, false);
        TTextReader R(ExampleBlock);
        C1->LoadFromText(R);
        EXPECT_EQ(C1->GetName(), "XTCurve1");
        EXPECT_EQ(C1->Options(), coFitChordLength);
        ASSERT_EQ(C1->PointCount(), 2);
        auto* Bead = dynamic_cast<TXTBead*>(C1->PointAt(1));
        ASSERT_NE(Bead, nullptr);
        EXPECT_EQ(Bead->GetT(), 0.25);
        EXPECT_EQ(Saved(*C1), ExampleBlock) << Locale;
        C1->Regenerate();
        EXPECT_EQ(Bead->HostCurve(), C2);
        ExpectNear(Bead->GetPosition(), {1, 2, 0.5}, 1e-9, Locale);
        EXPECT_EQ(Saved(*C1), ExampleBlock) << Locale;
    }
}

TEST(XTCurveText, BeadOnACurveReadLaterIsAttachedAtFirstUse) {
    TCurveDocument Doc;
    TXTCurve* C1 = Doc.Add("", {}, false);
    TTextReader R(ExampleBlock);
    C1->LoadFromText(R);
    auto* Bead = static_cast<TXTBead*>(C1->PointAt(1));
    EXPECT_EQ(Bead->Reference().CurrentTarget(), nullptr);
    TXTCurve* C2 = Doc.Add("XTCurve2", {{0, 2, 0.5}, {4, 2, 0.5}}, false);
    C1->Regenerate();
    EXPECT_EQ(Bead->HostCurve(), C2);
    EXPECT_TRUE(C1->HasInput(C2));
}

TEST(XTCurveText, ReadingAcceptsVariantsAndRefusesDamage) {
    // Ribbon lines, commas as decimal separators and a missing options line.
    TCurveDocument Doc;
    TXTCurve* C = Doc.Add("", {}, false);
    C->SetOptions(coSurfaceBoundary);
    TTextReader R("Name=A=B\nTangentRibbon=TangentialToCurve\nNumConstraints=0\nNumPoints=2\n1,5 2,25 -3\n"
                  "0,5 0 0 (Bead at Address 1:0,375000 on Curve Elsewhere)\n");
    C->LoadFromText(R);
    auto* B = dynamic_cast<TXTBead*>(C->PointAt(1));
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->GetSegmentIndex(), 1);
    EXPECT_EQ(B->GetT(), 0.375);
    EXPECT_EQ(B->Reference().GetName(), "Elsewhere");
    EXPECT_EQ(C->GetName(), "A=B");
    EXPECT_EQ(C->Options(), coSurfaceBoundary);
    EXPECT_EQ(C->GetRibbonKind(), rkTangentialToCurve);
    EXPECT_EQ(C->PointAt(0)->GetPosition(), (TMVector{1.5, 2.25, -3}));

    const std::pair<const char*, std::uint8_t> Ribbons[] = {
        {"TangentRibbon=X", rkX}, {"TangentRibbon=Knuckle", rkKnuckle}, {"TangentRibbon=Other", rkNone}};
    for (const auto& [Line, Kind] : Ribbons) {
        TXTCurve Fresh;
        TTextReader F(std::string("Name=A\n") + Line + "\nNumConstraints=0\nNumPoints=0\n");
        Fresh.LoadFromText(F);
        EXPECT_EQ(Fresh.GetRibbonKind(), Kind) << Line;
    }

    const std::pair<const char*, const char*> Bad[] = {
        {"Name=A\nNumConstraints=0\nNumPoints=0\n", "old format curve file: Ribbon Tangent into not present"},
        {"Name=A\nTangentRibbon=None\nNumConstraints=0\nNumPoints=1\n0 0 0 (On Curve B)\n",
         "Unhandled reference point (On Curve B)"},
    };
    for (const auto& [Text, Message] : Bad) {
        TXTCurve Fresh;
        TTextReader F(Text);
        try {
            Fresh.LoadFromText(F);
            ADD_FAILURE() << "read: " << Text;
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
    }
    TXTCurve Fresh;
    TTextReader F("Name=A\nTangentRibbon=None\nNumConstraints=0\nNumPoints=1\n0 x 0\n");
    EXPECT_THROW(Fresh.LoadFromText(F), EConvertError);
}

TEST(XTCurveText, HostNamesWithBracketsAndVertexReferencesSurviveARoundTrip) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Hull(1)", Line(4));
    TXTCurve* Holder = Doc.Add("Holder", {{1, -1, 0}, {1, 0, 0}, {2, 0, 1}, {2, 1, 1}});
    Snap(*Holder, 1, *Host, skVertex, InvalidBeadAddress, 1);
    Snap(*Holder, 2, *Host, skCurve, {1, 0.5});
    Holder->Regenerate();
    const std::string Text = Saved(*Holder);
    EXPECT_NE(Text.find("(Vertex 1 on Curve Hull(1))\n"), std::string::npos) << Text;
    EXPECT_NE(Text.find(" on Curve Hull(1))\n"), std::string::npos) << Text;

    TXTCurve* Copy = Doc.Add("", {}, false);
    TTextReader R(Text);
    Copy->LoadFromText(R);
    EXPECT_EQ(Copy->PointCount(), 4);
    EXPECT_EQ(Saved(*Copy), Text);
    Copy->Regenerate();
    EXPECT_EQ(static_cast<TXTReferencePoint*>(Copy->PointAt(1))->HostCurve(), Host);
    EXPECT_EQ(static_cast<TXTReferencePoint*>(Copy->PointAt(2))->HostCurve(), Host);
    EXPECT_EQ(static_cast<TXTPointIndexReference*>(Copy->PointAt(1))->VertexIndex(), 1);

    // A document read afresh: the paste check of the holding curve finds the host's vertex passed
    // through, although the host has not been rebuilt yet.
    TXTCurve* OnVertex = Doc.Add("OnVertex", {{2, -1, 0}, {2, 0, 0}}, false);
    Snap(*OnVertex, 1, *Host, skVertex, InvalidBeadAddress, 2);
    TCurveDocument Fresh;
    for (TXTCurve* Source : {Host, OnVertex}) {
        TTextReader F(Saved(*Source));
        Fresh.Add("", {}, false)->LoadFromText(F);
    }
    TXTCurve* Read = Fresh.Curves[1].get();
    Read->CheckReferences();
    EXPECT_TRUE(Read->PointAt(1)->IsReferencePoint());
}

TEST(XTReferencePoints, RibbonOfTheHostTurnsTheTangentsAtTheBead) {
    struct TCase {
        const char* What;
        std::uint8_t Ribbon;
        bool Override;
        TMVector Out;  // the tangent leaving the bead
    };
    // The host bends in z = 0; the holding curve leaves it up and outwards, along (0, 1, 1).
    const TCase Cases[] = {
        {"along the Z ribbon", rkZ, false, {0, 0, 1}},
        {"laid into the host's plane", rkTangentialToCurve, false, {0, 1, 0}},
        {"kept by the override", rkZ, true, {0, 1 / std::sqrt(2.0), 1 / std::sqrt(2.0)}},
    };
    for (const TCase& C : Cases) {
        TCurveDocument Doc;
        TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {1, 0.2, 0}, {2, 0, 0}});
        Host->SetRibbonKind(C.Ribbon);
        TXTCurve* Holder = Doc.Add("Holder", {{1, -1, -1}, {1, 0.2, 0}, {1, 1.4, 1}}, false);
        Snap(*Holder, 1, *Host, skVertex, InvalidBeadAddress, 1);
        if (C.Override) {
            auto O = std::make_unique<TXTOverrideSurfaceTangentConstraint>();
            O->Vertex = 1;
            Holder->Constraints().Add(std::move(O));
        }
        Holder->Regenerate();
        const TXTPoint* P = Holder->PointAt(1);
        EXPECT_EQ(P->State, C.Override ? psInterpolated : psBreak) << C.What;
        if (C.Override) continue;  // no tangent set: the spline decides
        EXPECT_EQ(P->OutTangent.GetKind(), tkDirection) << C.What;
        ExpectNear(P->OutTangent.GetVector(), C.Out, 1e-9, C.What);
        ExpectNear(P->InTangent.GetVector(), VectorNegate(C.Out), 1e-9, C.What);
    }
}

TEST(XTReferencePoints, CrossingPlaneHoldsBothCurvesTangents) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {2, 0, 0}, {4, 0, 0}});
    TXTCurve* Holder = Doc.Add("Holder", {{2, -2, 0}, {2, 0, 0}, {2, 2, 0}});
    TXTReferencePoint* B = Snap(*Holder, 1, *Host, skCurve, {0, 0.5});
    Holder->Regenerate();
    TXTRibbonTangent R;
    B->CrossingPlane(R);
    EXPECT_EQ(R.Kind, 7);
    ExpectNear(R.Reference, {0, 1, 0}, 1e-9, "own tangent");
    ExpectNear(R.Plane.Normal, {0, 0, -1}, 1e-9, "Y x X");  // right-handed: own tangent x host's
    EXPECT_NEAR(R.Plane.Distance, 0, 1e-12);
    ExpectNear(R.Frame.Tangent, {1, 0, 0}, 1e-9, "host frame");

    Host->SetRibbonKind(rkKnuckle);
    Holder->SetRibbonKind(rkKnuckle);
    B->CrossingPlane(R);
    EXPECT_EQ(R.Kind, rkNone);
}

TEST(XTReferencePoints, VertexReferenceAddressIsWhereTheHostPassesItsVertex) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 2, 1}, {4, 0, 0}});
    auto K = std::make_unique<TXTKnuckleConstraint>();
    K->Vertex = 2;
    Host->Constraints().Add(std::move(K));
    TXTCurve* Holder = Doc.Add("Holder", Line(5, -3), false);
    for (int V = 0; V < 5; ++V) Snap(*Holder, V, *Host, skVertex, InvalidBeadAddress, V);
    Holder->Regenerate();
    ASSERT_EQ(Host->Segments().Count(), 2);
    const std::pair<int, int> SpanOf[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}};
    for (const auto& [V, Span] : SpanOf) {
        TBeadAddress A;
        static_cast<TXTReferencePoint*>(Holder->PointAt(V))->GetBeadAddress(A);
        EXPECT_EQ(A.SegmentIndex, Span) << V;
        TMVector At;
        Host->F(A, At);
        ExpectNear(At, Host->PointAt(V)->GetPosition(), 1e-9, "vertex " + std::to_string(V));
    }
}

TEST(XTReferencePoints, SnapOntoItsOwnCurveOrOneRestingOnItChangesNothing) {
    TCurveDocument Doc;
    TXTCurve* Host = Doc.Add("Host", Line(3));
    TXTCurve* Holder = Doc.Add("Holder", {{1, -1, 0}, {1, 0, 0}, {1, 1, 1}});
    Snap(*Holder, 1, *Host, skCurve, {0, 0.5});
    for (TXTCurve* Target : {Host, Holder}) {
        EXPECT_EQ(Snap(*Host, 1, *Target, skVertex, InvalidBeadAddress, 1), nullptr) << Target->GetName();
        EXPECT_FALSE(Host->PointAt(1)->IsReferencePoint());
    }
    Holder->Regenerate();
}
