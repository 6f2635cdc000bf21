// Sets of edit-plane kinds as the draggable entities offer them: stepping to the next available kind
// (the Tab key while dragging) and the text of the set for the drag hint.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/ViewContract.h"

namespace sarnova {

// The next member of Set after Current, counting up as a byte (255 wraps to 0); kinds above 15 are
// never members. Nothing for an empty set.
void EditConstraintNext(std::uint8_t& Current, TEditPlaneSet Set);
// Current when it is a member, else the next member; nothing for an empty set.
void EditConstraintEnsure(std::uint8_t& Current, TEditPlaneSet Set);
// "[X, Y, Z, XY, YZ, XZ]" when the free plane (epView) is a member; otherwise the members in the
// order X, Y, Z, XY, YZ, ZX, "in Plane", "along Vector", e.g. "[X, XY, YZ]"; "[]" for none.
std::string EditConstraintSetText(TEditPlaneSet Set);

// C moved to the nearest multiple of Size: q = C / Size, its integer part, one step further from zero
// only when the fraction passes one half, so exact halves go towards zero (3 on a grid of 2 gives 2,
// 3.1 gives 4). A size that is not positive leaves C as it is.
double GridRound(double C, double Size);

}  // namespace sarnova
