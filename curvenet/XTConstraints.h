// The constraints of a curve-network curve: on one vertex (interpolate, knuckle, override of the
// surface tangent), on one span (straight, blend), on the whole curve (polyline, cubic spline) and on
// its location (a plane). The list orders them by priority for its two passes over the curve, reads
// and writes their records, tells the user interface which kinds may be added or removed where, and
// gives the plane in which a surface through the curve is tangent.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTCurveRepresentation.h"

namespace sarnova {

class TTextReader;
class TTextWriter;
class TXTConstraints;
class TXTCurve;

// State of a constraint kind at a place, as the menus and the property frame ask for it.
inline constexpr int csAbsent = 0;      // may be added here
inline constexpr int csNotAllowed = 1;  // may not be added here (and is not present)
inline constexpr int csPresent = 2;     // present: may be removed here

inline constexpr int LowestConstraintPriority = 2147483647;

class TXTConstraint : public TXTCurveElement {
public:
    // The class name that heads the constraint's record.
    virtual const char* ClassName() const = 0;
    // The parameter lines; the class-name line has been read already.
    virtual void LoadFromText(TTextReader& F) {}
    // The class-name line, then the parameter lines.
    virtual void SaveToText(TTextWriter& F) const;
    // The parameters of a constraint of the same family.
    virtual void Assign(const TXTConstraint& Source) {}
    virtual void ApplyToPositions() {}
    virtual void ApplyToTangents() {}
    // Lower runs earlier in both passes.
    virtual int Priority() const { return LowestConstraintPriority; }
    // The curve of the list the constraint is in; nullptr outside one.
    TXTCurve* Curve() const;
};

// ---- One vertex ----

class TXTPointConstraint : public TXTConstraint {
public:
    std::int32_t Vertex = 0;

    // Follows the insertions, removals and reversals of its own curve's points.
    void HandleMessage(TXTMessage& Message) override;
    void LoadFromText(TTextReader& F) override;
    void SaveToText(TTextWriter& F) const override;
    void Assign(const TXTConstraint& Source) override;
    // 1 on the end vertices and outside the curve, 2 where the curve holds this kind, else 0.
    static int CommonVertexState(const TXTCurve& Curve, int Index, bool (*IsKind)(const TXTConstraint*));

protected:
    // The override kind may sit on an end vertex; the others go when their vertex becomes one.
    virtual bool AllowedAtEnds() const { return false; }
};

// The curve passes through the vertex.
class TXTInterpolateConstraint : public TXTPointConstraint {
public:
    const char* ClassName() const override { return "TXTInterpolateConstraint"; }
    int Priority() const override { return 2; }
    void ApplyToTangents() override;
    static int VertexState(const TXTCurve& Curve, int Index);
};

// The curve passes through the vertex with independent tangents on either side.
class TXTKnuckleConstraint : public TXTPointConstraint {
public:
    const char* ClassName() const override { return "TXTKnuckleConstraint"; }
    int Priority() const override { return 2; }
    void ApplyToTangents() override;
    static int VertexState(const TXTCurve& Curve, int Index);
};

// A reference point at the vertex keeps its own tangent instead of its host curve's ribbon.
class TXTOverrideSurfaceTangentConstraint : public TXTPointConstraint {
public:
    const char* ClassName() const override { return "TXTOverrideSurfaceTangentConstraint"; }
    int Priority() const override { return 0; }
    static int VertexState(const TXTCurve& Curve, int Index);

protected:
    bool AllowedAtEnds() const override { return true; }
};

// ---- One span, Vertex .. Vertex + 1 ----

class TXTRangeConstraint : public TXTConstraint {
public:
    TXTRangeConstraint() = default;
    std::int32_t Vertex = -1;

