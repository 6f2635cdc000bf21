// Points of a curve-network curve that rest on another curve, the host: a bead sits at a place along
// the host and slides with it, a vertex reference repeats one of the host's points. Both follow the
// host's edits (moved, inserted, removed and reversed points, rebuilt spans, deletion), take their
// tangents from the host's ribbon, and turn into plain points when the host is gone.
#pragma once
#include <memory>
#include <string>

#include "curvenet/XTCurveRepresentation.h"

namespace sarnova {

class TXTCurve;

class TXTReferencePoint : public TXTPoint {
public:
    // Owner is the node of the curve that holds the point; the host becomes its input.
    explicit TXTReferencePoint(TXTNode* Owner);
    ~TXTReferencePoint() override;

    TXTReference& Reference() { return *FReference; }
    bool IsReleased() const { return FReleased; }
    // Set by every change of the host and every attach or detach; never cleared.
    bool TargetChanged() const { return FTargetChanged; }

    bool IsReferencePoint() const override { return true; }
    // The host, resolved by name on first use.
    TXTCurveRepresentation* HostCurve() const override;
    TXTNode* GetTargetNode() const { return FReference->GetTarget(); }
    void SetTargetNode(TXTNode* Node) { FReference->SetTarget(Node); }

    virtual void GetBeadAddress(TBeadAddress& Address) = 0;
    double GetT();
    int GetSegmentIndex();
    virtual void SetBeadAddress(const TBeadAddress& Address) = 0;
    virtual void SetT(double T) = 0;
    virtual void SetSegmentIndex(int Index) = 0;
    // The host's surface tangent plane where the point rests; kind none without one.
    virtual void RibbonOfTarget(TXTRibbonTangent& Ribbon);
    // The plane of the two crossing curves' tangents (kind 7); kind none when both are knuckle lines.
    virtual void CrossingPlane(TXTRibbonTangent& Ribbon);
    // "Bead at Address 0:0.250000 on Curve C", "Vertex 3 on Curve C".
    virtual std::string GetReferenceText() = 0;
    virtual void ReadReferenceText(const std::string& Text) = 0;

    // A plain free point at this point's position takes its place; this point is freed. nullptr when
    // the point is in no list (then nothing happens).
    TXTPoint* MakePlain();
    // A released point keeps the position it is given; one that stops being released snaps back.
    void SetReleased(bool Released);
    void ReleaseAt(const TMVector& Position);

    void Assign(const TXTPoint& Other) override;
    void ResolveReference() override;
    void ValidateReferences() override;
    void CheckReference() override;
    void ResetConstraintState() override;
    bool UsesRibbonTangent() const override;
    void ApplyRibbonTangent() override;

protected:
    // The curve that holds the point, when it is a full curve.
    TXTCurve* HoldingCurve() const;
    // Tangents set from the neighbours before the ribbon turns them.
    void SetDefaultTangents();
    // The plane of this curve's tangent at the point and the host's frame HostFrame.
    void CrossingPlaneWith(const TFrenetFrame& HostFrame, TXTRibbonTangent& Ribbon);
    void OnTargetChanged() { FTargetChanged = true; }

private:
    std::unique_ptr<TXTReference> FReference;
    bool FReleased = false;
    bool FTargetChanged = false;
};

// A point at a place along its host.
class TXTBead : public TXTReferencePoint {
public:
    using TXTReferencePoint::TXTReferencePoint;

    std::unique_ptr<TXTPoint> CreateLike(TXTCurveRepresentation* Curve) const override;
    void Assign(const TXTPoint& Other) override;
    void GetBeadAddress(TBeadAddress& Address) override { Address = FAddress; }
    void SetBeadAddress(const TBeadAddress& Address) override { FAddress = Address; }
    void SetT(double T) override { FAddress.T = T; }
    void SetSegmentIndex(int Index) override { FAddress.SegmentIndex = Index; }
    void RibbonOfTarget(TXTRibbonTangent& Ribbon) override;
    void CrossingPlane(TXTRibbonTangent& Ribbon) override;
    std::string GetReferenceText() override;
    void ReadReferenceText(const std::string& Text) override;

    // The position at the address (moved along the host to the curve's plane first, when it has one).
    void Update() override;
    // Slides to the host's place nearest to V.
    void SetPosition(const TMVector& V) override;
    // Slides to where the host reaches the new coordinate.
    void SetX(double X) override;
    void SetY(double Y) override;
    void SetZ(double Z) override;
    void HandleMessage(TXTMessage& Message) override;
    void CheckReference() override;

private:
    void SlideTo(const TMVector& P, int Axis);
    TBeadAddress FAddress = InvalidBeadAddress;
};

// A point that repeats a vertex of its host.
class TXTPointIndexReference : public TXTReferencePoint {
public:
    using TXTReferencePoint::TXTReferencePoint;

    int VertexIndex() const { return FVertexIndex; }
    void SetVertexIndex(int Index) { FVertexIndex = Index; }
    // The host's point at VertexIndex; nullptr without a host or for an index outside it.
    TXTPoint* ReferencedVertex() const;

    std::unique_ptr<TXTPoint> CreateLike(TXTCurveRepresentation* Curve) const override;
    void Assign(const TXTPoint& Other) override;
    // Where the vertex lies on the host; invalid for a free vertex inside a B-spline span.
    void GetBeadAddress(TBeadAddress& Address) override;
    // The address of a vertex reference is its vertex's: these raise EError.
    void SetBeadAddress(const TBeadAddress& Address) override;
    void SetT(double T) override;
    void SetSegmentIndex(int Index) override;
    void RibbonOfTarget(TXTRibbonTangent& Ribbon) override;
    void CrossingPlane(TXTRibbonTangent& Ribbon) override;
    std::string GetReferenceText() override;
    void ReadReferenceText(const std::string& Text) override;

    void Update() override;
    // The vertex decides: the position given is ignored unless released or without a host.
    void SetPosition(const TMVector& V) override;
    // Inside the host's box it becomes a bead, else a plain point; that point is transformed.
    void Transform(const TMMatrix& M) override;
    void HandleMessage(TXTMessage& Message) override;
    void CheckReference() override;
    bool UsesRibbonTangent() const override;

    // A bead at the vertex's place takes this point's place (a plain point when it has none); this
    // point is freed.
    TXTPoint* ConvertToBead();

private:
    int FVertexIndex = -1;
};

}  // namespace sarnova
