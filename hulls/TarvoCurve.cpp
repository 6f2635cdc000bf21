#include "hulls/TarvoCurve.h"

#include <algorithm>
#include <utility>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

std::string SurfaceOperationText(TSurfaceOperation Op) {
    switch (Op) {
        case soTangent: return "Tangent";
        case soPanelBreak: return "PanelBreak";
        default: return "Control";
    }
}

// ---- TTarvoCurve ----

TTarvoCurve::TTarvoCurve()
    : FSpline(std::make_unique<TBSpline>(4)), FConstraints(std::make_unique<TConstraints>(this)) {}

TTarvoCurve::~TTarvoCurve() {
    // Announced while the curve is whole, so that its own message handling still finds its parts.
    AnnounceDeletion();
    FConstraints.reset();
}

void TTarvoCurve::SetSurfaceOperation(TSurfaceOperation Op) {
    if (Op == FSurfaceOperation) return;
    FSurfaceOperation = Op;
    Invalidate(false);
}

TRPoint* TTarvoCurve::Point(int Index) { return const_cast<TRPoint*>(std::as_const(*FSpline).Point(Index)); }

const TRPoint* TTarvoCurve::Point(int Index) const { return std::as_const(*FSpline).Point(Index); }

void TTarvoCurve::AddPoint(std::unique_ptr<TRPoint> P) {
    CheckKnotLimit(Count() + 1, FSpline->GetOrder());
    TRPoint* Added = P.get();
    const int Index = FSpline->Add(std::move(P));
    NotifyInsert(Index, Added);
}

void TTarvoCurve::AddPointVector(const TMVector& V) { AddPoint(std::make_unique<TRPoint>(V)); }

void TTarvoCurve::InsertPoint(int Index, std::unique_ptr<TRPoint> P) {
    CheckKnotLimit(Count() + 1, FSpline->GetOrder());
    TRPoint* Inserted = P.get();
    FSpline->Insert(Index, std::move(P));
    NotifyInsert(Index, Inserted);
}

void TTarvoCurve::InsertPointXYZ(int Index, double X, double Y, double Z) {
    InsertPoint(Index, NewRPoint(X, Y, Z));
}

void TTarvoCurve::InsertPointVector(int Index, const TMVector& V) { InsertPoint(Index, std::make_unique<TRPoint>(V)); }

void TTarvoCurve::InsertPointAt(int Index) {
    const int n = Count();
    if (n < 2) throw EGeometryError("TTarvoCurve.InsertPointAt - The curve needs two points to place a new one");
    TMVector V;
    if (Index == 0)
        V = VectorFromTo(Point(1)->Vector(), VectorScale(Point(0)->Vector(), 2));
    else if (Index == n)
        V = VectorFromTo(Point(n - 2)->Vector(), VectorScale(Point(n - 1)->Vector(), 2));
    else
        V = VectorMidpoint(Point(Index - 1)->Vector(), Point(Index)->Vector());
    InsertPointVector(Index, V);
}

void TTarvoCurve::DeletePoint(int Index) {
    TRPoint* P = Point(Index);
    // The ranges have been renumbered by the time a handler fails: the point goes all the same.
    try {
        NotifyDelete(Index, P);
    } catch (...) {
        FSpline->Delete(Index);
        throw;
    }
    FSpline->Delete(Index);
}

void TTarvoCurve::NotifyInsert(int Index, TRPoint* P) {
    // The point is in; when a dependent cannot follow, this curve is still rebuilt.
    try {
        SendMessage(std::make_unique<TTarvoCurveInsertPointMessage>(Index, P));
    } catch (...) {
        Invalidate(false);
        throw;
    }
    Invalidate(false);
}

void TTarvoCurve::NotifyDelete(int Index, TRPoint* P) {
    try {
        SendMessage(std::make_unique<TTarvoCurveDeletePointMessage>(Index, P));
    } catch (...) {
        Invalidate(false);
        throw;
    }
    Invalidate(false);
}

void TTarvoCurve::Reverse() {
    FSpline->Reverse();
    FConstraints->Reverse();
    Invalidate(false);
}

namespace {

bool SameSpline(TBSpline& A, TBSpline& B) {
    if (A.Count() != B.Count() || A.GetOrder() != B.GetOrder() || A.KnotType != B.KnotType ||
        A.GetForcedBezier() != B.GetForcedBezier() || A.MinTParameter != B.MinTParameter ||
        A.MaxTParameter != B.MaxTParameter || A.Knots() != B.Knots())
        return false;
    for (int I = 0; I < A.Count(); ++I) {
        const TRPoint& P = *A.Point(I);
        const TRPoint& Q = *B.Point(I);
        if (P.X != Q.X || P.Y != Q.Y || P.Z != Q.Z || P.W != Q.W) return false;
    }
    return true;
}

std::string ConstraintsText(const TConstraints& Constraints) {
    TTextWriter Out;
    Constraints.SaveToText(Out);
    return Out.Text();
}

}  // namespace

