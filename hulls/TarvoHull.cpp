#include "hulls/TarvoHull.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "hulls/GraftSurface.h"
#include "hulls/HalfBreadthFit.h"
#include "hulls/TarvoFunctions.h"

namespace sarnova {

namespace {

void Say(const std::string& Text) {
    if (GConsole) GConsole->WriteLine(Text);
}

bool SameName(const std::string& A, const std::string& B) { return UpperCase(A) == UpperCase(B); }

// A parameter line keeps at most this much of its description.
constexpr std::size_t MaxDescription = 255;

}  // namespace

// ---- Parameters ----

void TFTParameter::SetValue(double V) {
    if (V == FValue) return;
    const double Old = FValue;
    FValue = V;
    if (Owner != nullptr) Owner->Changed(Name, V, Old);
}

TFTParameter& TFTParameters::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError(Format("List index out of bounds (%d)", {Index}));
    return *FItems[static_cast<std::size_t>(Index)];
}

int TFTParameters::IndexOf(const std::string& Name) const {
    for (int I = 0; I < Count(); ++I)
        if (SameName(FItems[static_cast<std::size_t>(I)]->Name, Name)) return I;
    return -1;
}

double TFTParameters::GetValue(const std::string& Name) {
    const int I = IndexOf(Name);
    return I >= 0 ? Items(I).GetValue() : Add(Name).GetValue();
}

void TFTParameters::SetValue(const std::string& Name, double V) {
    const int I = IndexOf(Name);
    (I >= 0 ? Items(I) : Add(Name)).SetValue(V);
}

void TFTParameters::SetValueAt(int Index, double V) { Items(Index).SetValue(V); }

void TFTParameters::Changed(const std::string& Name, double NewValue, double OldValue) {
    if (FHull != nullptr) FHull->ParameterChanged(Name, NewValue, OldValue);
}

TFTParameter& TFTParameters::Add(const std::string& Name) {
    return AddParameter(std::make_unique<TFTParameter>(Name));
}

TFTParameter& TFTParameters::AddParameter(std::unique_ptr<TFTParameter> P) {
    P->Owner = this;
    FItems.push_back(std::move(P));
    return *FItems.back();
}

void TFTParameters::Remove(const std::string& Name) {
    if (const int I = IndexOf(Name); I >= 0) Delete(I);
}

void TFTParameters::Delete(int Index) {
    Items(Index);
    FItems.erase(FItems.begin() + Index);
}

void TFTParameters::SaveToText(TTextWriter& F) const {
    F.WriteLine("NumParameters=" + IntToStr(Count()));
    for (const auto& P : FItems)
        F.WriteLine(FormatWithPoint("%s=%g;%s", {P->Name, P->GetValue(), P->Description}));
}

void TFTParameters::LoadFromText(TTextReader& F) {
    const std::string First = F.ReadLine();
    if (First.find("NumParameters=") == std::string::npos) return;
    const int N = TarvoFieldInteger(First);
    if (N < 0) throw EGeometryError(Format("Invalid parameter count %d in hull block", {N}));
    std::vector<std::unique_ptr<TFTParameter>> Read;
    for (int I = 0; I < N; ++I) {
        if (F.Eof()) throw EGeometryError("Hull block ends before its parameters");
        const std::string Line = F.ReadLine();
        const std::size_t Eq = Line.find('=');
        const std::size_t Semi = Line.find(';');
        auto P = std::make_unique<TFTParameter>(Trim(Line.substr(0, Eq)));
        if (Semi != std::string::npos) P->Description = Line.substr(Semi + 1, MaxDescription);
        // The value lies between the first "=" and the first ";": a line without either reads an
        // empty value, which is no number.
        const std::size_t From = Eq == std::string::npos ? Line.size() : Eq + 1;
        const std::size_t To = Semi == std::string::npos || Semi < From ? From : Semi;
        P->StoreValue(ParseFloat(Trim(Line.substr(From, To - From))));
        Read.push_back(std::move(P));
    }
    for (auto& P : Read) AddParameter(std::move(P));
}

// ---- Flat-tangent control curve ----

THullFlatTangentControlCurve::THullFlatTangentControlCurve()
    : FParentCurve(std::make_unique<TNodeReference>(this)),
      FBoundaryCurve(std::make_unique<TNodeReference>(this)),
      FEndCurve(std::make_unique<TNodeReference>(this)) {}

THullFlatTangentControlCurve::~THullFlatTangentControlCurve() {
    AnnounceDeletion();
    FParentCurve.reset();
    FBoundaryCurve.reset();
    FEndCurve.reset();
}

