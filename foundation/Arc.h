// Circles and circular arcs held as the points a user edits: a circle as its centre and four quadrant
// handles, an arc as three points it passes through. Frames, radii and normals are worked out from
// the points whenever they are asked for.
#pragma once
#include <array>
#include <memory>
#include <optional>

#include "foundation/Geom.h"
#include "foundation/VkMaths.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

class IGraphics;
class TPolyline;
class TTextReader;
class TTextWriter;

// P0 the centre, P1 = centre + r X, P2 = centre + r Y, P3 = centre - r X, P4 = centre - r Y, with X
// and Y the in-plane axes of the frame the points were last placed from. P0, P1 and P2 define the
// circle; P3 and P4 are further editing handles.
class TCircle {
public:
    TCircle() = default;
    TCircle(const TCircle&) = delete;
    TCircle& operator=(const TCircle&) = delete;

    // Copies the values of the five points.
    void Assign(const TCircle& Other);
    // A new circle of the five points carried through M.
    std::unique_ptr<TCircle> Transformed(const TMMatrix& M) const;

    // Centre P0, radius the mean of |P1 - P0| and |P2 - P0|, normal along (P2 - P0) x (P1 - P0), which
    // is opposite to the normal the points were placed from; axes as MakeCircle lays them.
    TMCircle Frame() const;
    // |P1 - P0|.
    double Radius() const;
    // Frame().Normal.
    TMVector Normal() const;

    int PointCount() const { return 5; }
    // P0 to P4; any other index throws EError "TCircle.Point - Index <i> out of bounds, only 0..4
    // allowed".
    TRPoint* Point(int Index);
    const TRPoint* Point(int Index) const;
    // The quadrant handle across the centre from Index (1 <-> 3, 2 <-> 4); -1 for any other index.
    int OppositePoint(int Index) const;

    // Places the five points from F's centre, axes and radius.
    void SetFrame(const TMCircle& F);
    // Lays the circle anew at radius |R| about P0, keeping the side it faces.
    void SetRadius(double R);
    // Index 1 to 4 moves that handle alone; index 0 moves the whole circle, laid anew about V and
    // facing the same side. Other indices throw as Point does.
    void SetPoint(int Index, const TMVector& V);

    // The box of the 101 points of AsPolyline.
    TMBox Extents() const;
    // 101 points of the frame at angles i pi / 50; the first and last coincide.
    std::unique_ptr<TPolyline> AsPolyline() const;
    // P0, P1, P2, P3, P4.
    std::unique_ptr<TPolyline> ControlPolyline() const;

    // "Radius=r", "Centre=(x,y,z)" and "Normal=(x,y,z)", where the normal is the unit normal the
    // points are placed from, so that reading the lines back lays the same points and faces the same
    // side.
    void SaveToText(TTextWriter& Out) const;
    // Reads the three lines by position (keys are not checked) and lays the points with MakeCircle
    // from them. A value that is not a number throws ParseFloat's EConvertError; a negative radius or a
    // normal of no length throws EGeometryError.
    void LoadFromText(TTextReader& In);

private:
    // The frame the points stand in: the circle of Frame() facing the side they were placed from.
    TMCircle PlacedFrame() const;

    std::array<TRPoint, 5> FPoints;
    // The values last read, written back as read while the points are still exactly the ones they
    // lay: a circle read and saved again gives the same text, digit for digit.
    struct TReadValues {
        double Radius = 0;
        TMVector Normal;
    };
    std::optional<TReadValues> FRead;
};

// Start, Mid and End, the three points the arc passes through in that order.
class TArc {
public:
    TArc() = default;
    TArc(const TArc&) = delete;
    TArc& operator=(const TArc&) = delete;

    // Copies the values of the three points.
    void Assign(const TArc& Other);
    // A new arc of the three positions carried through M; the other point values are not carried.
    std::unique_ptr<TArc> Transformed(const TMMatrix& M) const;

    int PointCount() const { return 3; }
    // Start, Mid, End for 0, 1, 2; any other index throws EError "TArc.GetPoint - Index <i> out of
    // bounds, only 0..2 allowed".
    TRPoint* GetPoint(int Index);
    const TRPoint* GetPoint(int Index) const;
    // Copy P's values into that point.
    void SetStart(const TRPoint& P) { FPoints[0].Assign(P); }
    void SetMid(const TRPoint& P) { FPoints[1].Assign(P); }
    void SetEnd(const TRPoint& P) { FPoints[2].Assign(P); }

    // ArcThroughPoints(Start, Mid, End): collinear points give radius 0.
    TMArc Frame() const;
    // Start at angle 0, Mid at Sweep / 2, End at Sweep of F.
    void SetFrame(const TMArc& F);

    // The box of the 101 points of AsPolyline.
    TMBox Extents() const;
    // 101 points of the frame at angles i Sweep / 100.
    std::unique_ptr<TPolyline> AsPolyline() const;
    // Copies of Start, Mid and End.
    std::unique_ptr<TPolyline> ControlPolyline() const;

    // "StartPoint=(x,y,z)", "MidPoint=(x,y,z)", "EndPoint=(x,y,z)".
    void SaveToText(TTextWriter& Out) const;
    // Reads three lines by position, whatever their keys, each holding a parenthesised triple. A
    // value that is not a number throws ParseFloat's EConvertError.
    void LoadFromText(TTextReader& In);

private:
    std::array<TRPoint, 3> FPoints;
};

// The circle as one closed line strip of 101 points at angles i pi / 50.
void DrawCircle(const TMCircle& F, IGraphics& View);
// The arc as one line strip of 101 points at angles i Sweep / 100.
void DrawArc(const TMArc& F, IGraphics& View);

}  // namespace sarnova
