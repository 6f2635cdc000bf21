#include "foundation/VkMathsSolvers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "foundation/Errors.h"

namespace sarnova {
namespace {

template <typename F>
std::string MessageOf(F&& Call) {
    try {
        Call();
    } catch (const EError& E) {
        return E.what();
    }
    return "(no exception)";
}

std::vector<double> Values(TArray& A) {
    std::vector<double> Result;
    for (int i = 0; i < A.Count(); ++i) Result.push_back(A.GetValue(i));
    return Result;
}

// Catches the lines the solvers write to the program-wide console.
class ConsoleLines : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(GConsole, nullptr);
        Saved = GConsole->OnLine;
        GConsole->OnLine = [this](const std::string& Line) { Lines.push_back(Line); };
    }
    void TearDown() override { GConsole->OnLine = Saved; }

    std::vector<std::string> Lines;
    decltype(GConsole->OnLine) Saved;
};

using Solve3DEquations = ConsoleLines;

TEST_F(Solve3DEquations, LinearSolvesFromTheFirstUsablePair) {
    double S = 0, T = 0;
    EXPECT_FALSE(Solve3DLinearEquation({1, 0, 0}, {0, 1, 0}, {2, 3, 0}, S, T, false));
    EXPECT_DOUBLE_EQ(S, 2);
    EXPECT_DOUBLE_EQ(T, 3);
    // The XY pair is singular here, so the XZ pair answers.
    EXPECT_FALSE(Solve3DLinearEquation({1, 0, 1}, {0, 0, 2}, {3, 0, 7}, S, T, true));
    EXPECT_DOUBLE_EQ(S, 3);
    EXPECT_DOUBLE_EQ(T, 2);
    EXPECT_TRUE(Lines.empty());
}

