// The pile-row sum of the 2-D cap: independent of the thread count, the row transformation
// is the transpose of the head-displacement map, and a failing row is left out with its
// status.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cap/bent_fixture.h"
#include "cap/fvec2d.h"
#include "support/all_threads.h"

namespace torva {
namespace {

using testing::Bent;
using testing::bent_text;

Vec3 v3(double a, double b, double c) {
  Vec3 v;
  v(1) = a;
  v(2) = b;
  v(3) = c;
  return v;
}

TEST(Fvec2d, SameSumOnAnyNumberOfThreads) {
  const torva::testing::AllThreads all_threads;
  Bent b(bent_text());
  ASSERT_EQ(b.status, 0);
  b.m->ICASE = 1;
  SETCURCASE(*b.m, 1);
  const Vec3 U = v3(0.02, 0.015, 4.0e-5);
  Vec3 R1, R4;
  int st = 0;
  b.m->NTHREQ = 1;
  FVEC2D(*b.m, R1, U, st);
  b.m->NTHREQ = 4;
  FVEC2D(*b.m, R4, U, st);
  ASSERT_EQ(st, 0);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(R1(i), R4(i)) << i;
}

// Work conjugacy: the sum at the origin does the same work on a cap movement dU as the
// rows' head forces on their head movements B dU, that is A = B'.
TEST(Fvec2d, RowTransformIsTheTransposeOfTheHeadMap) {
  auto m = new_model();
  m->BATTER(1) = -0.245;
  m->HEADDEP(1) = 12.0;
  m->HEADY(1) = -72.0;
  Mat3 B, A;
  ROWTRANS2D(*m, 1, B, A);
  const Vec3 dU = v3(0.3, -0.2, 0.01), w = v3(5.0, -7.0, 11.0);
  Vec3 h, r;
  MATVEC3(h, B, dU);
  MATVEC3(r, A, w);
  const double work_heads = w(1) * h(1) + w(2) * h(2) + w(3) * h(3);
  const double work_cap = r(1) * dU(1) + r(2) * dU(2) + r(3) * dU(3);
  EXPECT_NEAR(work_heads, work_cap, 1e-12);
  // A vertical pile at the origin: the head moves with the cap.
  m->BATTER(1) = m->HEADDEP(1) = m->HEADY(1) = 0.0;
  ROWTRANS2D(*m, 1, B, A);
  MATVEC3(h, B, dU);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(h(i), dU(i));
}

// Piles longer than the soil profile (lengthened after the input checks): the node layout
// of every row fails, no row adds anything, the sum returns the 2-D code and the fatal
// message reaches the run log once per row, in row order.
TEST(Fvec2d, PileBelowTheDeepestLayer) {
  Bent b(bent_text());
  ASSERT_EQ(b.status, 0);
  b.m->ICASE = 1;
  SETCURCASE(*b.m, 1);
  b.m->IAXVAR = 0;
  b.m->PILELEN(1) = 95.0 * 12.0;
  Vec3 R;
  int st = 0;
  FVEC2D(*b.m, R, v3(0.01, 0.0, 0.0), st);
  EXPECT_EQ(st, ST_PILEDEEP2D);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(R(i), 0.0);
  const std::string log = b.close_and_read("case.log");
  const std::string msg =
      "\n\n\n     **** FATAL ERROR ****\n     THE PILE LENGTH,   0.11E+04( IN), EXTENDS BELOW THE\n"
      "     BOTTOM OF THE DEEPEST LAYER.\n";
  const auto first = log.find(msg);
  ASSERT_NE(first, std::string::npos) << log;
  const auto second = log.find(msg, first + 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(log.find(msg, second + 1), std::string::npos) << "one message per row";
}

}  // namespace
}  // namespace torva
