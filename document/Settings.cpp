// The settings' defaults, colour schemes, option texts and their registry table.
#include "document/Settings.h"

#include <iterator>
#include <type_traits>

#include "document/GeometryList.h"
#include "foundation/Contours.h"
#include "foundation/TextUtils.h"
#include "platform/Registry.h"

namespace sarnova {

TColor GXContourColor = clYellow;
TColor GYContourColor = clRed;
TColor GZContourColor = clBlue;

TContourColors ContourColors() { return {GXContourColor, GYContourColor, GZContourColor}; }
std::uint8_t GDesignUnits = 0;

double MetresPerDesignUnit() {
    // Feet and inches in the single-precision values the settings have always used.
    static constexpr double MetresPerUnit[] = {1.0, 0.01, 0.001, 0.304799999536704, 0.025399999961392};
    return GDesignUnits < std::size(MetresPerUnit) ? MetresPerUnit[GDesignUnits] : 1.0;
}
std::uint8_t GDesignMassUnit = 0;
double GWaterDensity = 1025.0;
std::uint8_t GElasticMode = 1;

std::unique_ptr<TSarnovaSettings> GSettings;

namespace {

struct TBandName {
    std::string_view Name;
    std::uint8_t Count;
};
// In the order reading tries them.
constexpr TBandName BandNames[] = {
    {"pb1Degrees", 1}, {"pb2Degrees", 2}, {"pb5Degrees", 5}, {"pb20Degrees", 20}, {"pb30Degrees", 30}};

// ---- The registry table ----
// One list of every stored value, in the order they are written, walked by both Load and Save.

// A real stored as the integer Value * Factor. Positive: a stored value of 0 or less is unusable.
struct TScaled {
    double& Value;
    double Factor;
    bool Positive;
};
struct TBandCount {
    std::uint8_t& Value;
};
struct TFontStyleValue {
    TFontStyles& Value;
};
struct TRotationValue {
    TInteractionMode& Value;
};
struct TProjectOptionsValue {
    TProjectOptions& Value;
};
struct TSnapOptionsValue {
    TSnapOptions& Value;
};
struct THighlightGroupsValue {
    THighlightGroups& Value;
};

template <class TVisit>
void VisitStoredValues(TSarnovaSettings& S, TVisit&& Visit) {
    Visit("DrawingColors", "BackColor", S.BackColor);
    Visit("DrawingColors", "DrawColor", S.DrawColor);
    Visit("DrawingColors", "SelectColor", S.SelectColor);
    Visit("DrawingColors", "NonEditColor", S.NonEditColor);
    Visit("DrawingColors", "ControlPolygonColor", S.ControlPolygonColor);
    Visit("DrawingColors", "StartColor", S.StartColor);
    Visit("DrawingColors", "XContourColor", GXContourColor);
    Visit("DrawingColors", "YContourColor", GYContourColor);
    Visit("DrawingColors", "ZContourColor", GZContourColor);
    Visit("DrawingColors", "OpeningNormalVectorColor", S.OpeningNormalVectorColor);
    Visit("DrawingColors", "SnapIconColor", S.SnapIconColor);
    Visit("DrawingColors", "AxisIconColor", S.AxisIconColor);
    Visit("DrawingColors", "EditIconColor", S.EditIconColor);
    Visit("DrawingColors", "MajorGridColor", S.MajorGridColor);
    Visit("DrawingColors", "MinorGridColor", S.MinorGridColor);
    Visit("DrawingColors", "CurvatureShadingModel", S.CurvatureShadingModel);
    Visit("DrawingColors", "CurvatureLayers", S.CurvatureLayers);
    Visit("DrawingColors", "CurvatureLayersCount", S.CurvatureLayersCount);
    Visit("ZebraOptions", "ZebraVectorX", TScaled{S.ZebraVector.X, 10000, false});
    Visit("ZebraOptions", "ZebraVectorY", TScaled{S.ZebraVector.Y, 10000, false});
    Visit("ZebraOptions", "ZebraVectorZ", TScaled{S.ZebraVector.Z, 10000, false});
    Visit("ZebraOptions", "ZebraBands", TBandCount{S.ZebraBands});
    Visit("ZebraOptions", "ZebraBand1Color", S.ZebraBand1Color);
    Visit("ZebraOptions", "ZebraBand2Color", S.ZebraBand2Color);
    Visit("ViewOptions", "ShowSurfaceCurvatureWhileEditing", S.ShowSurfaceCurvatureWhileEditing);
    Visit("ViewOptions", "ShowSurfaceContoursWhileEditing", S.ShowSurfaceContoursWhileEditing);
    Visit("ViewOptions", "SnapOptions", TSnapOptionsValue{S.SnapOptions});
    Visit("ViewOptions", "HighlightGroups", THighlightGroupsValue{S.HighlightGroups});
    Visit("ViewOptions", "GridEnabled", S.GridEnabled);
    // A zero grid size or nudge would make every snap and nudge divide by zero.
    Visit("ViewOptions", "GridSize", TScaled{S.GridSize, 10000, true});
    Visit("ViewOptions", "Nudge", TScaled{S.Nudge, 10000, true});
    Visit("ViewOptions", "ProjectOptions", TProjectOptionsValue{S.ProjectOptions});
    Visit("ViewOptions", "InitiallyOpenProject", S.InitiallyOpenProject);
    Visit("ViewOptions", "RotationMode", TRotationValue{S.RotationMode});
    Visit("ViewOptions", "CorrectNVIDIABackBufferProblem", S.CorrectNVIDIABackBufferProblem);
    Visit("ViewOptions", "MajorGridFrequency", S.MajorGridFrequency);
    Visit("ViewOptions", "AxisIcon", S.AxisIcon);
    Visit("ViewOptions", "AdaptiveDegradationOption", S.AdaptiveDegradationOption);
    Visit("ViewOptions", "AdaptiveDegradationInterval", S.AdaptiveDegradationInterval);
    Visit("MacroEditor", "BackColor", S.MacroEditorBackColor);
    Visit("MacroEditor", "FontName", S.MacroEditorFont.Name);
    Visit("MacroEditor", "FontStyle", TFontStyleValue{S.MacroEditorFont.Style});
    Visit("MacroEditor", "FontSize", S.MacroEditorFont.Size);
    Visit("MacroEditor", "FontColor", S.MacroEditorFont.Color);
    Visit("AutoSave", "Enabled", S.AutoSaveEnabled);
    Visit("AutoSave", "Interval", S.AutoSaveInterval);
    Visit("Hydrostatics", "DesignUnits", GDesignUnits);
    Visit("Hydrostatics", "DesignMassUnit", GDesignMassUnit);
    Visit("Hydrostatics", "WaterDensity", TScaled{GWaterDensity, 1000, false});
    Visit("DAzadavaz", "ElasticMode", GElasticMode);
}

// Byte-sized fields: a byte and the enumerations stored as one.
template <class T>
concept ByteValue = std::is_same_v<T, std::uint8_t> || (std::is_enum_v<T> && sizeof(T) == 1);

// Each read offers the field's current value as its default, so a missing or unreadable value
// leaves the field as it is.
struct TLoader {
    const TRegIniFile& Ini;

