// The parts of a curve-network curve: places on a curve (bead addresses), the element base shared by
// points, spans and constraints with its owning list, and the defining points with their two
// tangents and constraint state.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/GeomInfo.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TXTCurveElements;
class TXTCurveRepresentation;
class TXTMessage;
class TXTPoint;

// ---- Places on a curve ----

// A place on a curve: the span and the parameter inside that span's spline. {number of spans, 0.0}
// is the curve's far end; a negative span index marks no place at all.
struct TBeadAddress {
    std::int32_t SegmentIndex = -1;
    double T = 0.0;
    bool operator==(const TBeadAddress&) const = default;
};

inline constexpr TBeadAddress InvalidBeadAddress{-1, 0.0};

inline TBeadAddress MakeBeadAddress(std::int32_t SegmentIndex, double T) { return {SegmentIndex, T}; }
inline bool IsValidAddress(const TBeadAddress& A) { return A.SegmentIndex >= 0; }
// A is valid or B is.
inline bool AnyValidAddress(const TBeadAddress& A, const TBeadAddress& B) {
    return IsValidAddress(A) || B.SegmentIndex >= 0;
}
// A lies before B along the curve.
inline bool AddressLess(const TBeadAddress& A, const TBeadAddress& B) {
    return A.SegmentIndex < B.SegmentIndex || (A.SegmentIndex == B.SegmentIndex && A.T < B.T);
}

// ---- Elements ----

// A part of a curve held in one of its element lists.
class TXTCurveElement {
public:
    TXTCurveElement() = default;
    virtual ~TXTCurveElement();
    TXTCurveElement(const TXTCurveElement&) = delete;
    TXTCurveElement& operator=(const TXTCurveElement&) = delete;

    TXTCurveElements* GetOwnerList() const { return FOwnerList; }
    TXTCurveRepresentation* GetCurve() const { return FCurve; }
    // The index in the owning list; -1 in none.
    int Index() const;

    virtual void SetOwnerList(TXTCurveElements* List) { FOwnerList = List; }
    virtual void SetCurve(TXTCurveRepresentation* Curve) { FCurve = Curve; }
    // The curve's Changed, when there is a curve.
    virtual void Changed();
    // Spans refit here, reference points fetch their position.
    virtual void Update() {}
    virtual void HandleMessage(TXTMessage& Message) {}
    // The curve's ReportInfo, when there is a curve.
    virtual void ReportInfo(const TInfoMessage& Message);
    virtual void ResolveReference() {}
    virtual void CheckReference() {}
    virtual void ValidateReferences() {}

private:
    TXTCurveElements* FOwnerList = nullptr;
    TXTCurveRepresentation* FCurve = nullptr;
};

// An owned list of elements of one curve (or of none). The walks that hand messages and reference
// checks to the elements go last to first, so that an element may replace or delete itself meanwhile.
class TXTCurveElements {
public:
    explicit TXTCurveElements(TXTCurveRepresentation* ACurve = nullptr) : FCurve(ACurve) {}
    virtual ~TXTCurveElements();
    TXTCurveElements(const TXTCurveElements&) = delete;
    TXTCurveElements& operator=(const TXTCurveElements&) = delete;

    TXTCurveRepresentation* GetCurve() const { return FCurve; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError for an index outside 0 .. Count - 1.
    TXTCurveElement* Items(int Index) const;
    // Appends (inserts) the element, then Added; returns it.
    TXTCurveElement* Add(std::unique_ptr<TXTCurveElement> Element);
    TXTCurveElement* Insert(int Index, std::unique_ptr<TXTCurveElement> Element);
    // Removed, then the element is freed.
    void Delete(int Index);
    // Frees every element, without Removed.
    void Clear();
    // Removed (Old), New takes Old's place, Added (New); Old is handed back to the caller.
    std::unique_ptr<TXTCurveElement> Replace(TXTCurveElement* Old, std::unique_ptr<TXTCurveElement> New);
    // Update on each element, first to last.
    void UpdateAll();
    int IndexOf(const TXTCurveElement* Element) const;

    // Makes the element this list's and its curve's.
    virtual void Added(int Index, TXTCurveElement* Element);
    virtual void Removed(int Index, TXTCurveElement* Element) {}
    virtual void HandleMessage(TXTMessage& Message);
    virtual void ResolveReferences();
    virtual void CheckReferences();
    virtual void ValidateReferences();

protected:
    // Exchanges the order of the entries; the elements are untouched.
    void ReverseEntries();
    // Reorders the entries by Less (not stably); the elements are untouched.
    void SortEntries(bool (*Less)(const TXTCurveElement*, const TXTCurveElement*));

private:
    void CheckIndex(int Index, const char* Where) const;
    TXTCurveRepresentation* FCurve;
    std::vector<std::unique_ptr<TXTCurveElement>> FItems;
};

// ---- Points ----

// Tangent kinds: what the spans make of a tangent (see the span fits).
inline constexpr std::uint8_t tkNone = 0;        // no condition on this side
inline constexpr std::uint8_t tkConstraint = 1;  // the span on this side is shaped by a constraint
inline constexpr std::uint8_t tkDirection = 2;   // direction given, length chosen by the span
inline constexpr std::uint8_t tkVector = 4;      // the full vector given

// Constraint states of a point (3, 5, 6, 7 are not used).
inline constexpr std::uint8_t psFree = 0;          // a control point the curve approximates
inline constexpr std::uint8_t psInterpolated = 1;  // the curve passes through it
inline constexpr std::uint8_t psBreak = 2;         // passes through; both sides share one tangent line
inline constexpr std::uint8_t psKnuckle = 4;       // passes through; independent tangents
inline constexpr std::uint8_t psEnd = 8;           // first or last point of the curve

// One side's tangent of a point. While the point's state is below a knuckle the two tangents are
// opposites: setting one's vector sets the other's to its negation.
class TXTTangent {
public:
    explicit TXTTangent(TXTPoint& APoint) : FPoint(&APoint) {}

