#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/VkMatrix.h"

using namespace sarnova;

namespace {

TVkMatrix MakeMatrix(std::initializer_list<std::initializer_list<double>> Rows) {
    const int Cols = static_cast<int>(Rows.begin()->size());
    TVkMatrix M(static_cast<int>(Rows.size()), Cols);
    int r = 1;
    for (const auto& Row : Rows) {
        int c = 1;
        for (double V : Row) M.SetValue(r, c++, V);
        ++r;
    }
    return M;
}

void ExpectMatrixNear(const TVkMatrix& M, std::initializer_list<std::initializer_list<double>> Rows,
                      double Tolerance = 1e-12) {
    ASSERT_EQ(M.GetRows(), static_cast<int>(Rows.size()));
    int r = 1;
    for (const auto& Row : Rows) {
        ASSERT_EQ(M.GetCols(), static_cast<int>(Row.size()));
        int c = 1;
        for (double V : Row) {
            EXPECT_NEAR(M.GetValue(r, c), V, Tolerance) << "(" << r << ", " << c << ")";
            ++c;
        }
        ++r;
    }
}

void ExpectIdentityProduct(const TVkMatrix& A, const TVkMatrix& B, double Tolerance) {
    const auto P = A.Multiply(B);
    ASSERT_TRUE(P);
    for (int r = 1; r <= P->GetRows(); ++r)
        for (int c = 1; c <= P->GetCols(); ++c)
            EXPECT_NEAR(P->GetValue(r, c), r == c ? 1.0 : 0.0, Tolerance)
                << "(" << r << ", " << c << ")";
}

}  // namespace

TEST(VkMatrix, SquareStartsAsIdentityOtherShapesAsZeros) {
    ExpectMatrixNear(TVkMatrix(3, 3), {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 0);
    ExpectMatrixNear(TVkMatrix(2, 3), {{0, 0, 0}, {0, 0, 0}}, 0);
    EXPECT_THROW(TVkMatrix(-1, 2), EError);
    EXPECT_THROW(TVkMatrix(100000, 100000), EError);
}

TEST(VkMatrix, IndicesAreCheckedRowFirst) {
    TVkMatrix M = MakeMatrix({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    const struct {
        int Row, Col;
        const char* Message;
    } cases[] = {
        {0, 1, "Matrix row index out of bounds"},    {4, 0, "Matrix row index out of bounds"},
        {-1, 2, "Matrix row index out of bounds"},   {1, 4, "Matrix column index out of bounds"},
        {3, 0, "Matrix column index out of bounds"},
    };
    for (const auto& c : cases) {
        try {
            M.GetValue(c.Row, c.Col);
            ADD_FAILURE() << "GetValue(" << c.Row << ", " << c.Col << ") accepted";
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), c.Message);
        }
        try {
            M.SetValue(c.Row, c.Col, 99);
            ADD_FAILURE() << "SetValue(" << c.Row << ", " << c.Col << ") accepted";
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), c.Message);
        }
    }
    ExpectMatrixNear(M, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 0);
}

TEST(VkMatrix, MultiplyNeedsMatchingInnerSize) {
    const auto P = MakeMatrix({{1, 2, 3}, {4, 5, 6}}).Multiply(MakeMatrix({{1}, {0}, {-1}}));
    ASSERT_TRUE(P);
    ExpectMatrixNear(*P, {{-2}, {-2}}, 0);
    EXPECT_FALSE(MakeMatrix({{1, 2, 3}, {4, 5, 6}}).Multiply(TVkMatrix(2, 3)));
}

