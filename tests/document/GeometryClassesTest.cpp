// The class registry: the program's registration order, keyword lookup, menus and macro dispatch.
#include "document/GeometryClasses.h"

#include <gtest/gtest.h>

#include "TestPoint.h"
#include "document/GUnknown.h"
#include "foundation/Console.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

// Stand-ins for entity classes, given by keyword and Create-menu order. A class adds a Create item
// with its keyword (unless told not to) and takes macro lines that start with its keyword.
struct TFakeClassData {
    const char* Keyword;
    int MenuOrder;
    bool AddsItems = true;
};
constexpr TFakeClassData FakeClasses[] = {{"TFrames", 1000}, {"TPolygonList", 18}, {"TBox", 12},
                                          {"TMesh", 41},     {"TPlane", 13},       {"TXTCurve", 52},
                                          {"TPolyline", 31}, {"TContours", 100, false}, {"TCorvane", 81},
                                          {"TFoo", 100}};

template <int N>
class TFake : public TGeometry {
public:
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TFake>(); }
    static std::string GetKeyword() { return FakeClasses[N].Keyword; }
    static int GetMenuOrder() { return FakeClasses[N].MenuOrder; }
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList&) {
        if (FakeClasses[N].AddsItems) Menu.Add(GetKeyword());
    }
    static void AddToolsMenuItems(TMenuItem& Menu, TGeometryList&) { Menu.Add("Tools " + GetKeyword()); }
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList&) {
        return Macro.GetCurrentLine().rfind(GetKeyword(), 0) == 0;
    }
};

template <int... N>
void RegisterFakes(TGeometryClasses& Registry, std::integer_sequence<int, N...>) {
    (Registry.Register(GeometryClassOf<TFake<N>>()), ...);
}

std::vector<std::string> Captions(const TMenuItem& Menu) {
    std::vector<std::string> Result;
    for (int I = 0; I < Menu.Count(); ++I) Result.push_back(Menu.Items(I).Caption);
    return Result;
}

class GeometryClassesTest : public ::testing::Test {
protected:
    // Registered in table order, which is not the program's order.
    void SetUp() override { RegisterFakes(Registry, std::make_integer_sequence<int, std::size(FakeClasses)>()); }
    std::vector<std::string> Keywords() const {
        std::vector<std::string> Result;
        for (int I = 0; I < Registry.Count(); ++I) Result.push_back(Registry.ClassAt(I).GetKeyword());
        return Result;
    }
    TGeometryClasses Registry;
    TRecordingList Document;
};

TEST_F(GeometryClassesTest, ClassesTakeTheirPlaceInTheProgramsOrder) {
    EXPECT_EQ(Keywords(), (std::vector<std::string>{"TFrames", "TPolygonList", "TBox", "TMesh", "TPlane", "TXTCurve",
                                                    "TPolyline", "TContours", "TCorvane", "TFoo"}));
    // A second registration gives a second entry next to the first.
    Registry.Register(GeometryClassOf<TFake<4>>());
    EXPECT_EQ(Keywords()[4], "TPlane");
    EXPECT_EQ(Keywords()[5], "TPlane");
}

TEST_F(GeometryClassesTest, KeywordsAreFoundIgnoringCaseAndUnknownOnesGiveThePlaceholder) {
    EXPECT_EQ(&Registry.FindClass("tpolyline"), &GeometryClassOf<TFake<6>>());
    EXPECT_EQ(&Registry.FindClass("TBOX"), &GeometryClassOf<TFake<2>>());
    for (const char* Keyword : {"", "TPoly", " TBox", "Unknown Data", " Unknown Data"})
        EXPECT_EQ(&Registry.FindClass(Keyword), &GeometryClassOf<TGeoUnknown>()) << Keyword;
    EXPECT_EQ(GeometryClassOf<TGeoUnknown>().GetDescription(), "Unknown Data");
}

TEST_F(GeometryClassesTest, TheCreateMenuGroupsClassesByTensOfTheirOrder) {
    TMenuItem Menu;
    Registry.AddCreateMenuItems(Menu, Document);
    // TContours adds nothing but still opens the group of order 100, shared with TFoo.
    EXPECT_EQ(Captions(Menu), (std::vector<std::string>{"-", "TBox", "TPlane", "TPolygonList", "-", "TPolyline", "-",
                                                        "TMesh", "-", "TXTCurve", "-", "TCorvane", "-", "TFoo", "-",
                                                        "TFrames"}));
    TMenuItem Tools;
    Registry.AddToolsMenuItems(Tools, Document);
    EXPECT_EQ(Tools.Count(), Registry.Count());
    EXPECT_EQ(Tools.Items(0).Caption, "Tools TFrames");
}

TEST_F(GeometryClassesTest, MacroLinesGoToTheFirstClassThatTakesThem) {
    TMacroFile Taken = MacroAt("classes-taken.mac", "TPolyline 0 0 0");
    EXPECT_TRUE(Registry.ExecuteMacro(Taken, Document));
    TMacroFile Left = MacroAt("classes-left.mac", "MOVE 1 2 3");
    EXPECT_FALSE(Registry.ExecuteMacro(Left, Document));
}

TEST_F(GeometryClassesTest, ListClassesNamesEveryClassAndKeyword) {
    std::vector<std::string> Lines;
    GConsole->OnLine = [&](const std::string& Line) { Lines.push_back(Line); };
    TGeometryClasses Small;
    Small.AddClass(GeometryClassOf<TTestPoint>());
    Small.AddClass(GeometryClassOf<TFake<2>>());
    Small.ListClasses();
    GConsole->OnLine = nullptr;
    EXPECT_EQ(Lines, (std::vector<std::string>{"Currently Supported Entities:-", " TTestPoint Implementing TTestPoint",
                                               " TFake<2> Implementing TBox"}));
}

}  // namespace
}  // namespace sarnova::test
