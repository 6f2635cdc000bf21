// The form curves of the yacht hull-lines generator: small objects that each own one B-spline and
// rebuild it lazily from a handful of dimensions. X runs forward from the transom (X = 0) to Loa at
// the bow, Y is the half-breadth and Z runs up from the lowest point of the canoe body, so the design
// waterline lies at Z = Tc. Stations 0..20 divide the waterline, station 0 at its aft end.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/BSpline.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"
#include "naval/VkHydro.h"
#include "surfaces/BSurface.h"

namespace sarnova {

class IGraphics;
class TDiagonal;

class TFormCurve {
public:
    TFormCurve();
    virtual ~TFormCurve();
    TFormCurve(const TFormCurve&) = delete;
    TFormCurve& operator=(const TFormCurve&) = delete;

    TBSpline& Curve() { return *FCurve; }
    bool UpToDate() const { return FUpToDate; }
    bool Mirrored = false;
    std::function<void(TFormCurve&)> OnChange;
    std::function<void(const std::string&)> OnProgressText;

    // Rebuilds the curve when it is not up to date, then tells OnChange.
    void Update();
    void Invalidate() { FUpToDate = false; }
    void ProgressText(const std::string& Text);
    // Draws the curve, and its mirror image in the centre plane when Mirrored.
    virtual void Draw(IGraphics& G);
    // A copy of the curve mirrored in the centre plane.
    std::unique_ptr<TBSpline> MirroredCurve() const;

protected:
    virtual void DoUpdate() {}
    // Stores Value and clears UpToDate only when it differs from the stored one.
    void Change(double& Field, double Value);
    // Stores the three diagonal references; a change clears UpToDate.
    void ChangeDiagonals(TDiagonal* (&Held)[3], TDiagonal* A, TDiagonal* B, TDiagonal* C);
    // A fresh curve of the given order through the control points.
    void SetControlPoints(int Order, const std::vector<TMVector>& Points);

    std::unique_ptr<TBSpline> FCurve;

private:
    bool FUpToDate = false;
};

// A curve that runs along the hull and is sampled at the 21 stations.
class TLongitudinalFormCurve : public TFormCurve {
public:
    static constexpr int StationCount = 21;

    double Loa() const { return FLoa; }
    double Lwl() const { return FLwl; }
    double Ovh() const { return FOvh; }
    double Tc() const { return FTc; }
    void SetLoa(double Value) { Change(FLoa, Value); }
    void SetLwl(double Value) { Change(FLwl, Value); }
    void SetOvh(double Value) { Change(FOvh, Value); }
    void SetTc(double Value) { Change(FTc, Value); }

