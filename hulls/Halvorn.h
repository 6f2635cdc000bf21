// The ship hull-lines generator: a merchant-ship half hull as one B-spline surface, driven by a bow
// shape switch and 27 lengths and percentages. This file holds the parameters, their limits, the
// stations derived from them, the parameter table of the property frame, the text record stored in
// documents and the stand-alone definition file.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/BSpline.h"
#include "foundation/Polyline.h"
#include "surfaces/BSurface.h"

namespace sarnova {

// Every value the text record holds, in record order after BowShape.
struct THalvornParameters {
    std::uint8_t BowShape = 0;
    double Lbp = 0, Beam = 0, Depth = 0, Draught = 0, ParallelDeckF = 0, ParallelDeckA = 0, FOSBow = 0,
           FOSAft = 0, BowRadiusAtDeck = 0, BilgeRadius = 0, TransomBehindAP = 0, TransomImmersion = 0,
           TransomBeam = 0, TransomCurvature = 0, BowCurvature = 0, BulbRadius = 0, ForeOverHang = 0,
           BulbLength = 0, ForeFootRadius = 0, StemRadius = 0, StRootHeight = 0, StShaftHeight = 0,
           StBossToRoot = 0, StBossRadius = 0, StBossStart = 0, StFlatOfBottomStart = 0;
};

// A value of a generator's text record: three decimals, or up to 15 significant digits when three
// decimals would change it by more than 1e-9; "." whatever the locale.
std::string RecordNumber(double Value);
// A parameter's value in a message: up to four decimals, "." whatever the locale.
std::string MessageNumber(double Value);
// The value part of a record line: the text after its first "=", or the whole line.
std::string_view RecordValue(std::string_view Line);

class THalvorn : public TBSplineSurface {
public:
    THalvorn();
    ~THalvorn() override;

    // The name written in brackets on the first line of a definition file.
    virtual std::string GeneratorClassName() const { return "THalvorn"; }

    const THalvornParameters& Parameters() const { return P; }

    // ---- Parameters; each setter applies its limits and rebuilds what depends on the value ----
    std::uint8_t BowShape() const { return P.BowShape; }
    void SetBowShape(std::uint8_t Value);
    double Lbp() const { return P.Lbp; }
    // Scales every length by New / Lbp. A value that is not a positive number throws EGeometryError
    // and changes nothing.
    void SetLbp(double Value);
    void SetBeam(double Value);
    void SetDepth(double Value);
    void SetDraught(double Value);
    // Clamped to 0 .. Beam/2, then to Depth.
    void SetBilgeRadius(double Value);
    void SetBowRadiusAtDeck(double Value);
    void SetParallelDeckF(double Value);
    void SetParallelDeckA(double Value);
    // Moving a flat-of-side end moves the parallel deck end so that it keeps its proportion between
    // the stem head (forward) or the transom (aft) and the flat of side.
    void SetFOSBow(double Value);
    void SetFOSAft(double Value);
    // Clamped to 0 .. Draught.
    void SetForeOverHang(double Value);
    // Clamped to -100 .. 100.
    void SetBowCurvature(double Value);
    // Clamped to 0 .. 1.5 ForeOverHang.
    void SetBulbLength(double Value);
    void SetBulbRadius(double Value) { P.BulbRadius = Value; }
    // Clamped to 0 .. Draught.
    void SetForeFootRadius(double Value);
    void SetStemRadius(double Value) { P.StemRadius = Value; }
    void SetTransomImmersion(double Value);
    void SetTransomBeam(double Value);
    void SetTransomCurvature(double Value);
    void SetTransomBehindAP(double Value);
    void SetStRootHeight(double Value);
    void SetStShaftHeight(double Value);
    void SetStBossToRoot(double Value);
    void SetStFlatOfBottomStart(double Value);
    void SetStBossRadius(double Value);
    void SetStBossStart(double Value);

    // ---- Derived values ----
    double MidshipStation() const { return FMidshipStation; }
    double ParallelDeckLength() const { return FParallelDeckLength; }
    double AftFlatStation() const { return FAftFlatStation; }
    double BowFlatStation() const { return FBowFlatStation; }
    double SternKnuckleHeight() const { return FSternKnuckleHeight; }
    int ColumnCount() const { return FColumnCount; }
    int FirstBowColumn() const { return FFirstBowColumn; }
    // Column I (one per station, aft to forward); the list holds ColumnCount + 2 columns.
    TPolyline& Column(int I);
    int ColumnListCount() const { return static_cast<int>(FColumns.size()); }

