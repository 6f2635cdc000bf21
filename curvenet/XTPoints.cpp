#include "curvenet/XTPoints.h"

#include <algorithm>
#include <string>

#include "curvenet/XTCurveRepresentation.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"

namespace sarnova {

TXTChangePointsMessage::TXTChangePointsMessage(TXTCurveElement* AElement)
    : Element(AElement), Index(AElement ? AElement->Index() : -1) {}

// ---- TXTCurveElement ----

TXTCurveElement::~TXTCurveElement() = default;

int TXTCurveElement::Index() const { return FOwnerList ? FOwnerList->IndexOf(this) : -1; }

void TXTCurveElement::Changed() {
    if (FCurve) FCurve->Changed();
}

void TXTCurveElement::ReportInfo(const TInfoMessage& Message) {
    if (FCurve) FCurve->ReportInfo(Message);
}

// ---- TXTCurveElements ----

TXTCurveElements::~TXTCurveElements() = default;

void TXTCurveElements::CheckIndex(int Index, const char* Where) const {
    if (Index < 0 || Index >= Count())
        throw EError(std::string(Where) + " - List index out of bounds (" + std::to_string(Index) + ")");
}

TXTCurveElement* TXTCurveElements::Items(int Index) const {
    CheckIndex(Index, "TXTCurveElements.Items");
    return FItems[static_cast<std::size_t>(Index)].get();
}

TXTCurveElement* TXTCurveElements::Add(std::unique_ptr<TXTCurveElement> Element) {
    return Insert(Count(), std::move(Element));
}

TXTCurveElement* TXTCurveElements::Insert(int Index, std::unique_ptr<TXTCurveElement> Element) {
    if (Index < 0 || Index > Count())
        throw EError("TXTCurveElements.Insert - List index out of bounds (" + std::to_string(Index) + ")");
    TXTCurveElement* E = Element.get();
    FItems.insert(FItems.begin() + Index, std::move(Element));
    Added(Index, E);
    return E;
}

void TXTCurveElements::Delete(int Index) {
    CheckIndex(Index, "TXTCurveElements.Delete");
    TXTCurveElement* E = FItems[static_cast<std::size_t>(Index)].get();
    Removed(Index, E);
    // Removed may have changed the list: take out the element that was asked for.
    const int Now = IndexOf(E);
    if (Now >= 0) FItems.erase(FItems.begin() + Now);
}

void TXTCurveElements::Clear() {
    std::vector<std::unique_ptr<TXTCurveElement>> Old;
    Old.swap(FItems);
}

std::unique_ptr<TXTCurveElement> TXTCurveElements::Replace(TXTCurveElement* Old,
                                                           std::unique_ptr<TXTCurveElement> New) {
    const int Index = IndexOf(Old);
    if (Index < 0) throw EError("TXTCurveElements.Replace - Element is not in the list");
    Removed(Index, Old);
    std::unique_ptr<TXTCurveElement> Taken = std::move(FItems[static_cast<std::size_t>(Index)]);
    TXTCurveElement* E = New.get();
    FItems[static_cast<std::size_t>(Index)] = std::move(New);
    Added(Index, E);
    return Taken;
}

void TXTCurveElements::UpdateAll() {
    for (int I = 0; I < Count(); ++I) Items(I)->Update();
}

int TXTCurveElements::IndexOf(const TXTCurveElement* Element) const {
    for (std::size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I].get() == Element) return static_cast<int>(I);
    return -1;
}

void TXTCurveElements::Added(int Index, TXTCurveElement* Element) {
    Element->SetOwnerList(this);
    Element->SetCurve(FCurve);
}

// An element may delete or replace itself while these walks run: each step first checks that the
// index is still in the list.
void TXTCurveElements::HandleMessage(TXTMessage& Message) {
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count()) Items(I)->HandleMessage(Message);
}

void TXTCurveElements::ResolveReferences() {
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count()) Items(I)->ResolveReference();
}

