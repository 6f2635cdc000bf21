#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "entities/GBSurf.h"
#include "entities/GMesh.h"
#include "exchange/IoSrf.h"
#include "surfaces/BSurface.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoSrf = TExchangeTest;

std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> L;
    std::istringstream In(Text);
    for (std::string S; std::getline(In, S);) L.push_back(S);
    return L;
}

int Fields(const std::string& Line) { return static_cast<int>(std::count(Line.begin(), Line.end(), ',')) + 1; }

// A 4 x 3 surface of orders 4 and 3 with z = i + 10 j + 1.
std::unique_ptr<TGeoBSurf> Surface(bool NonUniform) {
    auto E = std::make_unique<TGeoBSurf>();
    TBSplineSurface& S = E->Surface();
    S.SetSize(4, 3);
    S.SetOrderU(4);
    S.SetOrderV(3);
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 3; ++J) S.Point(I, J).SetXYZ(I, J * 0.5, I + 10 * J + 1);
    S.UpdateKnots();
    if (NonUniform) {
        S.KnotType = ktNonUniform;
        const double U[] = {0, 0, 0, 0, 0.3, 0.3, 0.3, 0.3}, V[] = {0, 0, 0, 0.2, 0.2, 0.2};
        for (int K = 0; K < 8; ++K) S.SetKnotU(K + 1, U[K]);
        for (int K = 0; K < 6; ++K) S.SetKnotV(K + 1, V[K]);
    }
    E->SetName("Hull");
    return E;
}

}  // namespace

TEST_F(TIoSrf, SurfacesRoundTripWithZDownAndTheirKnots) {
    for (bool NonUniform : {false, true}) {
        TGeometryInterface Source;
        Source.Add(Surface(NonUniform));
        const std::string Path = TempFile("a.srf").string();
        std::filesystem::remove(TempFile("a.aux"));
        ExportSrf(Path, Source);
        const std::vector<std::string> L = Lines(ReadText(Path));
        ASSERT_EQ(L.size(), 2u + 7u + 12u);
        EXPECT_EQ(L[0], "Untitled       ~None available");
        EXPECT_EQ(L[1], "1");
        EXPECT_EQ(L[2], "Hull");
        EXPECT_EQ(L[4], NonUniform ? "nonuniform, nonuniform" : "open, open");
        EXPECT_EQ(L[5], "4, 3");
        EXPECT_EQ(L[6], "4, 3");
        EXPECT_EQ(Fields(L[7]), 8);
        EXPECT_EQ(Fields(L[8]), 6);
        EXPECT_EQ(L[10], "0, 0.5, -11, 1");  // point (0, 1): z negated

        TGeometryInterface Back;
        ImportSrf(Path, Back);
        ASSERT_EQ(Back.Count(), 1);
        const TBSplineSurface& A = dynamic_cast<TGeoBSurf&>(Source.Items(0)).Surface();
        const TBSplineSurface& B = dynamic_cast<TGeoBSurf&>(Back.Items(0)).Surface();
        EXPECT_EQ(Back.Items(0).GetName(), "Hull");
        EXPECT_EQ(B.OrderU(), 4);
        EXPECT_EQ(B.OrderV(), 3);
        for (int I = 0; I < 4; ++I)
            for (int J = 0; J < 3; ++J) EXPECT_EQ(B.Point(I, J).Vector(), A.Point(I, J).Vector());
        for (int K = 1; K <= 8; ++K) EXPECT_EQ(B.KnotU(K), A.KnotU(K)) << NonUniform << K;
        for (int K = 1; K <= 6; ++K) EXPECT_EQ(B.KnotV(K), A.KnotV(K)) << NonUniform << K;
    }
}

TEST_F(TIoSrf, AnAuxFileWithPositiveZUpKeepsZ) {
    TGeometryInterface Source;
    Source.Add(Surface(false));
    const std::string Path = TempFile("b.srf").string();
    ExportSrf(Path, Source);
    WriteTemp("b.aux", "units m\n  set-positive-z down\nSET-POSITIVE-Z UP\n");
    ImportSrf(Path, Doc);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(dynamic_cast<TGeoBSurf&>(Doc.Items(0)).Surface().Point(0, 1).Z, -11);
    std::filesystem::remove(TempFile("b.aux"));
}

TEST_F(TIoSrf, MeshesAreBilinearAndEmptyDocumentsWriteNothing) {
    const std::string Path = TempFile("m.srf").string();
    std::filesystem::remove(Path);
    ExportSrf(Path, Doc);
    EXPECT_FALSE(std::filesystem::exists(Path));

    auto M = std::make_unique<TGeoMesh>();
    M->Net().SetSize(5, 5);
    for (int I = 0; I < 5; ++I)
        for (int J = 0; J < 5; ++J) M->Net().Point(I, J).SetXYZ(I, J, I * J);
    Doc.Add(std::move(M));
    ExportSrf(Path, Doc);
    const std::vector<std::string> L = Lines(ReadText(Path));
    ASSERT_EQ(L.size(), 2u + 7u + 25u);
    EXPECT_EQ(L[2], "Surface0");
    EXPECT_EQ(L[5], "2, 2");
}

TEST_F(TIoSrf, BadFilesNameTheLineAndAddNothing) {
    const std::string Head = "Untitled\n1\nS\nnonrational, nonrational\nopen, open\n";
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {"x\n9999999\n", "(2): bad number of surfaces"},
        {Head + "2, 2\n2, 2\n0, 0, 1, 1\n0, 0, 1, 1\n0,0,0,1\n", "(7): the file ends before the surface's 4 points"},
        {Head + "2, 2\n600, 2\n", "(7): bad numbers of points"},
        {Head + "2 2\n", "(6): two values separated by a comma expected"},
        {Head + "2, 2\n1, 2\nk\nk\n0,0,0,1\n0,0,x,1\n", "(11): Unable to convert string to number (x)"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.srf", C.Text);
        EXPECT_EQ(ErrorOf([&] { ImportSrf(Path, Doc); }), Path + C.Error) << C.Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
}