TEST(VkMatrix, InverseExchangesRowsWhereNeeded) {
    const TVkMatrix Swap = MakeMatrix({{0, 1}, {1, 0}});
    const auto SwapInverse = Swap.Inverse();
    ASSERT_TRUE(SwapInverse);
    ExpectMatrixNear(*SwapInverse, {{0, 1}, {1, 0}});
    ExpectMatrixNear(Swap, {{0, 1}, {1, 0}}, 0);  // left as it was

    // A tiny first pivot: taking it as it stands gives a first row of (0, 1) instead of (-1, 1).
    const TVkMatrix Tiny = MakeMatrix({{1e-20, 1}, {1, 1}});
    const auto TinyInverse = Tiny.Inverse();
    ASSERT_TRUE(TinyInverse);
    ExpectMatrixNear(*TinyInverse, {{-1, 1}, {1, -1e-20}});

    const TVkMatrix A = MakeMatrix({{0, 2, 1, 4}, {3, 0, 0, 1}, {1, 1, 0, 0}, {0, 0, 5, 2}});
    const auto AInverse = A.Inverse();
    ASSERT_TRUE(AInverse);
    ExpectIdentityProduct(A, *AInverse, 1e-12);
    ExpectIdentityProduct(*AInverse, A, 1e-12);
}

namespace {

TVkMatrix Hilbert(int n) {
    TVkMatrix H(n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) H.SetValue(i, j, 1.0 / (i + j - 1));
    return H;
}

}  // namespace

TEST(VkMatrix, InverseIsNilForSingularOrNonSquare) {
    EXPECT_FALSE(MakeMatrix({{1, 2}, {2, 4}}).Inverse());
    EXPECT_FALSE(MakeMatrix({{1, 2, 3}, {4, 5, 6}, {0, 0, 0}}).Inverse());
    EXPECT_FALSE(TVkMatrix(2, 3).Inverse());
    // Singular up to rounding: elimination leaves a pivot of rounding noise, which an absolute
    // threshold took for a number and answered with entries near 1e16.
    EXPECT_FALSE(MakeMatrix({{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}, {0.7, 0.8, 0.9}}).Inverse());
    EXPECT_FALSE(MakeMatrix({{1, 1}, {1, 1 + 1e-17}}).Inverse());
    // Regular in exact arithmetic, but conditioned beyond what doubles resolve.
    EXPECT_FALSE(Hilbert(12).Inverse());
    EXPECT_FALSE(MakeMatrix({{1, 1}, {1, 1 + 4e-16}}).Inverse());
}

// Pivots are judged against the scale of their own row: small entries are no sign of singularity.
TEST(VkMatrix, InverseOfSmallOrUnevenlyScaledRows) {
    const auto Tiny = MakeMatrix({{1e-31, 0, 0}, {0, 2e-31, 0}, {0, 0, 4e-31}}).Inverse();
    ASSERT_TRUE(Tiny);
    EXPECT_EQ(Tiny->GetValue(1, 1), 1e31);
    EXPECT_EQ(Tiny->GetValue(2, 2), 0.5e31);
    EXPECT_EQ(Tiny->GetValue(3, 3), 0.25e31);
    EXPECT_EQ(Tiny->GetValue(1, 2), 0);

    const auto Uneven = MakeMatrix({{1e-31, 0}, {0, 1}}).Inverse();
    ASSERT_TRUE(Uneven);
    ExpectMatrixNear(*Uneven, {{1e31, 0}, {0, 1}}, 0);

    // Ill-conditioned but within reach: the product comes back close to the identity.
    const TVkMatrix H = Hilbert(8);
    const auto HInverse = H.Inverse();
    ASSERT_TRUE(HInverse);
    ExpectIdentityProduct(H, *HInverse, 1e-5);
}

TEST(VkMatrix, TransposeAndSetZeroOnlyForSquare) {
    const auto T = MakeMatrix({{1, 2}, {3, 4}}).Transpose();
    ASSERT_TRUE(T);
    ExpectMatrixNear(*T, {{1, 3}, {2, 4}}, 0);
    EXPECT_FALSE(TVkMatrix(2, 3).Transpose());

    TVkMatrix Square = MakeMatrix({{1, 2}, {3, 4}});
    Square.SetZero();
    ExpectMatrixNear(Square, {{0, 0}, {0, 0}}, 0);
    TVkMatrix Wide = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
    Wide.SetZero();
    ExpectMatrixNear(Wide, {{1, 2, 3}, {4, 5, 6}}, 0);
}
