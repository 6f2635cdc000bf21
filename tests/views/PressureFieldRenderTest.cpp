// The pressure field's shaded display: what its renderer instance sends (recorded), and the field
// drawn by a real view, unlit in its pressure colours, with its mirror image.
#include <gtest/gtest.h>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/ui/PressureFieldRenderer.h"
#include "foundation/RecordingRenderTarget.h"
#include "foundation/TextFile.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

// A triangle of pressure 1 left of x = 0 and a quadrilateral of pressure 3 right of it, both above
// y = 0 and facing +z.
const std::string Block =
    "[TPressureField]\nNumberofPolygons=2\n"
    "3 -5 1 0 -1 1 0 -3 5 0 1\n"
    "4 1 1 0 5 1 0 5 5 0 1 5 0 3\n\n";

void Read(TPressureField& Field) {
    TTextReader In(Block);
    In.ReadLine();
    Field.LoadFromText(In);
}

std::vector<std::string> Names(const TRecordingRenderTarget& T) {
    std::vector<std::string> Result;
    for (const TRenderCall& C : T.Rendered) Result.push_back(C.Name);
    return Result;
}

TEST(PressureFieldRenderer, SendsSplitFacetsUnlitWithNegatedNormalsAndTheirMirrorImage) {
    TPressureField Field;
    Read(Field);
    TGLPressureFieldRenderer Instance(Field);
    Instance.Prepare();
    EXPECT_EQ(Field.Count(), 2) << "the field keeps its quadrilateral";
    ASSERT_NE(Instance.GetRenderCopy(), nullptr);
    EXPECT_EQ(Instance.GetRenderCopy()->Count(), 3);
    EXPECT_EQ(Instance.GetBounds().Max.X, 5);

    TRecordingRenderTarget Target;
    std::uint8_t State = rsQuads;  // left open by an earlier instance
    Instance.Draw(Target, State, false);
    EXPECT_EQ(State, rsNone);
    const std::vector<std::string> Facet = {"Color", "Normal", "Vertex", "Vertex", "Vertex"};
    std::vector<std::string> Expected = {"End", "Begin"};
    for (int I = 0; I < 3; ++I) Expected.insert(Expected.end(), Facet.begin(), Facet.end());
    Expected.push_back("End");
    EXPECT_EQ(Names(Target), Expected);
    EXPECT_EQ(Target.Rendered[1].Kind, TRenderPrimitive::Triangles);
    // Blue, then red twice for the two halves of the quadrilateral (0, 1, 2) and (0, 2, 3).
    EXPECT_EQ(Target.Of("Color"), (std::vector<TMVector>{{0, 0, 1}, {1, 0, 0}, {1, 0, 0}}));
    for (const TMVector& N : Target.Of("Normal")) EXPECT_EQ(N, (TMVector{0, 0, -1}));
    const auto V = Target.Of("Vertex");
    EXPECT_EQ(std::vector<TMVector>(V.begin() + 3, V.end()),
              (std::vector<TMVector>{{1, 1, 0}, {5, 1, 0}, {5, 5, 0}, {1, 1, 0}, {5, 5, 0}, {1, 5, 0}}));

    // Mirrored: every facet again with y negated, the normal's reflection negated.
    TRecordingRenderTarget Both;
    State = rsNone;
    Instance.Draw(Both, State, true);
    const auto MV = Both.Of("Vertex");
    ASSERT_EQ(MV.size(), 18u);
    EXPECT_EQ(MV[9], (TMVector{-5, -1, 0}));
    EXPECT_EQ(Both.Of("Normal")[3], (TMVector{0, 0, -1}));
    EXPECT_EQ(Names(Both).front(), "Begin");

    // A new colour range reaches the copies without building them again.
    Instance.SetColourRange(0, 0.5);
    EXPECT_EQ(Instance.GetRenderCopy()->Polygon(0)->GetColor(), TColor(0x0000FF));
    EXPECT_TRUE(Instance.IsBuilt());
}

class PressureFieldRenderTest : public OpenGLViewFixture {
protected:
    void TearDown() override { PressureFieldRendererCreator() = nullptr; }
    QColor At(double X, double Y) {
        const TPoint S = View->WorldToScreen(X, Y, 0);
        return PixelAt(S.X, S.Y);
    }
};

TEST_F(PressureFieldRenderTest, TheFieldShowsItsColoursAndTheirMirrorImages) {
    RegisterGeometryClasses();
    InstallPressureFieldRenderer();
    TGeometryInterface Doc;
    TTextReader In(Block);
    Doc.LoadFromText(In);
    auto& Field = dynamic_cast<TGeoPressureField&>(Doc.Items(0));
    Field.SetDisplayState(dsRendered);
    ASSERT_NE(Field.GetRenderer(), nullptr);
    ASSERT_NE(Field.GetRendererInstance(), nullptr);

    View->OnRedraw = [&Field](void*, IGraphics& G) {
        G.EditHandle(9, -6, -6, 0);
        G.EditHandle(9, 6, 6, 0);
        Field.DrawEntity(G);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    View->Render();
    const QColor Blue(0, 0, 255), Red(255, 0, 0);
    EXPECT_EQ(At(-3, 2), Blue);
    EXPECT_EQ(At(3, 3), Red);
    EXPECT_EQ(At(3, -3), QColor(Qt::black));

    Field.SetMirrored(true);
    View->Render();
    EXPECT_EQ(At(-3, -2), Blue);
    EXPECT_EQ(At(3, -3), Red);

    // Releasing a marker recolours what is shown.
    Field.SetColourRange(0, 0.5);
    View->Render();
    EXPECT_EQ(At(-3, 2), Red);
}

}  // namespace
}  // namespace sarnova