    void operator()(const char* Section, const char* Name, int& Value) const {
        Value = Ini.ReadInteger(Section, Name, Value);
    }
    void operator()(const char* Section, const char* Name, bool& Value) const {
        Value = Ini.ReadBool(Section, Name, Value);
    }
    // Only the low byte of the stored integer counts.
    template <ByteValue T>
    void operator()(const char* Section, const char* Name, T& Value) const {
        Value = static_cast<T>(static_cast<std::uint8_t>(Ini.ReadInteger(Section, Name, Value)));
    }
    void operator()(const char* Section, const char* Name, std::string& Value) const {
        Value = Ini.ReadString(Section, Name, Value);
    }
    void operator()(const char* Section, const char* Name, TScaled V) const {
        int Stored = 0;
        if (!TryStrToInt(Ini.ReadString(Section, Name, ""), Stored) || (V.Positive && Stored <= 0)) return;
        V.Value = Stored / V.Factor;
    }
    void operator()(const char* Section, const char* Name, TBandCount V) const {
        V.Value = SnapAngleFromName(Ini.ReadString(Section, Name, SnapAngleName(V.Value)));
    }
    void operator()(const char* Section, const char* Name, TFontStyleValue V) const {
        V.Value = IntegerToFontStyle(Ini.ReadInteger(Section, Name, FontStyleToInteger(V.Value)));
    }
    // The view rotates only in these two modes; another mode (imRotate is refused by the view
    // outright) would leave every new document window unable to start.
    void operator()(const char* Section, const char* Name, TRotationValue V) const {
        const int Mode = Ini.ReadInteger(Section, Name, V.Value);
        if (Mode == imRotateWorld || Mode == imRotateView) V.Value = static_cast<TInteractionMode>(Mode);
    }
    // The sets go through their texts also when the value is missing, so that the kinds switched
    // with stPoint and stCurve are on from the first run, as after any later one.
    void operator()(const char* Section, const char* Name, TProjectOptionsValue V) const {
        V.Value = TextToProjectOptions(Ini.ReadString(Section, Name, ProjectOptionsToText(V.Value)));
    }
    void operator()(const char* Section, const char* Name, TSnapOptionsValue V) const {
        V.Value = TextToSnapOptions(Ini.ReadString(Section, Name, SnapOptionsToText(V.Value)));
    }
    void operator()(const char* Section, const char* Name, THighlightGroupsValue V) const {
        V.Value = TextToHighlightGroups(Ini.ReadString(Section, Name, HighlightGroupsToText(V.Value)));
    }
};

struct TSaver {
    TRegIniFile& Ini;

