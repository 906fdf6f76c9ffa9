// Gauss-Jordan inverse with full pivoting, and the 6-vector tools.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "pile/matinv.h"

namespace torva {
namespace {

using Dense = std::vector<double>;  // column-major, leading dimension n

Dense from_rows(int n, std::initializer_list<double> rows) {
  Dense a(std::size_t(n * n));
  int k = 0;
  for (double v : rows) {
    const int i = k / n, j = k % n;
    a[std::size_t(i + j * n)] = v;
    ++k;
  }
  return a;
}

Dense product(int n, const Dense& a, const Dense& b) {
  Dense c(std::size_t(n * n), 0.0);
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < n; ++k)
      for (int i = 0; i < n; ++i) c[std::size_t(i + j * n)] += a[std::size_t(i + k * n)] * b[std::size_t(k + j * n)];
  return c;
}

struct InvCase {
  const char* name;
  int n;
  Dense a;
  int ierr;
  double tol;  // largest |A * inv(A) - I| accepted
};

class MatinvTable : public ::testing::TestWithParam<InvCase> {};

TEST_P(MatinvTable, InvertsOrFlags) {
  const InvCase& c = GetParam();
  Dense inv = c.a;
  int ierr = -1;
  MATINV(inv.data(), c.n, c.n, ierr);
  ASSERT_EQ(ierr, c.ierr) << c.name;
  if (ierr != 0) return;
  const Dense p = product(c.n, c.a, inv);
  for (int i = 0; i < c.n; ++i)
    for (int j = 0; j < c.n; ++j)
      EXPECT_NEAR(p[std::size_t(i + j * c.n)], i == j ? 1.0 : 0.0, c.tol) << c.name << " (" << i << "," << j << ")";
}

Dense hilbert(int n) {
  Dense a(std::size_t(n * n));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) a[std::size_t(i + j * n)] = 1.0 / (i + j + 1);
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, MatinvTable,
    ::testing::Values(
        InvCase{"identity6", 6, from_rows(6, {1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                                              0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}),
                0, 0.0},
        // Zero diagonal everywhere: needs row exchanges and the final column exchanges.
        InvCase{"needs_pivoting", 3, from_rows(3, {0, 2, 1, 3, 0, 4, 1, 5, 0}), 0, 1e-14},
        InvCase{"permutation", 4, from_rows(4, {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0}), 0, 0.0},
        // Hilbert matrix of order 6: condition number about 1.5e7.
        InvCase{"ill_conditioned_hilbert6", 6, hilbert(6), 0, 1e-8},
        // Integer row 2 = 2 x row 1: eliminating with exact integers gives an exact zero pivot.
        InvCase{"singular_row_twice_another", 3, from_rows(3, {1, 2, 4, 2, 4, 8, 3, 1, 5}), 1, 0.0},
        InvCase{"zero_row", 3, from_rows(3, {1, 2, 3, 0, 0, 0, 4, 5, 7}), 1, 0.0},
        InvCase{"zero_column", 3, from_rows(3, {1, 0, 3, 2, 0, 5, 4, 0, 7}), 1, 0.0}),
    [](const auto& p) { return std::string(p.param.name); });

// The stiffness in X and the rotations about Y and Z at the origin of axial springs k at
// the points (y, z) of the plane X = 0: the sum of k t t' with t = (1, z, -y).
Dense axial_springs(double k, std::initializer_list<std::pair<double, double>> heads) {
  Dense a(9, 0.0);
  for (const auto& [y, z] : heads) {
    const double t[3] = {1.0, z, -y};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) a[std::size_t(i + 3 * j)] += k * t[i] * t[j];
  }
  return a;
}

// Singular relative to the matrix's own scale, whatever its units and the place of the
// origin: two axial springs (pinned piles) leave the rotation about the line through them
// free; with the line 27.3 in off the origin the matrix is singular but for round-off,
// which MATINV alone takes for a pivot.
TEST(Matinv, SingularRelativeToItsOwnScale) {
  const double k = 0.7e6 / 3.0, nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    int n;
    Dense a;
    bool singular;
  } cases[] = {
      {"pinned piles in a line off the origin", 3, axial_springs(k, {{-18.3, -27.3}, {17.9, -27.3}}),
       true},
      {"pinned piles apart", 3, axial_springs(k, {{-18.3, -27.3}, {17.9, -27.3}, {0.0, 27.3}}), false},
      {"stiff and soft degrees of freedom", 3,
       from_rows(3, {1e-6, 1e-4, 0, 1e-4, 1e6, 3e8, 0, 3e8, 1e12}), false},
      {"a constraint row without a diagonal term", 2, from_rows(2, {1e9, 1, 1, 0}), false},
      {"a term that is not a number", 2, from_rows(2, {1, 0, 0, nan}), true},
      {"zero", 2, from_rows(2, {0, 0, 0, 0}), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SCALED_SINGULAR(c.a.data(), c.n, c.n), c.singular);
    Dense inv = c.a;
    int ierr = -1;
    MATINVS(inv.data(), c.n, c.n, ierr);
    EXPECT_EQ(ierr, c.singular ? 1 : 0);
    if (c.singular) {
      EXPECT_EQ(std::memcmp(inv.data(), c.a.data(), inv.size() * sizeof(double)), 0)
          << "a singular matrix is left as it was";
    }
  }
  // MATINV alone inverts the first, on a pivot of round-off.
  Dense a = cases[0].a;
  int ierr = -1;
  MATINV(a.data(), 3, 3, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_FALSE(SCALED_SINGULAR(nullptr, 0, 0));
}

