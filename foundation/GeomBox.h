// Axis-aligned boxes, and the routines that relate a plane to a box or to a set of points: the
// display rectangle of a plane inside a box, projection onto a plane, plane fitting and the principal
// frame of a point cloud.
#pragma once
#include <array>
#include <cstdint>

#include "foundation/VkMaths.h"

namespace sarnova {

class TRPoints;

// A box along the principal axes of a point cloud.
struct TMOrientedBox {
    TMVector Centre;  // world coordinates
    // Unit axes in the order of decreasing spread of the points.
    TMVector Axis1;
    TMVector Axis2;
    TMVector Axis3;
    // Extent of the points along each axis.
    double Size1 = 0;
    double Size2 = 0;
    double Size3 = 0;
};

// ---- Boxes ("inside" includes the bounds) ----

// Growing the empty box by any point yields that point.
inline constexpr TMBox EmptyBox{{-1e33, -1e33, -1e33}, {1e33, 1e33, 1e33}};

// Sets B to the empty box, which any point grown into it replaces, and returns it.
TMBox InitEmptyBox(TMBox& B);
TMBox MakeBox(double MinX, double MinY, double MinZ, double MaxX, double MaxY, double MaxZ);
void ExtendBoxByVector(const TMVector& V, TMBox& B);
// Inline: passes over every point of a document call it once a point.
inline void ExtendBoxXYZ(TMBox& B, double X, double Y, double Z) {
    if (!(B.Max.X >= X)) B.Max.X = X;
    if (!(B.Max.Y >= Y)) B.Max.Y = Y;
    if (!(B.Max.Z >= Z)) B.Max.Z = Z;
    if (X < B.Min.X) B.Min.X = X;
    if (Y < B.Min.Y) B.Min.Y = Y;
    if (Z < B.Min.Z) B.Min.Z = Z;
}
TMBox UniteBoxes(const TMBox& A, const TMBox& B);
// True with R the overlap when the boxes meet (touching counts); false with R empty otherwise.
bool IntersectBoxes(const TMBox& A, const TMBox& B, TMBox& R);
bool VectorInBox(const TMVector& V, const TMBox& B);
double BoxMaxSize(const TMBox& B);
TMVector BoxCentre(const TMBox& B);
// Scales the box by F about its centre.
void ScaleBox(TMBox& B, double F);
// Replaces B by the box of its eight corners carried through M; an empty box stays empty.
void TransformBox(TMBox& B, const TMMatrix& M);
// B widened in y to be symmetric about y = 0: the extents of a half-hull together with its mirror.
TMBox CopyBoxSymmetricY(const TMBox& B);
// Extends by more than 1e-30 along at least two axes.
bool BoxHasArea(const TMBox& B);
TMRect2D MakeRealRect(double A, double B, double C, double D);

// ---- Planes ----

// False when all eight corners lie strictly on one side (a corner in the plane counts as below).
bool PlaneCutsBox(const TMPlane& Plane, const TMBox& B);
// Moves every point along X (0), Y (1), Z (2) or, for any other Direction, along the plane normal
// until it lies in the plane; only X, Y, Z change. Throws EGeometryError
// "Geom.ProjectPointsOntoPlane - Projection is Parallel to Plane" before moving anything.
void ProjectPointsOntoPlane(TRPoints& Points, const TMPlane& Plane, std::uint8_t Direction);
// The rectangle, in the plane's own axes (PlaneAxes), covering the projection of the box. Throws
// EGeometryError "Geom.PlaneExtents.LineT - Line has zero magnitude direction vector" for a zero
// normal.
TMRect2D PlaneExtents(const TMPlane& Plane, const TMBox& B);
// The corners of PlaneExtents laid in the plane: (MinU, MinV), (MinU, MaxV), (MaxU, MaxV), (MaxU, MinV).
std::array<TMVector, 4> PlaneBoxRectangle(const TMPlane& Plane, const TMBox& B);
// Least-squares plane. Modes 0, 1, 2 fit x, y or z as a linear function of the other two; Mode 3 is
// the orthogonal fit through the centroid (Plane is left as it was when the smallest spread is shared
// by two directions). Any other Mode leaves Plane alone. Throws EGeometryError when the points do
// not determine the plane of Modes 0 to 2, or when there are no points.
void FitPlaneToPoints(const TRPoints& Points, std::uint8_t Mode, TMPlane& Plane);
// The principal frame of the points and their extents in it. Throws EGeometryError for no points.
TMOrientedBox PrincipalAxes(const TRPoints& Points);

}  // namespace sarnova
