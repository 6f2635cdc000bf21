#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTReferencePoints.h"
#include "curvenet/XTSurface.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"
#include "tests/curvenet/CurveDocument.h"

using namespace sarnova;

namespace {

// Curves and one surface of a document; the surface goes first, as it rests on the curves.
struct TNetwork : test::TCurveDocument {
    std::unique_ptr<TXTSurface> Surface;
    std::vector<std::string> Console;

    explicit TNetwork(std::unique_ptr<TXTSurface> S = std::make_unique<TXTSurface>()) : Surface(std::move(S)) {
        Surface->SetName("Surf");
        Surface->Manager = this;
        GConsole->OnLine = [this](const std::string& L) { Console.push_back(L); };
    }
    ~TNetwork() override {
        GConsole->OnLine = nullptr;
        Surface.reset();
    }
    void ClearInfoMessages(const void* Sender) override {
        std::erase_if(Messages, [Sender](const TInfoMessage& M) { return M.Sender == Sender; });
    }

    // A straight curve through the points, in the surface.
    TXTCurve* Curve(const std::string& Name, const std::vector<TMVector>& Points) {
        TXTCurve* C = Add(Name, Points);
        Surface->Curves().Add(C);
        return C;
    }
    TXTCurve& Named(const std::string& Name) { return *static_cast<TXTCurve*>(FindNode(Name)); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> T;
        for (const TInfoMessage& M : Messages) T.push_back(M.Text);
        return T;
    }
    TManifold& M() { return Surface->Manifold(); }
    void Generate() { Surface->Regenerate(); }
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
    ASSERT_NE(dynamic_cast<TXTBead*>(Holder.PointAt(Index)), nullptr);
}

// Point Index of Holder repeats point Vertex of Host.
void RepeatVertex(TXTCurve& Holder, int Index, TXTCurve& Host, int Vertex) {
    TXTSnapTarget S;
    S.Curve = &Host;
    S.Point = Holder.PointAt(Index);
    S.WorldPosition = Host.PointAt(Vertex)->GetPosition();
    S.VertexIndex = Vertex;
    S.Kind = skVertex;
    Holder.ApplySnap(S);
    ASSERT_NE(dynamic_cast<TXTPointIndexReference*>(Holder.PointAt(Index)), nullptr);
}

// The square 0..2 x 0..2, its sides as four curves whose ends meet at the corners.
void Square(TNetwork& N) {
    N.Curve("Bottom", {{0, 0, 0}, {2, 0, 0}});
    N.Curve("Right", {{2, 0, 0}, {2, 2, 0}});
    N.Curve("Top", {{2, 2, 0}, {0, 2, 0}});
    N.Curve("Left", {{0, 2, 0}, {0, 0, 0}});
}

void Triangle(TNetwork& N, const TMVector& LastEnd = {0, 0, 0}) {
    N.Curve("A", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    N.Curve("B", {{2, 0, 0}, {1, 2, 0}});
    N.Curve("C", {{1, 2, 0}, LastEnd});
}

int InteriorFaces(TManifold& M) {
    int N = 0;
    for (int I = 0; I < M.Faces().Count(); ++I) N += M.Faces().Face(I)->IsExterior() ? 0 : 1;
    return N;
}

}  // namespace

TEST(XTSurfaceGeneration, CrossingCurvesAreCutAtTheirBeadIntoEdgesMeetingInOneVertex) {
    // A window: the square, and a cross whose arms end on its sides and whose upright rests on the
    // bar at the middle.
    TNetwork N;
    Square(N);
    TXTCurve* Bar = N.Curve("Bar", {{0, 1, 0}, {2, 1, 0}});
    TXTCurve* Upright = N.Curve("Upright", {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}});
    BeadOn(*Bar, 0, N.Named("Left"));
    BeadOn(*Bar, 1, N.Named("Right"));
    BeadOn(*Upright, 0, N.Named("Bottom"));
    BeadOn(*Upright, 1, *Bar);
    BeadOn(*Upright, 2, N.Named("Top"));
    N.Generate();