    // ---- The curves drawn before generation ----
    const TBSpline& MidSection() const { return *FMidSection; }
    const TBSpline& Stem() const { return *FStem; }
    const TBSpline& Stern() const { return *FStern; }
    const TBSpline& SternSide() const { return *FSternSide; }
    const TBSpline& Transom() const { return *FTransom; }
    const TBSpline& DeckLine() const { return *FDeckLine; }
    const TBSpline& Deck() const { return *FDeck; }
    const TBSpline& BowFlatTangenet() const { return *FBowFlatTangenet; }
    const TBSpline& AftFlatTangent() const { return *FAftFlatTangent; }

    // ---- The parameter table of the property frame ----
    // 25 with a bulbous bow, else 24.
    int ParameterCount() const { return P.BowShape == 1 ? 25 : 24; }
    // Indices 0 .. 24; row 23 is BulbLength on a bulbous hull and ForeFootRadius otherwise. Any other
    // index throws EError "Parameter Index out of bounds <index>".
    std::string ParameterName(int Index) const;
    double Parameter(int Index) const;
    // A value outside the parameter's domain (which may depend on the other parameters) throws
    // EGeometryError naming the parameter and the limit, and changes nothing.
    void SetParameter(int Index, double Value);
    // The refusal of a value for a table row; empty when the value lies in the row's domain.
    std::string DomainError(int Index, double Value) const;

    virtual void SetDefaults();
    // The bow fullness, every bow blender and every column.
    void DrawGenerationCurves(IGraphics& G);
    // Builds every curve and column and fills the control net, then checks that the hull has its
    // beam, depth and length within 0.5 % and lies on the positive side of the centre plane.
    // Parameters that cannot be built throw EGeometryError naming the table parameter set last and,
    // when one is found, the nearest value of it that builds; the parameters and net of the last hull
    // built then come back (HasBuiltHull tells whether there was one).
    virtual void Generate();
    bool HasBuiltHull() const { return FBuilt.has_value(); }
    // The curves made by the last generation, for display and explode.
    const TBSpline& BowFullness() const { return *FBowFullness; }
    const TBSpline& FullStern() const { return *FFullStern; }
    const TBSpline& Projection() const { return *FProjection; }
    const std::vector<std::unique_ptr<TBSpline>>& BowBlenders() const { return FBowBlenders; }
    const std::vector<std::unique_ptr<TBSpline>>& AftBlenders() const { return FAftBlenders; }
    const std::vector<std::unique_ptr<TPolyline>>& Verts() const { return FVerts; }
    const std::vector<std::unique_ptr<TBSpline>>& Bls() const { return FBls; }
    const TPolyline& IXParamF() const { return FIXParamF; }
    const TPolyline& IXParamL() const { return FIXParamL; }
    // Empties the control net and rebuilds the stations and curves drawn before generation.
    void UpdateCurves();
    // Every parameter and derived value of Source, UpdateCurves, then its surface.
    void Assign(const THalvorn& Source);

    // The record: 27 "Key=value" lines after "BowShape=", then the surface's own block. Values are
    // written with three decimals, or with up to 15 significant digits where three decimals would
    // change them by more than 1e-9.
    void SaveToText(TTextWriter& F) const override;
    // Reads the 28 lines by position (the value is the text after the first "="; "," is accepted as
    // decimal separator) and then the surface block. The record is parsed whole before any value is
    // stored: a bad line throws and leaves the generator as it was.
    void LoadFromText(TTextReader& F) override;

    // The definition file: "[" + GeneratorClassName() + "]", then the record.
    virtual void SaveToFile(const std::filesystem::path& FileName) const;
    // Throws EGeometryError "File does not contain a Halvorn Definition" when the first line does not
    // name this class; nothing is changed then.
    virtual void LoadFromFile(const std::filesystem::path& FileName);

protected:
    // Hooks of the generation: its end, the text and percentage of each step.
    virtual void GenerationFinished() {}
    virtual void ProgressText(const std::string&) {}
    virtual void Progress(int) {}