    // Aft end of the waterline.
    double StartX() const { return FLoa - (FLwl + FOvh); }
    // Forward end of the waterline.
    double EndX() const { return FLoa - FOvh; }
    double StationX(int I) const { return StartX() + I * FLwl / 20.0; }
    // The curve's point at the station; empty where the curve does not reach it.
    const std::optional<TMVector>& Station(int I) const { return FStations.at(static_cast<std::size_t>(I)); }
    // The station's point when there is one, else (StationX(I), 0, 0).
    virtual TMVector StationPoint(int I) const;
    // Samples the curve at the 21 stations.
    virtual void Digitise();

protected:
    double FLoa = 0, FLwl = 0, FOvh = 0, FTc = 0;
    std::vector<std::optional<TMVector>> FStations = std::vector<std::optional<TMVector>>(StationCount);
};

// The centre-plane profile from the transom top over the keel to the stem head. The transom height
// is solved so that the profile crosses the waterline at its aft end.
class TProfile : public TLongitudinalFormCurve {
public:
    double FreeBow() const { return FFreeBow; }
    double ForeFoot() const { return FForeFoot; }
    double BowCurve() const { return FBowCurve; }
    double FreeAft() const { return FFreeAft; }
    double TransomAngle() const { return FTransomAngle; }
    void SetFreeBow(double Value) { Change(FFreeBow, Value); }
    void SetForeFoot(double Value) { Change(FForeFoot, Value); }
    // Degrees.
    void SetBowCurve(double Value) { Change(FBowCurve, Value); }
    void SetFreeAft(double Value) { Change(FFreeAft, Value); }
    // Degrees; kept for the generator, the profile does not use it.
    void SetTransomAngle(double Value) { Change(FTransomAngle, Value); }
    // Updates when needed, then the solved height of the transom top above the waterline.
    double GetTransomHeight();

protected:
    void DoUpdate() override;

private:
    void Build(double TransomHeight);
    double FFreeBow = 0, FForeFoot = 0, FBowCurve = 0, FFreeAft = 0, FTransomAngle = 0, FTransomHeight = 0;
};

// The sheer line in plan and elevation, from the transom top to the stem head, reaching BMax/2.
class TSheerLine : public TLongitudinalFormCurve {
public:
    double FreeAft() const { return FFreeAft; }
    double FreeMid() const { return FFreeMid; }
    double FreeBow() const { return FFreeBow; }
    double BMax() const { return FBMax; }
    double BTransom() const { return FBTransom; }
    double TransomHeight() const { return FTransomHeight; }
    double TransomAngle() const { return FTransomAngle; }
    void SetFreeAft(double Value) { Change(FFreeAft, Value); }
    void SetFreeMid(double Value) { Change(FFreeMid, Value); }
    void SetFreeBow(double Value) { Change(FFreeBow, Value); }
    void SetBMax(double Value) { Change(FBMax, Value); }
    void SetBTransom(double Value) { Change(FBTransom, Value); }
    void SetTransomHeight(double Value) { Change(FTransomHeight, Value); }
    // Degrees.
    void SetTransomAngle(double Value) { Change(FTransomAngle, Value); }

protected:
    void DoUpdate() override;

private:
    double FFreeAft = 0, FFreeMid = 0, FFreeBow = 0, FBMax = 0, FBTransom = 0, FTransomHeight = 0,
           FTransomAngle = 0;
};

// The design waterline in plan, shaped to reach its waterplane coefficient and centre of flotation.
class TWaterline : public TLongitudinalFormCurve {
public:
    double Bwl() const { return FBwl; }
    double Lcf() const { return FLcf; }
    double Cwp() const { return FCwp; }
    double Fullness() const { return FFullness; }
    double Balance() const { return FBalance; }
    double WaterplaneCoefficient() const { return FWaterplaneCoefficient; }
    double FlotationFraction() const { return FFlotationFraction; }
    void SetBwl(double Value) { Change(FBwl, Value); }
    // Percent of Lwl from the forward end; limited to 25..75.
    void SetLcf(double Value);
    void SetCwp(double Value) { Change(FCwp, Value); }

protected:
    void DoUpdate() override;

private:
    void Build();
    void Measure();
    double FBwl = 0, FLcf = 50, FCwp = 0, FFullness = 0.95, FBalance = 0.05, FWaterplaneCoefficient = 0,
           FFlotationFraction = 0;
};

// A diagonal: offsets measured in a plane through the line (X, 0, OriginZ) inclined by Angle from
// the downward vertical. An offset d at a station is the point (X, d sin Angle, OriginZ - d cos Angle);
// d is kept in the point's weight.
class TDiagonal : public TLongitudinalFormCurve {
public:
    TDiagonal();
    double OriginZ() const { return FOriginZ; }
    double OriginX() const { return FOriginX; }
    double Angle() const { return FAngle; }
    // Both also move the first offset point.
    void SetOriginZ(double Value);
    void SetOriginX(double Value);
    // Radians from the downward vertical.
    void SetAngle(double Value) { Change(FAngle, Value); }
    // The origin point and one point per station that carries an offset, in X order; the origin
    // keeps its identity wherever sorting puts it.
    const TPolyline& Offsets() const { return FOffsets; }