TTarvoCurve* THullFlatTangentControlCurve::ParentCurve() const {
    return dynamic_cast<TTarvoCurve*>(FParentCurve->GetNode());
}
TTarvoCurve* THullFlatTangentControlCurve::BoundaryCurve() const {
    return dynamic_cast<TTarvoCurve*>(FBoundaryCurve->GetNode());
}
TTarvoCurve* THullFlatTangentControlCurve::EndCurve() const {
    return dynamic_cast<TTarvoCurve*>(FEndCurve->GetNode());
}

void THullFlatTangentControlCurve::SetParentCurve(TNode* Node) {
    FParentCurve->SetNode(Node);
    Invalidate(false);
}
void THullFlatTangentControlCurve::SetBoundaryCurve(TNode* Node) {
    FBoundaryCurve->SetNode(Node);
    Invalidate(false);
}
void THullFlatTangentControlCurve::SetEndCurve(TNode* Node) {
    FEndCurve->SetNode(Node);
    Invalidate(false);
}

void THullFlatTangentControlCurve::SetPercent(double P) {
    FPercent = P;
    Invalidate(false);
}

void THullFlatTangentControlCurve::Evaluate() {
    TTarvoCurve* P = ParentCurve();
    TTarvoCurve* B = BoundaryCurve();
    TTarvoCurve* E = EndCurve();
    if (P != nullptr && B != nullptr && E != nullptr && P->Count() > 0 && B->Count() > 0) {
        Name = "FlatTangentControl for " + B->Name;
        const TMVector Direction = VectorNormalise(VectorFromTo(P->Last()->Vector(), B->Last()->Vector()));
        BuildFlatTangentCurve(Direction, *B, *E, *this, FPercent);
    }
    TTarvoCurve::Evaluate();
}

// ---- Volume control curve ----

THullVolumeControlCurve::THullVolumeControlCurve()
    : FCurveA(std::make_unique<TNodeReference>(this)), FCurveB(std::make_unique<TNodeReference>(this)) {}

THullVolumeControlCurve::~THullVolumeControlCurve() {
    AnnounceDeletion();
    FCurveA.reset();
    FCurveB.reset();
}

TTarvoCurve* THullVolumeControlCurve::CurveA() const { return dynamic_cast<TTarvoCurve*>(FCurveA->GetNode()); }
TTarvoCurve* THullVolumeControlCurve::CurveB() const { return dynamic_cast<TTarvoCurve*>(FCurveB->GetNode()); }

void THullVolumeControlCurve::SetCurveA(TNode* Node) {
    if (FCurveA->AttachedNode() == Node) return;
    FCurveA->SetNode(Node);
    Invalidate(false);
}

void THullVolumeControlCurve::SetCurveB(TNode* Node) {
    if (FCurveB->AttachedNode() == Node) return;
    FCurveB->SetNode(Node);
    Invalidate(false);
}

void THullVolumeControlCurve::SetFraction(double F) {
    if (F == FFraction) return;
    FFraction = F;
    Invalidate(false);
}

void THullVolumeControlCurve::Evaluate() {
    TTarvoCurve* A = CurveA();
    TTarvoCurve* B = CurveB();
    if (A != nullptr && B != nullptr) {
        Name = "VolumeControl";
        SetSurfaceOperation(soControl);
        BuildVolumeCurve(*B, *A, *this, FFraction);
    }
    TTarvoCurve::Evaluate();
}

// ---- The hull ----

TTarvoHull::TTarvoHull()
    : FParameters(std::make_unique<TFTParameters>(this)), FBulb(std::make_unique<TTarvoBulb>(&Surface())) {}

TTarvoHull::~TTarvoHull() {
    AnnounceDeletion();
    FBulb.reset();
    FParameters.reset();
}

void TTarvoHull::SetApplyBulb(bool B) {
    if (B == FApplyBulb) return;
    FApplyBulb = B;
    Invalidate(false);
}

bool TTarvoHull::IsStandardLayout() const {
    return Panels().Count() == 3;
}

TTarvoPanel* TTarvoHull::StandardPanel(int Index) const {
    if (!IsStandardLayout()) return nullptr;
    return &Panels().Items(Index);
}

TTarvoCurve* TTarvoHull::ForeBoundary() const {
    const TTarvoPanel* P = StandardPanel(1);
    return P != nullptr ? P->StartCurve : nullptr;
}

