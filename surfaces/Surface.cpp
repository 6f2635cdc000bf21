#include "surfaces/Surface.h"

#include "foundation/Errors.h"
#include "foundation/GeomBox.h"

namespace sarnova {

TSurface::~TSurface() = default;

TMVector TSurface::Evaluate(double, double) const { return ZeroVector; }

TMBox TSurface::GetExtents() const { return EmptyBox; }

// Not through the virtual SetSize: a derived class's override cannot run before it is constructed.
TMesh::TMesh(int ANumU, int ANumV) : FNumU(ANumU), FNumV(ANumV) {}

TMesh::~TMesh() = default;

void TMesh::SetSize(int ANumU, int ANumV) {
    FNumU = ANumU;
    FNumV = ANumV;
}

TRPoint& TMesh::Point(int I, int J) {
    return PointByIndex(I + J * FNumU);
}

TRPoint& TMesh::PointByIndex(int K) {
    if (K < 0) throw EError("List index out of bounds (" + std::to_string(K) + ")");
    while (PointCount() <= K) Points.push_back(std::make_unique<TRPoint>());
    return *Points[static_cast<std::size_t>(K)];
}

void TMesh::SetPoint(int I, int J, const TRPoint& Source) { Point(I, J).Assign(Source); }

void TMesh::Assign(TMesh& Other) {
    Clear();
    SetSize(Other.NumU(), Other.NumV());
    for (int J = 0; J < Other.NumV(); ++J)
        for (int I = 0; I < Other.NumU(); ++I) SetPoint(I, J, Other.Point(I, J));
}

TMBox TMesh::GetExtents() const {
    TMBox B = EmptyBox;
    for (const auto& P : Points) P->AddToBox(B);
    return B;
}

}  // namespace sarnova
