// The program-wide settings GSettings: drawing colours, grid, snap and view options, surface analysis,
// the macro editor's look and auto-save, kept in the registry under the program's key. The settings
// only store values and notify no one; whoever changes one applies it to the windows and saves.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "document/GeometryQuery.h"
#include "foundation/Colors.h"
#include "foundation/Graphics.h"
#include "foundation/VkMaths.h"
#include "platform/Font.h"

namespace sarnova {

struct TContourColors;

// Where a view draws its axis icon, and when it draws a simplified model while the camera moves.
enum TAxisIcon : std::uint8_t { aiLeftBottom, aiModelOrigin, aiNone };
enum TAdaptiveDegradation : std::uint8_t { adWhenRequired, adNever, adAlways };

// Zebra band counts as texts: "pb1Degrees", "pb2Degrees", "pb5Degrees", "pb20Degrees" and
// "pb30Degrees" for 1, 2, 5, 20 and 30 (the low seven bits count), "pb10Degrees" for anything else.
// Reading answers the first of those names contained in the text, else 10.
std::string SnapAngleName(std::uint8_t Count);
std::uint8_t SnapAngleFromName(std::string_view Text);

class TSarnovaSettings {
public:
    // The defaults, then whatever the registry holds.
    TSarnovaSettings();

    // Every field to its default; the global settings below keep their values.
    void SetDefaults();
    // Reads every stored value; a missing or unreadable one leaves its field as it is. A grid size, a
    // nudge or a rotation mode the program cannot work with counts as unreadable.
    void Load();
    // Writes every value. Raises EInOutError when the store cannot be written, and EConvertError for a
    // scaled value beyond the stored integer's range (nothing is written then).
    void Save();

    void SetClassicColorScheme();
    void SetEvolutionColorScheme();

    TColor BackColor;
    TColor DrawColor;
    TColor SelectColor;
    TColor NonEditColor;
    TColor StartColor;
    TColor ControlPolygonColor;
    TColor OpeningNormalVectorColor;
    TColor SnapIconColor;
    TColor AxisIconColor;
    TColor EditIconColor;
    TColor MajorGridColor;
    TColor MinorGridColor;
    int MajorGridFrequency;
    std::uint8_t CurvatureShadingModel;
    bool CurvatureLayers;
    int CurvatureLayersCount;
    bool ShowSurfaceCurvatureWhileEditing;
    bool ShowSurfaceContoursWhileEditing;
    TMVector ZebraVector;
    std::uint8_t ZebraBands;
    TColor ZebraBand1Color;
    TColor ZebraBand2Color;
    TColor MacroEditorBackColor;
    TFont MacroEditorFont;
    TAxisIcon AxisIcon;
    TAdaptiveDegradation AdaptiveDegradationOption;
    int AdaptiveDegradationInterval;
    bool AutoSaveEnabled;
    bool GridEnabled;
    int AutoSaveInterval;  // minutes
    double Nudge;
    double GridSize;
    TProjectOptions ProjectOptions;
    bool CorrectNVIDIABackBufferProblem;
    bool InitiallyOpenProject;
    TInteractionMode RotationMode;
    TSnapOptions SnapOptions;
    THighlightGroups HighlightGroups;
};

// Settings that live with the modules using them, loaded and saved with GSettings.
extern TColor GXContourColor;
extern TColor GYContourColor;
extern TColor GZContourColor;
// The three contour colours above, for the contour lines the kernel cuts.
TContourColors ContourColors();
extern std::uint8_t GDesignUnits;
// The length of one design unit (metres, centimetres, millimetres, feet, inches) in metres.
double MetresPerDesignUnit();
extern std::uint8_t GDesignMassUnit;
extern double GWaterDensity;  // kg/m3
extern std::uint8_t GElasticMode;  // 0 off, 1 curves, 2 control points

// Made and loaded by InitializeSettings at start-up (after the utilities module, before any entity
// module), freed by FinalizeSettings; an explicit call, so that no static initialisation depends on it.
// The two also make and free the clipboard list GClipboard (document/Geometry.h).
extern std::unique_ptr<TSarnovaSettings> GSettings;
void InitializeSettings();
void FinalizeSettings();

}  // namespace sarnova