TTarvoCurve* TTarvoHull::AftBoundary() const {
    const TTarvoPanel* P = StandardPanel(1);
    return P != nullptr ? P->EndCurve : nullptr;
}

TTarvoCurve* TTarvoHull::MidshipCurve() const {
    const TTarvoPanel* P = StandardPanel(1);
    return P != nullptr && P->Count() == 3 ? P->Curve(1) : nullptr;
}

THullFlatTangentControlCurve* TTarvoHull::ForeFlatTangentControl() const {
    TTarvoCurve* B = ForeBoundary();
    if (B == nullptr) return nullptr;
    const TTarvoCurves& Curves = Panels().Curves;
    const int I = Curves.IndexOf(B);
    return I > 0 ? dynamic_cast<THullFlatTangentControlCurve*>(Curves.Items(I - 1)) : nullptr;
}

THullFlatTangentControlCurve* TTarvoHull::AftFlatTangentControl() const {
    TTarvoCurve* B = AftBoundary();
    if (B == nullptr) return nullptr;
    const TTarvoCurves& Curves = Panels().Curves;
    const int I = Curves.IndexOf(B);
    return I >= 0 && I + 1 < Curves.Count() ? dynamic_cast<THullFlatTangentControlCurve*>(Curves.Items(I + 1))
                                            : nullptr;
}

namespace {

THullVolumeControlCurve* FirstVolumeControl(const TTarvoPanel* P) {
    if (P == nullptr) return nullptr;
    for (int K = 0; K < P->Count(); ++K)
        if (auto* V = dynamic_cast<THullVolumeControlCurve*>(P->Curve(K))) return V;
    return nullptr;
}

}  // namespace

THullVolumeControlCurve* TTarvoHull::ForeVolumeControl() const { return FirstVolumeControl(StandardPanel(0)); }
THullVolumeControlCurve* TTarvoHull::AftVolumeControl() const { return FirstVolumeControl(StandardPanel(2)); }

TTarvoCurve* TTarvoHull::TangentDependentCurve(TTarvoCurve* C) const {
    if (C == nullptr || C->GetSurfaceOperation() != soTangent) return nullptr;
    const TTarvoCurves& Curves = Panels().Curves;
    const int I = Curves.IndexOf(C);
    if (I < 0) return nullptr;
    for (int N : {I - 1, I + 1})
        if (N >= 0 && N < Curves.Count() && IsDirectDependent(C, Curves.Items(N))) return Curves.Items(N);
    return nullptr;
}

std::vector<TTarvoCurve*> TTarvoHull::DefinitionCurves() const {
    std::vector<TTarvoCurve*> Result;
    const TTarvoReferenceCurves& R = ReferenceCurves();
    for (int I = 0; I < R.Count(); ++I)
        if (TTarvoCurve* C = R.Curve(I)) Result.push_back(C);
    return Result;
}

// ---- Generation ----

void TTarvoHull::ApplyPendingContinuity() {
    if (!FPendingContinuity) return;
    const std::vector<std::string> Lines = std::move(*FPendingContinuity);
    FPendingContinuity.reset();
    for (const std::string& Line : Lines) {
        const std::string CurveName = Trim(Line.substr(0, Line.find(',')));
        auto* C = dynamic_cast<TTarvoCurve*>(FindNode(CurveName));
        if (C == nullptr) continue;
        if (Line.find("ctFlat") != std::string::npos)
            C->SetSurfaceOperation(soPanelBreak);
        else if (Line.find("ctTangent") != std::string::npos)
            C->SetSurfaceOperation(soTangent);
    }
}

void TTarvoHull::Rebuild() {
    ApplyPendingContinuity();
    TTarvoSurface::Rebuild();
    UpdateParameters(true);
    // Only the first rebuild after reading restores; from now on the figures follow the geometry.
    FKeepStoredFigures = false;
}

void TTarvoHull::CreateControlCurves() {
    Say("Generating Curves");
    CreateFlatTangentControls();
    TTarvoSurface::CreateControlCurves();
    CreateVolumeControls();
    ApplyControlParameters();
}