    void operator()(const char* Section, const char* Name, int Value) const { Ini.WriteInteger(Section, Name, Value); }
    void operator()(const char* Section, const char* Name, bool Value) const { Ini.WriteBool(Section, Name, Value); }
    template <ByteValue T>
    void operator()(const char* Section, const char* Name, T Value) const {
        Ini.WriteInteger(Section, Name, static_cast<std::uint8_t>(Value));
    }
    void operator()(const char* Section, const char* Name, const std::string& Value) const {
        Ini.WriteString(Section, Name, Value);
    }
    // The value times the factor, to single precision, truncated: 2.0 is 20000, 0.00005 is 0.
    void operator()(const char* Section, const char* Name, TScaled V) const {
        Ini.WriteInteger(Section, Name, TruncSingle(V.Value * V.Factor));
    }
    void operator()(const char* Section, const char* Name, TBandCount V) const {
        Ini.WriteString(Section, Name, SnapAngleName(V.Value));
    }
    void operator()(const char* Section, const char* Name, TFontStyleValue V) const {
        Ini.WriteInteger(Section, Name, FontStyleToInteger(V.Value));
    }
    void operator()(const char* Section, const char* Name, TRotationValue V) const {
        Ini.WriteInteger(Section, Name, V.Value);
    }
    void operator()(const char* Section, const char* Name, TProjectOptionsValue V) const {
        Ini.WriteString(Section, Name, ProjectOptionsToText(V.Value));
    }
    void operator()(const char* Section, const char* Name, TSnapOptionsValue V) const {
        Ini.WriteString(Section, Name, SnapOptionsToText(V.Value));
    }
    void operator()(const char* Section, const char* Name, THighlightGroupsValue V) const {
        Ini.WriteString(Section, Name, HighlightGroupsToText(V.Value));
    }
};

std::string SettingsKey() { return ProgramRegistryKey(GExeName); }

// ---- Colour schemes ----

struct TColorScheme {
    TColor Back, Draw, Select, NonEdit, ControlPolygon, Start, XContour, YContour, ZContour, OpeningNormalVector,
        SnapIcon, AxisIcon, EditIcon, MajorGrid, MinorGrid;
};

constexpr TColorScheme ClassicColors = {
    .Back = clBlack, .Draw = clWhite, .Select = clYellow, .NonEdit = clGray, .ControlPolygon = clRed,
    .Start = clBlue, .XContour = clYellow, .YContour = clRed, .ZContour = clBlue, .OpeningNormalVector = clRed,
    .SnapIcon = clYellow, .AxisIcon = clWhite, .EditIcon = clFuchsia, .MajorGrid = 0x5C5C5C, .MinorGrid = 0x3D3D1F};
constexpr TColorScheme EvolutionColors = {
    .Back = 0x9F9F9F, .Draw = clWhite, .Select = clYellow, .NonEdit = clGray, .ControlPolygon = clSilver,
    .Start = clBlue, .XContour = clYellow, .YContour = clRed, .ZContour = clBlue, .OpeningNormalVector = clRed,
    .SnapIcon = clYellow, .AxisIcon = clWhite, .EditIcon = clFuchsia, .MajorGrid = 0x8C8C8C, .MinorGrid = 0x969696};

void ApplyColorScheme(TSarnovaSettings& S, const TColorScheme& C) {
    S.BackColor = C.Back;
    S.DrawColor = C.Draw;
    S.SelectColor = C.Select;
    S.NonEditColor = C.NonEdit;
    S.ControlPolygonColor = C.ControlPolygon;
    S.StartColor = C.Start;
    GXContourColor = C.XContour;
    GYContourColor = C.YContour;
    GZContourColor = C.ZContour;
    S.OpeningNormalVectorColor = C.OpeningNormalVector;
    S.SnapIconColor = C.SnapIcon;
    S.AxisIconColor = C.AxisIcon;
    S.EditIconColor = C.EditIcon;
    S.MajorGridColor = C.MajorGrid;
    S.MinorGridColor = C.MinorGrid;
}

}  // namespace

std::string SnapAngleName(std::uint8_t Count) {
    for (const auto& B : BandNames)
        if (B.Count == (Count & 0x7F)) return std::string(B.Name);
    return "pb10Degrees";
}

std::uint8_t SnapAngleFromName(std::string_view Text) {
    for (const auto& B : BandNames)
        if (Text.find(B.Name) != std::string_view::npos) return B.Count;
    return 10;
}

// ---- TSarnovaSettings ----

TSarnovaSettings::TSarnovaSettings() {
    SetDefaults();
    Load();
}

void TSarnovaSettings::SetDefaults() {
    BackColor = clBlack;
    DrawColor = clWhite;
    SelectColor = clYellow;
    NonEditColor = clGray;
    StartColor = clBlue;
    ControlPolygonColor = clRed;
    OpeningNormalVectorColor = clRed;
    SnapIconColor = clYellow;
    AxisIconColor = clWhite;
    EditIconColor = clFuchsia;
    MajorGridColor = clGray;
    MinorGridColor = clGray;
    MajorGridFrequency = 5;
    CurvatureShadingModel = 2;
    CurvatureLayers = true;
    CurvatureLayersCount = 17;
    ShowSurfaceCurvatureWhileEditing = false;
    ShowSurfaceContoursWhileEditing = false;
    ZebraVector = {0, 0, 1};
    ZebraBands = 10;
    ZebraBand1Color = clWhite;
    ZebraBand2Color = clBlue;
    MacroEditorBackColor = clWhite;
    MacroEditorFont = {"Courier New", 12, fsBold, clBlack};
    AxisIcon = aiModelOrigin;
    AdaptiveDegradationOption = adWhenRequired;
    AdaptiveDegradationInterval = 200;
    AutoSaveEnabled = false;
    GridEnabled = true;
    AutoSaveInterval = 10;
    Nudge = 0.01;
    GridSize = 2.0;
    ProjectOptions = poObjectSnap | po3DEditing;
    CorrectNVIDIABackBufferProblem = false;
    InitiallyOpenProject = true;
    RotationMode = imRotateView;
    SnapOptions.reset();
    SnapOptions.set(stPoint).set(stCurve);
    HighlightGroups = (1u << hgPolyline) | (1u << hgCurve) | (1u << hgBSplineCurve);
}

void TSarnovaSettings::Load() {
    const TRegIniFile Ini(SettingsKey());
    VisitStoredValues(*this, TLoader{Ini});
}

void TSarnovaSettings::Save() {
    TRegIniFile Ini(SettingsKey());
    VisitStoredValues(*this, TSaver{Ini});
    Ini.Flush();
}

void TSarnovaSettings::SetClassicColorScheme() { ApplyColorScheme(*this, ClassicColors); }

void TSarnovaSettings::SetEvolutionColorScheme() { ApplyColorScheme(*this, EvolutionColors); }

namespace {
// The clipboard list of copy and paste belongs to the settings module's start-up and shut-down.
std::unique_ptr<TGeometryList> ClipboardList;
}  // namespace

void InitializeSettings() {
    GSettings = std::make_unique<TSarnovaSettings>();
    ClipboardList = std::make_unique<TGeometryList>();
    GClipboard = ClipboardList.get();
}

void FinalizeSettings() {
    GClipboard = nullptr;
    ClipboardList.reset();
    GSettings.reset();
}

}  // namespace sarnova
