// Located vectors (a point with a direction) drawn as arrows with one scale for the whole list, kept
// as a text block inside the vector-list entity.
#pragma once
#include <memory>
#include <vector>

#include "foundation/Geom.h"

namespace sarnova {

class IGraphics;
class TTextReader;
class TTextWriter;

class TVectorList {
public:
    // The drawn arrow of a vector is |vector| * Scale long.
    double Scale = 1.0;

    int Count() const { return static_cast<int>(FVectors.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TRPointVector* Vector(int Index) const;
    // Takes V over (a missing point is made at the origin) and returns its index.
    int Add(std::unique_ptr<TRPointVector> V);
    // Frees every vector; Scale stays.
    void Clear() { FVectors.clear(); }
    // Clear, copies of Other's vectors in order, Other's Scale.
    void Assign(const TVectorList& Other);
    // Every point carried through M, every vector M(point + vector) - M(point); the same Scale.
    std::unique_ptr<TVectorList> Transformed(const TMMatrix& M) const;
    // The box of every point and every point + Scale * vector.
    TMBox GetExtents() const;
    // An arrow for every vector longer than 1e-30.
    void Draw(IGraphics& Graphics) const;

    // "Scale=" with six decimals, "NumberOfVectors=" and the count, then one line of six
    // "%0.6f" numbers per vector: the point's x, y, z and the vector's x, y, z.
    void SaveToText(TTextWriter& Out) const;
    // Reads such a block and appends its vectors (the list is not cleared) and replaces Scale. A bad
    // scale throws ParseFloat's EConvertError, a bad count StrToInt's, a bad or missing coordinate
    // the reader's EInOutError; the vectors read before stay in the list.
    void LoadFromText(TTextReader& In);

private:
    std::vector<std::unique_ptr<TRPointVector>> FVectors;
};

}  // namespace sarnova