    void SetOffset(int Station, double D);
    // The stored offset of the station, else the distance of the curve's station point from the
    // diagonal's line (0 while the curve has fewer than 2 points).
    double Offset(int Station) const;
    // The offset that brings the diagonal's point to the height Z.
    double OffsetToHeight(double Z) const;
    void RemoveQuarterPoints();
    // Keeps only the origin point.
    void Clear();
    // The line in the diagonal plane along which a station's offset is measured.
    TMLine TraceLine(int Station) const;
    // The distance along the station's trace line to its point nearest Line; Parallel when the two
    // lines run parallel.
    double OffsetClosestToLine(int Station, const TMLine& Line, double Parallel) const;
    TMVector StationPoint(int I) const override;

protected:
    // Throws EGeometryError for fewer than three offset points.
    void DoUpdate() override;

private:
    // The station's point among the offsets (never the origin), or -1.
    int OffsetIndex(int Station) const;
    int OriginIndex() const;
    void MoveOrigin();
    double FOriginZ = 0, FOriginX = 0, FAngle = 0;
    TPolyline FOffsets;
};

// A transverse section from the keel through the three diagonals to the sheer, with its area below
// the waterline. The diagonals are referenced, not owned.
class TSection : public TFormCurve {
public:
    explicit TSection(int Station = 0);
    int Station() const { return FStation; }
    double Lwl() const { return FLwl; }
    double Loa() const { return FLoa; }
    double Ovh() const { return FOvh; }
    double Tc() const { return FTc; }
    double SheerZ() const { return FSheerZ; }
    double SheerHalfBreadth() const { return FSheerHalfBreadth; }
    double WaterlineHalfBreadth() const { return FWaterlineHalfBreadth; }
    double KeelZ() const { return FKeelZ; }
    double TargetArea() const { return FTargetArea; }
    double Area() const { return FArea; }
    double WaterlineBreadth() const { return FWaterlineBreadth; }
    double AreaCoefficient() const { return FAreaCoefficient; }
    void SetStation(int Value);
    void SetLwl(double Value) { Change(FLwl, Value); }
    void SetLoa(double Value) { Change(FLoa, Value); }
    void SetOvh(double Value) { Change(FOvh, Value); }
    void SetTc(double Value) { Change(FTc, Value); }
    void SetSheerZ(double Value) { Change(FSheerZ, Value); }
    void SetSheerHalfBreadth(double Value) { Change(FSheerHalfBreadth, Value); }
    void SetWaterlineHalfBreadth(double Value) { Change(FWaterlineHalfBreadth, Value); }
    void SetKeelZ(double Value) { Change(FKeelZ, Value); }
    void SetTargetArea(double Value) { Change(FTargetArea, Value); }
    void SetDiagonals(TDiagonal* A, TDiagonal* B, TDiagonal* C);
    TDiagonal* DiagonalA() const { return FDiagonals[0]; }
    TDiagonal* DiagonalB() const { return FDiagonals[1]; }
    TDiagonal* DiagonalC() const { return FDiagonals[2]; }
    void SetDiagonalAOffset(double D);
    void SetDiagonalBOffset(double D);
    void SetDiagonalCOffset(double D);
    double X() const { return FLoa - (FLwl + FOvh) + FStation * FLwl / 20.0; }

protected:
    void DoUpdate() override { BuildSection(); }
    // Builds the curve and measures its area below the waterline.
    virtual void BuildSection();
    void RequireDiagonals() const;