    EXPECT_TRUE(N.Texts().empty()) << N.Texts().front();
    EXPECT_TRUE(N.Surface->Generated());
    EXPECT_EQ(N.M().Vertices().Count(), 9);
    EXPECT_EQ(N.M().Edges().Count(), 12);
    EXPECT_EQ(InteriorFaces(N.M()), 4);
    TVertex* Centre = N.M().Vertices().FindByPosition({1, 1, 0});
    ASSERT_NE(Centre, nullptr);
    ASSERT_EQ(Centre->EdgeCount(), 4);
    // Two pieces of each of the crossing curves, each piece running between consecutive cut points.
    int OnBar = 0, OnUpright = 0;
    for (int I = 0; I < 4; ++I) {
        auto* E = static_cast<TXTEdge*>(Centre->Edge(I));
        OnBar += E->Curve == Bar;
        OnUpright += E->Curve == Upright;
        EXPECT_EQ(E->StartAddress.SegmentIndex, E->EndAddress.SegmentIndex);
        EXPECT_LT(E->StartAddress.T, E->EndAddress.T);
        TMVector Start;
        E->Curve->F(E->StartAddress, Start);
        EXPECT_LT(VectorDistance(Start, E->Fin1()->GetVertex()->Position), 1e-6) << "start address at the first fin";
    }
    EXPECT_EQ(OnBar, 2);
    EXPECT_EQ(OnUpright, 2);
}

TEST(XTSurfaceGeneration, TriangleGivesThreeEdgesAndTwoFacesBetweenConsoleLines) {
    TNetwork N;
    Triangle(N);
    int Generated = 0, Regenerated = 0;
    N.Surface->OnGenerated = [&](TXTSurface*) { ++Generated; };
    N.Surface->OnRegenerated = [&](TXTSurfaceBase*) {
        EXPECT_EQ(Generated, 1) << "OnGenerated comes first";
        ++Regenerated;
    };
    N.Generate();
    EXPECT_TRUE(N.Messages.empty());
    EXPECT_EQ(N.M().Vertices().Count(), 3);
    EXPECT_EQ(N.M().Edges().Count(), 3);
    EXPECT_EQ(N.M().Faces().Count(), 2);
    EXPECT_EQ(InteriorFaces(N.M()), 1);
    EXPECT_TRUE(N.Surface->Generated());
    EXPECT_TRUE(N.Surface->IsUpToDate());
    EXPECT_EQ(Regenerated, 1);
    ASSERT_EQ(N.Console.size(), 2u);
    EXPECT_EQ(N.Console[0].front(), '[');
    EXPECT_NE(N.Console[0].find("] Begin Generating Surface: Surf"), std::string::npos) << N.Console[0];
    EXPECT_NE(N.Console[1].find("] End Generating Surface: Surf"), std::string::npos) << N.Console[1];
    // Every edge is a Bezier edge by the default options, and its fins carry ribbons.
    auto* E = static_cast<TXTEdge*>(N.M().Edges().Edge(0));
    EXPECT_TRUE(E->ForceBezier);
    EXPECT_GT(E->XTFin1()->Ribbon().Count(), 1);

    // Up to date: nothing runs again.
    N.Generate();
    EXPECT_EQ(Regenerated, 1);
    EXPECT_EQ(N.Console.size(), 2u);
}