TEST(Matinv, DiagonalGivesReciprocalsExactly) {
  Dense a = from_rows(3, {2, 0, 0, 0, -4, 0, 0, 0, 0.5});
  int ierr = -1;
  MATINV(a.data(), 3, 3, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(a, from_rows(3, {0.5, 0, 0, 0, -0.25, 0, 0, 0, 2}));
}

TEST(Matinv, PermutationInverseIsItsTranspose) {
  Dense a = from_rows(4, {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0});
  int ierr = -1;
  MATINV(a.data(), 4, 4, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(a, from_rows(4, {0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0}));
}

TEST(Matinv, OrderZeroLeavesMatrixAlone) {
  Dense a = {3.0};
  int ierr = -1;
  MATINV(a.data(), 0, 1, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(a[0], 3.0);
}

TEST(Matinv, LeadingBlockOfLargerArrayOnly) {
  // A 6 x 6 system held in a 12 x 12 array: nothing outside the leading block changes.
  std::vector<double> a(144, 7.0);
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) a[std::size_t(i + 12 * j)] = (i == j) ? 4.0 : 1.0;
  int ierr = -1;
  MATINV(a.data(), 6, 12, ierr);
  ASSERT_EQ(ierr, 0);
  // inverse of 3I + J (J all ones, order 6): (I - J/9) / 3
  for (int j = 0; j < 12; ++j)
    for (int i = 0; i < 12; ++i) {
      const double v = a[std::size_t(i + 12 * j)];
      if (i < 6 && j < 6)
        EXPECT_NEAR(v, ((i == j ? 1.0 : 0.0) - 1.0 / 9.0) / 3.0, 1e-15);
      else
        EXPECT_EQ(v, 7.0);
    }
}

TEST(Matinv, UnusableInputIsFlaggedNotOverrun) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Dense a = {nan, nan, nan, nan};
  int ierr = 0;
  MATINV(a.data(), 2, 2, ierr);
  EXPECT_EQ(ierr, 1);  // no pivot can be chosen among NaNs

  std::vector<double> big(51 * 51, 1.0);
  ierr = 0;
  MATINV(big.data(), 51, 51, ierr);
  EXPECT_EQ(ierr, 1);  // beyond the pivot bookkeeping
  EXPECT_EQ(big[0], 1.0);

  Dense b = from_rows(2, {1, 0, 0, 1});
  ierr = 0;
  MATINV(b.data(), 2, 1, ierr);
  EXPECT_EQ(ierr, 1);  // leading dimension below the order
}

TEST(MatVec, BatchInPlaceAndEmpty) {
  Mat6 a;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) a(i, j) = 10.0 * i + j;
  double x[12];
  for (int k = 0; k < 12; ++k) x[k] = k + 1;
  double want[12] = {};
  for (int c = 0; c < 2; ++c)
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) want[6 * c + i - 1] += a(i, j) * x[6 * c + j - 1];
  MATVEC6N(x, a.data(), x, 2);  // in place
  for (int k = 0; k < 12; ++k) EXPECT_EQ(x[k], want[k]) << k;

  double y[6] = {9, 9, 9, 9, 9, 9};
  MATVEC6N(y, a.data(), x, 0);
  for (double v : y) EXPECT_EQ(v, 9.0);

  std::vector<double> a12(144, 0.0), x12(12), y12(12);
  for (int i = 0; i < 12; ++i) {
    a12[std::size_t(i + 12 * ((i + 1) % 12))] = 2.0;  // a cyclic shift times 2
    x12[std::size_t(i)] = i;
  }
  MATVEC12(y12.data(), a12.data(), x12.data());
  for (int i = 0; i < 12; ++i) EXPECT_EQ(y12[std::size_t(i)], 2.0 * ((i + 1) % 12));
}

TEST(VectorSizes, NormMaxNegate) {
  const double v[6] = {1, -3, 2, 0, 0, -0.5};
  double t = 0, r = 0;
  DMAX(v, t, r);
  EXPECT_EQ(t, 3.0);
  EXPECT_EQ(r, 0.5);
  const double w[6] = {3, 4, 0, 0, 0, 0};
  DNORM(w, t, r);
  EXPECT_EQ(t, 5.0);
  EXPECT_EQ(r, 0.0);
  const double z[6] = {0.0, 1.0, -2.0, 0.0, 0.0, 0.0};
  double nz[6];
  VNEG6(z, nz);
  EXPECT_TRUE(std::signbit(nz[0]));
  EXPECT_EQ(nz[1], -1.0);
  EXPECT_EQ(nz[2], 2.0);
}

}  // namespace
}  // namespace torva