    int FStation = 0;
    double FLwl = 0, FLoa = 0, FOvh = 0, FTc = 0, FSheerZ = 0, FSheerHalfBreadth = 0, FWaterlineHalfBreadth = 0,
           FKeelZ = 0, FTargetArea = 0, FArea = 0, FWaterlineBreadth = 0, FAreaCoefficient = 0;
    TDiagonal* FDiagonals[3] = {nullptr, nullptr, nullptr};
    TDiagonal*& FA = FDiagonals[0];
    TDiagonal*& FB = FDiagonals[1];
    TDiagonal*& FC = FDiagonals[2];
};

// The midship section: diagonal B is solved for the target area while diagonal C keeps the
// waterline breadth; diagonal A follows the tangent through B.
class TMidSection : public TSection {
public:
    using TSection::TSection;

protected:
    void DoUpdate() override;
    void BuildSection() override;
};

// The quarter sections at stations 5 and 15: diagonal B is solved for the target area.
class TQuarterSection : public TSection {
public:
    using TSection::TSection;

protected:
    void DoUpdate() override;
    void BuildSection() override;
};

// Diagonal A's offset at a section from the tangent through diagonal B's point, limited to the keel.
void DeriveDiagonalAOffset(TSection& S, const TMVector& KeelEdge);

// The section at the aft end of the waterline, whose topsides flare out by FlareAngle.
class TApSection : public TSection {
public:
    using TSection::TSection;
    double FlareAngle() const { return FFlareAngle; }
    // Degrees.
    void SetFlareAngle(double Value) { Change(FFlareAngle, Value); }

protected:
    void DoUpdate() override;

private:
    double FFlareAngle = 0;
};

// The transom, from its bottom on the centre plane through the diagonals' meetings with the transom
// plane to its top corner at the sheer.
class TTransom : public TFormCurve {
public:
    double BTransom() const { return FBTransom; }
    double TransomHeight() const { return FTransomHeight; }
    double TransomAngle() const { return FTransomAngle; }
    double FreeAft() const { return FFreeAft; }
    double Tc() const { return FTc; }
    void SetBTransom(double Value) { Change(FBTransom, Value); }
    void SetTransomHeight(double Value) { Change(FTransomHeight, Value); }
    // Degrees.
    void SetTransomAngle(double Value) { Change(FTransomAngle, Value); }
    void SetFreeAft(double Value) { Change(FFreeAft, Value); }
    void SetTc(double Value) { Change(FTc, Value); }
    void SetDiagonals(TDiagonal* A, TDiagonal* B, TDiagonal* C);
    // Where the quadratic fitted through the diagonal's aft stations meets the transom plane. When
    // there is no such point the transom's bottom point stands in, with a console warning.
    TMVector TransomPoint(TDiagonal& D);
    // The plane through the transom's bottom and its top edge.
    TMPlane TransomPlane() const;
    // Called with the warning text when a diagonal misses the transom plane; writes to the console
    // when not assigned.
    std::function<void(const std::string&)> OnWarning;

protected:
    void DoUpdate() override;

private:
    double TopX() const;
    double FBTransom = 0, FTransomHeight = 0, FTransomAngle = 0, FFreeAft = 0, FTc = 0;
    TDiagonal* FDiagonals[3] = {nullptr, nullptr, nullptr};
    TDiagonal*& FB = FDiagonals[1];
    TDiagonal*& FC = FDiagonals[2];
};

// Least-squares quadratics y(x) and z(x) through points of a diagonal, and where they meet a plane.
class TDiagonalLeastSquares {
public:
    void AddPoint(const TMVector& P);
    // Throws EGeometryError when the points do not fix the quadratics.
    void Solve();
    // The point of the fitted curve on the plane, at the root of smaller magnitude. Throws
    // EGeometryError when the curve does not meet the plane.
    TMVector Intersect(const TMPlane& Plane) const;
    int Count() const { return FCount; }
    double A = 0, B = 0, C = 0, D = 0, E = 0, F = 0;

private:
    int FCount = 0;
    double Sx = 0, Sx2 = 0, Sx3 = 0, Sx4 = 0, Sy = 0, Sxy = 0, Sx2y = 0, Sz = 0, Sxz = 0, Sx2z = 0;
};

// The yacht hull-lines generator: 19 design parameters drive the form curves above, the two quarter
// sections are iterated until the hull reaches its prismatic coefficient and centre of buoyancy, and
// a 7 x 6 net is lofted through the transom and five sections.
class TCorvane : public TBSplineSurface {
public:
    // Table indices of the parameters.
    enum TParameter {
        pLoa, pLwl, pOvh, pBMax, pBwl, pBTransom, pTc, pCp, pCm, pLCB, pCwp, pLcf, pFreeBow, pFreeMid,
        pFreeAft, pBowCurve, pForeFoot, pTransomAngle, pFlareAngle
    };
    static constexpr int ParameterCount = 19;
    static constexpr int SectionCount = 21;

    TCorvane();
    ~TCorvane() override;

    // The name, value and setter of a table parameter; any other index throws
    // "Parameter Index out of bounds " with the index. A value outside the parameter's domain (or not
    // a number) throws EGeometryError naming the parameter and its limit, and changes nothing.
    static std::string ParameterName(int Index);
    double Parameter(int Index) const;
    void SetParameter(int Index, double Value);
    // The refusal for a value outside the parameter's domain; empty when the value lies inside.
    static std::string DomainError(int Index, double Value);
    double AftQuarterCoefficient() const { return FAftQuarterCoefficient; }
    double ForwardQuarterCoefficient() const { return FForwardQuarterCoefficient; }
    void SetAftQuarterCoefficient(double Value);
    void SetForwardQuarterCoefficient(double Value);
    void SetDefaults();

    double Volume() const { return FVolume; }
    double LcbX() const { return FLcbX; }
    double AchievedCp() const { return FAchievedCp; }
    double AchievedLcb() const { return FAchievedLcb; }
    bool Generated() const { return FGenerated; }
    bool Mirrored() const { return FMirrored; }
    void SetMirrored(bool Value);
    std::function<void(const std::string&)> OnProgressText;

    TProfile& Profile() { return FProfile; }
    TSheerLine& SheerLine() { return FSheerLine; }
    TWaterline& Waterline() { return FWaterline; }
    TDiagonal& DiagonalA() { return FDiagonals[0]; }
    TDiagonal& DiagonalB() { return FDiagonals[1]; }
    TDiagonal& DiagonalC() { return FDiagonals[2]; }
    TTransom& Transom() { return FTransom; }
    TSection& Section(int I) { return *FSections.at(static_cast<std::size_t>(I)); }

