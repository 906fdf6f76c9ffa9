// Torque at the pile head from the torque-rotation curve.
#include <gtest/gtest.h>

#include <string>

#include "model/messages.h"
#include "pile/piletorq.h"

namespace torva {
namespace {

// Row 1 on generated curve 4 (mirrored about the origin).
std::unique_ptr<Model> torsion_model() {
  auto m = new_model();
  m->NDIM = 3;
  m->IWFILE = 1;
  m->TRNO(1) = -4;
  const double x[5] = {-0.02, -0.01, 0.0, 0.01, 0.02};
  const double y[5] = {-300.0, -200.0, 0.0, 200.0, 300.0};
  m->NPTTRG(4) = 5;
  for (int p = 1; p <= 5; ++p) {
    m->TRRG(4, p) = x[p - 1];
    m->TRTG(4, p) = y[p - 1];
  }
  return m;
}

struct TrCase {
  const char* name;
  double theta;
  int iextend;
  double T;
  const char* line2;  // second line of the record, nullptr for none
  const char* line3;
};

class PiletorqCases : public ::testing::TestWithParam<TrCase> {};

TEST_P(PiletorqCases, TorqueAndRecord) {
  const TrCase& c = GetParam();
  auto m = torsion_model();
  m->IEXTEND = c.iextend;
  RowCapture cap;
  double T = -1.0;
  const double u[6] = {9, 9, 9, c.theta, 9, 9};
  {
    CaptureScope scope(cap);
    PILETORQ(*m, 1, T, u);
  }
  EXPECT_EQ(T, c.T);
  if (c.line2 == nullptr) {
    EXPECT_TRUE(cap.lines.empty());
    EXPECT_EQ(cap.nwtors, 0);
  } else {
    ASSERT_EQ(cap.lines.size(), 3u);
    EXPECT_EQ(cap.lines[0].second, "");
    EXPECT_EQ(cap.lines[1].second, c.line2);
    EXPECT_EQ(cap.lines[2].second, c.line3);
    EXPECT_EQ(cap.nwtors, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Curve, PiletorqCases,
    ::testing::Values(
        TrCase{"zero_rotation", 0.0, 0, 0.0, nullptr, nullptr},
        TrCase{"inside", 0.015, 0, 250.0, nullptr, nullptr},
        TrCase{"lower_end", -0.02, 0, -300.0, nullptr, nullptr},
        TrCase{"beyond_upper_fails", 0.03, 0, 0.0,
               "     ** WARNING **  APPARENT FAILURE IN TORSION       PILE GROUP    1",
               "                    ROTATION =  0.3000E-01 >   0.2000E-01     T. MOMENT=  0.0000E+00"},
        TrCase{"beyond_lower_held", -0.05, 1, -300.0,
               "     ** WARNING **  MAXIMUM MOMENT REACHED IN TORSION   PILE GROUP    1",
               "                    ROTATION = -0.5000E-01 >  -0.2000E-01     T. MOMENT= -0.3000E+03"},
        TrCase{"beyond_upper_held", 0.05, 1, 300.0,
               "     ** WARNING **  MAXIMUM MOMENT REACHED IN TORSION   PILE GROUP    1",
               "                    ROTATION =  0.5000E-01 >   0.2000E-01     T. MOMENT=  0.3000E+03"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Piletorq, QuietWithoutWarningFileAndInitialSlope) {
  auto m = torsion_model();
  m->IWFILE = 0;
  m->IEXTEND = 0;
  RowCapture cap;
  double T = 1;
  const double u[6] = {0, 0, 0, -0.5, 0, 0};
  {
    CaptureScope scope(cap);
    PILETORQ(*m, 1, T, u);
  }
  EXPECT_EQ(T, 0.0);
  EXPECT_TRUE(cap.lines.empty());
  EXPECT_EQ(cap.nwtors, 0);
  EXPECT_EQ(TRSLOPE(*m, 1, 1), 20000.0);
  // A user curve that does not pass through the origin: the first segment ending at a
  // non-negative rotation.
  m->TRNO(1) = 3;
  m->NPTTRU(3) = 3;
  m->TRRU(3, 1) = 0.01, m->TRRU(3, 2) = 0.02, m->TRRU(3, 3) = 0.04;
  m->TRTU(3, 1) = 10.0, m->TRTU(3, 2) = 30.0, m->TRTU(3, 3) = 40.0;
  EXPECT_DOUBLE_EQ(TRSLOPE(*m, 1, 1), 2000.0);
}

}  // namespace
}  // namespace torva
