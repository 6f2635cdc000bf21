#include "hulls/TarvoSurface.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/NumberText.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "hulls/TarvoFunctions.h"

namespace sarnova {

// ---- Panels ----

int TTarvoPanel::StartIndex() const {
    return StartCurve == nullptr ? -1 : Owner->Curves.IndexOf(StartCurve);
}

int TTarvoPanel::EndIndex() const {
    return EndCurve == nullptr ? -1 : Owner->Curves.IndexOf(EndCurve);
}

int TTarvoPanel::Count() const {
    return IsComplete() ? EndIndex() - StartIndex() + 1 : 0;
}

TTarvoCurve* TTarvoPanel::Curve(int K) const {
    return Owner->Curves.Items(StartIndex() + K);
}

TBSpline* TTarvoPanel::Spline(int K) const {
    TTarvoCurve* C = Curve(K);
    return C == nullptr ? nullptr : &C->Spline();
}

TTarvoPanel& TTarvoPanels::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError(Format("List index out of bounds (%d)", {Index}));
    return *FPanels[static_cast<std::size_t>(Index)];
}

TBSpline* TTarvoPanels::Spline(int K) const {
    TTarvoCurve* C = Curves.Items(K);
    return C == nullptr ? nullptr : &C->Spline();
}

TTarvoPanel& TTarvoPanels::AddPanel(TTarvoCurve* Start, TTarvoCurve* End) {
    FPanels.push_back(std::make_unique<TTarvoPanel>(this, Start, End));
    return *FPanels.back();
}

void TTarvoPanels::Build() {
    Clear();
    if (Curves.Count() < 2) return;
    Curves.SortForLoft();
    TTarvoCurve* Start = Curves.First();
    for (int i = 1; i < Curves.Count() - 1; ++i) {
        TTarvoCurve* C = Curves.Items(i);
        if (C->GetSurfaceOperation() == soPanelBreak) {
            AddPanel(Start, C);
            Start = C;
        }
    }
    AddPanel(Start, Curves.Last());
}

// ---- Tangent control curve ----

TSurfaceTangentControlCurve::TSurfaceTangentControlCurve()
    : FTangentCurve(std::make_unique<TNodeReference>(this)), FBaseCurve(std::make_unique<TNodeReference>(this)) {}

TSurfaceTangentControlCurve::~TSurfaceTangentControlCurve() {
    AnnounceDeletion();
    FTangentCurve.reset();
    FBaseCurve.reset();
}

TTarvoCurve* TSurfaceTangentControlCurve::TangentCurve() const {
    return dynamic_cast<TTarvoCurve*>(FTangentCurve->GetNode());
}

TTarvoCurve* TSurfaceTangentControlCurve::BaseCurve() const {
    return dynamic_cast<TTarvoCurve*>(FBaseCurve->GetNode());
}

void TSurfaceTangentControlCurve::SetTangentCurve(TNode* Node) {
    FTangentCurve->SetNode(Node);
    Invalidate(false);
}

void TSurfaceTangentControlCurve::SetBaseCurve(TNode* Node) {
    FBaseCurve->SetNode(Node);
    Invalidate(false);
}

void TSurfaceTangentControlCurve::Evaluate() {
    TTarvoCurve* T = TangentCurve();
    TTarvoCurve* B = BaseCurve();
    if (T != nullptr && B != nullptr) {
        Name = "Tangent to " + T->Name;
        Spline().Assign(T->Spline());
        const int N = std::min(T->Count(), B->Count());
        for (int i = 0; i < N; ++i) {
            const TRPoint& TP = *T->Point(i);
            const TRPoint& BP = *B->Point(i);
            TRPoint& P = *Point(i);
            P.X = 2 * TP.X - BP.X;
            P.Y = 2 * TP.Y - BP.Y;
            P.Z = 2 * TP.Z - BP.Z;
        }
    }
    TTarvoCurve::Evaluate();
}

// ---- Surface ----

TTarvoSurface::TTarvoSurface()
    : FReferenceCurves(std::make_unique<TTarvoReferenceCurves>(this)),
      FControlCurves(std::make_unique<TTarvoCurvesContainer>()),
      FPanels(std::make_unique<TTarvoPanels>()),
      FBlends(std::make_unique<TBSplineList>()),
      FSurface(std::make_unique<TBSplineSurface>(4, 4)) {}

TTarvoSurface::~TTarvoSurface() {
    AnnounceDeletion();
    FPanels->Curves.Clear();
    FControlCurves->Clear();
    FReferenceCurves->Clear();
}

int TTarvoSurface::MinPointCount() const {
    if (FReferenceCurves->Count() == 0) return 0;
    int Result = std::numeric_limits<int>::max();
    for (int i = 0; i < FReferenceCurves->Count(); ++i)
        if (const TTarvoCurve* C = FReferenceCurves->Curve(i)) Result = std::min(Result, C->Count());
    return Result;
}

TMBox TTarvoSurface::Extents() const {
    return FSurface->GetExtents();
}

void TTarvoSurface::ClearSurface() {
    FPanels->Clear();
    FBlends->Clear();
    FSurface->Clear();
    FSurface->SetSize(0, 0);
}

void TTarvoSurface::Rebuild() {
    // The control curves of the last generation are no longer in use.
    FPanels->Clear();
    FPanels->Curves.Clear();
    FControlCurves->Clear();
    BuildPanels();
    if (FPanels->Curves.Count() < 2) {
        ClearSurface();
        return;
    }
    CreateControlCurves();
    Loft();
    PostProcess();
}

void TTarvoSurface::BuildPanels() {
    FPanels->Curves.Clear();
    for (int i = 0; i < FReferenceCurves->Count(); ++i)
        if (TTarvoCurve* C = FReferenceCurves->Curve(i)) FPanels->Curves.Add(C);
    FPanels->Build();
}

