// Default E50 and initial modulus k by criterion and cohesion class.
#include <gtest/gtest.h>

#include "soil_py/defaults.h"

namespace torva {
namespace {

constexpr double kDeg = 3.141592653589793 / 180.0;
constexpr double c0 = 3.472222328186035, c1 = 6.94444465637207;       // psi
constexpr double c0si = double(23.94013f), c1si = double(47.88026f);  // kPa

struct ValueCase {
  double c;
  int units;
  double want;
};

TEST(SoftClayE50, ClassesAtAndBetweenTheBoundaries) {
  const ValueCase cases[] = {
      {0.0, 1, 0.02},       {c0 - 1e-6, 1, 0.02}, {c0, 1, 0.01},        {1.5 * c0, 1, 0.01},
      {2 * c0, 1, 0.005},   {5 * c0, 1, 0.005},   {8 * c0, 1, 0.004},   {100, 1, 0.004},
      {c0si - 1e-4, 2, 0.02}, {c0si, 2, 0.01},    {8 * c0si, 2, 0.004}, {-3.0, 1, 0.02},
      {5.0, 3, 0.001},  // generic units: the catch-all value
  };
  for (const auto& k : cases) {
    double e = -1.0;
    E50SOFT(k.c, e, k.units);
    EXPECT_NEAR(e, k.want, 1e-9) << "c=" << k.c << " units=" << k.units;
  }
}

TEST(StiffClayE50, ClassesAndNothingInGenericUnits) {
  const ValueCase cases[] = {{c1 - 1e-5, 1, 0.011}, {c1, 1, 0.007},     {2 * c1, 1, 0.005},
                             {4 * c1, 1, 0.004},    {3 * c1si, 2, 0.005}};
  for (const auto& k : cases) {
    double e = -1.0;
    E50STIFF(k.c, e, k.units);
    EXPECT_NEAR(e, k.want, 1e-9) << "c=" << k.c;
  }
  double e = -1.0;
  E50STIFF(10.0, e, 3);
  EXPECT_EQ(e, -1.0);
}

// Class limits at the cohesions users write: 500, 1000, 2000 and 4000 psf (converted to psi
// as the reader does, two divisions by 12) and the kPa values of the same cohesions. The
// limits are single-precision values just above these, so a round cohesion stays in the
// lower class, soft and stiff clay alike (E50 through DEFE50, as the curves and the axial
// tip use it, and k).
TEST(DefaultsAtRoundCohesions, EachLimitValueStaysInTheLowerClass) {
  struct Case {
    double typed;  // psf for US customary, kPa for SI
    int units;
    double soft, stiff, kstatic;
  };
  const Case cases[] = {
      {500.0, 1, 0.02, 0.011, 250},      {1000.0, 1, 0.01, 0.011, 250},
      {2000.0, 1, 0.005, 0.007, 500},    {4000.0, 1, 0.005, 0.005, 1000},
      {4001.0, 1, 0.004, 0.004, 2000},   {8000.0, 1, 0.004, 0.004, 2000},
      {23.94013, 2, 0.02, 0.011, 67861.78},   {47.88026, 2, 0.01, 0.011, 67861.78},
      {95.76052, 2, 0.005, 0.007, 135723.56}, {191.52104, 2, 0.005, 0.005, 271447.13},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.typed << (k.units == 1 ? " psf" : " kPa"));
    const double c = k.units == 1 ? k.typed / 12.0 / 12.0 : k.typed;
    double soft = -1.0, stiff = -1.0, kst = -1.0;
    DEFE50(c, soft, 1, k.units);
    DEFE50(c, stiff, 2, k.units);
    KCLAY(c, kst, k.units, 1);
    EXPECT_EQ(soft, double(float(k.soft)));
    EXPECT_EQ(stiff, double(float(k.stiff)));
    EXPECT_NEAR(kst, k.kstatic, 1e-2);
  }
}

TEST(ClayK, StaticAndCyclicByClassInBothSystems) {
  struct Case {
    double c;
    int units, istatic;
    double want;
  };
  const Case cases[] = {
      {1.0, 1, 1, 250},   {1.0, 1, 0, 100},      {c1, 1, 1, 500},     {2 * c1, 1, 0, 400},
      {4 * c1, 1, 1, 2000}, {4 * c1, 1, 0, 800}, {10.0, 2, 1, 67861.78}, {c1si, 2, 0, 54289.42},
      {4 * c1si, 2, 1, 542894.25},
  };
  for (const auto& k : cases) {
    double v = -1.0;
    KCLAY(k.c, v, k.units, k.istatic);
    EXPECT_NEAR(v, k.want, 1e-2) << "c=" << k.c << " units=" << k.units;
  }
  double v = -1.0;
  KCLAY(1.0, v, 3, 1);
  EXPECT_EQ(v, -1.0);
  KCLAY(1.0, v, 1, 2);  // an istatic other than 0 or 1 selects no entry
  EXPECT_EQ(v, -1.0);
}

TEST(SiltK, ClayPartPlusSandPartByAngleAndWaterTable) {
  struct Case {
    double gamma, phid;
    int units, istatic;
    double want;
  };
  const Case cases[] = {
      {0.06, 30.0, 1, 1, 250 + 25},   // 30 degrees exactly: first class; moist
      {0.045, 30.0, 1, 1, 250 + 20},  // 0.045 exactly: submerged
      {0.06, 33.0, 1, 0, 100 + 90},   {0.04, 40.0, 1, 1, 250 + 125},
      {18.0, 40.0, 2, 1, 67861.78 + 61075.60}, {12.225, 20.0, 2, 0, 27144.71 + 5428.94},
  };
  for (const auto& k : cases) {
    double v = -1.0;
    KSILT(k.gamma, k.units == 1 ? 1.0 : 5.0, k.phid * kDeg, v, k.units, k.istatic);
    EXPECT_NEAR(v, k.want, 1e-2) << "phi=" << k.phid << " gamma=" << k.gamma;
  }
}

TEST(SandK, PiecesMeetAndCapAt45Degrees) {
  auto k_at = [](double phid, double gamma, int units) {
    double v = -1.0;
    APISANDK(phid * kDeg, gamma, v, units);
    return v;
  };
  // The linear piece meets both polynomials at 27.6423 degrees.
  const double p = double(27.6423f);
  EXPECT_NEAR(k_at(p - 1e-9, 0.04, 1), 10.2068, 1e-3);
  EXPECT_NEAR(k_at(p + 1e-9, 0.04, 1), 10.2068, 1e-3);
  EXPECT_NEAR(k_at(p - 1e-9, 0.07, 1), 10.2068, 1e-3);
  EXPECT_NEAR(k_at(p + 1e-9, 0.07, 1), 10.2068, 1e-3);
  // At 45 degrees the polynomials give the caps.
  EXPECT_NEAR(k_at(45.0, 0.04, 1), 228.77, 1e-2);
  EXPECT_NEAR(k_at(45.0, 0.07, 1), 394.71, 1e-2);
  EXPECT_NEAR(k_at(50.0, 0.04, 1), 228.76556, 1e-4);
  EXPECT_NEAR(k_at(50.0, 0.07, 1), 394.71298, 1e-4);
  // Inside the range, by hand: submerged at 35 degrees.
  const double ks35 = ((0.0166 * 35 - 1.55262) * 35 + 58.42955) * 35 - 769.18353;
  EXPECT_NEAR(k_at(35.0, 0.04, 1), ks35, 1e-4);
  EXPECT_NEAR(k_at(20.0, 0.07, 1), 10.206787109375 * 20 / p, 1e-9);
  // SI: the US value times 271.4471; 12.225 exactly counts as submerged.
  EXPECT_NEAR(k_at(35.0, 12.225, 2), ks35 * 271.4471, 1e-1);
  EXPECT_NEAR(k_at(50.0, 12.3, 2), 107143.71, 1e-2);
  EXPECT_EQ(k_at(35.0, 0.04, 3), -1.0);  // generic units: nothing written
}

TEST(CriterionDefaults, E50ByCodeWithFlag) {
  struct Case {
    int code;
    double e50in;
    double want;
    int flag;
  };
  const Case cases[] = {
      {1, 0.0, 0.02, 1},  {13, 0.0, 0.02, 1}, {7, -1.0, 0.02, 1}, {2, 0.0, 0.011, 1},
      {3, 0.0, 0.011, 1}, {10, 0.0, 0.011, 1}, {12, 0.0, 0.0, 1},  // no default: input kept
      {4, 0.0, 0.0, 1},   {1, 0.007, 0.007, 0}, {2, 0.003, 0.003, 0},
  };
  for (const auto& k : cases) {
    double out = -1.0;
    int flag = -1;
    DEFE50U(1.0, k.e50in, out, 1, k.code, flag);
    EXPECT_NEAR(out, k.want, 1e-9) << "code " << k.code;
    EXPECT_EQ(flag, k.flag) << "code " << k.code;
  }
}

TEST(CriterionDefaults, KStaticAndCyclicWithFlags) {
  struct Case {
    int code;
    double kin;
    double kst, kcy;
    int kflag, cflag;
  };
  double sand = 0.0;
  APISANDK(35 * kDeg, 0.07, sand, 1);
  double silt_st = 0.0, silt_cy = 0.0;
  KSILT(0.07, 1.0, 35 * kDeg, silt_st, 1, 1);
  KSILT(0.07, 1.0, 35 * kDeg, silt_cy, 1, 0);
  const Case cases[] = {
      {2, 0.0, 250, 100, 1, 1},   {10, 0.0, 250, 100, 1, 1}, {14, -5.0, 250, 100, 1, 1},
      {4, 0.0, sand, 0.0, 1, 0},  {8, 0.0, sand, 0.0, 1, 0}, {7, 0.0, silt_st, silt_cy, 1, 1},
      {1, 0.0, 0.0, 0.0, 1, 0},   {2, 300, 300, 300, 0, 0},  {4, 90, 90, 90, 0, 0},
  };
  for (const auto& k : cases) {
    double kst = -1, kcy = -1;
    int kf = -1, cf = -1;
    DEFKPY(1.0, 35 * kDeg, 0.07, k.kin, kst, kcy, 1, k.code, kf, cf);
    EXPECT_NEAR(kst, k.kst, 1e-9) << "code " << k.code;
    EXPECT_NEAR(kcy, k.kcy, 1e-9) << "code " << k.code;
    EXPECT_EQ(kf, k.kflag) << "code " << k.code;
    EXPECT_EQ(cf, k.cflag) << "code " << k.code;
  }
}

}  // namespace
}  // namespace torva
