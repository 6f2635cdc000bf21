// The property frames of the extruded and ruled surfaces and of the Coons and N-sided patches: what
// they show, and their edits as changes of the entity that undo takes back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "document/GBSpline.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/GeometryReference.h"
#include "startup/RegisterClasses.h"
#include "entities/ui/CoonsPatchFrame.h"
#include "entities/ui/ExtrudedSurfaceFrame.h"
#include "entities/ui/NPatchFrame.h"
#include "entities/ui/RuledSurfaceFrame.h"
#include "foundation/Polyline.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"
#include "surfaces/CoonsPatch.h"

namespace sarnova {
namespace {

class GeneratedSurfaceFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterExtrudedSurfaceFrame();
        RegisterRuledSurfaceFrame();
        RegisterCoonsPatchFrame();
        RegisterNPatchFrame();
    }
    void TearDown() override {
        if (Opened != nullptr) Opened->FreeFrame();
    }
    template <class T>
    T* AddCurve(const std::vector<TMVector>& Points, const std::string& Name) {
        auto Curve = std::make_unique<T>();
        for (const TMVector& P : Points) Curve->GetCurve()->AddVector(P);
        Curve->SetName(Name);
        return static_cast<T*>(Doc.Add(std::move(Curve)));
    }
    template <class TFrame>
    TFrame* Open(TGeometry& Entity) {
        Opened = &Entity;
        Doc.ApplyChanges();
        Doc.GetUndoManager().Clear();
        auto* Frame = dynamic_cast<TFrame*>(Entity.CreateFrameFor(&Owner));
        EXPECT_NE(Frame, nullptr);
        return Frame;
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeometry* Opened = nullptr;
};

QStringList Items(const QComboBox& Combo) {
    QStringList Result;
    for (int I = 0; I < Combo.count(); ++I) Result << Combo.itemText(I);
    return Result;
}

TEST_F(GeneratedSurfaceFramesTest, ExtrudedSurfaceFrameSwitchesBetweenLinearAndSwept) {
    AddCurve<TGeoPline>({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, "Shape");
    AddCurve<TGeoPline>({{0, 0, 0}, {0, 0, 5}, {0, 3, 10}}, "Rail");
    Doc.Add(std::make_unique<TGeoExtrudedSurface>());  // no curve: left out of the lists
    auto* S = static_cast<TGeoExtrudedSurface*>(Doc.Add(CreateExtrudedSurfaceFromCurve(
        static_cast<TGeoCustomPLine&>(*Doc.FindByName("Shape")))));
    auto* Frame = Open<TExtrudedSurfaceFrame>(*S);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Extruded Surface");
    EXPECT_EQ(Items(*Frame->ComboBox1), (QStringList{"Shape", "Rail"}));
    EXPECT_EQ(Frame->ComboBox1->currentText(), "Shape");
    EXPECT_EQ(Items(*Frame->ComboBox2), (QStringList{"<linear extrusion>", "Rail"}));
    EXPECT_EQ(Frame->ComboBox2->currentIndex(), 0);
    EXPECT_FALSE(Frame->LinearGroup->isHidden());
    EXPECT_TRUE(Frame->SweepGroup->isHidden());
    EXPECT_FALSE(Frame->SpeedButton1->isEnabled());
    EXPECT_EQ(Frame->VkSpinEdit4->GetValue(), 10.0f);

    emit Frame->ComboBox2->activated(1);
    EXPECT_EQ(S->Path().GetName(), "Rail");
    EXPECT_TRUE(Frame->LinearGroup->isHidden());
    EXPECT_FALSE(Frame->SweepGroup->isHidden());
    EXPECT_TRUE(Frame->SpeedButton1->isEnabled());
    EXPECT_EQ(Items(*Frame->ComboBox1), (QStringList{"Shape"})) << "the path is not offered as shape";

    Frame->CheckBoxes[3]->click();  // "Scale Shape" off
    EXPECT_EQ(S->GetOptions(), 7);
    Doc.Undo();
    Doc.ApplyChanges();
    auto* Back = static_cast<TGeoExtrudedSurface*>(&Doc.Items(Doc.Count() - 1));
    EXPECT_EQ(Back->GetOptions(), 15);
    EXPECT_EQ(Back->Path().GetName(), "Rail");

    Doc.Undo();
    Doc.ApplyChanges();
    EXPECT_EQ(Back->Path().GetName(), "") << "choosing the path is a step of its own";
}

TEST_F(GeneratedSurfaceFramesTest, RuledSurfaceFrameOffersEachCurveButTheOther) {
    AddCurve<TGeoPline>({{0, 0, 0}, {10, 0, 0}}, "A");
    AddCurve<TGeoPline>({{0, 5, 0}, {10, 5, 0}}, "B");
    AddCurve<TGeoPline>({{0, 9, 0}, {10, 9, 1}}, "C");
    auto Entity = std::make_unique<TGeoRuledSurface>();
    Entity->Curve1().SetName("A");
    Entity->Curve2().SetName("B");
    auto* S = static_cast<TGeoRuledSurface*>(Doc.Add(std::move(Entity)));
    auto* Frame = Open<TRuledSurfaceFrame>(*S);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Items(*Frame->ComboBox1), (QStringList{"A", "C"}));
    EXPECT_EQ(Items(*Frame->ComboBox2), (QStringList{"B", "C"}));
    EXPECT_FALSE(Frame->VkSpinEdit1->isEnabled()) << "a mesh keeps the count it was built with";
    emit Frame->ComboBox2->activated(1);
    EXPECT_EQ(S->Curve2().GetName(), "C");
    EXPECT_EQ(Items(*Frame->ComboBox1), (QStringList{"A", "B"}));
}

TEST_F(GeneratedSurfaceFramesTest, PatchFramesChooseMethodAndTechnique) {
    const std::vector<std::vector<TMVector>> Sides = {{{0, 0, 0}, {3, 0, 1}, {7, 0, 1}, {10, 0, 0}},
                                                      {{10, 0, 0}, {10, 3, 1}, {10, 7, 1}, {10, 10, 0}},
                                                      {{10, 10, 0}, {7, 10, 1}, {3, 10, 1}, {0, 10, 0}},
                                                      {{0, 10, 0}, {0, 7, 1}, {0, 3, 1}, {0, 0, 0}}};
    auto Coons = std::make_unique<TGeoCoonsPatch>();
    auto NPatch = std::make_unique<TGeoNPatch>();
    for (std::size_t I = 0; I < Sides.size(); ++I) {
        const std::string Name = "Side" + std::to_string(I + 1);
        AddCurve<TGeoBSpline>(Sides[I], Name);
        Coons->AddCurveName(Name);
        NPatch->AddCurveName(Name);
    }
    auto* C = static_cast<TGeoCoonsPatch*>(Doc.Add(std::move(Coons)));
    auto* N = static_cast<TGeoNPatch*>(Doc.Add(std::move(NPatch)));

    auto* CoonsFrame = Open<TCoonsPatchFrame>(*C);
    ASSERT_NE(CoonsFrame, nullptr);
    EXPECT_TRUE(CoonsFrame->RadioButton1->isChecked());
    CoonsFrame->RadioButton2->click();
    Doc.ApplyChanges();
    EXPECT_EQ(C->GetCoonsMethod(), cpBiCubic);
    EXPECT_EQ(C->Patch().GeneratedMethod(), cpBiCubic);
    Doc.Undo();
    Doc.ApplyChanges();
    EXPECT_EQ(C->GetCoonsMethod(), cpBiLinear);
    EXPECT_TRUE(CoonsFrame->RadioButton1->isChecked());
    C->FreeFrame();

    auto* Frame = Open<TNPatchFrame>(*N);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->RadioButtons[3]->text(), "Subdivision (Brennick)");
    EXPECT_TRUE(Frame->RadioButtons[0]->isChecked());
    Frame->RadioButtons[3]->click();
    Doc.ApplyChanges();
    EXPECT_EQ(N->GetPatchType(), ptSubdivision);
    EXPECT_FALSE(N->IsValid());
    Frame->RadioButtons[2]->click();
    Doc.ApplyChanges();
    EXPECT_EQ(N->GetPatchType(), ptWeightedG1);
    EXPECT_TRUE(N->IsValid());
    Frame->VkSpinEdit1->SetValue(6);
    EXPECT_EQ(N->GetNumULine(), 6);
}

}  // namespace
}  // namespace sarnova