void TTarvoHull::CreateFlatTangentControls() {
    TTarvoCurves& Curves = Panels().Curves;
    const auto OffsetParent = [&](TTarvoCurve* C) -> TTarvoCurve* {
        // Resolved first: an offset that names its curve by a name that came back (an undo of the
        // curve's deletion) attaches now, as it does when the file is read.
        if (TOffsetConstraint* Offset = C->Constraints().OffsetConstraint()) Offset->Reference();
        if (C->Parents().Count() != 1 || !C->Constraints().HasOffset()) return nullptr;
        return dynamic_cast<TTarvoCurve*>(C->Parents().TargetNode(0));
    };
    // The panels are looked up afresh: each control curve joins the list and shifts the indexes.
    for (int P = 0; P < Panels().Count(); ++P) {
        TTarvoCurve* First = Panels().Items(P).StartCurve;
        TTarvoCurve* Last = Panels().Items(P).EndCurve;
        if (TTarvoCurve* Parent = OffsetParent(First)) {
            const int PI = Curves.IndexOf(Parent);
            if (PI >= 0 && PI < Curves.IndexOf(First)) AddFlatTangentControl(First, Parent, Last);
        }
        if (TTarvoCurve* Parent = OffsetParent(Last))
            if (Curves.IndexOf(Parent) > Curves.IndexOf(Last)) AddFlatTangentControl(Last, Parent, First);
    }
}

void TTarvoHull::AddFlatTangentControl(TTarvoCurve* Boundary, TTarvoCurve* Parent, TTarvoCurve* End) {
    auto Made = std::make_unique<THullFlatTangentControlCurve>();
    Made->SetParentCurve(Parent);
    Made->SetBoundaryCurve(Boundary);
    Made->SetEndCurve(End);
    Made->SetPercent(20);
    TTarvoCurve* C = ControlCurves().Add(std::move(Made));
    C->Update();
    TTarvoCurves& Curves = Panels().Curves;
    const int BI = Curves.IndexOf(Boundary);
    Curves.Insert(BI >= Curves.IndexOf(Parent) ? BI + 1 : BI, C);
}

void TTarvoHull::CreateVolumeControls() {
    for (int P = 0; P < Panels().Count(); ++P) {
        const TTarvoPanel& Panel = Panels().Items(P);
        const int N = Panel.Count();
        if (N < 3) continue;
        bool Skip = false;
        for (int K = 1; K < N - 1 && !Skip; ++K) {
            const TTarvoCurve* C = Panel.Curve(K);
            Skip = C->GetSurfaceOperation() == soControl && C->Parents().Count() == 0;
        }
        if (Skip) continue;
        TTarvoCurve* First = Panel.StartCurve;
        TTarvoCurve* Last = Panel.EndCurve;
        const auto NearerLast = [&](const TTarvoCurve* C) {
            return AverageDistanceBetweenPoints(*C, *Last) <= AverageDistanceBetweenPoints(*First, *C);
        };
        const TTarvoCurves& Curves = Panels().Curves;
        if (N == 3) {
            TTarvoCurve* Middle = Panel.Curve(1);
            if (NearerLast(Middle))
                AddVolumeControl(Middle, First, Curves.IndexOf(First) + 1);
            else
                AddVolumeControl(Middle, Last, Curves.IndexOf(Middle) + 1);
            continue;
        }
        for (int K = 1; K < N - 1; ++K) {
            TTarvoCurve* I = Panel.Curve(K);
            TTarvoCurve* Next = Panel.Curve(K + 1);
            if (!NearerLast(I) && NearerLast(Next)) {
                AddVolumeControl(I, Next, Curves.IndexOf(Next));
                break;
            }
        }
    }
}

void TTarvoHull::AddVolumeControl(TTarvoCurve* First, TTarvoCurve* Second, int K) {
    TTarvoCurves& Curves = Panels().Curves;
    TTarvoCurve* Midship = MidshipCurve();
    const int M = Midship != nullptr ? Curves.IndexOf(Midship) : -1;
    auto Made = std::make_unique<THullVolumeControlCurve>();
    if (K >= M) {
        Made->SetCurveA(Second);
        Made->SetCurveB(First);
    } else {
        Made->SetCurveA(First);
        Made->SetCurveB(Second);
    }
    Made->SetFraction(0.5);
    Made->SetSurfaceOperation(soControl);
    TTarvoCurve* C = ControlCurves().Add(std::move(Made));
    C->Update();
    Curves.Insert(K, C);
}

void TTarvoHull::ApplyControlParameters() {
    TFTParameters& P = *FParameters;
    const auto Tangent = [&](THullFlatTangentControlCurve* C, const char* Name) {
        if (C != nullptr && P.Exists(Name)) {
            C->SetPercent(P.GetValue(Name));
            C->Update();
        }
    };
    const auto Volume = [&](THullVolumeControlCurve* C, const char* Name) {
        if (C != nullptr && P.Exists(Name)) {
            C->SetFraction(P.GetValue(Name) / 100);
            C->Update();
        }
    };
    Tangent(ForeFlatTangentControl(), "TangentF%");
    Tangent(AftFlatTangentControl(), "TangentA%");
    Volume(ForeVolumeControl(), "VolumeF%");
    Volume(AftVolumeControl(), "VolumeA%");
}

