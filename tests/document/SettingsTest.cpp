#include "document/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "foundation/TextUtils.h"
#include "platform/Registry.h"

namespace sarnova {
namespace {

namespace fs = std::filesystem;

TSnapOptions Kinds(std::initializer_list<int> Elements) {
    TSnapOptions Set;
    for (int E : Elements) Set.set(static_cast<std::size_t>(E));
    return Set;
}

// Every test starts from an empty store and the globals' initial values.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove(RegistryFileName());
        ResetGlobals();
    }
    void TearDown() override { fs::remove(RegistryFileName()); }

    static void ResetGlobals() {
        GXContourColor = clYellow;
        GYContourColor = clRed;
        GZContourColor = clBlue;
        GDesignUnits = 0;
        GDesignMassUnit = 0;
        GWaterDensity = 1025.0;
        GElasticMode = 1;
    }

    static std::string Key() { return ProgramRegistryKey(GExeName); }

    static std::string Stored(const char* Section, const char* Name) {
        return TRegIniFile(Key()).ReadString(Section, Name, "<missing>");
    }

    static void Store(const char* Section, const char* Name, const char* Value) {
        TRegIniFile Ini(Key());
        Ini.WriteString(Section, Name, Value);
        Ini.Flush();
    }

    static std::vector<std::string> StoredNames(const char* Section) {
        TRegistry Reg;
        if (!Reg.OpenKey("\\" + Key() + "\\" + Section, false)) return {};
        return Reg.GetValueNames();
    }
};

TEST_F(SettingsTest, EmptyStoreKeepsTheDefaultsAndTheFirstSaveWritesTheWholeTable) {
    TSarnovaSettings S;
    EXPECT_EQ(S.BackColor, clBlack);
    EXPECT_EQ(S.GridSize, 2.0);
    EXPECT_EQ(S.Nudge, 0.01);
    EXPECT_EQ(S.ProjectOptions, 6);
    EXPECT_EQ(S.RotationMode, imRotateView);
    EXPECT_EQ(S.ZebraVector, (TMVector{0, 0, 1}));
    EXPECT_EQ(S.HighlightGroups, 14);
    EXPECT_EQ(S.MacroEditorFont, (TFont{"Courier New", 12, fsBold, clBlack}));
    // stPoint and stCurve also switch the curve-network kinds 0 and 3.
    EXPECT_EQ(S.SnapOptions, Kinds({0, 1, 3, 4}));
    EXPECT_FALSE(fs::exists(RegistryFileName())) << "loading writes nothing";

    S.Save();
    EXPECT_EQ(StoredNames("DrawingColors"),
              (std::vector<std::string>{"BackColor", "DrawColor", "SelectColor", "NonEditColor",
                                        "ControlPolygonColor", "StartColor", "XContourColor", "YContourColor",
                                        "ZContourColor", "OpeningNormalVectorColor", "SnapIconColor",
                                        "AxisIconColor", "EditIconColor", "MajorGridColor", "MinorGridColor",
                                        "CurvatureShadingModel", "CurvatureLayers", "CurvatureLayersCount"}));
    EXPECT_EQ(StoredNames("ZebraOptions"),
              (std::vector<std::string>{"ZebraVectorX", "ZebraVectorY", "ZebraVectorZ", "ZebraBands",
                                        "ZebraBand1Color", "ZebraBand2Color"}));
    EXPECT_EQ(StoredNames("ViewOptions"),
              (std::vector<std::string>{"ShowSurfaceCurvatureWhileEditing", "ShowSurfaceContoursWhileEditing",
                                        "SnapOptions", "HighlightGroups", "GridEnabled", "GridSize", "Nudge",
                                        "ProjectOptions", "InitiallyOpenProject", "RotationMode",
                                        "CorrectNVIDIABackBufferProblem", "MajorGridFrequency", "AxisIcon",
                                        "AdaptiveDegradationOption", "AdaptiveDegradationInterval"}));
    EXPECT_EQ(StoredNames("MacroEditor"),
              (std::vector<std::string>{"BackColor", "FontName", "FontStyle", "FontSize", "FontColor"}));
    EXPECT_EQ(StoredNames("AutoSave"), (std::vector<std::string>{"Enabled", "Interval"}));
    EXPECT_EQ(StoredNames("Hydrostatics"),
              (std::vector<std::string>{"DesignUnits", "DesignMassUnit", "WaterDensity"}));
    EXPECT_EQ(StoredNames("DAzadavaz"), std::vector<std::string>{"ElasticMode"});

    const std::tuple<const char*, const char*, const char*> Texts[] = {
        {"DrawingColors", "DrawColor", "16777215"},
        {"DrawingColors", "XContourColor", "65535"},
        {"DrawingColors", "CurvatureLayers", "1"},
        {"ZebraOptions", "ZebraVectorZ", "10000"},
        {"ZebraOptions", "ZebraBands", "pb10Degrees"},
        {"ViewOptions", "SnapOptions", "[stPoint, stCurve]"},
        {"ViewOptions", "HighlightGroups", "[hgPolyline, hgCurve, hgBSplineCurve]"},
        {"ViewOptions", "GridSize", "20000"},
        {"ViewOptions", "Nudge", "100"},
        {"ViewOptions", "ProjectOptions", "[poObjectSnap, po3DEditing]"},
        {"ViewOptions", "RotationMode", "5"},
        {"ViewOptions", "CorrectNVIDIABackBufferProblem", "0"},
        {"MacroEditor", "FontName", "Courier New"},
        {"MacroEditor", "FontStyle", "1"},
        {"Hydrostatics", "WaterDensity", "1025000"},
        {"DAzadavaz", "ElasticMode", "1"},
    };
    for (auto [Section, Name, Text] : Texts) EXPECT_EQ(Stored(Section, Name), Text) << Section << "\\" << Name;

    // And the saved table reads back as the same settings.
    const TSarnovaSettings Again;
    EXPECT_EQ(Again.SnapOptions, S.SnapOptions);
    EXPECT_EQ(Again.ProjectOptions, S.ProjectOptions);
    EXPECT_EQ(Again.GridSize, 2.0);
    EXPECT_EQ(Again.Nudge, 0.01);
    EXPECT_EQ(GWaterDensity, 1025.0);
}