TEST_F(Solve3DEquations, LinearFailureReportsOrRaises) {
    // C along Z makes the XY pair unusable; XZ and YZ are singular.
    double S = 7, T = 8;
    EXPECT_TRUE(Solve3DLinearEquation({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, S, T, false));
    EXPECT_EQ(S, 7);
    EXPECT_EQ(T, 8);
    EXPECT_EQ(Lines, std::vector<std::string>{"Solve3DLinearEquation failed"});
    EXPECT_EQ(MessageOf([&] { Solve3DLinearEquation({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, S, T, true); }),
              "Solve3DLinearEquation");
}

TEST_F(Solve3DEquations, PlaneCopesWithAShortVectorAndChecksTheAnswer) {
    double S = 9, T = 9;
    EXPECT_FALSE(Solve3DPlaneEquation({0, 0, 0}, {0, 2, 0}, {0, 3, 0}, S, T, false));
    EXPECT_EQ(S, 0);
    EXPECT_DOUBLE_EQ(T, 1.5);
    EXPECT_FALSE(Solve3DPlaneEquation({2, 0, 0}, {0, 0, 0}, {4, 0, 0}, S, T, false));
    EXPECT_DOUBLE_EQ(S, 2);
    EXPECT_EQ(T, 0);
    EXPECT_TRUE(Lines.empty());

    EXPECT_TRUE(Solve3DPlaneEquation({0, 0, 0}, {0, 2, 0}, {1, 3, 0}, S, T, false));
    EXPECT_EQ(Lines, std::vector<std::string>{"Solve3DPlaneEquation failed - Vectors not planar"});
    EXPECT_EQ(MessageOf([&] { Solve3DPlaneEquation({0, 0, 0}, {0, 2, 0}, {1, 3, 0}, S, T, true); }),
              "Solve3DPlaneEquation - Vectors not planar");
}

// The general case solves from one pair of components, which leaves the third equation open.
TEST_F(Solve3DEquations, PlaneChecksTheThirdEquationInTheGeneralCase) {
    double S = 0, T = 0;
    EXPECT_FALSE(Solve3DPlaneEquation({1, 0, 0}, {0, 1, 1}, {2, 3, 3}, S, T, false));
    EXPECT_DOUBLE_EQ(S, 2);
    EXPECT_DOUBLE_EQ(T, 3);
    // Long vectors: rounding grows with them and is not taken for a fault.
    EXPECT_FALSE(Solve3DPlaneEquation({1e6, 0, 1e6}, {0, 3e6, 1e6}, {0.1e6, 0.3e6, 0.2e6}, S, T, false));
    EXPECT_TRUE(Lines.empty());

    EXPECT_TRUE(Solve3DPlaneEquation({1, 0, 0}, {0, 1, 0}, {1, 1, 1}, S, T, false));
    EXPECT_EQ(Lines, std::vector<std::string>{"Solve3DPlaneEquation failed - Vectors not planar"});
    EXPECT_EQ(MessageOf([&] { Solve3DPlaneEquation({1, 0, 0}, {0, 1, 0}, {1, 1, 1e-6}, S, T, true); }),
              "Solve3DPlaneEquation - Vectors not planar");
}

// Vectors measured along curves that meet in one tangent plane are moved into it when they miss it
// by a trace; a vector that really stands out of the plane is left for the solver to refuse.
TEST_F(Solve3DEquations, IntoNearPlaneMovesOnlyWhatMissesThePlaneByATrace) {
    const TMVector A{0, -0.968912413, -0.247403992}, B{-0.706877151, 0.174997846, -0.685346954};
    const TMVector Normal = VectorNormalise(VectorCross(A, B));
    const TMVector InPlane = VectorAdd(VectorScale(A, 0.3), VectorScale(B, -1.2));
    const struct {
        double Out;  // along the plane's normal, relative to the vector's length
        bool Moved;
    } Cases[] = {{0, false}, {1e-13, false}, {1e-8, true}, {-5e-5, true}, {2e-4, false}, {0.5, false}};
    for (const auto& C : Cases) {
        const TMVector V = VectorAdd(InPlane, VectorScale(Normal, C.Out * VectorLength(InPlane)));
        const TMVector Got = IntoNearPlane(A, B, V, TangentPlaneTolerance);
        if (!C.Moved) {
            EXPECT_EQ(VectorDistance(Got, V), 0) << C.Out;
            continue;
        }
        EXPECT_NEAR(VectorDistance(Got, InPlane), 0, 1e-15) << C.Out;
        double S = 0, T = 0;
        EXPECT_TRUE(Solve3DPlaneEquation(A, B, V, S, T, false)) << C.Out;
        EXPECT_FALSE(Solve3DPlaneEquation(A, B, Got, S, T, false)) << C.Out;
        EXPECT_NEAR(S, 0.3, 1e-12);
        EXPECT_NEAR(T, -1.2, 1e-12);
    }
    // Parallel A and B span no plane.
    const TMVector V{1, 2, 3};
    EXPECT_EQ(VectorDistance(IntoNearPlane(A, VectorScale(A, 2), V, TangentPlaneTolerance), V), 0);
}

TEST(Jacobi, DiagonalMatrixNeedsNoRotation) {
    TMMatrix A = ZeroMatrix;
    A[0][0] = 3;
    A[1][1] = 1;
    A[2][2] = 2;
    std::array<double, 4> D{};
    TMMatrix V;
    int NRot = -1;
    Jacobi(A, 3, D, V, NRot);
    EXPECT_EQ(NRot, 0);
    EXPECT_EQ(D[0], 3);
    EXPECT_EQ(D[1], 1);
    EXPECT_EQ(D[2], 2);
    TMMatrix I3 = IdentityMatrix;
    I3[3][3] = 0;
    EXPECT_EQ(V, I3);
}

TEST(Jacobi, FindsEigenpairsOfASymmetricBlock) {
    TMMatrix A = IdentityMatrix;  // elements outside the 2x2 block must not matter
    A[0][0] = 2;
    A[0][1] = A[1][0] = 1;
    A[1][1] = 2;
    std::array<double, 4> D{};
    TMMatrix V;
    int NRot = 0;
    Jacobi(A, 2, D, V, NRot);
    EXPECT_EQ(NRot, 1);
    EXPECT_DOUBLE_EQ(D[0], 1);
    EXPECT_DOUBLE_EQ(D[1], 3);
    const double R = std::sqrt(0.5);
    EXPECT_NEAR(V[0][0], R, 1e-15);
    EXPECT_NEAR(V[1][0], -R, 1e-15);
    EXPECT_NEAR(V[0][1], R, 1e-15);
    EXPECT_NEAR(V[1][1], R, 1e-15);
}

TEST(Jacobi, FullFourByFourSatisfiesTheEigenEquation) {
    const double M[4][4] = {{4, 1, -2, 2}, {1, 2, 0, 1}, {-2, 0, 3, -2}, {2, 1, -2, -1}};
    TMMatrix A;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) A[i][j] = M[i][j];
    std::array<double, 4> D{};
    TMMatrix V;
    int NRot = 0;
    Jacobi(A, 4, D, V, NRot);
    EXPECT_GT(NRot, 0);
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 4; ++i) {
            double MV = 0;
            for (int j = 0; j < 4; ++j) MV += M[i][j] * V[j][k];
            EXPECT_NEAR(MV, D[k] * V[i][k], 1e-9) << "eigenpair " << k << " row " << i;
        }
}