void TTarvoSurface::CreateControlCurves() {
    for (int p = 0; p < FPanels->Count(); ++p) {
        TTarvoPanel& Panel = FPanels->Items(p);
        if (Panel.Count() < 2) continue;
        TTarvoCurve* Second = Panel.Curve(1);
        if (Second->GetSurfaceOperation() == soTangent && Panel.Count() != 3) MakeControlCurve(Panel, Second);
        TTarvoCurve* SecondToLast = Panel.Curve(Panel.Count() - 2);
        if (SecondToLast->GetSurfaceOperation() == soTangent) MakeControlCurve(Panel, SecondToLast);
    }
}

void TTarvoSurface::MakeControlCurve(TTarvoPanel& Panel, TTarvoCurve* T) {
    TTarvoCurve* S = Panel.StartCurve;
    TTarvoCurve* E = Panel.EndCurve;
    TTarvoCurves& Curves = FPanels->Curves;
    const int TI = Curves.IndexOf(T);
    TTarvoCurve* B = nullptr;
    if (Panel.Count() == 3 && IsDirectDependent(S, T) && IsDirectDependent(E, T)) {
        B = AverageDistanceBetweenPoints(*S, *T) < AverageDistanceBetweenPoints(*E, *T) ? S : E;
    } else if (IsDirectDependent(S, T) && TI == Curves.IndexOf(S) + 1) {
        B = S;
    } else if (IsDirectDependent(E, T) && TI == Curves.IndexOf(E) - 1) {
        B = E;
    }
    if (B == nullptr) return;
    auto Made = std::make_unique<TSurfaceTangentControlCurve>();
    Made->SetBaseCurve(B);
    Made->SetTangentCurve(T);
    TTarvoCurve* C = FControlCurves->Add(std::move(Made));
    C->Update();
    Curves.Insert(TI > Curves.IndexOf(B) ? TI + 1 : TI, C);
}

void TTarvoSurface::Loft() {
    const TTarvoCurves& Curves = FPanels->Curves;
    const int n = MinPointCount();
    const int m = Curves.Count();
    FSurface->Clear();
    FSurface->SetSize(m, n);
    FSurface->KnotType = ktOpen;
    FBlends->Clear();
    for (int j = 0; j < n; ++j) FSurface->SetPoint(0, j, *Curves.First()->Point(j));
    for (int p = 0; p < FPanels->Count(); ++p) {
        const TTarvoPanel& Panel = FPanels->Items(p);
        const int S = Panel.StartIndex();
        const int c = Panel.Count();
        if (c < 2) continue;
        const TTarvoCurve* Second = Panel.Curve(1);
        const TTarvoCurve* SecondToLast = Panel.Curve(c - 2);
        const int h = Second->GetSurfaceOperation() == soTangent && Second->HasParent(Panel.StartCurve) ? 1 : 0;
        const int d =
            SecondToLast->GetSurfaceOperation() == soTangent && SecondToLast->HasParent(Panel.EndCurve) ? c - 2 : c - 1;
        for (int j = 0; j < n; ++j) {
            if (h == 1) FSurface->SetPoint(S + 1, j, *Panel.Curve(1)->Point(j));
            const int f = d - h + 1;
            if (f >= 1) {
                // A row spline of order 3 through the row's points; fewer points lower the order.
                auto Row = std::make_unique<TBSpline>(std::clamp(f, 1, 3));
                for (int k = h; k <= d; ++k) Row->Add(std::make_unique<TRPoint>(*Panel.Curve(k)->Point(j)));
                Row->UpdateKnots();
                const std::unique_ptr<TPolyline> Digitised = Row->Digitise();
                for (int g = 1; g <= f - 2; ++g)
                    if (const std::unique_ptr<TRPoint> P = Digitised->PointAt(static_cast<double>(g) / (f - 1)))
                        FSurface->SetPoint(S + h + g, j, *P);
                FBlends->Add(std::move(Row));
            }
            for (int k = std::max(d, 0); k < c; ++k) FSurface->SetPoint(S + k, j, *Panel.Curve(k)->Point(j));
        }
    }
    FSurface->SetOrderU(std::min(FReferenceCurves->Count(), 4));
    FSurface->UpdateKnots();
}

void TTarvoSurface::Draw(IGraphics& G) {
    if (!IsValid()) Update();
    FSurface->Draw(G);
}

void TTarvoSurface::HandleMessage(TNodeMessage& Message) {
    TNode::HandleMessage(Message);
    FReferenceCurves->HandleMessage(Message);
}

void TTarvoSurface::SaveToText(TTextWriter& F) {
    F.WriteLine("Name=" + Name);
    F.WriteLine("NumCurves=" + IntToStr(FReferenceCurves->Count()));
    for (int i = 0; i < FReferenceCurves->Count(); ++i) F.WriteLine(FReferenceCurves->Reference(i).GetName());
}

void TTarvoSurface::LoadFromText(TTextReader& F) {
    std::string NewName = TarvoFieldText(F.ReadLine());
    const int N = TarvoFieldInteger(F.ReadLine());
    if (N < 0) throw EGeometryError(Format("Invalid curve count %d in Tarvo surface block", {N}));
    std::vector<std::string> Names;
    for (int i = 0; i < N; ++i) {
        if (F.Eof()) throw EGeometryError("Tarvo surface block ends before its curve names");
        Names.push_back(F.ReadLine());
    }
    Name = std::move(NewName);
    FReferenceCurves->Clear();
    for (const std::string& CurveName : Names) FReferenceCurves->AddByName(CurveName);
    Invalidate(true);
}

}  // namespace sarnova