void TTarvoCurve::Assign(const TTarvoCurve& Source) {
    if (&Source == this) return;
    if (FSurfaceOperation == Source.FSurfaceOperation && SameSpline(*FSpline, *Source.FSpline) &&
        ConstraintsText(*FConstraints) == ConstraintsText(*Source.FConstraints))
        return;
    FConstraints->Assign(*Source.FConstraints);
    FSpline->Assign(*Source.FSpline);
    FSurfaceOperation = Source.FSurfaceOperation;
    Invalidate(false);
}

void TTarvoCurve::Transform(const TMMatrix& M) {
    FSpline = FSpline->Transformed(M);
    Invalidate(false);
}

void TTarvoCurve::HandleMessage(TNodeMessage& Message) {
    // A parent curve gained or is losing a point: this curve follows, so that the two keep
    // corresponding points.
    if (const auto* PointMessage = dynamic_cast<TTarvoCurveInsertDeletePointMessage*>(&Message);
        PointMessage != nullptr && PointMessage->Node != this && HasParent(PointMessage->Node)) {
        const int I = PointMessage->Index;
        if (dynamic_cast<TTarvoCurveInsertPointMessage*>(&Message) != nullptr) {
            if (Count() >= 2 && I >= 0 && I <= Count()) InsertPointAt(I);
        } else if (dynamic_cast<TTarvoCurveDeletePointMessage*>(&Message) != nullptr) {
            if (I >= 0 && I < Count()) DeletePoint(I);
        }
    }
    if (FConstraints != nullptr) FConstraints->HandleMessage(Message);
    TNode::HandleMessage(Message);
}

void TTarvoCurve::Evaluate() {
    FConstraints->Apply();
    const std::unique_ptr<TPolyline> Digitised = FSpline->Digitise();
    FPolyline.Assign(*Digitised);
}

void TTarvoCurve::Draw(IGraphics& G) {
    if (!IsValid()) Update();
    FConstraints->Draw(G);
    FPolyline.Draw(G);
}

void TTarvoCurve::DrawControlPolygon(IGraphics& G) {
    if (Count() == 0) return;
    G.LineStartPoint(*Point(0));
    for (int i = 1; i < Count(); ++i) G.LineNextPoint(*Point(i));
    G.LineFinish();
}

void TTarvoCurve::DrawDependents(IGraphics& G) {
    for (int i = 0; i < Dependents().Count(); ++i)
        if (auto* C = dynamic_cast<TTarvoCurve*>(Dependents().OwnerNode(i))) {
            C->Draw(G);
            C->DrawDependents(G);
        }
}

void TTarvoCurve::SaveToText(TTextWriter& F) {
    F.WriteLine("Name=" + Name);
    F.WriteLine("SurfaceOperation=" + SurfaceOperationText(FSurfaceOperation));
    FConstraints->SaveToText(F);
    FSpline->SaveToText(F);
}

void TTarvoCurve::LoadFromText(TTextReader& F) {
    std::string NewName = TarvoFieldText(F.ReadLine());
    const std::string Op = UpperCase(TarvoFieldText(F.ReadLine()));
    const TSurfaceOperation NewOperation = Op.find("TANGENT") != std::string::npos      ? soTangent
                                           : Op.find("PANELBREAK") != std::string::npos ? soPanelBreak
                                                                                        : soControl;
    auto NewConstraints = std::make_unique<TConstraints>(this);
    NewConstraints->LoadFromText(F);
    auto NewSpline = std::make_unique<TBSpline>(4);
    NewSpline->LoadFromText(F);
    // A range that runs past the points or that its class does not allow would leave the constraint
    // idle at every evaluation: the block is refused instead.
    for (int i = 0; i < NewConstraints->Count(); ++i)
        if (const auto* R = dynamic_cast<const TRangeConstraint*>(NewConstraints->Items(i)))
            if (R->FirstIndex() < 0 || R->LastIndex() >= NewSpline->Count() ||
                !R->AllowsRange(R->FirstIndex(), R->LastIndex()))
                throw EGeometryError(Format("TTarvoCurve.LoadFromText - \"%s\" does not fit a curve of %d points",
                                            {R->GetDescription(), NewSpline->Count()}));
    FConstraints = std::move(NewConstraints);
    FSpline = std::move(NewSpline);
    FSurfaceOperation = NewOperation;
    Name = std::move(NewName);
    Invalidate(false);
}

// ---- TTarvoCurves ----

void TTarvoCurves::Draw(IGraphics& G) {
    for (int i = 0; i < Count(); ++i)
        if (TTarvoCurve* C = Items(i)) C->Draw(G);
}

