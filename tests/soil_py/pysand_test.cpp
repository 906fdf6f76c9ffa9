// Sand criteria (codes 4, 8, 11) against hand values of their formulas and the published
// API coefficients; sand's ultimate resistance against API sand's.
#include <gtest/gtest.h>

#include "pyfixture.h"

namespace torva {
namespace {

using pytest::f32;
using pytest::PyModel;
using pytest::SoilPt;

// The API coefficients C1, C2, C3 of a friction angle (degrees), K0 = 0.4.
struct Api {
  double C1, C2, C3;
};
Api api(double deg) {
  const double pi = 3.141592653589793, phi = deg * pi / 180.0;
  const double a = phi / 2, b = pi / 4 + phi / 2, K0 = f32(0.4f);
  const double Ka = std::pow(std::tan(pi / 4 - phi / 2), 2), tb = std::tan(b);
  return {tb * (tb * tb * std::tan(a) + K0 * (std::tan(phi) * std::sin(b) * (1 / std::cos(a) + 1) -
                                           std::tan(a))),
          tb * tb - Ka, std::pow(tb, 4) * (tb * tb + K0 * std::tan(phi)) - Ka};
}

TEST(PySand, ApiCoefficientsMatchThePublishedChart) {
  const struct {
    double deg, C1, C2, C3;
  } chart[] = {{25, 1.218, 2.058, 15.68}, {30, 1.912, 2.667, 28.75}, {35, 2.970, 3.419, 53.79},
               {40, 4.624, 4.381, 104.15}};
  for (const auto& r : chart) {
    const Api c = api(r.deg);
    EXPECT_NEAR(c.C1, r.C1, 0.002) << r.deg;
    EXPECT_NEAR(c.C2, r.C2, 0.002) << r.deg;
    EXPECT_NEAR(c.C3, r.C3, 0.01 * r.C3) << r.deg;
  }
}

// D = 24 in, phi = 35 deg, g = 0.04 pci, k = 100 pci; nodes every 24 in down to 480 in.
PyModel sand(int code, int istatic = 1, double freelen = 0.0, double phi = 35.0) {
  PyModel pm(20, 480.0, 24.0, 1, 0.0, freelen);
  SoilPt s;
  s.phi_deg = phi;
  s.gam = 0.04;
  s.k = 100.0;
  pm.layer(-100.0, 600.0, code, s);
  pm.m.ISTATIC = istatic;
  return pm;
}

// At x = 120 in (node 6, x/D = 5): Pst = 2104.87, Psd = 6197.01 lb/in.
TEST(PySand, SandUltimateResistanceEqualsApiSands) {
  PyModel s4 = sand(4), s8 = sand(8);
  s4.eval(20.0);
  s8.eval(20.0);
  ASSERT_EQ(s4.status, 0);
  ASSERT_EQ(s8.status, 0);
  const double ps = -s4.p(6) / f32(0.88f);  // A = 0.88 at x/D = 5
  const double pu = -s8.p(6) / f32(0.9f);   // A = 0.9 below 2.625 D
  EXPECT_NEAR(ps, pu, 1e-5 * pu);
  EXPECT_NEAR(ps, 2104.87, 0.01);
  // Shallow node x = 24 (node 2, x/D = 1): sand A = 2.11, API sand A = 3 - 0.8 = 2.2.
  EXPECT_NEAR(-s4.p(2) / f32(2.11f), -s8.p(2) / 2.2, 1e-5 * s8.p(2) / -2.2);
}

TEST(PySand, SandFourPieceCurve) {
  const double ps = 2104.87, pu = f32(0.88f) * ps, pm = f32(0.5f) * ps;
  const double ym = 0.4, yu = 0.9, kx = 100.0 * 120.0;
  const double sl = (pu - pm) / (yu - ym), n = pm / (sl * ym), Cs = pm / std::pow(ym, 1 / n);
  const double yk = std::pow(Cs / kx, n / (n - 1));
  const struct {
    double y, want;
  } pts[] = {{0.5 * yk, kx * 0.5 * yk},
             {0.1, Cs * std::pow(0.1, 1 / n)},
             {ym, pm},
             {0.65, pm + sl * 0.25},
             {yu, pu},
             {3.0, pu}};
  for (const auto& q : pts) {
    PyModel pm4 = sand(4);
    pm4.eval(q.y);
    EXPECT_NEAR(-pm4.p(6), q.want, 2e-5 * q.want) << q.y;
  }
  PyModel z = sand(4);
  z.eval(0.0);
  EXPECT_EQ(z.Es(6), kx);
  EXPECT_EQ(z.p(6), 0.0);
}

TEST(PySand, ApiSandHyperbolicCurveAndDeepBranch) {
  const Api c = api(35.0);
  // x = 120: the wedge branch; x = 480 (tip): beyond xt = (C3 - C2) D / C1, C3 D g x.
  const double xt = (c.C3 - c.C2) * 24 / c.C1;
  ASSERT_GT(xt, 120.0);
  ASSERT_LT(xt, 480.0);
  const double pu6 = (c.C1 * 120 + c.C2 * 24) * 0.04 * 120, pu21 = c.C3 * 24 * 0.04 * 480;
  for (int istatic : {1, 0}) {
    PyModel pm = sand(8, istatic);
    pm.eval(0.1);
    const double A = f32(0.9f);
    EXPECT_NEAR(-pm.p(6), A * pu6 * std::tanh(12000.0 * 0.1 / (A * pu6)), 1e-4);
    EXPECT_NEAR(-pm.p(21), A * pu21 * std::tanh(48000.0 * 0.1 / (A * pu21)), 1e-3);
    // Static A at x/D = 1 is 2.2; cyclic 0.9.
    pm.eval(50.0);
    const double pu2 = (c.C1 * 24 + c.C2 * 24) * 0.04 * 24;
    EXPECT_NEAR(-pm.p(2), (istatic == 1 ? 2.2 : A) * pu2, 1e-6 * pu2);
  }
}

TEST(PySand, ApiSandZeroFrictionAngle) {
  // Head 24 in below the ground: node 1 is the layer's first node and is accepted with no
  // resistance; node 2 stops the run.
  PyModel pm = sand(8, 1, -24.0, 0.0);
  pytest::PyFiles files(pm.m);
  pm.eval(0.1);
  EXPECT_EQ(pm.status, ST_SANDPHI0);
  EXPECT_EQ(pm.p(1), 0.0);
  EXPECT_FALSE(std::isnan(pm.Es(1)));
  const std::string log = files.text("runlog.txt");
  EXPECT_NE(log.find("       THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT"),
            std::string::npos);
  // Sand (code 4) with a zero friction angle: no resistance, never NaN.
  PyModel s = sand(4, 1, 0.0, 0.0);
  s.eval(0.1);
  EXPECT_EQ(s.status, 0);
  for (int n = 2; n <= 21; ++n) {
    EXPECT_EQ(s.p(n), 0.0);
    EXPECT_FALSE(std::isnan(s.Es(n)));
  }
}

TEST(PySand, LiquefiedSandInSiUnits) {
  PyModel pm(6, 6.0, 0.6, 2);
  SoilPt s;
  s.gam = 8.0;
  pm.layer(0.0, 8.0, 11, s);
  pm.eval(0.05);  // u = 50 mm at z = 3 m (node 4)
  ASSERT_EQ(pm.status, 0);
  EXPECT_NEAR(-pm.p(4), 17.94, 0.01);
  EXPECT_NEAR(pm.Es(4), -pm.p(4) / 0.05, 1e-9);
  pm.eval(0.6);  // far along: pu = Pd x 15 = 54.81
  EXPECT_NEAR(-pm.p(4), 54.81, 0.01);
  pm.eval(0.0);  // a pile at rest: a finite modulus, no reaction
  EXPECT_GT(pm.Es(4), 0.0);
  EXPECT_TRUE(std::isfinite(pm.Es(4)));
  EXPECT_EQ(pm.p(4), 0.0);
  // The y-multiplier stretches the curve: p(0.1 / 2) with the secant at 0.1.
  pm.m.YMULT(1) = 2.0;
  pm.eval(0.1);
  const double p2 = -pm.p(4);
  pm.m.YMULT(1) = 1.0;
  pm.eval(0.05);
  EXPECT_DOUBLE_EQ(p2, -pm.p(4));
}

TEST(PySand, LiquefiedSandUsUnitsAndSmallPile) {
  // 0.3 m pile at z = 5 m: the first piece of the diameter factor, the 15 kN/m cap.
  PyModel si(10, 10.0, 0.3, 2);
  SoilPt s;
  s.gam = 8.0;
  si.layer(0.0, 12.0, 11, s);
  si.eval(0.02);
  EXPECT_NEAR(-si.p(6), 4.919, 0.005);
  si.eval(0.5);
  EXPECT_NEAR(-si.p(6), 15.0 * 0.3 / f32(0.3f), 1e-9);
  // US: a 12 in pile at 120 in is evaluated at 3.048 m and 0.3048 m, times 5.7143.
  PyModel us(10, 240.0, 12.0, 1);
  us.layer(0.0, 300.0, 11, s);
  us.eval(100.0);
  const double Dm = f32(0.0254f) * 12.0;
  const double Pd = f32(3.81f) * std::log(Dm) + f32(5.6f);
  const double zm = f32(0.0254f) * 120.0;
  const double q500 = f32(3.0e-7f) * std::pow(zm + 1, f32(6.05f)) *
                      std::pow(f32(2.80f) * std::pow(zm + 1, f32(0.11f)) * 500 * Dm,
                               f32(2.85f) * std::pow(zm + 1, -f32(0.41f)));
  EXPECT_NEAR(-us.p(6), Pd * std::min(15.0, q500) * f32(5.7143f), 1e-6);
}

}  // namespace
}  // namespace torva