TEST_F(SettingsTest, ChangedValuesSurviveSaveAndLoad) {
    TSarnovaSettings S;
    S.SetEvolutionColorScheme();
    S.MajorGridFrequency = 7;
    S.CurvatureLayers = false;
    S.ZebraVector = {0.5, -0.25, 0.12345678};
    S.ZebraBands = 7;  // no band text of its own
    S.MacroEditorFont = {"Mono", 9, fsBold | fsItalic, clNavy};
    S.AxisIcon = aiNone;
    S.GridSize = 0.25;
    S.Nudge = 1.5;
    S.ProjectOptions = poGridSnap | poHighlight;
    S.RotationMode = imRotateWorld;
    S.SnapOptions = Kinds({stSurfaceEdge});
    S.HighlightGroups = 1u << hgPolylineList;
    S.AutoSaveEnabled = true;
    GZContourColor = clSystemColor | 5;  // a negative number as text
    GElasticMode = 2;
    GWaterDensity = 1000.0;
    S.Save();
    EXPECT_EQ(Stored("ZebraOptions", "ZebraBands"), "pb10Degrees");
    EXPECT_EQ(Stored("MacroEditor", "FontStyle"), "3");
    EXPECT_EQ(Stored("ViewOptions", "ProjectOptions"), "[poGridSnap, poHighlight]");
    EXPECT_EQ(Stored("ViewOptions", "SnapOptions"), "[stSurfaceEdge]");
    EXPECT_EQ(Stored("ViewOptions", "HighlightGroups"), "[hgPolylineList]");

    ResetGlobals();
    const TSarnovaSettings R;
    EXPECT_EQ(R.BackColor, 0x9F9F9F);
    EXPECT_EQ(R.MinorGridColor, 0x969696);
    EXPECT_EQ(R.MajorGridFrequency, 7);
    EXPECT_FALSE(R.CurvatureLayers);
    EXPECT_EQ(R.ZebraVector, (TMVector{0.5, -0.25, 0.1234}));  // four decimals are kept
    EXPECT_EQ(R.ZebraBands, 10);
    EXPECT_EQ(R.MacroEditorFont, (TFont{"Mono", 9, fsBold | fsItalic, clNavy}));
    EXPECT_EQ(R.AxisIcon, aiNone);
    EXPECT_EQ(R.GridSize, 0.25);
    EXPECT_EQ(R.Nudge, 1.5);
    EXPECT_EQ(R.ProjectOptions, poGridSnap | poHighlight);
    EXPECT_EQ(R.RotationMode, imRotateWorld);
    EXPECT_EQ(R.SnapOptions, Kinds({stSurfaceEdge}));
    EXPECT_EQ(R.HighlightGroups, 1u << hgPolylineList);
    EXPECT_TRUE(R.AutoSaveEnabled);
    EXPECT_EQ(GZContourColor, clSystemColor | 5);
    EXPECT_EQ(GElasticMode, 2);
    EXPECT_EQ(GWaterDensity, 1000.0);
}

