// The ship hull-lines generator: the generation curves, the columns and the control net.
#include <algorithm>
#include <cmath>
#include <string>

#include "foundation/BSplineInterpolate.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolylineOps.h"
#include "foundation/PolylineResample.h"
#include "hulls/Halvorn.h"
#include "hulls/SurfaceHydrostatics.h"

namespace sarnova {

namespace {

// A point a curve must have; a curve that misses it cannot make a hull.
std::unique_ptr<TRPoint> Need(std::unique_ptr<TRPoint> Point, const char* What) {
    if (!Point) throw EGeometryError(std::string("THalvorn.Generate - no point found on ") + What);
    return Point;
}

// X of the straight line through the two points of Line at height Z.
double XAtHeight(const TPolyline& Line, double Z) {
    const TRPoint* A = Line.Point(0);
    const TRPoint* B = Line.Point(1);
    if (B->Z == A->Z) return A->X;
    return A->X + (Z - A->Z) * (B->X - A->X) / (B->Z - A->Z);
}

TRPoint At(double X, double Y, double Z) {
    TRPoint Point;
    Point.SetXYZ(X, Y, Z);
    return Point;
}

void AddXYZ(TPolyline& Curve, const TRPoint& Point) { Curve.AddPoint(Point.X, Point.Y, Point.Z); }

}  // namespace

// The column next to the stem follows the stem at the stem radius, widening above the waterline.
void THalvorn::BuildStemColumns() {
    TPolyline& S = Column(FColumnCount - 1);
    S.Clear();
    S.AddCopies(*FStem);
    TPolyline& Next = Column(FColumnCount - 2);
    const double D = P.Depth, T = P.Draught, SR = P.StemRadius;
    const double k = (P.BowRadiusAtDeck / 2) / ((D - T) * (D - T));
    Next.Clear();
    Next.AddPointCopy(S.Point(0));
    for (int i = 1; i <= 11; ++i) {
        const TRPoint* Si = S.Point(i);
        const double Y = i <= 6 ? SR : SR + k * (Si->Z - T) * (Si->Z - T);
        Next.AddPoint(Si->X, Y, Si->Z);
    }
    if (P.BowShape != 1) {
        TPolyline& Foot = Column(FColumnCount - 3);
        Foot.Clear();
        Foot.AddPoint(S.Point(2)->X, 0, 0);
        Foot.AddPoint(S.Point(2)->X, SR, 0);
    }
}

void THalvorn::BuildBowFullness() {
    const double L = P.Lbp, B = P.Beam, D = P.Depth, T = P.Draught, R = P.BilgeRadius, BRD = P.BowRadiusAtDeck,
                 PF = P.ParallelDeckF, XS = StemHeadX();
    const double e = (L - P.StemRadius - 3 * P.BulbLength - FMidshipStation) / 5;
    const double X0 = (XS + PF + e) / 2, Y0 = (B + BRD) / 3;
    const double q = -((BRD + B) / 2) / (e + PF - XS);
    auto XOf = [&](double Y) { return X0 + q * (Y - Y0); };
    // Where the fullness plane meets the plan line of the flat's forward edge.
    const TRPoint* P6 = FBowFlatTangenet->Point(6);
    const TRPoint* P8 = FBowFlatTangenet->Point(8);
    const double dx = P8->X - P6->X, dy = P8->Y - P6->Y;
    const double Yc = (-(X0 - q * Y0 - P6->X) * dy - P6->Y * dx) / (q * dy - dx);
    FBowFullnessBreadth = P.BowShape == 1 ? Yc : Yc * 4 / 3;
    const double W = FBowFullnessBreadth, K = Y0 - 0.3 * BRD;
    TBSpline& C = *FBowFullness;
    C.Clear();
    C.AddPoint(X0, Y0, D + 0.1);
    for (int i = 0; i < 3; ++i) C.AddPoint(X0, Y0, D);
    C.AddPoint(XOf(K), K, D - 2 * (D - T) / 3);
    C.AddPoint(XOf(W + R), W + R, R);
    C.AddPoint(XOf(W), W, 0);
    C.AddPoint(XOf(W), W, 0);
    C.AddPoint(XOf(0), 0, 0);

    FIXParamF.Clear();
    FIXParamF.AddPoint(PF + (XS - PF) / 3, B / 2, D + 0.1);
    FIXParamF.AddPoint(FBowFlatStation + (XS - PF) / 3, B / 2, -0.1);
}

void THalvorn::BuildBowBlenders() {
    const TPolyline& Next = Column(FColumnCount - 2);
    const bool Bulb = P.BowShape == 1;
    const double W = FBowFullnessBreadth;
    FBowBlenders.clear();
    for (int k = 1; k <= 11; ++k) {
        const TRPoint* Mk = FMidSection->Point(k);
        auto C = std::make_unique<TBSpline>(k <= 2 ? 3 : 5);
        if (k <= 2) {
            if (Bulb) {
                C->AddPointCopy(Next.Point(k - 1));
                if (k == 1)
                    C->AddRPoint(Need(FBowFullness->PointAtY(W / 2), "BowFullness"));
                else
                    C->AddPointCopy(FBowFullness->Point(6));
            } else {
                C->AddPointCopy(Next.Point(k));
            }
            C->AddPoint(XAtHeight(FIXParamF, Mk->Z), Mk->Y, Mk->Z);
            C->AddPoint(FBowFlatStation, Mk->Y, Mk->Z);
        } else {
            auto Q = Need(k <= 4 ? FBowFlatTangenet->PointAtY(Mk->Y) : FBowFlatTangenet->PointAtZ(Mk->Z),
                          "BowFlatTangenet");
            Q->Y = Mk->Y;
            Q->Z = Mk->Z;
            const TRPoint* First = Next.Point(k <= 4 ? k - 1 : k);
            C->AddPointCopy(First);
            C->AddPoint(First->X, 2 * First->Y, First->Z);
            const TRPoint Fourth = At(XAtHeight(FIXParamF, Q->Z), Q->Y, Q->Z);
            auto Full = Need(FBowFullness->PointAtZ((C->Point(1)->Z + Fourth.Z) / 2), "BowFullness");
            if (k == 3) Full->Z = 0;
            C->AddPointCopy(Full.get());
            C->AddPointCopy(&Fourth);
            C->AddPointCopy(Q.get());
            if (Bulb && k == 3) {
                C->InsertPoint(2, Full->X, Full->Y, Full->Z);
                C->SetPoint(0, *Next.Point(3));
                C->SetPoint(1, *Next.Point(3));
            }
        }
        C->SetForcedBezier(true);
        FBowBlenders.push_back(std::move(C));
    }
}

void THalvorn::FillForwardColumns() {
    for (int c = FFirstBowColumn + 1; c <= FColumnCount - 1; ++c) {
        TPolyline& Col = Column(c);
        const double s = Col.GetStation();
        for (int i = Col.Count(); i <= 11; ++i) {
            if (i == 0) {
                Col.SetPoint(0, At(s, 0, 0));
                continue;
            }
            TBSpline& Bi = *FBowBlenders[static_cast<std::size_t>(i - 1)];
            const TRPoint* First = Bi.First();
            const TRPoint* Last = Bi.Last();
            if (s >= FMidshipStation && s < Last->X) {
                TRPoint M = *FMidSection->Point(i);
                M.X = s;
                Col.SetPoint(i, M);
            } else if (std::unique_ptr<TRPoint> On;
                       s >= std::min(First->X, Last->X) && s <= std::max(First->X, Last->X) && (On = Bi.PointAtX(s))) {
                Col.SetPoint(i, *On);
            } else {
                // Outside the blender's reach the nearest end of it stands in, not the origin.
                Col.SetPoint(i, std::fabs(s - First->X) < std::fabs(s - Last->X) ? *First : *Last);
            }
        }
    }
}

void THalvorn::BuildBulb() {
    const double SR = P.StemRadius, BR = P.BulbRadius;
    TPolyline& S = Column(FColumnCount - 1);
    TPolyline& Pc = Column(FColumnCount - 2);
    TPolyline& Q = Column(FColumnCount - 3);
    TPolyline& R4 = Column(FColumnCount - 4);
    Pc.SetPoint(0, *S.Point(0));
    for (int i : {1, 4, 5, 6}) Pc.SetPoint(i, At(S.Point(i)->X, SR, S.Point(i)->Z));
    for (int i : {2, 3}) Pc.SetPoint(i, At(S.Point(i)->X, BR / 2, S.Point(i)->Z));

    const double x1 = Pc.Point(1)->X - SR;
    Q.SetPoint(0, *Pc.Point(0));
    Q.SetPoint(1, *Pc.Point(1));
    Q.Point(1)->X = x1;
    for (int i : {2, 3}) Q.SetPoint(i, At(x1, BR, Pc.Point(i)->Z));
    for (int i : {4, 5, 6}) Q.SetPoint(i, At(x1, SR, Pc.Point(i)->Z));

    const double x2 = Q.Point(1)->X - 3 * P.BulbLength;
    for (int i : {0, 1}) {
        R4.SetPoint(i, *Q.Point(i));
        R4.Point(i)->X = x2;
    }
    for (int i : {2, 3}) R4.SetPoint(i, At(x2, BR, Q.Point(i)->Z));

    TBSpline H(3);
    const TRPoint P3 = *R4.Point(3);
    AddXYZ(H, P3);
    H.AddPoint(P3.X, P3.Y, P3.Z + (P3.Z - R4.Point(2)->Z));
    AddXYZ(H, *R4.Point(11));
    for (int i = 7; i <= 10; ++i) R4.SetPoint(i, *Need(H.PointAtZ(R4.Point(i)->Z), "the bulb's upper curve"));
    const double z3 = P3.Z, z7 = R4.Point(7)->Z;
    for (int k = 1; k <= 3; ++k)
        R4.SetPoint(3 + k, *Need(H.PointAtZ(z3 + (z7 - z3) * k / 4), "the bulb's upper curve"));
}

void THalvorn::BuildProjection() {
    const double PA = P.ParallelDeckA, AP = P.TransomBehindAP, B = P.Beam, TB = P.TransomBeam, D = P.Depth,
                 SBR = P.StBossStart + P.StBossToRoot;
    const double x1 = PA - (PA + AP) / 3, y1 = B / 2;
    const double x2 = (PA - (PA + AP) / 3 - AP) / 2, y2 = (2 * B / 3 + TB / 3) / 2;
    const double c = y2 == y1 ? x1 : x1 - y1 * (x2 - x1) / (y2 - y1);
    const TRPoint* S2 = FStern->Point(2);
    const double f = S2->X == c ? S2->Z : D + (SBR - c) * (S2->Z - D) / (S2->X - c);
    FProjection->Clear();
    FProjection->AddPoint(c, 0, D);
    for (int i = 0; i < 3; ++i) FProjection->AddPoint(SBR, 0, f);
    FProjection->AddPoint(0.012 * P.Lbp + P.StFlatOfBottomStart, 0, 0);

    FFullStern->Clear();
    for (int i = FStern->Count() - 1; i >= 0; --i) FFullStern->AddPointCopy(FStern->Point(i));
    for (int i = 0; i < 3; ++i) FFullStern->AddPointCopy(FStern->Point(0));
    FFullStern->AddCopies(*FTransom);
}

void THalvorn::BuildAftBlenders() {
    const double PA = P.ParallelDeckA, AP = P.TransomBehindAP, D = P.Depth;
    FIXParamL.Clear();
    FIXParamL.AddPoint(PA - (PA + AP) / 3, 0, D + 0.1);
    FIXParamL.AddPoint(FAftFlatStation - 0.6 * (PA - AP) / 3, 0, -0.1);

    FAftBlenders.clear();
    for (int k = 3; k <= 11; ++k) {
        const TRPoint* Mk = FMidSection->Point(k);
        auto F = Need(FAftFlatTangent->PointAtZ(Mk->Z), "AftFlatTangent");
        F->Y = 0;
        auto C = std::make_unique<TBSpline>();
        C->AddPoint(FMidshipStation, 0, Mk->Z);
        for (int i = 0; i < 3; ++i) C->AddPointCopy(F.get());
        C->AddPoint(XAtHeight(FIXParamL, F->Z), 0, F->Z);
        const TRPoint* End = k == 3   ? nullptr
                             : k == 4 ? FStern->Point(6)
                             : k == 5 ? FStern->Point(3)
                             : k == 6 ? FStern->Point(2)
                                      : FTransom->Point(k);
        if (End)
            C->AddPoint(End->X, 0, End->Z);
        else
            C->AddPoint(FStern->Point(4)->X, 0, 0);
        FAftBlenders.push_back(std::move(C));
    }

    FVerts.clear();
    for (int j = 4; j <= 8; ++j) {
        const double s = Column(j).GetStation();
        auto E = Need(FAftBlenders[j <= 7 ? 4 : 3]->PointAtX(s), "AftBlenders");
        E->Y = 0;
        TBSpline V(3);
        AddXYZ(V, *E);
        AddXYZ(V, *E);
        if (j <= 7) {
            const TRPoint* Third = FStern->Point(j - 1);
            V.Point(1)->Z = Third->Z;
            AddXYZ(V, *Third);
        } else {
            V.Point(1)->Z = 0;
            V.AddPoint((Column(4).GetStation() + Column(8).GetStation()) / 2, 0, 0);
        }
        std::unique_ptr<TPolyline> Digitised = V.Digitise();
        Digitised->InsertPoint(0, s, 0, D + 0.01);
        FVerts.push_back(std::move(Digitised));
    }
}

double THalvorn::RowBreadth(const TRPoint& Point) {
    const double Z = Point.Z;
    auto C = std::make_unique<TBSpline>();
    C->AddRPoint(Need(FMidSection->PointAtZ(Z), "MidSection"));
    auto F = Need(FAftFlatTangent->PointAtZ(Z), "AftFlatTangent");
    C->AddPointCopy(F.get());
    C->AddPointCopy(F.get());
    TRPoint A = *F;
    A.X = XAtHeight(FIXParamL, Z);
    C->AddPointCopy(&A);
    auto Pr = Need(FProjection->PointAtZ(Z), "Projection");
    auto Fs = Need(FFullStern->PointAtZ(Z), "FullStern");
    const double Xm = (A.X + Fs->X) / 2;
    const double t = Pr->X == A.X ? 0 : (Xm - A.X) / (Pr->X - A.X);
    C->AddPoint(Xm, A.Y + t * (Pr->Y - A.Y), A.Z + t * (Pr->Z - A.Z));
    C->AddPointCopy(Fs.get());
    TBSpline* Curve = C.get();
    FBls.push_back(std::move(C));
    // A failure here costs one point of the net, not the hull: it is logged and the generation goes on.
    try {
        if (auto On = Curve->PointAtX(Point.X)) return On->Y;
    } catch (const std::exception&) {
        if (GConsole) GConsole->WriteLine(FloatToStr(Point.X));
        return Curve->Point(4)->Y;
    }
    if (GConsole)
        GConsole->WriteLine("Error: " + FloatToStr(Point.X) + " " + FloatToStr(Point.Y) + " " + FloatToStr(Point.Z));
    return Point.Y;
}

void THalvorn::BuildAfterColumns() {
    const double SRad = P.StBossRadius;
    for (int c = 0; c < FFirstBowColumn; ++c) Column(c).Clear();

    TPolyline SternFoot;
    for (int i = 0; i < 3; ++i) SternFoot.AddPointCopy(FStern->Point(i));
    for (int c = 0; c <= 3; ++c) {
        TPolyline& Col = Column(c);
        const double s = Col.GetStation();
        auto Foot = Need(SternFoot.PointAtX(s), "Stern");
        for (int i = 0; i < 7; ++i) Col.AddPointCopy(Foot.get());
        for (int b = 4; b <= 8; ++b) {
            auto Point = Need(FAftBlenders[static_cast<std::size_t>(b)]->PointAtX(s), "AftBlenders");
            Point->Y = RowBreadth(*Point);
            Col.AddRPoint(std::move(Point));
        }
    }

    struct TBossColumn {
        int SternPoint, Cut, FirstCrossing, Resample;
    };
    const TBossColumn Boss[] = {{3, 3, 3, 6}, {4, 3, 3, 5}, {5, 2, 2, 4}, {6, 2, 2, 4}, {7, -1, 2, 0}};
    const double Diagonal = SRad / (2 * std::sqrt(2.0));
    for (int r = 4; r <= 8; ++r) {
        const TBossColumn& B = Boss[r - 4];
        TPolyline& Col = Column(r);
        TRPoint Point = *FStern->Point(B.SternPoint);
        Col.AddPointCopy(&Point);
        switch (r) {
            case 4:
                Point.Y = SRad / 4;
                Col.AddPointCopy(&Point);
                break;
            case 5:
            case 6:
                Point.Y = SRad;
                Col.AddPointCopy(&Point);
                Point.X += SRad;
                Col.AddPointCopy(&Point);
                break;
            case 7:
                Point.Y = SRad / 2;
                Col.AddPointCopy(&Point);
                Point.X += Diagonal;
                Point.Z += Diagonal;
                Col.AddPointCopy(&Point);
                break;
            default:
                Point.Y = SRad / 4;
                for (int i = 0; i < 4; ++i) Col.AddPointCopy(&Point);
                break;
        }
        TPolyline& Vert = *FVerts[static_cast<std::size_t>(r - 4)];
        if (B.Cut >= 0) {
            auto Cut = CurveCurveIntersections(Vert, *FAftBlenders[static_cast<std::size_t>(B.Cut)], 2);
            if (Cut->Count() != 1) throw EGeometryError(std::to_string(Cut->Count()) + " intersection(s) found");
            auto Lower = Vert.ClipAtHeight(-1, false, Cut->Point(0)->Z);
            if (!Lower) throw EGeometryError("THalvorn.Generate - nothing below the cut of column " + std::to_string(r));
            Lower->SortPoints(0);
            ResampleKeepingKnuckles(B.Resample, *Lower);
            for (int i = 1; i + 1 < Lower->Count(); ++i) Col.AddPointCopy(Lower->Point(i));
        }
        for (int b = B.FirstCrossing; b <= 8; ++b) {
            TBSpline& Blender = *FAftBlenders[static_cast<std::size_t>(b)];
            auto Crossing = CurveCurveIntersections(Blender, Vert, 2);
            if (Crossing->Count() != 1) {
                const std::filesystem::path Temp = GTempDir.empty() ? std::filesystem::temp_directory_path()
                                                                    : std::filesystem::path(GTempDir);
                Blender.SaveToFile(Temp / "LiError1.geo");
                Vert.SaveToFile(Temp / "LiError2.geo");
                throw EGeometryError("Error in intersections");
            }
            Col.AddPointCopy(Crossing->Point(0));
        }
    }

    for (int c = 9; c <= FFirstBowColumn; ++c) {
        TPolyline& Col = Column(c);
        const double s = Col.GetStation();
        Col.Clear();
        for (int i = 0; i < FMidSection->Count(); ++i) {
            const TRPoint* M = FMidSection->Point(i);
            Col.AddPoint(s, M->Y, M->Z);
        }
    }
}

void THalvorn::FillMesh() {
    Clear();
    SetSize(FColumnCount, 12);
    for (int i = 0; i < FColumnCount; ++i)
        for (int j = 0; j < 12; ++j) SetPoint(i, j, *Column(i).Point(j));
    auto Widen = [this](int FirstColumn, int LastColumn, int FirstRow, int LastRow) {
        for (int i = FirstColumn; i <= LastColumn; ++i)
            for (int j = FirstRow; j <= LastRow; ++j) Point(i, j).Y = RowBreadth(Point(i, j));
    };
    Widen(4, 8, 7, 11);
    Widen(4, 8, 7, 11);
    Widen(4, 8, 5, 6);
    Widen(4, 7, 3, 4);
    Widen(4, 4, 2, 2);
    for (int j : {4, 3}) {
        TRPoint& Q = Point(8, j);
        Q.X = (Point(7, j).X + Point(9, j).X) / 2;
        TPolyline Row;
        for (int i : {6, 7, 9, 10}) Row.AddPointCopy(&Point(i, j));
        auto Through = InterpolateBSpline(4, Row);
        if (auto On = Through ? Through->PointAtX(Q.X) : nullptr) Q.Y = On->Y;
    }
}

void THalvorn::Generate() {
    TBSplineSurface Net;
    Net.Assign(*this);
    std::string Reason;
    try {
        Build();
        CheckBuilt();
        FBuilt = TBuilt{P, FSternKnuckleHeight};
        GenerationFinished();
        ProgressText("\u00AB\u00AB Hull Complete \u00BB\u00BB");
        return;
    } catch (const std::exception& E) {
        Reason = E.what();
    }
    const int Index = FLastChanged;
    std::string Text = "Unable to build the hull with these parameters";
    if (Index >= 0) {
        const std::string Name = ParameterName(Index);
        Text = "Unable to build the hull with " + Name + "=" + MessageNumber(Parameter(Index));
        if (const std::optional<double> Nearest = NearestBuildable(Index, Parameter(Index)))
            Text += "; the nearest " + Name + " that builds is " + MessageNumber(*Nearest);
    }
    // The last hull built comes back, parameters and net.
    if (FBuilt) {
        P = FBuilt->P;
        FSternKnuckleHeight = FBuilt->SternKnuckleHeight;
        FMidshipStation = P.Lbp / 2;
        FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
        UpdateCurves();
    }
    TBSplineSurface::Assign(Net);
    throw EGeometryError(Text + " (" + Reason + ")");
}

void THalvorn::CheckBuilt() {
    const double Half = P.Beam / 2;
    TMBox E = FineFacets(*this)->Extents();
    // Rows lofted through the stations overshoot a little near the ends; much more is a broken hull.
    constexpr double Stray = 0.02;
    if (E.Min.Y < -Stray * Half)
        throw EGeometryError("the hull would cross the centre plane by " + MessageNumber(-E.Min.Y));
    if (E.Max.Y > (1 + Stray) * Half)
        throw EGeometryError("the hull's beam would be " + MessageNumber(2 * E.Max.Y));
    // A net within the centre plane and the half-breadth keeps the skin within them.
    for (int K = 0; K < PointCount(); ++K) {
        TRPoint& Q = PointByIndex(K);
        Q.Y = std::clamp(double(Q.Y), 0.0, Half);
    }
    const std::unique_ptr<TPolygonList> Facets = FineFacets(*this);
    E = Facets->Extents();
    // The length runs from the transom to the stem head; a bulb may reach further forward below the
    // waterline.
    double Forward = E.Min.X;
    for (int I = 0; I < Facets->Count(); ++I) {
        const TFacetRef F = Facets->Polygon(I);
        for (int J = 0; J < F.CornerCount(); ++J)
            if (F.StoredCorner(J).Z >= P.Draught) Forward = std::max(Forward, double(F.StoredCorner(J).X));
    }
    if (E.Min.Z < -0.005 * P.Depth)
        throw EGeometryError("the hull would reach " + MessageNumber(-E.Min.Z) + " below the base line");
    struct TCheck {
        const char* Name;
        double Built, Asked;
    };
    const TCheck Checks[] = {{"beam", 2 * E.Max.Y, P.Beam},
                             {"depth", E.Max.Z, P.Depth},
                             {"length", Forward - E.Min.X, P.Lbp + P.ForeOverHang + P.TransomBehindAP}};
    for (const TCheck& C : Checks)
        if (!(std::fabs(C.Built - C.Asked) <= 0.005 * C.Asked))
            throw EGeometryError(std::string("the hull's ") + C.Name + " would be " + MessageNumber(C.Built));
}

std::optional<double> THalvorn::NearestBuildable(int Index, double Value) const {
    // The parameters as they are with the row set to V, generated and checked.
    const auto Builds = [&](double V) {
        try {
            THalvorn Trial;
            Trial.Assign(*this);
            Trial.SetParameter(Index, V);
            Trial.Build();
            Trial.CheckBuilt();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    double Good = FLastChangedFrom, Bad = Value;
    if (Good == Bad || !Builds(Good)) return std::nullopt;
    constexpr int Halvings = 12;
    for (int I = 0; I < Halvings; ++I) {
        const double Middle = (Good + Bad) / 2;
        (Builds(Middle) ? Good : Bad) = Middle;
    }
    return Good;
}

void THalvorn::Build() {
    FBls.clear();
    ProgressText("Creating Curves");
    Progress(0);
    ClampFlatOfSide();
    BuildColumnStations();
    Progress(10);
    BuildMidSection();
    Progress(15);
    BuildStem();
    Progress(17);
    BuildStemColumns();
    Progress(19);
    BuildBowFlatTangent();
    Progress(21);
    Progress(23);
    BuildBowFullness();
    Progress(25);
    BuildBowBlenders();
    Progress(27);
    FillForwardColumns();
    if (P.BowShape == 1) BuildBulb();
    Progress(33);
    BuildStern();
    Progress(38);
    Progress(45);
    BuildTransom();
    Progress(50);
    BuildProjection();
    Progress(55);
    BuildAftFlatTangent();
    Progress(60);
    BuildAftBlenders();
    BuildDeck();
    Progress(66);
    ProgressText("Creating Columns");
    BuildAfterColumns();
    Progress(80);
    ProgressText("Creating Mesh");
    FillMesh();
    Progress(100);
}

}  // namespace sarnova