void TTarvoHull::PostProcess() {
    if (!FApplyBulb) return;
    if (!FParameters->Exists("Draught")) SetDefaultDraught();
    FBulb->SetHeight(FParameters->GetValue("Draught"));
    FBulb->Rebuild();
    if (!FBulb->IsLocated()) {
        Say("  Bulb not applied: the stem does not reach the bulb's height");
        return;
    }
    // The hull's rows are metres apart where the bulb sits: the graft gets rows six times as close
    // there, and then the half-breadths of the whole region are fitted to those of hull and bulb
    // together, so that the grafted hull carries their volume.
    TBSplineSurface& Bulb = FBulb->Surface();
    const TMBox B = Bulb.GetExtents();
    const std::unique_ptr<TBSplineSurface> Host = CloneBSplineSurface(Surface());
    RefineRowsForward(*Host, B.Min.X, B.Max.Z, 6);
    const std::unique_ptr<TBSplineSurface> Grafted = GraftSurface(*Host, Bulb);
    const double Reach = (B.Max.X - B.Min.X) + 2;
    THalfBreadthRaster Outline(B.Min.X - Reach, B.Max.X + 0.5, std::min(0.0, B.Min.Z) - 0.5, B.Max.Z + Reach, 0.05);
    Outline.Add(Surface(), 8);
    Outline.Add(Bulb, 8);
    FitHalfBreadths(*Grafted, Outline, 20);
    Surface().Assign(*Grafted);
}

void TTarvoHull::SetDefaultDraught() {
    const TMBox E = Extents();
    FParameters->SetValue("Draught", 0.4 * (E.Max.Z - E.Min.Z));
}

// ---- Hydrostatics ----

std::unique_ptr<TPolygonList> TTarvoHull::CreateUnderwaterMesh(int Density) {
    TBSplineSurface& S = Surface();
    if (S.NumU() < 2 || S.NumV() < 2) return std::make_unique<TPolygonList>();
    std::unique_ptr<TPolygonList> All = S.CreatePolygonsSized(Density * S.NumU(), Density * S.NumV());
    // The stern curve is the last row of the net; a transom is closed down to the centre plane.
    const std::unique_ptr<TBSplineSurface> Stern = S.FillEdgeToCenterline(2);
    if (Stern->GetExtents().Max.Y > 1e-4) {
        std::unique_ptr<TPolygonList> Transom = Stern->CreatePolygonsSized(Density * Stern->NumU(), Density * Stern->NumV());
        // The fill faces whichever way the stern curve runs; as part of the body it faces aft.
        double Facing = 0;
        for (int I = 0; I < Transom->Count(); ++I) Facing += PolygonNormal(Transom->Polygon(I)).X;
        if (Facing > 0) Transom->FlipNormals();
        All->TakeFrom(*Transom);
    }
    return ClipPolygonsByPlane(*All, 0, WaterplaneAtDraught(FParameters->GetValue("Draught")));
}

void TTarvoHull::CalculateHydrostatics() {
    const std::unique_ptr<TPolygonList> Mesh = CreateUnderwaterMesh();
    if (Mesh->Count() == 0) {
        ResetHydrostatics(FHydrostatics);
        return;
    }
    MeshHydrostatics(*Mesh, FHydrostatics);
    // The mesh method weighs with sea water; the hull's figures and its fit use the settings' water,
    // as the section method does.
    FHydrostatics.Displacement = DisplacementOfVolume(FHydrostatics.Volume);
}

// ---- Parameters from the geometry ----