    std::uint8_t GetKind() const { return FKind; }
    const TMVector& GetVector() const { return FVector; }
    TXTPoint& GetPoint() const { return *FPoint; }
    // The point's other tangent.
    TXTTangent& Opposite() const;
    void SetVector(const TMVector& V);
    // A constraint kind on this side turns a free opposite into a direction, and a constraint kind on
    // both sides makes the point a knuckle.
    void SetKind(std::uint8_t Kind);
    void Assign(const TXTTangent& Other);
    // Kind none; the vector stays.
    void Clear() { FKind = tkNone; }

private:
    TXTPoint* FPoint;
    std::uint8_t FKind = tkNone;
    TMVector FVector;
};

// Where a point of an offset curve sits on the curve it is offset from; set when Address is valid.
struct TXTOffsetAttachment {
    TBeadAddress Address = InvalidBeadAddress;
    std::int32_t VertexIndex = -1;
    double Distance = 0.0;
};

// A defining point of a curve.
class TXTPoint : public TXTCurveElement {
public:
    TXTPoint();
    ~TXTPoint() override;

    bool Selected = false;
    TXTTangent InTangent;   // towards the previous point; points into the span before
    TXTTangent OutTangent;  // towards the next point; points into the span after
    std::uint8_t State = psFree;
    // Read and written by the offset constraint only.
    TXTOffsetAttachment OffsetAttachment;

    virtual TMVector GetPosition() const { return FPosition; }
    virtual bool UsesRibbonTangent() const { return false; }
    // A point that takes its place from another curve; the surface generator cuts edges there.
    virtual bool IsReferencePoint() const { return false; }
    // The curve a reference point rests on; nullptr while it rests on none (and for plain points).
    virtual TXTCurveRepresentation* HostCurve() const { return nullptr; }
    // Store, then Changed.
    virtual void SetPosition(const TMVector& V);
    virtual void SetX(double X);
    virtual void SetY(double Y);
    virtual void SetZ(double Z);
    // A new empty point of the same class for Curve.
    virtual std::unique_ptr<TXTPoint> CreateLike(TXTCurveRepresentation* Curve) const;
    // Position, state and both tangents; not the selection, not the offset attachment.
    virtual void Assign(const TXTPoint& Other);
    virtual void Transform(const TMMatrix& M);
    // State End for the first and last point of its list, else Free; both tangents kind none.
    virtual void ResetConstraintState();
    virtual void ApplyRibbonTangent() {}

protected:
    TMVector FPosition;
};

// The points of one curve (or, for a snapshot, of none). Holds TXTPoint elements only: its own Add,
// Insert and Replace take points.
class TXTPoints : public TXTCurveElements {
public:
    using TXTCurveElements::TXTCurveElements;

    TXTPoint* Items(int Index) const { return static_cast<TXTPoint*>(TXTCurveElements::Items(Index)); }
    TXTPoint* Add(std::unique_ptr<TXTPoint> Point) {
        return static_cast<TXTPoint*>(TXTCurveElements::Add(std::move(Point)));
    }
    TXTPoint* Insert(int Index, std::unique_ptr<TXTPoint> Point) {
        return static_cast<TXTPoint*>(TXTCurveElements::Insert(Index, std::move(Point)));
    }
    std::unique_ptr<TXTCurveElement> Replace(TXTPoint* Old, std::unique_ptr<TXTPoint> New) {
        return TXTCurveElements::Replace(Old, std::move(New));
    }
    // Throw EError on an empty list.
    TXTPoint* First() const { return Items(0); }
    TXTPoint* Last() const { return Items(Count() - 1); }
    // The box of all positions; the empty box for no points.
    TMBox Extents() const;
    void Transform(const TMMatrix& M);
    // Clear, then a copy (CreateLike for this list's curve, then Assign) of each of Other's points.
    void Assign(const TXTPoints& Other);
    void Reverse() { ReverseEntries(); }
    void ResetConstraintStates();
    void ApplyRibbonTangents();
};

}  // namespace sarnova