TEST_F(SettingsTest, StoredValuesTheProgramCannotUseKeepTheDefault) {
    const std::tuple<const char*, const char*> Cases[] = {
        {"GridSize", "0"}, {"GridSize", "-20000"}, {"GridSize", "2.5"}, {"GridSize", ""},
        {"Nudge", "0"},    {"Nudge", "-1"},        {"RotationMode", "3"}, {"RotationMode", "12"},
    };
    for (auto [Name, Text] : Cases) {
        Store("ViewOptions", Name, Text);
        const TSarnovaSettings S;
        EXPECT_EQ(S.GridSize, 2.0) << Name << "=" << Text;
        EXPECT_EQ(S.Nudge, 0.01) << Name << "=" << Text;
        EXPECT_EQ(S.RotationMode, imRotateView) << Name << "=" << Text;
        fs::remove(RegistryFileName());
    }

    // A grid size too small to store is written as 0, which then reads as unusable.
    TSarnovaSettings S;
    S.GridSize = 0.00005;
    S.Save();
    EXPECT_EQ(Stored("ViewOptions", "GridSize"), "0");
    EXPECT_EQ(TSarnovaSettings().GridSize, 2.0);
}

TEST_F(SettingsTest, AValueBeyondTheStoredRangeWritesNothing) {
    TSarnovaSettings S;
    S.GridSize = 1e9;
    EXPECT_THROW(S.Save(), EConvertError);
    EXPECT_FALSE(fs::exists(RegistryFileName()));
}

TEST(SettingsOptionTexts, WriteInFixedOrderAndReadWholeNames) {
    EXPECT_EQ(ProjectOptionsToText(0), "[]");
    EXPECT_EQ(ProjectOptionsToText(poHighlight | poGridSnap), "[poGridSnap, poHighlight]");
    EXPECT_EQ(SnapOptionsToText(Kinds({0, 1, 2, 3, 5, 7})), "[stPoint, stSurfaceEdge, stPolylineList, stPolygonList]");
    EXPECT_EQ(SnapOptionsToText(Kinds({0, 3})), "[]");
    EXPECT_EQ(HighlightGroupsToText(0xFFFF), "[hgPolyline, hgCurve, hgBSplineCurve, hgSurface, hgMesh, "
                                             "hgBSplineSurface, hgPolylineList, hgPolygons]");

    EXPECT_EQ(TextToSnapOptions("[stPoint, stSurfaceEdge]"), Kinds({0, 1, 5}));
    EXPECT_EQ(TextToSnapOptions("[stCurve]"), Kinds({3, 4}));
    EXPECT_EQ(TextToSnapOptions("[]"), Kinds({}));
    EXPECT_EQ(TextToSnapOptions("stSurfaceEdge,stPolygonList2,xstCurve,STPOINT"), Kinds({5}));
    EXPECT_EQ(TextToHighlightGroups("[hgPolylineList]"), 1u << hgPolylineList);
    EXPECT_EQ(TextToHighlightGroups("[hgBSplineSurface, hgMesh]"), (1u << hgBSplineSurface) | (1u << hgMesh));
    EXPECT_EQ(TextToProjectOptions("[po3DEditing]"), po3DEditing);
    EXPECT_EQ(TextToProjectOptions("garbage"), 0);
}

TEST(SettingsBandTexts, NamesAndCounts) {
    const std::pair<int, const char*> Names[] = {{1, "pb1Degrees"},   {2, "pb2Degrees"},   {5, "pb5Degrees"},
                                                 {10, "pb10Degrees"}, {20, "pb20Degrees"}, {30, "pb30Degrees"},
                                                 {7, "pb10Degrees"},  {0, "pb10Degrees"},  {129, "pb1Degrees"}};
    for (auto [Count, Name] : Names) EXPECT_EQ(SnapAngleName(static_cast<std::uint8_t>(Count)), Name) << Count;

    const std::pair<const char*, int> Counts[] = {
        {"pb1Degrees", 1}, {"pb10Degrees", 10}, {"xpb30Degreesx", 30}, {"pb2Degrees pb1Degrees", 1}, {"", 10}};
    for (auto [Text, Count] : Counts) EXPECT_EQ(SnapAngleFromName(Text), Count) << Text;
}

TEST_F(SettingsTest, StartUpMakesTheLoadedSettingsAndShutDownFreesThem) {
    Store("ViewOptions", "GridSize", "5000");
    InitializeSettings();
    ASSERT_NE(GSettings, nullptr);
    EXPECT_EQ(GSettings->GridSize, 0.5);
    FinalizeSettings();
    EXPECT_EQ(GSettings, nullptr);
}

}  // namespace
}  // namespace sarnova