    // Brings every form curve up to date and measures the volume.
    void UpdateAll();
    // UpdateAll, the fit to Cp and LCB, then the net, whose beams are brought onto BMax and Bwl and
    // whose skin stays on the positive side of the centre plane. The fit is repeated until the
    // surface itself has the typed Cp (within 0.002) and LCB (within 0.1 % of Lwl). Parameters that
    // cannot be built, or a hull that would not have its principal dimensions within 0.5 %, throw
    // EGeometryError naming the parameter; the parameters and net of the last hull built then come
    // back (Generated tells whether there was one).
    void Generate();
    void GenerateIfNeeded();
    // The areas at stations 5 and 15 that give volume V with its centre at X, by Simpson's rule over
    // stations 0, 5, 10, 15 and 20 with no area at the ends.
    void QuarterAreas(double V, double X, double& A5, double& A15);

    // Every parameter (ForeFoot before BowCurve), the quarter coefficients and Mirrored through their
    // setters, then the surface.
    void Assign(const TCorvane& Source);
    // Brings the curves up to date and draws the profile, sheer line, waterline, transom and every
    // section, each mirrored when Mirrored.
    void DrawFormCurves(IGraphics& G);
    // The control polygons of the sheer line, profile, waterline, sections 0 and 10 and the transom.
    void DrawFormCurvesOutline(IGraphics& G);
    // The control points of the form curves, then every control point of the net.
    std::unique_ptr<TPolyline> GetPickPoints();

    // The record: the 19 parameters as "Name=value" lines in table order, then the surface.
    void SaveToText(TTextWriter& F) const override;
    // Reads the whole record before changing anything: a bad value or surface leaves the generator
    // as it was. Then every curve is due again.
    void LoadFromText(TTextReader& F) override;
    // Reads the 19 parameters of a project file (in its own order, "." or "," as separator); a file
    // that is short or has a bad value changes nothing. The quarter coefficients keep their values.
    void ImportProject(const std::filesystem::path& FileName);

protected:
    void Changed(int Index);
    // Every chain of changes at once, as after reading parameters.
    void InvalidateAll();
    // Applies parameters read in table order, then invalidates everything.
    void ApplyParameters(const double (&Values)[ParameterCount]);
    void ResetDiagonals();
    void ConfigureSection(TSection& S);
    void ConfigureTransom();
    void ConfigureLongitudinal(TLongitudinalFormCurve& C);
    void FeedSection(TSection& S);
    void MeasureVolume();
    // Fits the quarter sections to a prismatic coefficient and an LCB (percent of Lwl from the
    // forward end of the waterline), as near as the quarter coefficients reach.
    void Fit(double Cp, double LCB);
    void BuildNet();
    // Keeps the keel and bilge rows of the net from dipping below the base line.
    void LiftBottom();
    // Keeps the net on the positive side of the centre plane and scales its half-breadths until the
    // surface's waterline beam is Bwl and its greatest beam BMax.
    void MeetBeams();
    // The surface's LCB in percent of Lwl from the forward end of the waterline.
    double SurfaceLCB(const THydrostaticsData& H) const;
    // The refusal when the combination of parameters cannot make a hull; empty when it can.
    std::string CombinationError() const;
    // Builds the hull for the parameters; throws when it cannot.
    void Build();
    // Keeps the parameters and quarter coefficients as those of the last hull built.
    void RememberBuilt();
    // Names the parameter last changed in a refusal of the build.
    std::string Refusal(const std::string& Reason) const;

private:
    double FP[ParameterCount] = {};
    double FAftQuarterCoefficient = 0.75, FForwardQuarterCoefficient = 0.75;
    double FVolume = 0, FLcbX = 0, FAchievedCp = 0, FAchievedLcb = 0;
    bool FGenerated = false, FMirrored = false;
    // The parameter set last, for refusals; -1 after defaults or reading.
    int FLastChanged = -1;
    // The parameters and quarter coefficients of the last hull built, while there is one.
    struct TBuilt {
        double P[ParameterCount];
        double Aft, Forward;
    };
    std::optional<TBuilt> FBuilt;
    TProfile FProfile;
    TSheerLine FSheerLine;
    TWaterline FWaterline;
    TDiagonal FDiagonals[3];
    TTransom FTransom;
    std::vector<std::unique_ptr<TSection>> FSections;
};

}  // namespace sarnova
