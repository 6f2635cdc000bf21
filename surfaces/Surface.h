// Surfaces of the kernel: the parametric surface base TSurface and the rectangular point grid TMesh,
// which is the control net of B-spline surfaces, the result of sampling any surface and a surface of
// its own.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/Geom.h"
#include "foundation/VkMaths.h"

namespace sarnova {

// Why a surface is sampled; a surface chooses its sample counts by it (4 queries, 6 contour display).
using TSamplingPurpose = std::uint8_t;

// A mapping from the parameter rectangle [MinU, MaxU] x [MinV, MaxV] to 3-D points.
class TSurface {
public:
    virtual ~TSurface();
    virtual double MinU() const { return 0; }
    virtual double MaxU() const { return 1; }
    virtual double MinV() const { return 0; }
    virtual double MaxV() const { return 1; }
    // The point at (U, V); the base has no shape and answers the zero vector.
    virtual TMVector Evaluate(double U, double V) const;
    // The empty box in the base.
    virtual TMBox GetExtents() const;
};

// A grid of NumU x NumV points. Point (i, j) is item i + j * NumU of the point list: rows of constant
// j one after the other. The list is not kept at NumU * NumV items: asking for an item at or beyond
// its end first appends default points (0, 0, 0, weight 1) up to it, and SetSize leaves the list as
// it is (a caller that resizes a filled mesh clears it first).
class TMesh : public TSurface {
public:
    TMesh(int ANumU, int ANumV);
    TMesh(const TMesh&) = delete;
    TMesh& operator=(const TMesh&) = delete;
    ~TMesh() override;

    // Sets NumU and NumV only.
    virtual void SetSize(int ANumU, int ANumV);
    int NumU() const { return FNumU; }
    int NumV() const { return FNumV; }

    // The stored point (i, j), the list grown to it when needed. Throws EError "List index out of
    // bounds (<k>)" for a negative list index.
    TRPoint& Point(int I, int J);
    TRPoint& PointByIndex(int K);
    int PointCount() const { return static_cast<int>(Points.size()); }
    // Copies x, y, z, weight, parameter and tag of Source into point (i, j).
    void SetPoint(int I, int J, const TRPoint& Source);
    // Frees every point; NumU and NumV stay.
    void Clear() { Points.clear(); }
    // Clear, Other's size, then a copy of every point (i, j) of Other.
    void Assign(TMesh& Other);
    // The box of the stored points.
    TMBox GetExtents() const override;

private:
    std::vector<std::unique_ptr<TRPoint>> Points;
    int FNumU = 0;
    int FNumV = 0;
};

}  // namespace sarnova