void TTarvoHull::UpdateParameters(bool WithHydrostatics) {
    if (FUpdatingParameters || Panels().Curves.Count() < 2) return;
    FUpdatingParameters = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } Reset{FUpdatingParameters};
    TFTParameters& P = *FParameters;
    const TMBox E = Extents();
    TTarvoCurve* Stern = Panels().Curves.Last();
    if (!P.Exists("Draught")) SetDefaultDraught();
    if (WithHydrostatics) CalculateHydrostatics();
    const THydrostaticsData& H = FHydrostatics;
    // Right after reading, the figures the document holds stand: recomputing them from a net stored
    // to six decimals, or with another faceting, would change the document by merely opening it.
    const auto Set = [&](const char* Name, double Value) {
        if (!FKeepStoredFigures || !P.Exists(Name)) P.SetValue(Name, Value);
    };
    const auto Write = [&](const char* Name, bool Present, double Value) {
        if (Present)
            Set(Name, Value);
        else if (!FKeepStoredFigures)
            P.Remove(Name);
    };
    Set("LOA", E.Max.X - E.Min.X);
    Set("DWL", H.LWL);
    Set("LBP", H.MaxCorner.X);
    Set("BWL", H.BWL);
    Set("D", E.Max.Z - E.Min.Z);
    Set("DISP", H.Displacement);
    Set("CB", H.CB);
    Set("CP", H.CP);
    Set("LCB", H.LCB);
    if (!IsStandardLayout()) return;
    TTarvoCurve* Fore = ForeBoundary();
    TTarvoCurve* Aft = AftBoundary();
    // Sections without points have no deck or extent to measure.
    if (Fore->Count() == 0 || Aft->Count() == 0 || Stern->Count() == 0) return;
    const double PDF = Fore->Last()->X;
    Set("PDF", PDF);
    const bool HasPDA = std::fabs(Aft->Last()->Y - Stern->Last()->Y) >= 1e-4;
    Write("PDA", HasPDA, Aft->Last()->X);
    Set("PD", PDF - (HasPDA ? Aft : Stern)->Last()->X);
    const double PMBF = Fore->Extents().Min.X;
    const double PMBA = Aft->Extents().Max.X;
    Set("PMBF", PMBF);
    Set("PMBA", PMBA);
    Set("PMB", PMBF - PMBA);
    const THullFlatTangentControlCurve* TF = ForeFlatTangentControl();
    const THullFlatTangentControlCurve* TA = AftFlatTangentControl();
    const THullVolumeControlCurve* VF = ForeVolumeControl();
    const THullVolumeControlCurve* VA = AftVolumeControl();
    Write("TangentF%", TF != nullptr, TF != nullptr ? TF->Percent() : 0);
    Write("TangentA%", TA != nullptr, TA != nullptr ? TA->Percent() : 0);
    Write("VolumeF%", VF != nullptr, VF != nullptr ? VF->Fraction() * 100 : 0);
    Write("VolumeA%", VA != nullptr, VA != nullptr ? VA->Fraction() * 100 : 0);
}

// ---- The geometry from the parameters ----

void TTarvoHull::ParameterChanged(const std::string& Name, double NewValue, double OldValue) {
    if (!IsValid() || FUpdatingParameters) return;
    const std::string N = UpperCase(Name);
    double New = NewValue, Old = OldValue;
    if (N == "VOLUMEF%" || N == "VOLUMEA%") {
        New /= 100;
        Old /= 100;
    }
    const double Delta = New - Old;
    TFTParameters& P = *FParameters;
    if (N == "LBP") ChangeLBP(Delta, New, Old);
    else if (N == "BWL") ChangeBWL(New, Old);
    else if (N == "D") ChangeDepth(New, Old);
    else if (N == "PMBF") ChangePMBF(New, Old);
    else if (N == "PMBA") ChangePMBA(New, Old);
    else if (N == "PMB") ChangePMB(Delta);
    else if (N == "PDF") ChangePDF(New, Old);
    else if (N == "PDA") ChangePDA(New, Old);
    else if (N == "PD") ChangePD(New);
    else if (N == "DISP") FitHydrostatics(New, P.GetValue("LCB"));
    // The displacement a coefficient asks for in the density the fit works in.
    else if (N == "CP")
        P.SetValue("DISP", DisplacementOfVolume(P.GetValue("DWL") * New * FHydrostatics.MaxSectionArea));
    else if (N == "CB")
        P.SetValue("DISP", DisplacementOfVolume(P.GetValue("DWL") * New * P.GetValue("BWL") * P.GetValue("Draught")));
    else if (N == "LCB") FitHydrostatics(P.GetValue("DISP"), New);
    else if (N == "TANGENTF%" || N == "TANGENTA%") {
        if (THullFlatTangentControlCurve* C = N == "TANGENTF%" ? ForeFlatTangentControl() : AftFlatTangentControl()) {
            C->SetPercent(New);
            Invalidate(false);
        }
    } else if (N == "VOLUMEF%" || N == "VOLUMEA%") {
        // The fraction is the percentage over 100, already divided above.
        if (THullVolumeControlCurve* C = N == "VOLUMEF%" ? ForeVolumeControl() : AftVolumeControl()) {
            C->SetFraction(New);
            Invalidate(false);
        }
    }
}

