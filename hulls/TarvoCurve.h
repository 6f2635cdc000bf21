// The constraint-driven curve of the Tarvo features: an order-4 B-spline whose control points the
// user places and whose constraints move some of them before the curve is digitised. Also the
// constraints themselves, the point messages, and the curve lists of the surfaces and hulls.
#pragma once
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/BSpline.h"
#include "hulls/Hierarchy.h"

namespace sarnova {

class TTarvoCurve;
class TConstraints;

// ---- Text blocks of the Tarvo kernel, read line by line in a fixed order ----

// The text after the first "=" of Line (the whole line when there is none), at most 255 characters.
std::string TarvoFieldText(std::string_view Line);
// The integer after the first "="; EConvertError when it is not one.
int TarvoFieldInteger(std::string_view Line);

// ---- Point messages ----

// A control point of the sending curve was inserted or is about to be deleted at Index.
class TTarvoCurveInsertDeletePointMessage : public TNodeMessage {
public:
    TTarvoCurveInsertDeletePointMessage(int AIndex, TRPoint* APoint) : Index(AIndex), Point(APoint) {}
    int Index;
    TRPoint* Point;  // not owned
};

class TTarvoCurveInsertPointMessage : public TTarvoCurveInsertDeletePointMessage {
public:
    using TTarvoCurveInsertDeletePointMessage::TTarvoCurveInsertDeletePointMessage;
};

class TTarvoCurveDeletePointMessage : public TTarvoCurveInsertDeletePointMessage {
public:
    using TTarvoCurveInsertDeletePointMessage::TTarvoCurveInsertDeletePointMessage;
};

// ---- Constraints ----

// Whether a constraint class can go on a curve (or a run of its points). The values live in their own
// namespace: the curve network has constants of the same names for its own constraints.
namespace tarvo {
enum TConstraintState : std::uint8_t {
    csAbsent = 0,   // it can be added
    csBlocked = 1,  // not allowed here
    csPresent = 2   // already there
};
}  // namespace tarvo
using tarvo::TConstraintState;

class TConstraint {
public:
    // The list that holds the constraint; set by TConstraints.
    TConstraints* Owner = nullptr;

    virtual ~TConstraint() = default;

    // The curve of the owner list; nullptr without one.
    TTarvoCurve* Curve() const;

    // The name written in the constraint block and understood by CreateConstraint.
    virtual std::string ClassName() const = 0;
    // The line of the property frame's constraint list.
    virtual std::string GetDescription() const { return ClassName(); }
    virtual void SaveToText(TTextWriter& F) const {}
    virtual void LoadFromText(TTextReader& F) {}
    // A point message of a curve.
    virtual void HandleMessage(TNodeMessage& Message) {}
    // Whether the control point at Index stays free for the user.
    virtual bool AcceptsIndex(int Index) const { return true; }
    // Lower priorities are applied first.
    virtual int Priority() const { return 0; }
    virtual void Assign(const TConstraint& Source) {}
    virtual void Draw(IGraphics& G) {}
    // Moves control points of the curve.
    virtual void Apply() = 0;
    // Follows a reversal of the curve's point order.
    virtual void Reverse() {}
};

// A constraint over control points FirstIndex .. LastIndex.
class TPointsConstraint : public TConstraint {
public:
    virtual int FirstIndex() const = 0;
    virtual int LastIndex() const = 0;
};

// A constraint over a run of consecutive control points, whose interior points it drives.
class TRangeConstraint : public TPointsConstraint {
public:
    TRangeConstraint() = default;
    TRangeConstraint(int First, int Last) : FFirst(First), FLast(Last) {}

    int FirstIndex() const override { return FFirst; }
    int LastIndex() const override { return FLast; }
    void SetRange(int First, int Last) {
        FFirst = First;
        FLast = Last;
    }
    int Count() const { return FLast - FFirst + 1; }
    // The rule of the class: how many points a range of it spans.
    virtual bool AllowsRange(int First, int Last) const = 0;
    // The range lies within the curve's points and its class allows it; Apply touches nothing else.
    bool FitsCurve() const;