namespace torva {
namespace {

// API sand below soft clay: the integral of the static A pu of API sand from the ground
// to the equivalent depth equals the soft clay's integral.
TEST(PySand, ApiSandEquivalentDepthBelowClay) {
  PyModel pm(20, 480.0, 24.0);
  SoilPt a;
  a.c = 3.0;
  a.gam = 0.04;  // one unit weight: the mean from the ground is the same in both layers
  a.e50 = 0.02;
  pm.layer(0.0, 96.0, 1, a);
  SoilPt b;
  b.phi_deg = 35.0;
  b.gam = 0.04;
  b.k = 100.0;
  pm.layer(96.0, 600.0, 8, b);
  pm.eval(0.1);
  ASSERT_EQ(pm.status, 0);
  const double S = pm.m.PUSUM(1, 1), xe = pm.m.EQDEPTH(1, 2);
  ASSERT_GT(S, 0.0);
  const Api c = api(35.0);
  // The family integrates in 50 steps of xc/50 (right-hand values), linear within a step:
  // the running sum at xe is S.
  const double dx = (c.C3 - c.C2) * 24.0 / c.C1 / 50.0;
  double I = 0.0, x = 0.0;
  while (x + dx <= xe) {
    x += dx;
    I += dx * std::max(f32(0.9f), 3.0 - f32(0.8f) * x / 24.0) * (c.C1 * x + c.C2 * 24.0) * 0.04 * x;
  }
  const double xn = x + dx;
  const double fn = std::max(f32(0.9f), 3.0 - f32(0.8f) * xn / 24.0) * (c.C1 * xn + c.C2 * 24.0) * 0.04 * xn;
  I += (xe - x) * fn;
  EXPECT_NEAR(I, S, 1e-5 * S);
  EXPECT_NE(xe, 96.0);
}

}  // namespace
}  // namespace torva