    // Makes the run First .. Last one span First .. First + 1 by deleting the vertices inside it (each
    // a normal removal with its message); the constraint sits on First.
    void CreateSpan(int First, TXTCurve& Curve, int Last);
    void HandleMessage(TXTMessage& Message) override;
    void LoadFromText(TTextReader& F) override;
    void SaveToText(TTextWriter& F) const override;
    void Assign(const TXTConstraint& Source) override;
};

// The span is a straight line.
class TXTStraightConstraint : public TXTRangeConstraint {
public:
    const char* ClassName() const override { return "TXTStraightConstraint"; }
    int Priority() const override { return 3; }
    void ApplyToTangents() override;
};

// The span blends into the chords on either side.
class TXTBlendConstraint : public TXTRangeConstraint {
public:
    const char* ClassName() const override { return "TXTBlendConstraint"; }
    void ApplyToTangents() override;
};

// ---- The whole curve ----

class TXTCurveConstraint : public TXTConstraint {
public:
    // For the first whole-curve constraint of the curve: 2 when it is of this kind, else 1; 0 when
    // the curve has none.
    static int CommonCurveState(const TXTCurve& Curve, bool (*IsKind)(const TXTConstraint*));
};

// Every vertex a knuckle: a polygon.
class TXTPolylineConstraint : public TXTCurveConstraint {
public:
    const char* ClassName() const override { return "TXTPolylineConstraint"; }
    int Priority() const override { return 2; }
    void ApplyToTangents() override;
    static int CurveState(const TXTCurve& Curve);
};

// Every free vertex interpolated.
class TXTCubicSplineConstraint : public TXTCurveConstraint {
public:
    const char* ClassName() const override { return "TXTCubicSplineConstraint"; }
    int Priority() const override { return 2; }
    void ApplyToTangents() override;
    static int CurveState(const TXTCurve& Curve);
};

// ---- The location ----

// Plane directions.
inline constexpr std::uint8_t pdNone = 0;
inline constexpr std::uint8_t pdX = 1;
inline constexpr std::uint8_t pdY = 2;
inline constexpr std::uint8_t pdZ = 3;
inline constexpr std::uint8_t pdRoll = 4;
inline constexpr std::uint8_t pdPitch = 5;
inline constexpr std::uint8_t pdYaw = 6;

// The curve lies in a plane through its first vertex: normal to an axis, or turned by an angle
// about one (roll about X, pitch about Y, yaw about Z).
class TXTPlaneConstraint : public TXTConstraint {
public:
    std::uint8_t Direction = pdNone;
    // Radians, for roll, pitch and yaw.
    double Parameter = 0.0;
    // The plane positions at which the plane still cuts every curve the reference points rest on;
    // recomputed before every use.
    double RangeMin = -1e33;
    double RangeMax = 1e33;

    const char* ClassName() const override { return "TXTPlaneConstraint"; }
    int Priority() const override { return 1; }
    void LoadFromText(TTextReader& F) override;
    void SaveToText(TTextWriter& F) const override;
    void Assign(const TXTConstraint& Source) override;
    void ApplyToPositions() override;

    // Unit normal and distance through the first vertex, clamped to the range; the null plane for
    // no direction or no vertex.
    TMPlane Plane() const;
    void UpdateRange();
    // Value within RangeMin .. RangeMax; left as it is when the range is empty.
    double ClampToRange(double Value) const;
    // The first vertex's coordinate for X, Y, Z; the angle for roll, pitch, yaw; 0 for none.
    double ParameterValue() const;
    // X, Y, Z: the first vertex's coordinate, clamped; roll, pitch, yaw: the angle in degrees.
    void SetParameterValue(double Value);
    void SetDirection(std::uint8_t ADirection);
    // "X", "Y", "Z", "Roll", "Pitch", "Yaw"; "" for none.
    std::string DirectionCaption() const;
    static int PlaneConstraintState(const TXTCurve& Curve);
};

// ---- The list ----

class TXTConstraints : public TXTCurveElements {
public:
    using TXTCurveElements::TXTCurveElements;

    TXTConstraint* Items(int Index) const { return static_cast<TXTConstraint*>(TXTCurveElements::Items(Index)); }
    TXTConstraint* Add(std::unique_ptr<TXTConstraint> Constraint) {
        return static_cast<TXTConstraint*>(TXTCurveElements::Add(std::move(Constraint)));
    }
    // Adding or taking out a constraint makes the curve's next rebuild a full one.
    void Added(int Index, TXTCurveElement* Element) override;
    void Removed(int Index, TXTCurveElement* Element) override;

    void SortByPriority();
    void ApplyToPositions();
    void ApplyToTangents();

    template <class T>
    bool HasConstraint() const {
        for (int I = 0; I < Count(); ++I)
            if (dynamic_cast<const T*>(Items(I))) return true;
        return false;
    }
    bool HasPlaneConstraint() const { return PlaneConstraint() != nullptr; }
    TXTPlaneConstraint* PlaneConstraint() const;

    // The constraint a record's class-name line names (trimmed, any case). Throws EError "Constraint
    // <NAME> not found" for any other line.
    std::unique_ptr<TXTConstraint> CreateConstraint(const std::string& Line) const;
    std::unique_ptr<TXTConstraint> CloneConstraint(const TXTConstraint& Constraint) const;
    // Clear, then a clone of each of Other's constraints.
    void Assign(const TXTConstraints& Other);
    // "NumConstraints=" and the count, then each constraint's record. Reading appends.
    void LoadFromText(TTextReader& F);
    void SaveToText(TTextWriter& F) const;