    // "<Kind> : Points[<First> -> <Last>]".
    std::string GetDescription() const override;
    // " FirstIndex=" and " LastIndex=" lines.
    void SaveToText(TTextWriter& F) const override;
    // Two lines, taken by position; the keys are not compared.
    void LoadFromText(TTextReader& F) override;
    // Renumbers on point inserts and deletes of its own curve. A deletion before the range moves it;
    // inside or at an end it shortens it, and a range its class no longer allows removes the
    // constraint from its curve (the constraint is freed).
    void HandleMessage(TNodeMessage& Message) override;
    // The interior points are driven.
    bool AcceptsIndex(int Index) const override { return !(FFirst < Index && Index < FLast); }
    void Assign(const TConstraint& Source) override;
    void Reverse() override;

protected:
    // The kind named in the description.
    virtual const char* KindText() const = 0;
    // The state of a range constraint class over First .. Last of Curve: present when a constraint of
    // the class has exactly that range, blocked when any points constraint's interior overlaps it
    // or the range does not fit the curve or the class, else absent.
    static TConstraintState RangeState(const TTarvoCurve& Curve, int First, int Last,
                                       bool (*IsOfClass)(const TConstraint&), bool (*Allows)(int, int));

    // The control point at Index, which must exist: nothing here grows the point list.
    TRPoint& PointOf(int Index) const;

private:
    std::int32_t FFirst = -1;
    std::int32_t FLast = -1;
};

// The class-level operations of the range constraint class T, which the menu commands and the
// property frame use.
template <class T>
class TRangeConstraintOf : public TRangeConstraint {
public:
    using TRangeConstraint::TRangeConstraint;

    static TConstraintState State(const TTarvoCurve& Curve, int First, int Last);
    // The State of the curve's marked run of control points; blocked unless one run is marked.
    static TConstraintState StateForSelection(const TTarvoCurve& Curve);
    // Adds one over the marked run when that is absent; returns the state found.
    static TConstraintState AddForSelection(TTarvoCurve& Curve);
    // Adds one over First .. Last when that is absent; returns the state found.
    static TConstraintState Add(TTarvoCurve& Curve, int First, int Last);
    // Deletes the first constraint of the class with exactly that range.
    static void Remove(TTarvoCurve& Curve, int First, int Last);
    static void RemoveForSelection(TTarvoCurve& Curve);

    bool AllowsRange(int First, int Last) const override { return T::RangeAllowed(First, Last); }
};

// The interior points spaced evenly on the chord.
class TStraightConstraint : public TRangeConstraintOf<TStraightConstraint> {
public:
    using TRangeConstraintOf::TRangeConstraintOf;
    // At least three points.
    static bool RangeAllowed(int First, int Last) { return Last - First > 1; }
    std::string ClassName() const override { return "TStraightConstraint"; }
    int Priority() const override { return 5; }
    void Apply() override;

protected:
    const char* KindText() const override { return "Straight"; }
};

// The interior points laid on a cubic between the two ends, leaving them along the curve's
// directions there.
class TBlendConstraint : public TRangeConstraintOf<TBlendConstraint> {
public:
    using TRangeConstraintOf::TRangeConstraintOf;
    // At least four points.
    static bool RangeAllowed(int First, int Last) { return Last - First > 2; }
    std::string ClassName() const override { return "TBlendConstraint"; }
    int Priority() const override { return 6; }
    void Apply() override;

protected:
    const char* KindText() const override { return "Blend"; }
};

// Three coincident control points: a corner of the order-4 curve.
class TKnuckleConstraint : public TRangeConstraintOf<TKnuckleConstraint> {
public:
    using TRangeConstraintOf::TRangeConstraintOf;
    // Exactly three points.
    static bool RangeAllowed(int First, int Last) { return Last - First == 2; }
    std::string ClassName() const override { return "TKnuckleConstraint"; }
    int Priority() const override { return 4; }
    void Apply() override;

protected:
    const char* KindText() const override { return "Knuckle"; }
};

// Base of the constraints that act on the whole curve. A curve holds at most one of each class.
class TCurveConstraint : public TConstraint {};

// The plane that keeps every control point of a curve in one plane through its first point.
enum TPlaneKind : std::uint8_t { pkNone = 0, pkX = 1, pkY = 2, pkZ = 3, pkRoll = 4, pkPitch = 5, pkYaw = 6 };

// A set of plane kinds, indexed by the kind.
using TPlaneKinds = std::bitset<7>;

class TPlaneConstraint : public TCurveConstraint {
public:
    // The state of the class on Curve: present when it holds a plane; blocked when it holds an offset
    // and any other constraint; else absent.
    static TConstraintState State(const TTarvoCurve& Curve);
    // Adds a plane of kind pkNone when the state is absent; returns the state found.
    static TConstraintState Add(TTarvoCurve& Curve);