TEST(Jacobi, RefusesASizeBeyondTheMatrix) {
    TMMatrix A = IdentityMatrix, V;
    std::array<double, 4> D{};
    int NRot = 0;
    EXPECT_THROW(Jacobi(A, 5, D, V, NRot), EError);
    EXPECT_THROW(Jacobi(A, -1, D, V, NRot), EError);
}

TEST(Hermite, BasisAndDerivatives) {
    using B = std::array<double, 4>;
    EXPECT_EQ(HermiteBasis(0), (B{1, 0, 0, 0}));
    EXPECT_EQ(HermiteBasis(1), (B{0, 1, 0, 0}));
    EXPECT_EQ(HermiteBasis(0.5), (B{0.5, 0.5, 0.125, -0.125}));
    const auto D = HermiteBasisDerivatives(0);
    EXPECT_EQ(D[0], HermiteBasis(0));
    EXPECT_EQ(D[1], (B{0, 0, 1, 0}));   // only the start tangent moves the start
    EXPECT_EQ(D[2], (B{-6, 6, -4, -2}));
    EXPECT_EQ(HermiteBasisDerivatives(1)[1], (B{0, 0, 0, 1}));
}

TEST(Hermite, InterpolatesBetweenEndsWithTangents) {
    const TMVector P0{0, 0, 0}, T0{1, 0, 0}, P1{1, 1, 0}, T1{0, 1, 0};
    EXPECT_EQ(HermiteInterpolate(P0, T0, P1, T1, 0), P0);
    EXPECT_EQ(HermiteInterpolate(P0, T0, P1, T1, 1), P1);
    const TMVector M = HermiteInterpolate(P0, T0, P1, T1, 0.5);
    EXPECT_DOUBLE_EQ(M.X, 0.5 + 0.125);
    EXPECT_DOUBLE_EQ(M.Y, 0.5 - 0.125);
}

TEST(FindValueBrent, FindsTheArgumentOfATarget) {
    const auto Square = [](double X) { return X * X; };
    EXPECT_NEAR(FindValueBrent(0, 0, 2, 2, Square), std::sqrt(2.0), 1e-4);
    EXPECT_NEAR(FindValue(0, 2, 0, 2, Square), std::sqrt(2.0), 1e-4);  // either end first
    EXPECT_NEAR(FindValueBrent(0, -1, 3, 0, [](double X) { return std::cos(X); }), M_PI / 2, 1e-4);
    EXPECT_EQ(FindValueBrent(0, 0, 3, 4, [](double X) { return 4.0; }), 3);  // exact hit at an end
}

TEST(FindValueBrent, TargetOutsideTheBracket) {
    const auto Square = [](double X) { return X * X; };
    EXPECT_EQ(MessageOf([&] { FindValueBrent(0, 2, 3, 2, Square); }),
              "VkMaths.FindValueBrent - Value is outside of Bracket");
    EXPECT_EQ(FindValueBrent(FindValueClampToBracket, 2, 3, 2, Square), 2);
    EXPECT_EQ(FindValueBrent(FindValueClampToBracket, 2, 3, 10, Square), 3);
}

// A function that is not a number says nothing about where the target lies.
TEST(FindValueBrent, NotANumberIsAFailure) {
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const std::function<double(double)> Cases[] = {
        [&](double) { return NaN; },
        [&](double X) { return X < 2.5 ? NaN : X; },
        [&](double X) { return X == 2 || X == 3 ? X : NaN; },  // only the ends are numbers
    };
    for (const auto& F : Cases)
        for (const int Flags : {0, FindValueClampToBracket})
            EXPECT_EQ(MessageOf([&] { FindValueBrent(Flags, 2, 3, 2.5, F); }),
                      "VkMaths.FindValueBrent - The function is not a number");
}

