// Load stepping of the cap analyses.
#include <gtest/gtest.h>

#include <vector>

#include "cap/anal3d.h"

namespace torva {
namespace {

// Factors at which steps are attempted when every attempt converges.
std::vector<double> all_converge(double facinc) {
  LoadStepper s(facinc);
  std::vector<double> at;
  for (int guard = 0; guard < 1000 && s.TCUR <= 1.0; ++guard) {
    at.push_back(s.TCUR);
    if (s.accept()) break;
  }
  return at;
}

TEST(LoadStepper, StepsEndExactlyAtTheFullLoad) {
  const std::vector<double> a = all_converge(0.3);
  ASSERT_EQ(a.size(), 4u);
  EXPECT_DOUBLE_EQ(a[0], 0.3);
  EXPECT_DOUBLE_EQ(a[1], 0.6);
  EXPECT_DOUBLE_EQ(a[2], 0.8999999999999999);
  EXPECT_EQ(a[3], 1.0);  // clamped to exactly the full load

  // Ten steps of 0.1 accumulate to 0.9999999999999999: that is the full load, with no
  // near-zero eleventh step.
  const std::vector<double> b = all_converge(0.1);
  ASSERT_EQ(b.size(), 10u);
  EXPECT_EQ(b.back(), 1.0);

  EXPECT_EQ(all_converge(1.0).size(), 1u);
}

TEST(LoadStepper, FailedFullLoadStepRetriesHalfwayFromTheLastConverged) {
  LoadStepper s(0.3);
  s.accept();  // 0.3
  s.accept();  // 0.6
  s.accept();  // 0.9, next 1.0 (clamped)
  EXPECT_EQ(s.TCUR, 1.0);
  ASSERT_FALSE(s.fail(0.01));
  EXPECT_NEAR(s.TCUR, 0.95, 1e-12);  // not 1.0 - 0.15 = 0.85, below the converged 0.9
  EXPECT_DOUBLE_EQ(s.DTCUR, 0.15);
  EXPECT_FALSE(s.accept());
  EXPECT_EQ(s.TCUR, 1.0);  // never past the full load
}

TEST(LoadStepper, WithoutClampTheRetryIsTheFailedFactorLessTheNewIncrement) {
  LoadStepper s(0.25);
  s.accept();  // 0.25 converged, next 0.5
  ASSERT_FALSE(s.fail(0.01));
  EXPECT_DOUBLE_EQ(s.TCUR, 0.375);
  EXPECT_DOUBLE_EQ(s.TCUR, 0.5 - s.DTCUR);
}

TEST(LoadStepper, IncrementBelowTheMinimumExhaustsTheSteps) {
  LoadStepper s(0.25);
  EXPECT_FALSE(s.fail(0.1));  // 0.125
  EXPECT_TRUE(s.fail(0.1));   // 0.0625 < 0.1
  EXPECT_EQ(s.TCONV, 0.0);
}

}  // namespace
}  // namespace torva
