// Helpers for the entity tests: the program's classes registered, macro runs on a document, and a
// drawing target that renders and places labels.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "document/DragPoints.h"
#include "document/FakeView.h"
#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "startup/RegisterClasses.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"

namespace sarnova::test {

inline void RegisterEntityClasses() { RegisterGeometryClasses(); }

// Runs the macro text on Doc as the file FileName.
inline void RunMacroText(TGeometryInterface& Doc, const std::string& Text, const std::string& FileName = "test.cmd") {
    const auto Path = std::filesystem::temp_directory_path() / FileName;
    std::ofstream(Path) << Text;
    TMacroFile Macro;
    Macro.LoadFromFile(Path);
    Doc.RunMacro(Macro);
}

// The message of the error the macro text raises on Doc, with the file named as FileName alone; empty
// when it raises none.
inline std::string MacroError(TGeometryInterface& Doc, const std::string& Text, const std::string& FileName = "test.cmd") {
    try {
        RunMacroText(Doc, Text, FileName);
    } catch (const std::exception& E) {
        std::string Message = E.what();
        const std::string Path = (std::filesystem::temp_directory_path() / FileName).string();
        if (const auto At = Message.find(Path); At != std::string::npos) Message.replace(At, Path.size(), FileName);
        return Message;
    }
    return {};
}

inline void LoadDocumentText(TGeometryList& Doc, const std::string& Text) {
    TTextReader In(Text);
    Doc.LoadFromText(In);
}

// A document loading Text saves it again to the byte.
inline void ExpectLoadsAndSavesUnchanged(const std::string& Text) {
    TGeometryInterface Doc;
    LoadDocumentText(Doc, Text);
    EXPECT_EQ(SavedText(Doc), Text);
}

// A query of Doc for the kinds (qk...) given, run; count-only when CountOnly.
inline std::unique_ptr<TGeometryQuery> QueryOf(TGeometryList& Doc, std::initializer_list<int> Kinds,
                                               bool CountOnly = false) {
    auto Q = std::make_unique<TGeometryQuery>();
    Q->Kinds = QueryKinds(Kinds);
    Q->CountOnly = CountOnly;
    Doc.Query(*Q, false);
    return Q;
}

// The entities of class T in List, in list order.
template <class T>
std::vector<T*> EntitiesOf(const TGeometryList& List) {
    std::vector<T*> Result;
    for (int I = 0; I < List.Count(); ++I)
        if (auto* E = dynamic_cast<T*>(&List.Items(I))) Result.push_back(E);
    return Result;
}

// A click at the world point (X, Y) of the fake view's plane: the mouse moves there, presses and
// releases.
inline void ClickAt(TFakeView& View, TMouseButton Button, double X, double Y) {
    const TPoint P = Px(X, Y);
    View.Move(P.X, P.Y);
    View.Press(Button, P.X, P.Y);
    View.Release(Button, P.X, P.Y);
}

// Clicks the popup item of Entity with this caption.
inline void ClickPopupItem(TGeometry& Entity, const std::string& Caption) {
    TMenuItem* Root = Entity.PopupMenu();
    ASSERT_NE(Root, nullptr);
    TMenuItem* Item = Root->Find(Caption);
    ASSERT_NE(Item, nullptr) << Caption;
    Item->Click();
}

// A drawing target that renders what is handed to it and records the render calls, the materials
// and the overlays: a world point (x, y, z) shows at window pixel (200 + 10 x, 300 - 10 z) with depth
// Depth.
class TRenderView : public TRecordingGraphics, public IRenderTarget {
public:
    double Depth = 0.5;
    bool CanProject = true;
    int OverlaysOpen = 0;
    int Overlays = 0;
    std::vector<std::string> Rendered;
    std::vector<TColor> Materials;

    void RenderObject(IRenderable& Obj) override {
        TRecordingGraphics::RenderObject(Obj);
        Obj.Render(*this);
    }
    void Begin(TRenderPrimitive) override { Rendered.push_back("Begin"); }
    void End() override { Rendered.push_back("End"); }
    void Normal(const TMVector&) override { Rendered.push_back("Normal"); }
    void Color(double, double, double) override { Rendered.push_back("Color"); }
    void Vertex(const TMVector&) override { Rendered.push_back("Vertex"); }
    void EnableDepthTest() override {}
    int GetClientWidth() const override { return 400; }
    int GetClientHeight() const override { return 400; }
    void BeginPixelOverlay() override {
        ++OverlaysOpen;
        ++Overlays;
    }
    void EndPixelOverlay() override { --OverlaysOpen; }
    void Bitmap(double, double, const TBitmapRows&) override {}
    void Material(TColor Diffuse, TColor Specular, double Shininess) override {
        Materials.push_back(Diffuse);
        EXPECT_EQ(Specular, clWhite);
        EXPECT_EQ(Shininess, 110);
    }
    bool WorldToWindow(const TMVector& P, TMVector& Window) override {
        EXPECT_EQ(OverlaysOpen, 0) << "the scene's projection";
        Window = {200 + 10 * P.X, 300 - 10 * P.Z, Depth};
        return CanProject;
    }
    void TextOut(const std::string& Text, double X, double Y, double Z) override {
        EXPECT_EQ(OverlaysOpen, 1) << "labels in the overlay";
        TRecordingGraphics::TextOut(Text, X, Y, Z);
    }

    // The calls named Name.
    std::vector<TGraphicsCall> Of(const std::string& Name) const {
        std::vector<TGraphicsCall> Result;
        for (const TGraphicsCall& C : Calls)
            if (C.Name == Name) Result.push_back(C);
        return Result;
    }
};

}  // namespace sarnova::test
