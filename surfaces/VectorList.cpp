#include "surfaces/VectorList.h"

#include <string>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

TRPointVector* TVectorList::Vector(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return FVectors[static_cast<std::size_t>(Index)].get();
}

int TVectorList::Add(std::unique_ptr<TRPointVector> V) {
    if (V == nullptr) throw EError("TVectorList.Add - Vector not assigned");
    V->CreatePoints();
    FVectors.push_back(std::move(V));
    return Count() - 1;
}

void TVectorList::Assign(const TVectorList& Other) {
    if (&Other == this) return;
    Clear();
    for (const auto& V : Other.FVectors) Add(PointVectorFromPair(*V));
    Scale = Other.Scale;
}

std::unique_ptr<TVectorList> TVectorList::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TVectorList>();
    for (const auto& V : FVectors) Result->Add(TransformPointVector(*V, M));
    Result->Scale = Scale;
    return Result;
}

TMBox TVectorList::GetExtents() const {
    TMBox Box = EmptyBox;
    for (const auto& V : FVectors) {
        const TMVector P = V->Point1->Vector();
        ExtendBoxByVector(P, Box);
        ExtendBoxByVector(VectorAdd(P, VectorScale(V->Point2->Vector(), Scale)), Box);
    }
    return Box;
}

void TVectorList::Draw(IGraphics& Graphics) const {
    for (const auto& V : FVectors)
        if (V->Point2->Length() > 1e-30) Graphics.VectorPoints(*V->Point1, *V->Point2, Scale, false);
}

void TVectorList::SaveToText(TTextWriter& Out) const {
    Out.WriteLine("Scale=" + FormatWithPoint("%0.6f", {Scale}));
    Out.WriteLine("NumberOfVectors=" + std::to_string(Count()));
    for (const auto& V : FVectors) {
        const TRPoint& P = *V->Point1;
        const TRPoint& D = *V->Point2;
        Out.WriteLine(FormatWithPoint("%0.6f %0.6f %0.6f %0.6f %0.6f %0.6f", {P.X, P.Y, P.Z, D.X, D.Y, D.Z}));
    }
}

void TVectorList::LoadFromText(TTextReader& In) {
    Scale = ParseFloat(Trim(TextAfterKeyword("=", In.ReadLine())));
    const int N = StrToInt(Trim(TextAfterKeyword("=", In.ReadLine())));
    // One vector at a time, never allocated ahead by the count: a damaged count runs into the end of
    // the text instead of exhausting memory.
    for (int I = 0; I < N; ++I) {
        auto V = std::make_unique<TRPointVector>(true);
        TRPoint& P = *V->Point1;
        TRPoint& D = *V->Point2;
        P.X = In.ReadReal();
        P.Y = In.ReadReal();
        P.Z = In.ReadReal();
        D.X = In.ReadReal();
        D.Y = In.ReadReal();
        D.Z = In.ReadReal();
        In.SkipLine();
        Add(std::move(V));
    }
}

}  // namespace sarnova
