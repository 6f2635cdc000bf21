// The Tarvo curve entity of the hull generators, as far as other entities reach it: making one that
// holds a copy of a B-spline. The entity itself belongs here; until it is built, no maker is installed,
// no Tarvo curve can be made and nothing offers to make one.
#pragma once
#include <functional>
#include <memory>

namespace sarnova {

class TBSpline;
class TGeometry;

// Makes a new Tarvo curve entity (default name "TarvoCurve1") whose curve's B-spline is assigned from
// Spline.
using TTarvoCurveMaker = std::function<std::unique_ptr<TGeometry>(const TBSpline& Spline)>;

// Installed by the start-up of the module that defines the entity; an empty maker removes it.
void SetTarvoCurveMaker(TTarvoCurveMaker Maker);
bool CanCreateTarvoCurve();
// The new entity; nullptr while no maker is installed.
std::unique_ptr<TGeometry> CreateTarvoCurve(const TBSpline& Spline);

}  // namespace sarnova