void TXTCurveElements::CheckReferences() {
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count()) Items(I)->CheckReference();
}

void TXTCurveElements::ValidateReferences() {
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count()) Items(I)->ValidateReferences();
}

void TXTCurveElements::ReverseEntries() { std::reverse(FItems.begin(), FItems.end()); }

void TXTCurveElements::SortEntries(bool (*Less)(const TXTCurveElement*, const TXTCurveElement*)) {
    std::sort(FItems.begin(), FItems.end(),
              [Less](const auto& A, const auto& B) { return Less(A.get(), B.get()); });
}

// ---- TXTTangent ----

TXTTangent& TXTTangent::Opposite() const { return this == &FPoint->InTangent ? FPoint->OutTangent : FPoint->InTangent; }

void TXTTangent::SetVector(const TMVector& V) {
    FVector = V;
    if (FPoint->State < psKnuckle) Opposite().FVector = VectorScale(V, -1.0);
}

void TXTTangent::SetKind(std::uint8_t Kind) {
    FKind = Kind;
    if (Kind != tkConstraint) return;
    TXTTangent& Other = Opposite();
    if (Other.FKind == tkNone)
        Other.FKind = tkDirection;
    else if (Other.FKind == tkConstraint)
        FPoint->State = psKnuckle;
}

void TXTTangent::Assign(const TXTTangent& Other) {
    FKind = Other.FKind;
    FVector = Other.FVector;
}

// ---- TXTPoint ----

TXTPoint::TXTPoint() : InTangent(*this), OutTangent(*this) {}

TXTPoint::~TXTPoint() = default;

void TXTPoint::SetPosition(const TMVector& V) {
    FPosition = V;
    Changed();
}

void TXTPoint::SetX(double X) {
    FPosition.X = X;
    Changed();
}

void TXTPoint::SetY(double Y) {
    FPosition.Y = Y;
    Changed();
}

void TXTPoint::SetZ(double Z) {
    FPosition.Z = Z;
    Changed();
}

std::unique_ptr<TXTPoint> TXTPoint::CreateLike(TXTCurveRepresentation*) const { return std::make_unique<TXTPoint>(); }

void TXTPoint::Assign(const TXTPoint& Other) {
    FPosition = Other.GetPosition();
    State = Other.State;
    InTangent.Assign(Other.InTangent);
    OutTangent.Assign(Other.OutTangent);
}

void TXTPoint::Transform(const TMMatrix& M) { SetPosition(MatrixTransformPoint(M, GetPosition())); }

void TXTPoint::ResetConstraintState() {
    const int I = Index();
    const int N = GetOwnerList() ? GetOwnerList()->Count() : 0;
    State = (I >= 0 && (I == 0 || I == N - 1)) ? psEnd : psFree;
    InTangent.Clear();
    OutTangent.Clear();
}

// ---- TXTPoints ----

TMBox TXTPoints::Extents() const {
    TMBox B = EmptyBox;
    for (int I = 0; I < Count(); ++I) ExtendBoxByVector(Items(I)->GetPosition(), B);
    return B;
}

void TXTPoints::Transform(const TMMatrix& M) {
    for (int I = 0; I < Count(); ++I) Items(I)->Transform(M);
}

void TXTPoints::Assign(const TXTPoints& Other) {
    if (&Other == this) return;
    Clear();
    for (int I = 0; I < Other.Count(); ++I) {
        std::unique_ptr<TXTPoint> P = Other.Items(I)->CreateLike(GetCurve());
        P->Assign(*Other.Items(I));
        Add(std::move(P));
    }
}

void TXTPoints::ResetConstraintStates() {
    for (int I = 0; I < Count(); ++I) Items(I)->ResetConstraintState();
}

void TXTPoints::ApplyRibbonTangents() {
    for (int I = 0; I < Count(); ++I) Items(I)->ApplyRibbonTangent();
}

}  // namespace sarnova