TEST(FindValueBrent, LastEvaluationAtTheAnswerOnRequest) {
    std::vector<double> Calls;
    const auto Track = [&](double X) {
        Calls.push_back(X);
        return X * X * X;
    };
    const double X = FindValueBrent(FindValueEvaluateAnswer, -1, 2, 1, Track);
    EXPECT_NEAR(X, 1, 1e-4);
    EXPECT_EQ(Calls.back(), X);
    Calls.clear();
    // Clamped: the nearer end was not the last one evaluated.
    EXPECT_EQ(FindValueBrent(FindValueClampToBracket | FindValueEvaluateAnswer, 2, 3, 0, Track), 2);
    EXPECT_EQ(Calls, (std::vector<double>{2, 3, 2}));
}

TEST(FindValueBrent, GivesUpAfterAHundredEvaluations) {
    // A step gives interpolation nothing to work with, and bisecting so wide a bracket down to 1e-4
    // takes about a thousand halvings.
    int Calls = 0;
    const auto Step = [&](double X) {
        ++Calls;
        return X > 1 ? 1.0 : -1.0;
    };
    EXPECT_EQ(MessageOf([&] { FindValueBrent(0, -1e300, 1e300, 0, Step); }),
              "VkMaths.FindValueBrent - Maximum number of iterations exceeded");
    EXPECT_EQ(Calls, 102);
}

TEST(FindValueBrent, FunctionErrorsPassThrough) {
    EXPECT_EQ(MessageOf([] { FindValueBrent(0, 0, 1, 0, [](double) -> double { throw EError("mine"); }); }),
              "mine");
}

TEST(Brent, FindsTheSmallestValue) {
    const auto Parabola = [](double X) { return (X - 0.3) * (X - 0.3); };
    EXPECT_NEAR(Brent(1, 0, Parabola), 0, 1e-8);
    EXPECT_NEAR(Brent(0, 1, Parabola), 0, 1e-8);
    EXPECT_NEAR(Brent(2, 5, [](double X) { return std::cos(X); }), -1, 1e-6);
    // A minimum at an end of the interval.
    EXPECT_NEAR(Brent(0, 2, [](double X) { return X; }), 0, 1e-3);
}

TEST(Brent, GivesUpAfterAHundredIterations) {
    // Golden sections need far more than a hundred steps to close so wide an interval on 0.
    EXPECT_EQ(MessageOf([] { Brent(-1e300, 1e300, [](double X) { return std::abs(X); }); }),
              "Brent - too many iterations");
}

TEST(TArray, ListOperations) {
    TArray A;
    EXPECT_EQ(A.Add(3), 0);
    EXPECT_EQ(A.Add(1), 1);
    A.Insert(1, 2);
    A.Insert(3, 4);
    EXPECT_EQ(Values(A), (std::vector<double>{3, 2, 1, 4}));
    EXPECT_EQ(A.First(), 3);
    EXPECT_EQ(A.Last(), 4);
    A.Delete(0);
    A.Sort();
    EXPECT_EQ(Values(A), (std::vector<double>{1, 2, 4}));
    A.Clear();
    EXPECT_EQ(A.Count(), 0);
    EXPECT_THROW(A.First(), std::out_of_range);
    EXPECT_THROW(A.Last(), std::out_of_range);
    EXPECT_THROW(A.Delete(0), std::out_of_range);
    EXPECT_THROW(A.Insert(1, 0), std::out_of_range);
    EXPECT_THROW(A.GetValue(-1), std::out_of_range);
}

TEST(TArray, ReadingPastTheEndGrowsTheList) {
    TArray A;
    EXPECT_EQ(A.GetValue(5), 0);
    EXPECT_EQ(Values(A), std::vector<double>(6, 0.0));
    EXPECT_THROW(A.GetValue(2000000000), std::out_of_range);  // refused, not a 16 GB allocation
}

TEST(TArray, SortAndRemoveDuplicates) {
    TArray A;
    for (double V : {2.0, 3.0, 1.0, 2.0, 1.0, 2.0}) A.Add(V);
    A.Sort();
    EXPECT_EQ(Values(A), (std::vector<double>{1, 1, 2, 2, 2, 3}));
    A.RemoveDuplicates();
    EXPECT_EQ(Values(A), (std::vector<double>{1, 2, 3}));

    TArray WithNan;  // must not upset the sort
    for (double V : {double(NAN), 2.0, double(NAN), 1.0}) WithNan.Add(V);
    WithNan.Sort();
    EXPECT_EQ(WithNan.First(), 1);
    EXPECT_EQ(WithNan.GetValue(1), 2);
    EXPECT_TRUE(std::isnan(WithNan.Last()));
}

