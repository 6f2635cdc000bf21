#include "foundation/EditPlaneSets.h"

#include <cmath>

namespace sarnova {

namespace {

bool IsMember(unsigned Kind, TEditPlaneSet Set) { return Kind <= 15 && (Set >> Kind) & 1u; }

}  // namespace

void EditConstraintNext(std::uint8_t& Current, TEditPlaneSet Set) {
    if (Set == 0) return;
    // A non-empty set has a member within the next 16 steps of any start.
    do
        ++Current;
    while (!IsMember(Current, Set));
}

void EditConstraintEnsure(std::uint8_t& Current, TEditPlaneSet Set) {
    if (Set != 0 && !IsMember(Current, Set)) EditConstraintNext(Current, Set);
}

std::string EditConstraintSetText(TEditPlaneSet Set) {
    if (IsMember(epView, Set)) return "[X, Y, Z, XY, YZ, XZ]";
    const std::pair<TEditPlaneKind, const char*> Parts[] = {
        {epAlongX, "X, "}, {epAlongY, "Y, "},        {epAlongZ, "Z, "},           {epXY, "XY, "},
        {epYZ, "YZ, "},    {epZX, "ZX, "},           {epInPlane, "in Plane, "},   {epAlongVector, "along Vector, "}};
    std::string Text;
    for (auto [Kind, Part] : Parts)
        if (IsMember(Kind, Set)) Text += Part;
    // Every part ends in ", ": trimmed, the final comma goes.
    if (!Text.empty()) Text.resize(Text.size() - 2);
    return "[" + Text + "]";
}

double GridRound(double C, double Size) {
    if (!(Size > 0)) return C;
    const double Q = C / Size;
    double N = std::trunc(Q);
    const double Fraction = Q - N;
    if (Q > 0 && Fraction > 0.5) N += 1;
    if (Q < 0 && Fraction < -0.5) N -= 1;
    return N * Size;
}

}  // namespace sarnova