    TPlaneKind Kind() const { return FKind; }
    // The angle in radians for the angle kinds; for the axis kinds the coordinate last set.
    double Parameter() const { return FParameter; }

    // The plane of the current kind through the curve's first control point; the zero plane for pkNone.
    TMPlane Plane() const;
    // The first point's coordinate along the axis for the axis kinds, Parameter for the angle kinds,
    // else 0.
    double Value() const;
    // "X", "Y", "Z", "Roll Angle", "Pitch Angle", "Yaw Angle" or "Parameter".
    std::string KindName() const;
    // Axis kinds: every control point takes X as that coordinate. Angle kinds: the curve turns by
    // X - Parameter about its first point. Radians for the angle kinds.
    void SetValue(double X);
    // Switches the kind, turning the curve where the new kind needs it; a pair of kinds that has no
    // meaning together leaves everything as it is.
    void SetKind(TPlaneKind K);
    // The kinds the property frame may offer from the current kind (and the curve's offset axis).
    TPlaneKinds AllowedKinds() const;

    std::string ClassName() const override { return "TPlaneConstraint"; }
    std::string GetDescription() const override;
    // " Direction=" with the kind's key and " Parameter=" with 10 decimals.
    void SaveToText(TTextWriter& F) const override;
    void LoadFromText(TTextReader& F) override;
    int Priority() const override { return 2; }
    void Assign(const TConstraint& Source) override;
    void Apply() override;

private:
    // Turns every control point about the first one by Angle, right-handed about X for a roll, Y for
    // a pitch and Z for a yaw (chosen by the current kind).
    void Turn(double Angle);
    void TurnAs(TPlaneKind AngleKind, double Angle);
    void InvalidateCurve();

    TPlaneKind FKind = pkNone;
    double FParameter = 0;
};

// The direction in which an offset curve is free to differ from its reference curve.
enum TOffsetAxis : std::uint8_t { oaNone = 0, oaX = 1, oaY = 2, oaZ = 3, oaVector = 4 };

// Makes the curve a copy of a reference curve, free along one axis or vector. Through its reference
// the curve depends on the reference curve; the constraint leaves its curve when that curve dies.
class TOffsetConstraint : public TCurveConstraint {
public:
    explicit TOffsetConstraint(TTarvoCurve* Curve);
    ~TOffsetConstraint() override;

    // The state of the class on Curve: present when it holds an offset; blocked when it holds a plane
    // and any other constraint; else absent.
    static TConstraintState State(const TTarvoCurve& Curve);
    // Adds an offset without reference and axis when the state is absent; returns the state found.
    static TConstraintState Add(TTarvoCurve& Curve);

    TOffsetAxis Axis() const { return FAxis; }
    // Invalidates the curve when the reference resolves.
    void SetAxis(TOffsetAxis A);
    TNodeReference& ReferenceCurve() const { return *FReference; }
    // The reference curve, nullptr while it does not resolve.
    TTarvoCurve* Reference() const;
    // The reference resolves and has as many control points as the curve.
    bool Matches() const;
    // Unit X, Y or Z; for the vector axis the unit vector from the curve's first control point to the
    // reference's, while the two curves match; otherwise zero.
    TMVector Direction() const;
    // The line through the reference's control point I along Direction; the zero line when the
    // reference does not resolve or has no point I.
    TMLine Line(int I) const;
    // The foot of the perpendicular from P to Line(I) (the line's point when it has no direction).
    TMVector ProjectOntoLine(int I, const TMVector& P) const;
    // The names of the Tarvo curves that may serve as reference, in document order: not the curve,
    // nor one that depends on it, and with as many control points.
    void ListCandidates(std::vector<std::string>& Strings) const;

    std::string ClassName() const override { return "TOffsetConstraint"; }
    std::string GetDescription() const override;
    // " ReferenceCurve=" with the name, " Axis=" with "X", "Y", "Z", "V" or nothing.
    void SaveToText(TTextWriter& F) const override;
    void LoadFromText(TTextReader& F) override;
    // The deletion of the reference curve: the reference lets go and the constraint leaves its curve
    // (it is freed).
    void HandleMessage(TNodeMessage& Message) override;
    int Priority() const override { return 1; }
    void Assign(const TConstraint& Source) override;
    void Apply() override;

private:
    TOffsetAxis FAxis = oaNone;
    std::unique_ptr<TNodeReference> FReference;
};

// The owned constraints of one curve, kept in priority order.
class TConstraints {
public:
    explicit TConstraints(TTarvoCurve* Curve) : FCurve(Curve) {}
    TConstraints(const TConstraints&) = delete;
    TConstraints& operator=(const TConstraints&) = delete;
    ~TConstraints();