    // The half-breadth of the after body at P's X and height (auxiliary curve kept in Bls).
    double RowBreadth(const TRPoint& P);
    void BuildStemColumns();
    void BuildBowFullness();
    void BuildBowBlenders();
    void FillForwardColumns();
    void BuildBulb();
    void BuildProjection();
    void BuildAftBlenders();
    void BuildAfterColumns();
    void FillMesh();

    // The generation itself, without the checks.
    void Build();
    // Brings a net that strays a little past the centre plane or the half-breadth back within them;
    // throws EGeometryError with the reason when the net is not the hull the parameters ask for.
    void CheckBuilt();
    // The nearest value of the table row, between the one it had before it was set last and Value,
    // with which the hull builds, the other parameters as they are; empty when none is found.
    std::optional<double> NearestBuildable(int Index, double Value) const;

    // Which curves a change rebuilds.
    enum TRebuild : unsigned {
        rbStations = 1, rbMidSection = 2, rbBowFlat = 4, rbAftFlat = 8, rbStem = 16, rbStern = 32,
        rbTransom = 64, rbDeck = 128,
        rbAll = 255
    };
    void Rebuild(unsigned What);
    // The flat-of-side ends clamped against midships and the derived flat stations.
    void ClampFlatOfSide();
    // The stations of every column; empties the control net.
    void BuildColumnStations();
    // Angle of the stem line above the waterline from the horizontal.
    double StemRakeAngle() const;
    // X of the stem head.
    double StemHeadX() const { return P.Lbp + P.ForeOverHang; }
    // Where the raked stem line, carried down, meets the base line.
    double StemFootX() const;
    void BuildMidSection();
    void BuildBowFlatTangent();
    void BuildAftFlatTangent();
    void BuildStem();
    void BuildStern();
    void BuildTransom();
    void BuildDeck();

    THalvornParameters P;
    double FMidshipStation = 0;
    double FParallelDeckLength = 0;
    double FAftFlatStation = 0;
    double FBowFlatStation = 0;
    double FBowFullnessBreadth = 0;
    double FSternKnuckleHeight = 0;
    int FColumnCount = 0;
    int FFirstBowColumn = 0;
    std::vector<std::unique_ptr<TPolyline>> FColumns;
    std::unique_ptr<TBSpline> FMidSection, FStem, FStern, FSternSide, FTransom, FDeckLine, FDeck,
        FBowFlatTangenet, FAftFlatTangent, FBowFullness, FProjection, FFullStern;
    TPolyline FIXParamF, FIXParamL;
    std::vector<std::unique_ptr<TBSpline>> FBowBlenders, FAftBlenders, FBls;
    std::vector<std::unique_ptr<TPolyline>> FVerts;
    // The table row set last and the value it had before, for refusals; -1 after defaults or
    // reading.
    int FLastChanged = -1;
    double FLastChangedFrom = 0;
    // The parameters of the last hull built, while there is one.
    struct TBuilt {
        THalvornParameters P;
        double SternKnuckleHeight;
    };
    std::optional<TBuilt> FBuilt;
};

// The generator as the entity holds it: progress reported through events, and the curves drawn
// before generation, mirrored with the entity.
class THalvornVisual : public THalvorn {
public:
    std::string GeneratorClassName() const override { return "THalvornVisual"; }

    std::function<void(const std::string&)> OnProgressText;
    std::function<void(int)> OnProgress;
    bool Mirrored = false;

    // The midship section, stem, stern, flat boundaries, transom and deck as curves, the keel and
    // the two lines joining the flat boundaries; a second time mirrored in the centre plane when
    // Mirrored.
    void DrawCurves(IGraphics& G);
    // The same set as polylines through the control points.
    void DrawCurvesOutline(IGraphics& G);
    // The control points of those curves, then every control point of the surface.
    std::unique_ptr<TPolyline> GetPickPoints() const;

protected:
    void ProgressText(const std::string& Text) override {
        if (OnProgressText) OnProgressText(Text);
    }
    void Progress(int Percentage) override {
        if (OnProgress) OnProgress(Percentage);
    }

private:
    void DrawSet(IGraphics& G, bool Outline);
};

}  // namespace sarnova