void TTarvoHull::ShiftParallelBody(double X) {
    const TTarvoPanel& Fore = Panels().Items(0);
    const TTarvoPanel& Middle = Panels().Items(1);
    const double PMB = FParameters->GetValue("PMB");
    const double PMBA = FParameters->GetValue("PMBA");
    const TTarvoReferenceCurves& R = ReferenceCurves();
    for (int K = 0; K < Fore.Count(); ++K)
        if (TTarvoCurve* C = Fore.Curve(K); R.Contains(C)) ShiftCurveX(*C, X);
    for (int K = 1; K < Middle.Count() - 1; ++K)
        if (TTarvoCurve* C = Middle.Curve(K); R.Contains(C))
            ShiftCurveX(*C, PMB > 1e-4 ? X * (C->Last()->X - PMBA) / PMB : X / 2);
}

void TTarvoHull::ScaleLength(double S) {
    // A factor from a hull without length (no underwater body) would wreck every curve.
    if (!std::isfinite(S) || S <= 0) return;
    for (TTarvoCurve* C : DefinitionCurves()) ScaleCurveX(*C, S);
}

void TTarvoHull::ChangeLBP(double Delta, double New, double Old) {
    const double PMB = FParameters->GetValue("PMB");
    if (IsStandardLayout()) {
        if (PMB + Delta > 0) {
            ShiftParallelBody(Delta);
            return;
        }
        if (PMB > 0) ShiftParallelBody(-PMB);
    }
    ScaleLength(New / (Old - PMB));
}

void TTarvoHull::ChangeBWL(double New, double Old) {
    for (TTarvoCurve* C : DefinitionCurves()) {
        const TTarvoCurve* D = TangentDependentCurve(C);
        ChangeCurveBeam(*C, D != nullptr ? BilgeStartIndex(D->Spline()) : -1, Old, New);
    }
}

void TTarvoHull::ChangeDepth(double New, double Old) {
    for (TTarvoCurve* C : DefinitionCurves()) {
        const TTarvoCurve* D = TangentDependentCurve(C);
        ChangeCurveDepth(*C, D != nullptr ? BilgeEndIndex(D->Spline()) : -1, Old, New);
    }
}

void TTarvoHull::ChangePMBF(double New, double Old) {
    if (TTarvoCurve* B = ForeBoundary()) MoveParallelBodyFore(*B, Old, New);
}

void TTarvoHull::ChangePMBA(double New, double Old) {
    if (TTarvoCurve* B = AftBoundary()) MoveParallelBodyAft(*B, Old, New);
}

namespace {

// The shares by which the two ends of a run from A to F move apart about the station S.
void EndShares(double F, double A, double S, double& KF, double& KA) {
    if (std::fabs(F - A) > 1e-4) {
        KF = (F - S) / (F - A);
        KA = (A - S) / (F - A);
    } else {
        KF = 0.5;
        KA = -0.5;
    }
}

}  // namespace

void TTarvoHull::ChangePMB(double Delta) {
    if (!IsStandardLayout()) return;
    const double F = FParameters->GetValue("PMBF");
    const double A = FParameters->GetValue("PMBA");
    TTarvoCurve* Midship = MidshipCurve();
    const double S = Midship != nullptr ? Midship->Last()->X : (F + A) / 2;
    double KF = 0, KA = 0;
    EndShares(F, A, S, KF, KA);
    ChangePMBF(F + KF * Delta, F);
    ChangePMBA(A + KA * Delta, A);
}

void TTarvoHull::ChangePDF(double New, double Old) {
    if (TTarvoCurve* B = ForeBoundary()) MoveParallelDeckFore(*B, Old, New);
}

void TTarvoHull::ChangePDA(double New, double Old) {
    if (TTarvoCurve* B = AftBoundary()) MoveParallelDeckAft(*B, Old, New);
}

void TTarvoHull::ChangePD(double New) {
    if (!IsStandardLayout() || !FParameters->Exists("PDA")) return;
    const double F = FParameters->GetValue("PDF");
    const double A = FParameters->GetValue("PDA");
    const double dPD = New - (F - A);
    const TMBox E = Extents();
    double KF = 0, KA = 0;
    EndShares(F, A, (E.Min.X + E.Max.X) / 2, KF, KA);
    ChangePDF(F + KF * dPD, F);
    ChangePDA(A + KA * dPD, A);
}

// ---- The hull block ----