    TTarvoCurve* Curve() const { return FCurve; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TConstraint* Items(int Index) const;
    // The first constraint of the class, or nullptr.
    TPlaneConstraint* PlaneConstraint() const;
    TOffsetConstraint* OffsetConstraint() const;
    bool HasPlane() const { return PlaneConstraint() != nullptr; }
    bool HasOffset() const { return OffsetConstraint() != nullptr; }
    bool HasOffsetAndPlane() const { return HasPlane() && HasOffset(); }

    // Appends, sorts and invalidates the curve.
    void Add(std::unique_ptr<TConstraint> Constraint);
    // Take the constraint out, free it and invalidate the curve.
    void Delete(int Index);
    void Remove(TConstraint* Constraint);
    void Clear();
    // By ascending priority; equal priorities keep their order.
    void Sort();
    // Sort, then every constraint in order.
    void Apply();
    bool AcceptsIndex(int Index) const;
    // To every constraint, last first (a constraint may remove itself).
    void HandleMessage(TNodeMessage& Message);
    void Reverse();
    void Draw(IGraphics& G);
    // Copies of Source's constraints, made by class name.
    void Assign(const TConstraints& Source);
    // "NumConstraints=" and per constraint its class name and its own lines.
    void SaveToText(TTextWriter& F) const;
    // Replaces the list by the block; on an error the list stays as it was. A class name that is
    // not known throws EGeometryError naming it and its line.
    void LoadFromText(TTextReader& F);

private:
    void Install(std::unique_ptr<TConstraint> Constraint);
    void InvalidateCurve();

    TTarvoCurve* FCurve;
    std::vector<std::unique_ptr<TConstraint>> FItems;
};

// A new constraint of the class named (letter case ignored), also by the names of the older file
// format ("TStraightModifier", "TCurveModifier" for a blend, "TKnuckleModifier", "TOffsetModifier",
// "TPlaneModifier"); nullptr for any other name. An offset's reference belongs to Curve.
std::unique_ptr<TConstraint> CreateConstraint(std::string_view Name, TTarvoCurve* Curve);

// ---- The curve ----

// The role of a curve in a Tarvo surface.
enum TSurfaceOperation : std::uint8_t { soControl = 0, soTangent = 1, soPanelBreak = 2 };

// "Control", "Tangent" or "PanelBreak"; any other value is "Control".
std::string SurfaceOperationText(TSurfaceOperation Op);

class TTarvoCurve : public TNode {
public:
    TTarvoCurve();
    ~TTarvoCurve() override;

    TBSpline& Spline() { return *FSpline; }
    const TBSpline& Spline() const { return *FSpline; }
    TConstraints& Constraints() { return *FConstraints; }
    const TConstraints& Constraints() const { return *FConstraints; }
    // The digitised curve of the last evaluation.
    const TPolyline& Polyline() const { return FPolyline; }
    TPolyline& Polyline() { return FPolyline; }
    TSurfaceOperation GetSurfaceOperation() const { return FSurfaceOperation; }
    // Invalidates when it changes.
    void SetSurfaceOperation(TSurfaceOperation Op);

    int Count() const { return FSpline->Count(); }
    // The control point at Index; the list index error outside 0 .. Count - 1.
    TRPoint* Point(int Index);
    const TRPoint* Point(int Index) const;
    TRPoint* First() { return FSpline->First(); }
    TRPoint* Last() { return FSpline->Last(); }
    TMBox Extents() const { return FSpline->Extents(); }
    // The point is free for the user: no constraint drives it.
    bool AcceptsIndex(int Index) const { return FConstraints->AcceptsIndex(Index); }
    TMarkedRange MarkedRange() const { return FSpline->MarkedRange(); }

    // Point edits. Each announces itself (the curve's range constraints and the curves that depend
    // on it follow) and invalidates. A curve holds at most as many points as the knot vector allows.
    void AddPoint(std::unique_ptr<TRPoint> P);
    void AddPointVector(const TMVector& V);
    void InsertPoint(int Index, std::unique_ptr<TRPoint> P);
    void InsertPointXYZ(int Index, double X, double Y, double Z);
    void InsertPointVector(int Index, const TMVector& V);
    // Inserts a computed point at Index (0 .. Count): at either end the end leg extended by its own
    // length, elsewhere the midpoint of the leg. Needs at least two points (EGeometryError).
    void InsertPointAt(int Index);
    void DeletePoint(int Index);
    void NotifyInsert(int Index, TRPoint* P);
    void NotifyDelete(int Index, TRPoint* P);

