// The IGES entity types the program exchanges: circular arc (100), composite curve (102, read only),
// copious data (106), plane (108), line (110, read only), transformation matrix (124), B-spline
// curve (126) and B-spline surface (128). Decoding always starts again from the parameter records;
// encoding replaces them. Counts read from the parameters are checked against the parameters present.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "exchange/IGESFile.h"
#include "foundation/Arc.h"
#include "foundation/BSpline.h"
#include "foundation/Geom.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"
#include "surfaces/BSurface.h"

namespace sarnova {

// Parameter values with 0 for indices past the end, and the checks of the counts they hold.
class TIGESParameters {
public:
    // All values, or those of the record lines that reach Wanted values.
    explicit TIGESParameters(const TIGESEntity& AEntity, std::size_t Wanted = SIZE_MAX);
    double operator[](long long I) const {
        return I >= 0 && I < static_cast<long long>(Values.size()) ? Values[static_cast<std::size_t>(I)] : 0.0;
    }
    // Parameter I as an integer (single precision, truncated); throws EError naming the entity for a
    // value that is no integer or is negative.
    int Count(long long I, const char* What) const;
    // Throws EError naming the entity when fewer than N values are present.
    void Require(long long N, const char* What) const;
    std::vector<double> Values;

private:
    const TIGESEntity& Entity;
};

// The entity's transformation matrix (type 124 through TransformationMatrix), if any.
std::optional<TMMatrix> IGESTransformation(const TIGESEntity& Entity);

class TIGESPolylineEntity : public TIGESEntity {
public:
    explicit TIGESPolylineEntity(int AType);
    std::unique_ptr<TPolyline> Polyline;
    virtual void DecodeParameters() = 0;
    virtual void EncodeParameters() = 0;
    TPolyline& GetPolyline();
    void SetPolyline(const TPolyline& P);
};

class TIGESEntity100 : public TIGESPolylineEntity {
public:
    TIGESEntity100();
    TRPoint Centre, StartPoint, EndPoint;
    std::unique_ptr<TArc> Arc;
    std::unique_ptr<TCircle> Circle;
    void DecodeParameters() override;
    void EncodeParameters() override;
    TArc& GetArc();
    TCircle& GetCircle();
    bool IsFullCircle();
};

class TIGESEntity102 : public TIGESPolylineEntity {
public:
    TIGESEntity102() : TIGESPolylineEntity(102) {}
    // Throws EError "Entity <t> not supported in Composite Curve Entity" for a member of another type.
    void DecodeParameters() override;
    void EncodeParameters() override {}
};

class TIGESEntity106 : public TIGESPolylineEntity {
public:
    TIGESEntity106() : TIGESPolylineEntity(106) {}
    void DecodeParameters() override;
    void EncodeParameters() override;
};

class TIGESEntity108 : public TIGESEntity {
public:
    TIGESEntity108() : TIGESEntity(108) {}
    double PlaneA = 0, PlaneB = 0, PlaneC = 1, PlaneD = 0;
    TMPlane GetPlane();
    void SetPlane(const TMPlane& Plane);
};

class TIGESEntity110 : public TIGESEntity {
public:
    TIGESEntity110() : TIGESEntity(110) {}
    TRPoint StartPoint, EndPoint;
    void DecodeParameters();
    const TRPoint& GetStartPoint();
    const TRPoint& GetEndPoint();
};

class TIGESEntity124 : public TIGESEntity {
public:
    TIGESEntity124();
    TMMatrix Matrix;
    void DecodeParameters();
    const TMMatrix& GetMatrix();
    void SetMatrix(const TMMatrix& M);
};

class TIGESEntity126 : public TIGESEntity {
public:
    TIGESEntity126();
    std::unique_ptr<TBSpline> Spline;
    // Throws EError "TIGESEntity126.UpdateCurve - Unable to support a BSpline with <K> points" for
    // K + M >= 498.
    void DecodeParameters();
    TBSpline& GetSpline();
    void SetSpline(const TBSpline& Curve);
    bool IsSupported() const;
    std::unique_ptr<TPolyline> ControlPolygon() const;
};

class TIGESEntity128 : public TIGESEntity {
public:
    TIGESEntity128();
    std::unique_ptr<TBSplineSurface> Surface;
    void DecodeParameters();
    TBSplineSurface& GetSurface();
    void SetSurface(const TBSplineSurface& S);
    bool IsSupported() const;
    std::unique_ptr<TBSplineSurface> ControlNet() const;
};

}  // namespace sarnova