TEST(ArrayFromString, NumbersAndRanges) {
    const double Third = 1.0 / 3, TwoThirds = 2.0 / 3;
    const struct {
        const char* Text;
        std::vector<double> Expected;
    } Cases[] = {
        {"0.5 (1 2 0.5) 3", {0.5, 1, 1.5, 2, 3}},
        {"1, 2", {1, 2}},
        {" 3 1 2 1 ", {1, 1, 2, 3}},  // sorted, duplicates stay
        {"(0 1 0.25)", {0, 0.25, 0.5, 0.75, 1}},
        {"(0 1 0.3)", {0, Third, TwoThirds, 1}},
        {"(1 0 -0.5)", {0, 0.5, 1}},
        {"(1 0 1)", {}},
        {"(2 2 1)", {2}},
        {"(0,1,0.5) (5 6 1)", {0, 0.5, 1, 5, 6}},
        {"", {}},
    };
    for (const auto& C : Cases) {
        const auto A = ArrayFromString(C.Text);
        ASSERT_EQ(A->Count(), static_cast<int>(C.Expected.size())) << C.Text;
        for (int i = 0; i < A->Count(); ++i) EXPECT_DOUBLE_EQ(A->GetValue(i), C.Expected[i]) << C.Text;
    }
}

TEST(ArrayFromString, RefusesMalformedText) {
    const std::pair<const char*, const char*> Cases[] = {
        {"(1 2)", "Wrong Number of Parameters between Parenthesis"},
        {"(1 2 3 4)", "Wrong Number of Parameters between Parenthesis"},
        {"1 (2 3", "ArrayFromString: Parenthesis do not match"},
        {"1) (2 3 1)", "ArrayFromString: Parenthesis do not match"},
        {"1 x", "Unable to convert string to number (x)"},
        {"(0 1 0)", "ArrayFromString: Step between Parenthesis is zero"},
        {"(0 1e12 1)", "ArrayFromString: Too many values between Parenthesis"},
        {"(0 1 1e-9)", "ArrayFromString: Too many values between Parenthesis"},
    };
    for (auto [Text, Message] : Cases) EXPECT_EQ(MessageOf([&] { ArrayFromString(Text); }), Message) << Text;
}

TEST(ArrayFromString, CapsTheTotalOfSeveralRanges) {
    EXPECT_EQ(ArrayFromString("(0 1 0.000002)")->Count(), 500001);
    EXPECT_EQ(MessageOf([] { ArrayFromString("(0 1 0.000002) (2 3 0.000002)"); }),
              "ArrayFromString: Too many values between Parenthesis");
}

// Walks a fixed list of vectors, as a point list's iterator would.
class TListIterator : public TMVectorIterator {
public:
    explicit TListIterator(std::vector<TMVector> Points) : FPoints(std::move(Points)) {}

protected:
    TMVector FirstVector() override { return FPoints[FIndex = 0]; }
    TMVector NextVector() override {
        if (FIndex + 1 < static_cast<int>(FPoints.size())) ++FIndex;
        return FPoints[FIndex];
    }
    bool AtLast() const override { return FIndex + 1 == static_cast<int>(FPoints.size()); }

private:
    std::vector<TMVector> FPoints;
    int FIndex = -1;
};

TEST(TMVectorIterator, KeepsTheVectorLastHandedOut) {
    std::unique_ptr<IMVectorIterator> It = std::make_unique<TListIterator>(
        std::vector<TMVector>{{1, 0, 0}, {2, 0, 0}});
    EXPECT_EQ(It->First(), (TMVector{1, 0, 0}));
    EXPECT_EQ(It->Current(), (TMVector{1, 0, 0}));
    EXPECT_FALSE(It->IsLast());
    EXPECT_EQ(It->Next(), (TMVector{2, 0, 0}));
    EXPECT_TRUE(It->IsLast());
    EXPECT_EQ(It->Next(), (TMVector{2, 0, 0}));  // stays on the last
    EXPECT_EQ(It->Current(), (TMVector{2, 0, 0}));
}

}  // namespace
}  // namespace sarnova