    // Reverses the point order and the constraint ranges.
    void Reverse();
    // Copies the constraints, the spline and the surface operation; not the name. Taking the shape the
    // curve has already (the undo of a rename) changes nothing, so what follows the curve (a hull's
    // fit, offset curves) is not rebuilt.
    void Assign(const TTarvoCurve& Source);
    // Every control point through M; constraint parameters stay.
    void Transform(const TMMatrix& M);

    // Follows point inserts and deletes of parent curves, lets the constraints renumber, then the
    // node's own handling.
    void HandleMessage(TNodeMessage& Message) override;
    // Evaluates first when needed, then draws the digitised curve.
    void Draw(IGraphics& G) override;
    void DrawControlPolygon(IGraphics& G);
    // Draw of every curve that depends directly on this one, then of theirs, depth first.
    void DrawDependents(IGraphics& G);

    // "Name=", "SurfaceOperation=", the constraint block and the spline block.
    void SaveToText(TTextWriter& F) override;
    // Reads that block by line position. Nothing changes when it fails; a range constraint that does
    // not fit the curve's points is an error.
    void LoadFromText(TTextReader& F) override;

protected:
    // Applies the constraints in priority order and digitises the spline.
    void Evaluate() override;

private:
    std::unique_ptr<TBSpline> FSpline;
    std::unique_ptr<TConstraints> FConstraints;
    TPolyline FPolyline;
    TSurfaceOperation FSurfaceOperation = soControl;
};

// ---- Curve lists ----

// Curves that the list does not own.
class TTarvoCurves : public TNodes {
public:
    TTarvoCurve* Items(int Index) const { return static_cast<TTarvoCurve*>(TNodes::Items(Index)); }
    TTarvoCurve* First() const { return Items(0); }
    TTarvoCurve* Last() const { return Items(Count() - 1); }
    void Add(TTarvoCurve* Curve) { TNodes::Add(Curve); }
    void Insert(int Index, TTarvoCurve* Curve) { TNodes::Insert(Index, Curve); }
    void Draw(IGraphics& G);
    // Makes every curve run upwards (a curve whose last point lies below its first is reversed),
    // then orders them for lofting: descending X of the first point, then of the last point, then
    // by the last points' Y against half the X extent of all curves.
    void SortForLoft();
};

// A curve list that owns its curves: Clear frees them.
class TTarvoCurvesContainer : public TTarvoCurves {
public:
    ~TTarvoCurvesContainer() override;
    // The container takes the curve.
    TTarvoCurve* Add(std::unique_ptr<TTarvoCurve> Curve);
    void Clear() override;

private:
    using TTarvoCurves::Add;
    using TTarvoCurves::Insert;
};

// The definition curves of a surface or hull, as references that this list creates and owns; Owner
// is the node that depends on them.
class TTarvoReferenceCurves {
public:
    explicit TTarvoReferenceCurves(TNode* Owner) : FOwner(Owner) {}
    TTarvoReferenceCurves(const TTarvoReferenceCurves&) = delete;
    TTarvoReferenceCurves& operator=(const TTarvoReferenceCurves&) = delete;

    TNode* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FReferences.size()); }
    TNodeReference& Reference(int Index) const;
    // The target of the reference at Index when it is a curve, else nullptr.
    TTarvoCurve* Curve(int Index) const;
    // False for the owner itself, a node that depends on the owner, and a node already a parent of
    // the owner.
    bool CanAdd(const TNode* Node) const;
    // A new reference attached to Node; invalidates the owner.
    void Add(TNode* Node);
    // A new reference to the name, resolved now or later; invalidates the owner.
    void AddByName(const std::string& Name);
    // A reference to the name given back by an undo step or a copy: bound to the curve that bears
    // the name without bringing that curve up to date; invalidates the owner.
    void AddBound(const std::string& Name);
    // Detaches and frees the reference; invalidates the owner.
    void Delete(int Index);
    // Delete of the first reference whose curve is Node.
    void Remove(const TNode* Node);
    bool Contains(const TNode* Node) const;
    void Clear();
    // On the deletion of a node, the last reference to it gets the message and is deleted.
    void HandleMessage(TNodeMessage& Message);

private:
    TNode* FOwner;
    std::vector<std::unique_ptr<TNodeReference>> FReferences;
};

}  // namespace sarnova