void TTarvoHull::SaveToText(TTextWriter& F) {
    F.WriteLine("Version=TarvoHull2S");
    TTarvoSurface::SaveToText(F);
    FParameters->SaveToText(F);
    if (FApplyBulb) {
        F.WriteLine("ApplyBulb=True");
        FBulb->SaveToText(F);
    } else {
        F.WriteLine("ApplyBulb=False");
    }
}

namespace {

// The bulb dimensions of Source given to Target, through their block.
void CopyBulb(const TTarvoBulb& Source, TTarvoBulb& Target) {
    TTextWriter W;
    Source.SaveToText(W);
    TTextReader R(W.Text());
    Target.LoadFromText(R);
}

}  // namespace

void TTarvoHull::LoadFromText(TTextReader& F) {
    const std::string First = F.ReadLine();
    if (First.find("TarvoHull2S") == std::string::npos) {
        LoadOldLayout(F, First);
        return;
    }
    // Everything is read into stand-ins first, so that a damaged block leaves the hull as it was.
    TTarvoSurface Read;
    Read.LoadFromText(F);
    TFTParameters ReadParameters;
    ReadParameters.LoadFromText(F);
    const bool Bulb = UpperCase(F.ReadLine()).find("TRUE") != std::string::npos;
    TTarvoBulb ReadBulb;
    if (Bulb) ReadBulb.LoadFromText(F);

    Invalidate(true);
    Name = Read.Name;
    ReferenceCurves().Clear();
    for (int I = 0; I < Read.ReferenceCurves().Count(); ++I)
        ReferenceCurves().AddByName(Read.ReferenceCurves().Reference(I).GetName());
    // The block replaces the parameters: read into a hull that has some (an undo), they are not doubled.
    FParameters->Clear();
    while (ReadParameters.Count() > 0) {
        TFTParameter& P = ReadParameters.Items(0);
        auto Moved = std::make_unique<TFTParameter>(P.Name);
        Moved->Description = P.Description;
        Moved->StoreValue(P.GetValue());
        FParameters->AddParameter(std::move(Moved));
        ReadParameters.Delete(0);
    }
    FApplyBulb = Bulb;
    if (Bulb) CopyBulb(ReadBulb, *FBulb);
    FPendingContinuity.reset();
    FKeepStoredFigures = true;
}

void TTarvoHull::LoadOldLayout(TTextReader& F, const std::string& FirstLine) {
    const double Fore = ParseFloat(Trim(TarvoFieldText(FirstLine)));
    const double Aft = ParseFloat(Trim(TarvoFieldText(F.ReadLine())));
    const int N = TarvoFieldInteger(F.ReadLine());
    if (N < 0) throw EGeometryError(Format("Invalid curve count %d in hull block", {N}));
    std::vector<std::string> Lines;
    double TangentF = 20, TangentA = 20;
    const auto PercentAfter = [](const std::string& Line, const char* Key, double& Value) {
        const std::size_t At = Line.find(Key);
        if (At == std::string::npos) return;
        const std::string Rest = Line.substr(At + std::string(Key).size());
        Value = ParseFloat(Trim(Rest.substr(0, Rest.find(','))));
    };
    for (int I = 0; I < N; ++I) {
        if (F.Eof()) throw EGeometryError("Hull block ends before its curve names");
        Lines.push_back(F.ReadLine());
        PercentAfter(Lines.back(), "ctFlat,Left,", TangentF);
        PercentAfter(Lines.back(), "ctFlat,Right,", TangentA);
    }
    F.ReadLine();  // a value the current layout no longer uses
    const bool Bulb = UpperCase(F.ReadLine()).find("TRUE") != std::string::npos;
    TTarvoBulb ReadBulb;
    if (Bulb) {
        ReadBulb.LoadFromText(F);
        // The old layout kept the bulb's net too; the bulb is built afresh from its dimensions.
        TMesh Net(0, 0);
        Net.LoadFromText(F);
    }

    Invalidate(true);
    ReferenceCurves().Clear();
    for (const std::string& Line : Lines) ReferenceCurves().AddByName(Trim(Line.substr(0, Line.find(','))));
    FPendingContinuity = std::move(Lines);
    FApplyBulb = Bulb;
    if (Bulb) CopyBulb(ReadBulb, *FBulb);
    FParameters->SetValue("TangentF%", TangentF);
    FParameters->SetValue("TangentA%", TangentA);
    FParameters->SetValue("VolumeF%", Fore * 100);
    FParameters->SetValue("VolumeA%", Aft * 100);
}

}  // namespace sarnova