void TTarvoCurves::SortForLoft() {
    TMBox Box = EmptyBox;
    for (int i = 0; i < Count(); ++i) {
        TTarvoCurve* C = Items(i);
        if (C == nullptr || C->Count() == 0) continue;
        if (C->Last()->Z < C->First()->Z) C->Reverse();
        Box = UniteBoxes(Box, C->Extents());
    }
    // Half the extent in X, not the centre of the box: sections are told apart by where their
    // last point stands against it.
    const double H = (Box.Max.X - Box.Min.X) / 2;
    // Negative: A goes before B.
    const auto Compare = [H](TTarvoCurve* A, TTarvoCurve* B) -> int {
        if (A == B) return 0;
        const bool AEmpty = A->Count() == 0, BEmpty = B->Count() == 0;
        if (AEmpty || BEmpty) return AEmpty == BEmpty ? 0 : AEmpty ? 1 : -1;
        if (A->First()->X != B->First()->X) return A->First()->X < B->First()->X ? 1 : -1;
        if (A->Last()->X != B->Last()->X) return A->Last()->X < B->Last()->X ? 1 : -1;
        return Sign(B->Last()->Y - A->Last()->Y) == Sign(A->Last()->X - H) ? -1 : 1;
    };
    // A merge sort: it stays within the list whatever the comparison says about ties.
    std::stable_sort(FItems.begin(), FItems.end(), [&](TNode* A, TNode* B) {
        if (A == nullptr || B == nullptr) return A != nullptr;
        return Compare(static_cast<TTarvoCurve*>(A), static_cast<TTarvoCurve*>(B)) < 0;
    });
}

TTarvoCurvesContainer::~TTarvoCurvesContainer() { TTarvoCurvesContainer::Clear(); }

TTarvoCurve* TTarvoCurvesContainer::Add(std::unique_ptr<TTarvoCurve> Curve) {
    TTarvoCurve* C = Curve.get();
    if (C == nullptr || IndexOf(C) >= 0) return C;
    FItems.push_back(Curve.release());
    return C;
}

void TTarvoCurvesContainer::Clear() {
    std::vector<TNode*> Gone = std::move(FItems);
    FItems.clear();
    for (TNode* N : Gone) delete N;
}

// ---- TTarvoReferenceCurves ----

TNodeReference& TTarvoReferenceCurves::Reference(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError(Format("List index out of bounds (%d)", {Index}));
    return *FReferences[static_cast<std::size_t>(Index)];
}

TTarvoCurve* TTarvoReferenceCurves::Curve(int Index) const {
    return dynamic_cast<TTarvoCurve*>(Reference(Index).GetNode());
}

bool TTarvoReferenceCurves::CanAdd(const TNode* Node) const {
    return Node != nullptr && !IsDependentNode(FOwner, Node) && !FOwner->HasParent(Node);
}

void TTarvoReferenceCurves::Add(TNode* Node) {
    FReferences.push_back(std::make_unique<TNodeReference>(FOwner));
    FReferences.back()->SetNode(Node);
    FOwner->Invalidate(false);
}

void TTarvoReferenceCurves::AddByName(const std::string& Name) {
    FReferences.push_back(std::make_unique<TNodeReference>(FOwner));
    FReferences.back()->SetName(Name);
    FOwner->Invalidate(false);
}

void TTarvoReferenceCurves::AddBound(const std::string& Name) {
    FReferences.push_back(std::make_unique<TNodeReference>(FOwner));
    FReferences.back()->BindName(Name);
    FOwner->Invalidate(false);
}

void TTarvoReferenceCurves::Delete(int Index) {
    Reference(Index);  // checks the index
    std::unique_ptr<TNodeReference> Gone = std::move(FReferences[static_cast<std::size_t>(Index)]);
    FReferences.erase(FReferences.begin() + Index);
    Gone.reset();
    FOwner->Invalidate(false);
}

void TTarvoReferenceCurves::Remove(const TNode* Node) {
    for (int i = 0; i < Count(); ++i)
        if (Curve(i) == Node) {
            Delete(i);
            return;
        }
}

bool TTarvoReferenceCurves::Contains(const TNode* Node) const {
    for (int i = 0; i < Count(); ++i)
        if (Curve(i) == Node) return true;
    return false;
}

void TTarvoReferenceCurves::Clear() {
    std::vector<std::unique_ptr<TNodeReference>> Gone = std::move(FReferences);
    FReferences.clear();
    Gone.clear();
}

void TTarvoReferenceCurves::HandleMessage(TNodeMessage& Message) {
    if (dynamic_cast<TDeleteNodeMessage*>(&Message) == nullptr || Message.Node == nullptr) return;
    for (int i = Count() - 1; i >= 0; --i) {
        TNodeReference* R = FReferences[static_cast<std::size_t>(i)].get();
        if (R->AttachedNode() != Message.Node) continue;
        R->HandleMessage(Message);
        // The message may have travelled on; find the reference again before deleting it.
        const auto It = std::find_if(FReferences.begin(), FReferences.end(), [R](const auto& P) { return P.get() == R; });
        if (It != FReferences.end()) Delete(static_cast<int>(It - FReferences.begin()));
        return;
    }
}

}  // namespace sarnova