TEST(XTSurfaceGeneration, TwoCurvesMeetingAtBothEndsReportTheThreeCurvesMessage) {
    TNetwork N;
    N.Curve("Upper", {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
    N.Curve("Lower", {{0, 0, 0}, {1, -1, 0}, {2, 0, 0}});
    int Generated = 0, Regenerated = 0;
    N.Surface->OnGenerated = [&](TXTSurface*) { ++Generated; };
    N.Surface->OnRegenerated = [&](TXTSurfaceBase*) { ++Regenerated; };
    N.Generate();
    EXPECT_EQ(N.Texts(), std::vector<std::string>{"Atleast three curves/edges are required to generate a surface"});
    EXPECT_EQ(N.Messages[0].Sender, N.Surface.get());
    EXPECT_EQ(N.M().Edges().Count(), 2);
    EXPECT_EQ(N.M().Faces().Count(), 0);
    EXPECT_FALSE(N.Surface->Generated());
    EXPECT_EQ(Generated, 0);
    EXPECT_EQ(Regenerated, 1);
    // Not retried until something changes; a change clears the last generation's messages.
    EXPECT_TRUE(N.Surface->IsUpToDate());
    ASSERT_EQ(N.Console.size(), 1u) << "no end line";
    N.Curve("Chord", {{0, 0, 0}, {2, 0, 0}});
    EXPECT_FALSE(N.Surface->IsUpToDate());
    N.Generate();
    // Only the arcs' forced Bezier edges are reported now.
    for (const std::string& T : N.Texts()) EXPECT_NE(T.find(" replaced by one Bezier"), std::string::npos) << T;
    EXPECT_TRUE(N.Surface->Generated());
    // Three edges between two vertices close into three faces.
    EXPECT_EQ(N.M().Faces().Count(), 3);
}

TEST(XTSurfaceGeneration, LooseTailIsEatenBackOneEdgeAndOneMessageAtATime) {
    TNetwork N;
    Triangle(N);
    N.Curve("Tail1", {{0, 0, 0}, {-1, 0, 0}});
    N.Curve("Tail2", {{-1, 0, 0}, {-2, -1, 0.5}});
    N.Generate();
    ASSERT_EQ(N.Texts(), (std::vector<std::string>{
                             "Tail2 ignored between [-1.000, 0.000, 0.000] - [-2.000, -1.000, 0.500]",
                             "Tail1 ignored between [0.000, 0.000, 0.000] - [-1.000, 0.000, 0.000]"}));
    const TMBox& Box = N.Messages[0].Box;
    EXPECT_EQ(Box.Min, (TMVector{-2, -1, 0}));
    EXPECT_EQ(Box.Max, (TMVector{-1, 0, 0.5}));
    EXPECT_EQ(N.M().Vertices().Count(), 3);
    EXPECT_EQ(N.M().Edges().Count(), 3);
    EXPECT_EQ(InteriorFaces(N.M()), 1);
    EXPECT_TRUE(N.Surface->Generated());
}

TEST(XTSurfaceGeneration, CutPointsCloserThanTheToleranceOnEveryAxisShareAVertex) {
    const struct {
        TMVector End;
        bool Shared;
    } Cases[] = {
        {{0, 0, 0}, true},
        {{0.0049, -0.0049, 0.0049}, true},
        {{0, 0, 0.005}, false},
        {{-0.0051, 0, 0}, false},
    };
    for (const auto& C : Cases) {
        TNetwork N;
        Triangle(N, C.End);
        N.Generate();
        EXPECT_EQ(N.Surface->Generated(), C.Shared) << C.End.X << " " << C.End.Z;
        EXPECT_EQ(N.M().Edges().Count(), C.Shared ? 3 : 0);
        // Unshared, the three pieces are a loose chain eaten from both ends, then too few are left.
        EXPECT_EQ(N.Messages.size(), C.Shared ? 0u : 4u);
    }
}

TEST(XTSurfaceGeneration, PiecesShorterThanTheToleranceMakeNoEdge) {
    // A stub curve shorter than the tolerance: both its ends are the corner's vertex, so it makes no
    // edge and leaves nothing dangling.
    TNetwork N;
    Triangle(N);
    N.Curve("Stub", {{2, 0, 0}, {2.003, 0.002, -0.004}});
    N.Generate();
    EXPECT_TRUE(N.Messages.empty()) << N.Texts().front();
    EXPECT_EQ(N.M().Vertices().Count(), 3);
    EXPECT_EQ(N.M().Edges().Count(), 3);
    EXPECT_TRUE(N.Surface->Generated());
}

TEST(XTSurfaceGeneration, CutParametersFollowBeadsOfSurfaceCurvesAndRepeatedBeadsOfOthers) {
    // Host in the surface; Outside holds a bead on it; Repeater repeats that bead.
    const struct {
        const char* What;
        bool OutsideListed, RepeaterListed;
        bool Cut;
    } Cases[] = {
        {"bead of a surface curve", true, false, true},
        {"a surface curve repeats the bead of an outside curve", false, true, true},
        {"both listed", true, true, true},
        {"the bead's curve is not in the surface", false, false, false},
    };
    for (const auto& C : Cases) {
        TNetwork N;
        TXTCurve* Host = N.Curve("Host", {{0, 0, 0}, {4, 0, 0}});
        TXTCurve* Outside = N.Add("Outside", {{1, -1, 0}, {1, 0, 0}, {1, 1, 0}});
        TXTCurve* Repeater = N.Add("Repeater", {{1, 0, 0}, {1, 0, 2}});
        BeadOn(*Outside, 1, *Host);
        RepeatVertex(*Repeater, 0, *Outside, 1);
        if (C.OutsideListed) N.Surface->Curves().Add(Outside);
        if (C.RepeaterListed) N.Surface->Curves().Add(Repeater);
        Repeater->Regenerate();
        TBeadAddress Bead;
        static_cast<TXTBead*>(Outside->PointAt(1))->GetBeadAddress(Bead);
        const TXTSegment* Span = Host->Segments().Items(0);
        std::vector<double> T;
        N.Surface->CutParameters(T, *Host, 0);
        const std::vector<double> Expected = C.Cut ? std::vector<double>{Span->MinT(), Bead.T, Span->MaxT()}
                                                   : std::vector<double>{Span->MinT(), Span->MaxT()};
        EXPECT_EQ(T, Expected) << C.What;
    }
}

TEST(XTSurfaceGeneration, CutParametersOfASpanStartAndEndOnceWhenABeadSitsOnAnEnd) {
    TNetwork N;
    TXTCurve* Host = N.Curve("Host", {{0, 0, 0}, {4, 0, 0}});
    TXTCurve* AtStart = N.Curve("AtStart", {{0, 0, 0}, {0, 2, 0}});
    TXTCurve* Twice1 = N.Curve("Twice1", {{3, 0, 0}, {3, 2, 0}});
    TXTCurve* Twice2 = N.Curve("Twice2", {{3, 0, 0}, {3, -2, 0}});
    BeadOn(*AtStart, 0, *Host);
    BeadOn(*Twice1, 0, *Host);
    BeadOn(*Twice2, 0, *Host);
    const TXTSegment* Span = Host->Segments().Items(0);
    std::vector<double> T;
    N.Surface->CutParameters(T, *Host, 0);
    ASSERT_EQ(T.size(), 3u);
    EXPECT_EQ(T.front(), Span->MinT());
    EXPECT_GT(T[1], Span->MinT());
    EXPECT_EQ(T.back(), Span->MaxT());
}

TEST(XTSurfaceRegeneration, ChangesMakeItStaleAndAFailedGenerationIsTriedAgain) {
    TNetwork N;
    Triangle(N);
    N.Generate();
    ASSERT_TRUE(N.Surface->IsUpToDate());
    // A moved curve point reaches the surface through the node graph.
    N.Named("A").PointAt(1)->SetPosition({1, -0.5, 0});
    EXPECT_FALSE(N.Surface->IsUpToDate());
    N.Generate();
    TXTSurfaceOptions O = N.Surface->Options();
    O.ForceBezierEdges = false;
    N.Surface->SetOptions(O);
    EXPECT_FALSE(N.Surface->IsUpToDate());
    N.Generate();
    EXPECT_FALSE(static_cast<TXTEdge*>(N.M().Edges().Edge(0))->ForceBezier);

    // Without a manager a report raises: the surface stays stale and the hooks are not called.
    N.Curve("Tail", {{0, 0, 0}, {-1, 0, 0}});
    N.Surface->Manager = nullptr;
    int Regenerated = 0;
    N.Surface->OnRegenerated = [&](TXTSurfaceBase*) { ++Regenerated; };
    try {
        N.Generate();
        ADD_FAILURE() << "no exception";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Tail ignored between [0.000, 0.000, 0.000] - [-1.000, 0.000, 0.000]");
    }
    EXPECT_FALSE(N.Surface->IsUpToDate());
    EXPECT_EQ(Regenerated, 0);
    N.Surface->Manager = &N;
    N.Generate();
    EXPECT_TRUE(N.Surface->IsUpToDate());
    EXPECT_EQ(Regenerated, 1);
}

TEST(XTSurfaceRegeneration, CurveNamesThatFindNoNodeAreDroppedAndNamedOnTheConsole) {
    TNetwork N;
    Triangle(N);
    N.Surface->Curves().AddByName("Ghost");
    N.Generate();
    ASSERT_EQ(N.Surface->Curves().Count(), 3);
    EXPECT_EQ(N.Console.front(), "Surface Surf: curve Ghost not found, removed from the surface's curves");
    EXPECT_TRUE(N.Surface->Generated());
}

namespace {

// A face that builds a one-bilinear-patch "surface" and logs what the surface asks of it.
class TLoggingFace : public TFace, public IXTPatchFace {
public:
    explicit TLoggingFace(TManifold* M, std::vector<std::string>& Log) : TFace(M), FLog(Log) {}
    void BuildPatch(const TXTSurfaceOptions& Options, const TXTReportRoutine& Report, TXTSurface&) override {
        FLog.push_back("build " + std::to_string(Index()) + " " + SurfacePatchTypeToText(Options.PatchType));
        Patch.reset();
        if (IsExterior()) return;
        Patch = std::make_unique<TBSplineSurface>();
        if (Options.PatchType == sptCoons) {
            TInfoMessage M;
            M.Text = "patched " + std::to_string(Index());
            Report(M);
        }
    }
    void CollectFaces(TFaces& List) override { List.Add(this); }
    TSurface* PatchSurface() const override { return Patch.get(); }
    void DrawWithOptions(IGraphics&, std::uint16_t Options, double) override {
        FLog.push_back("draw " + std::to_string(Options));
    }
    void AddParameterLines(TPolylineList&, int SurfaceCount) override {
        FLog.push_back("lines of " + std::to_string(SurfaceCount));
    }
    void AddPolygons(TPolygonList&, std::uint8_t Purpose) override { FLog.push_back("polygons " + std::to_string(Purpose)); }
    int Index() const { return Container() ? Container()->IndexOf(this) : -1; }

    std::unique_ptr<TBSplineSurface> Patch;

private:
    std::vector<std::string>& FLog;
};

class TLoggingSurface : public TXTSurface {
public:
    std::vector<std::string> Log;

protected:
    std::unique_ptr<TFace> NewFace(TManifold* M) override { return std::make_unique<TLoggingFace>(M, Log); }
};

}  // namespace

TEST(XTSurfaceFaces, EveryFaceBuildsItsPatchInOrderAndTheSurfacesAreCollected) {
    auto Owned = std::make_unique<TLoggingSurface>();
    TLoggingSurface& S = *Owned;
    TNetwork N(std::move(Owned));
    Square(N);
    TXTSurfaceOptions O;
    O.PatchType = sptCoons;
    S.SetOptions(O);
    N.Generate();
    ASSERT_EQ(N.M().Faces().Count(), 2);
    EXPECT_EQ(S.Log, (std::vector<std::string>{"build 0 sptCoons", "build 1 sptCoons"}));
    // Reports of the faces go to the surface's messages.
    ASSERT_EQ(N.Messages.size(), 1u);
    EXPECT_EQ(N.Messages[0].Sender, &S);
    EXPECT_EQ(S.PatchFaces().Count(), 2);
    ASSERT_EQ(S.Surfaces().Count(), 1);
    for (int I = 0; I < 2; ++I) {
        auto* F = static_cast<TLoggingFace*>(N.M().Faces().Face(I));
        if (F->Patch) {
            EXPECT_EQ(S.Surfaces().Surface(0), F->Patch.get());
        }
    }

    // Subdivision patches hold polygons: the faces are collected, no surface.
    O.PatchType = sptSubdivision;
    S.SetOptions(O);
    N.Generate();
    EXPECT_EQ(S.PatchFaces().Count(), 2);
    EXPECT_EQ(S.Surfaces().Count(), 0);

    // Output goes to every face with the surface count.
    S.Log.clear();
    TRecordingGraphics G;
    S.DrawWithOptions(G, 1u << sdoSurfaces, 1.0);
    EXPECT_EQ(S.Log, (std::vector<std::string>{"draw 128", "draw 128"}));
    O.PatchType = sptGregory;
    S.SetOptions(O);
    TPolylineList Lines;
    S.AddParameterLines(Lines);
    EXPECT_EQ(S.Log.back(), "lines of 1");
}

TEST(XTSurfaceFaces, DrawingWithOptionsDrawsOnlyWhatItsBitsAsk) {
    const struct {
        std::uint16_t Bits;
        int Handles;
        bool Lines;
    } Cases[] = {
        {0, 0, false},
        {1u << sdoVertices, 4, false},
        {1u << sdoEdges, 0, true},
        // The patch face draws its four sides.
        {1u << sdoLocalEdges, 0, true},
    };
    for (const auto& C : Cases) {
        TNetwork N;
        Square(N);
        TRecordingGraphics G;
        N.Surface->DrawWithOptions(G, C.Bits, 0.1);
        EXPECT_TRUE(N.Surface->IsUpToDate()) << "regenerated first";
        const auto Names = G.Names();
        EXPECT_EQ(std::count(Names.begin(), Names.end(), "EditHandle"), C.Handles) << C.Bits;
        EXPECT_EQ(!Names.empty() && C.Handles == 0, C.Lines) << C.Bits;
    }
}

TEST(XTSurfaceText, TheBlockReadsBackWithOrWithoutItsOptionsLine) {
    TNetwork N;
    Square(N);
    N.Surface->SetOptions(soCoonsBezier);
    TTextWriter W;
    N.Surface->SaveToText(W);
    EXPECT_EQ(W.Text(), "Name=Surf\nOptions=" + SurfaceOptionsToText(soCoonsBezier) +
                            "\nNumCurves=4\nBottom\nRight\nTop\nLeft\n");

    // Read before its curves exist: the names resolve at the first regeneration.
    test::TCurveDocument Later;
    TXTSurface Copy;
    Copy.Manager = &Later;
    TTextReader R(W.Text());
    Copy.LoadFromText(R);
    EXPECT_EQ(Copy.GetName(), "Surf");
    EXPECT_TRUE(SameSurfaceOptions(Copy.Options(), soCoonsBezier));
    Later.Add("Left", {{0, 2, 0}, {0, 0, 0}});
    Later.Add("Top", {{2, 2, 0}, {0, 2, 0}});
    Later.Add("Right", {{2, 0, 0}, {2, 2, 0}});
    Later.Add("Bottom", {{0, 0, 0}, {2, 0, 0}});
    Copy.Regenerate();
    EXPECT_TRUE(Copy.Generated());
    EXPECT_EQ(Copy.Manifold().Edges().Count(), 4);
    TTextWriter Again;
    Copy.SaveToText(Again);
    EXPECT_EQ(Again.Text(), W.Text());

    // Without the options line the options stay as they were and the second line is the count.
    TXTSurface Plain;
    Plain.SetOptions(soSubdivision);
    TTextReader R2("Name=P\nNumCurves=2\nA\nB\n");
    Plain.LoadFromText(R2);
    EXPECT_TRUE(SameSurfaceOptions(Plain.Options(), soSubdivision));
    ASSERT_EQ(Plain.Curves().Count(), 2);
    EXPECT_EQ(Plain.Curves().Reference(1).GetName(), "B");

    TXTSurface Bad;
    TTextReader R3("Name=P\nNumCurves=two\n");
    EXPECT_THROW(Bad.LoadFromText(R3), EConvertError);
    // A damaged count stops at the end of the text instead of adding empty names for ever.
    TXTSurface Short;
    TTextReader R4("Name=P\nNumCurves=2000000000\nA\nB");
    try {
        Short.LoadFromText(R4);
        ADD_FAILURE() << "read past the end";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TXTSurfaceBase.LoadFromText - The list of curve names ends early");
    }

    // An entry that does not resolve keeps its name in the block.
    TXTSurface Unresolved;
    Unresolved.Curves().AddByName("Gone");
    TTextWriter W2;
    Unresolved.SaveToText(W2);
    EXPECT_NE(W2.Text().find("NumCurves=1\nGone\n"), std::string::npos);
}

TEST(XTSurfaceText, ExportWithCurvesWritesTheCurvesThenTheSurface) {
    const std::filesystem::path Dir = std::filesystem::temp_directory_path() / "xtsurface-export";
    std::filesystem::create_directories(Dir);
    TNetwork N;
    Square(N);
    N.Surface->ExportWithCurves(Dir / "square.geo");
    const std::vector<std::string> Lines = ReadFileLines(Dir / "square.geo");

    // Read back as a document would: the curves, then the surface on them.
    test::TCurveDocument Doc;
    TXTSurface Copy;
    Copy.Manager = &Doc;
    TTextReader R(ReadFileText(Dir / "square.geo"));
    std::vector<std::string> Keywords;
    while (!R.Eof()) {
        const std::string Keyword = R.ReadLine();
        if (Keyword.empty()) continue;
        Keywords.push_back(Keyword);
        if (Keyword == "[TXTCurve]") {
            Doc.Add("", {}, false)->LoadFromText(R);
        } else {
            Copy.LoadFromText(R);
        }
    }
    EXPECT_EQ(Keywords, (std::vector<std::string>{"[TXTCurve]", "[TXTCurve]", "[TXTCurve]", "[TXTCurve]", "[TXTSurface]"}));
    EXPECT_EQ(Lines.back(), "");
    ASSERT_EQ(Doc.Curves.size(), 4u);
    EXPECT_EQ(Doc.Curves[2]->GetName(), "Top");
    EXPECT_EQ(test::Saved(*Doc.Curves[2]), test::Saved(N.Named("Top")));
    Copy.Regenerate();
    EXPECT_EQ(Copy.Manifold().Edges().Count(), 4);

    // The generated manifold of the square: four vertices and edges, the inside and outside faces.
    N.Generate();
    N.M().SaveToFile(Dir / "square.man");
    int V = 0, E = 0, F = 0;
    for (const std::string& L : ReadFileLines(Dir / "square.man")) {
        V += L.starts_with("V ");
        E += L.starts_with("E ");
        F += L.starts_with("F");
    }
    EXPECT_EQ(std::vector<int>({V, E, F}), std::vector<int>({4, 4, 2}));

    // A failed write raises and leaves no file.
    EXPECT_THROW(N.Surface->ExportWithCurves(Dir / "missing" / "x.geo"), EInOutError);
    EXPECT_FALSE(std::filesystem::exists(Dir / "missing" / "x.geo"));
    std::filesystem::remove_all(Dir);
}

TEST(XTSurfaceFaces, ACopyRestsOnTheSameCurvesWithItsOwnManifold) {
    TNetwork N;
    Square(N);
    N.Surface->Curves().AddByName("Gone");
    TMBox Box;
    N.Surface->GetExtents(Box);
    EXPECT_EQ(Box.Min, (TMVector{0, 0, 0}));
    EXPECT_EQ(Box.Max, (TMVector{2, 2, 0}));
    N.Generate();
    TPolylineList Lines;
    N.Surface->AddEdgeCurves(Lines);
    EXPECT_EQ(Lines.Count(), 4);

    TXTSurface Copy;
    Copy.Manager = &N;
    Copy.Assign(*N.Surface);
    ASSERT_EQ(Copy.Curves().Count(), 4);
    EXPECT_EQ(Copy.Curves().Curve(3), &N.Named("Left"));
    EXPECT_EQ(Copy.Manifold().Edges().Count(), 4);
    EXPECT_EQ(Copy.Manifold().Faces().Count(), 2);
    auto* E = static_cast<TXTEdge*>(Copy.Manifold().Edges().Edge(0));
    EXPECT_EQ(E->Curve, &N.Named("Bottom"));
    EXPECT_NE(E, N.M().Edges().Edge(0));
}