    // The plane a surface through the curve is tangent to at Address, by the curve's ribbon kind.
    void SurfaceTangentPlane(const TBeadAddress& Address, TXTRibbonTangent& Result) const;
};

// ---- Adding and removing from the user interface ----

template <class T>
bool IsConstraintKind(const TXTConstraint* C) {
    return dynamic_cast<const T*>(C) != nullptr;
}

// The state of a point kind over the selected vertices: the kind's own state for one vertex (or
// none, reported as index -1), else the state all selected vertices share, 1 when they differ.
int SelectionVertexState(const TXTCurve& Curve, int (*VertexState)(const TXTCurve&, int));
// Deletes the first point constraint of any kind at Vertex; nothing for an index outside the curve.
void DeletePointConstraintAt(TXTCurve& Curve, int Vertex);
// Deletes the first range constraint of any kind on the span starting at Vertex.
void DeleteRangeConstraintAt(TXTCurve& Curve, int Vertex);
// Deletes the first constraint of the kind at Vertex.
void DeletePointConstraintOfKindAt(TXTCurve& Curve, int Vertex, bool (*IsKind)(const TXTConstraint*));
void AddConstraint(TXTCurve& Curve, std::unique_ptr<TXTConstraint> Constraint);

// Range kinds: 1 on a curve with a whole-curve constraint or with a knuckle strictly inside the run;
// else, for the first range constraint on First: 2 when it is this kind on a run of one span, else
// 1; 0 without one.
int RangeState(const TXTCurve& Curve, int First, int Last, bool (*IsKind)(const TXTConstraint*));
// RangeState over one contiguous selected run of two or more vertices; 1 for any other selection.
int SelectionRangeState(const TXTCurve& Curve, bool (*IsKind)(const TXTConstraint*));

template <class T>
int SelectionVertexState(const TXTCurve& Curve) {
    return SelectionVertexState(Curve, &T::VertexState);
}

// A new constraint of the kind at every selected vertex, when the selection allows it.
template <class T>
void AddPointConstraint(TXTCurve& Curve);
// The kind's constraint at every selected vertex goes, when every selected vertex holds one.
template <class T>
void RemovePointConstraint(TXTCurve& Curve);

template <class T>
int RangeState(const TXTCurve& Curve, int First, int Last) {
    return RangeState(Curve, First, Last, &IsConstraintKind<T>);
}
template <class T>
int SelectionRangeState(const TXTCurve& Curve) {
    return SelectionRangeState(Curve, &IsConstraintKind<T>);
}
// A new span constraint over the selected run, when the selection allows it.
void AddRangeConstraint(TXTCurve& Curve, std::unique_ptr<TXTRangeConstraint> Constraint);
template <class T>
void AddRangeConstraint(TXTCurve& Curve) {
    if (SelectionRangeState<T>(Curve) == csAbsent) AddRangeConstraint(Curve, std::make_unique<T>());
}
// With exactly two neighbouring vertices selected: the range constraint on the first of them goes.
void RemoveRangeConstraint(TXTCurve& Curve);

template <class T>
void AddCurveConstraint(TXTCurve& Curve) {
    if (T::CurveState(Curve) == csAbsent) AddConstraint(Curve, std::make_unique<T>());
}
// Every constraint of the kind goes.
void RemoveCurveConstraint(TXTCurve& Curve, bool (*IsKind)(const TXTConstraint*));
template <class T>
void RemoveCurveConstraint(TXTCurve& Curve) {
    RemoveCurveConstraint(Curve, &IsConstraintKind<T>);
}

// A plane constraint without direction, unless the curve has one.
void AddPlaneConstraint(TXTCurve& Curve);
// The first plane constraint goes.
void RemovePlaneConstraint(TXTCurve& Curve);

// ---- Templates over the selection ----

// The indices of the selected vertices, in order.
std::vector<int> SelectedVertices(const TXTCurve& Curve);

template <class T>
void AddPointConstraint(TXTCurve& Curve) {
    if (SelectionVertexState<T>(Curve) != csAbsent) return;
    for (int Vertex : SelectedVertices(Curve)) {
        auto New = std::make_unique<T>();
        New->Vertex = Vertex;
        AddConstraint(Curve, std::move(New));
    }
}

// Only the asked kind goes: another point constraint on the same vertex stays.
template <class T>
void RemovePointConstraint(TXTCurve& Curve) {
    if (SelectionVertexState<T>(Curve) != csPresent) return;
    for (int Vertex : SelectedVertices(Curve)) DeletePointConstraintOfKindAt(Curve, Vertex, &IsConstraintKind<T>);
}

}  // namespace sarnova
