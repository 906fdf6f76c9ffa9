// Estimated ultimate unit side friction and tip resistance.
#include <gtest/gtest.h>

#include <cmath>

#include "axial/defsidtip.h"
#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"

namespace torva {
namespace {

// One uniform layer 0..1000 (inches or metres) of the given code and values.
struct Layer {
  int code = 1;
  int units = 1;
  double gam = 0.05, c = 0.0, phi = 0.0, side = 0.0, tip = 0.0;
};

std::unique_ptr<Model> one_layer(const Layer& l) {
  auto m = new_model();
  m->IUNITS = l.units;
  m->TOLCRV = 1e-6;
  m->NLAYER = 1;
  m->LTOP(1) = 0.0;
  m->LBOT(1) = 1000.0;
  m->LTYPE(1) = l.code;
  m->NSPX = m->NSPXG = 2;
  for (int p = 1; p <= 2; ++p) {
    m->SPDEP(p) = m->SPDEPG(p) = p == 1 ? 0.0 : 1000.0;
    m->SPGAM(p) = l.gam;
    m->SPC(p) = l.c;
    m->SPPHI(p) = l.phi;
    m->SPSIDE(p) = l.side;
    m->SPTIP(p) = l.tip;
  }
  return m;
}

struct Result {
  int hasSide = -1, hasTip = -1, status = 0;
  double fDriven = -1, fDrilled = -1, qDriven = -1, qDrilled = -1;
};

Result run(const Layer& l, double X) {
  auto m = one_layer(l);
  Result r;
  RowCapture cap;  // keep warnings off the (closed) report files
  CaptureScope scope(cap);
  DEFSIDTIP(*m, l.code, X, r.hasSide, r.fDriven, r.fDrilled, r.hasTip, r.qDriven, r.qDrilled,
            r.status);
  return r;
}

// Hand values of the sand rules with the single-precision constants of the rules.
double sand_side(double sigv, double phi) { return 0.8 * sigv * std::tan(phi - 0.087); }
double beta_at(double zft) { return 1.5 - 0.135 * std::sqrt(zft); }

struct Case {
  const char* what;
  Layer layer;
  double X;
  int hasSide;
  double fDriven, fDrilled;
  int hasTip;
  double qDriven, qDrilled;
};

TEST(EstimatedSideAndTip, ClaySandAndSpecialLayersAgainstHandValues) {
  const double sig_sand = 0.04 * 120.0;  // 4.8 psi at 10 ft
  const double nq05 = 12.0 + 1.6 * (57.296 * 0.5 - 25.0);  // 17.8368
  const Case cases[] = {
      // Soft clay, c = 2 psi at 10 in: psi = 4, alpha = 0.354 < 0.5 with c < 3.47: 1.0.
      {"soft clay US", {1, 1, 0.05, 2.0}, 10.0, 1, 2.0, 1.1, 1, 18.0, 18.0},
      {"soft clay generic keeps alpha", {1, 3, 0.05, 2.0}, 10.0, 1, 2.0 * 0.5 / std::sqrt(2.0),
       1.1, 1, 18.0, 18.0},
      // Deep soft clay: psi = 2/30, alpha = 0.5/sqrt(psi) = 1.94 is bounded by 1.
      {"adhesion bounded by 1", {1, 1, 0.05, 2.0}, 600.0, 1, 2.0, 1.1, 1, 18.0, 18.0},
      // Stiff clay c = 20 psi at 100 in: psi = 4, alpha = 0.5 / sqrt(2).
      {"stiff clay", {3, 1, 0.05, 20.0}, 100.0, 1, 20.0 * 0.5 / std::sqrt(2.0), 11.0, 1, 180.0,
       180.0},
      {"sand 0.5 rad at 10 ft", {4, 1, 0.04, 0.0, 0.5}, 120.0, 1, sand_side(sig_sand, 0.5),
       beta_at(10.0) * sig_sand, 1, nq05 * sig_sand, 0.1},
      {"API sand 0.6 rad US", {8, 1, 0.04, 0.0, 0.6}, 120.0, 1, sand_side(sig_sand, 0.6),
       beta_at(10.0) * sig_sand, 1, (20.0 + 4.0 * (57.296 * 0.6 - 30.0)) * sig_sand, 222.2},
      {"sand 0.6 rad SI", {4, 2, 18.0, 0.0, 0.6}, 3.048, 1, sand_side(18.0 * 3.048, 0.6),
       beta_at(10.0) * 18.0 * 3.048, 1, (20.0 + 4.0 * (57.296 * 0.6 - 30.0)) * 18.0 * 3.048,
       1530.0},
      {"sand 0.7 rad generic: drilled tip = driven", {4, 3, 0.04, 0.0, 0.7}, 120.0, 1,
       sand_side(sig_sand, 0.7), 1.2 * sig_sand, 1, 50.0 * sig_sand, 50.0 * sig_sand},
      // No friction: the side friction is never negative; the tip is that of a clay.
      {"sand with c and no friction", {4, 1, 0.04, 0.5, 0.0}, 120.0, 1, 0.0, beta_at(10.0) * sig_sand,
       1, 4.5, 4.5},
      {"silt", {7, 1, 0.04, 1.0, 0.5}, 120.0, 1, sand_side(sig_sand, 0.5) + 1.0,
       0.55 + beta_at(10.0) * sig_sand, 1, nq05 * sig_sand + 9.0, 0.1 + 9.0},
      {"weak rock", {9, 1, 0.05, 100.0}, 50.0, 1, 10.0, 10.0, 1, 900.0, 900.0},
      {"elastic subgrade", {12, 1, 0.05}, 50.0, 1, 0.0, 0.0, 1, 0.0, 0.0},
      // Given side friction, estimated tip.
      {"side given", {1, 1, 0.05, 2.0, 0.0, 5.0}, 10.0, 0, 0.0, 0.0, 1, 18.0, 18.0},
      {"both given", {1, 1, 0.05, 2.0, 0.0, 5.0, 40.0}, 10.0, 0, 0.0, 0.0, 0, 0.0, 0.0},
      // At the ground surface z is 1.0 when the side is estimated, 0 when it is given.
      {"sand at the surface, side estimated", {4, 1, 0.04, 0.0, 0.5}, 0.0, 1,
       sand_side(0.04, 0.5), 1.2 * 0.04, 1, nq05 * 0.04, 0.1},
      {"sand at the surface, side given", {4, 1, 0.04, 0.0, 0.5, 3.0}, 0.0, 0, 0.0, 0.0, 1, 0.0,
       0.1},
  };
  for (const auto& k : cases) {
    const Result r = run(k.layer, k.X);
    EXPECT_EQ(r.status, 0) << k.what;
    EXPECT_EQ(r.hasSide, k.hasSide) << k.what;
    EXPECT_NEAR(r.fDriven, k.fDriven, 1e-5 * (1 + std::abs(k.fDriven))) << k.what;
    EXPECT_NEAR(r.fDrilled, k.fDrilled, 1e-5 * (1 + std::abs(k.fDrilled))) << k.what;
    EXPECT_EQ(r.hasTip, k.hasTip) << k.what;
    EXPECT_NEAR(r.qDriven, k.qDriven, 1e-5 * (1 + std::abs(k.qDriven))) << k.what;
    EXPECT_NEAR(r.qDrilled, k.qDrilled, 1e-5 * (1 + std::abs(k.qDrilled))) << k.what;
  }
}

TEST(EstimatedSideAndTip, BearingFactorAndBetaAtTheirBreakpoints) {
  // Nq at 20, 25, 30, 35, 40 and 41 degrees (driven tip / sigma'v with sigma'v = 1).
  const double nq[][2] = {{20, 8}, {25, 12}, {30, 20}, {35, 40}, {40, 50}, {41, 50}};
  for (const auto& p : nq) {
    const Layer l{4, 1, 0.01, 0.0, p[0] / 57.296, 0.0};
    const Result r = run(l, 100.0);
    EXPECT_NEAR(r.qDriven, p[1], 1e-4) << p[0];
  }
  // beta: 1.2 at 1 ft (cap), 0.25 at 100 ft (floor).
  EXPECT_NEAR(run({4, 1, 0.01, 0.0, 0.5}, 12.0).fDrilled, 1.2 * 0.12, 1e-7);
  EXPECT_NEAR(run({4, 1, 0.01, 0.0, 0.5}, 1000.0).fDrilled, beta_at(1000.0 / 12) * 10.0, 1e-6);
  auto deep = one_layer({4, 1, 0.01, 0.0, 0.5});
  deep->LBOT(1) = deep->SPDEP(2) = deep->SPDEPG(2) = 2000.0;
  Result r;
  DEFSIDTIP(*deep, 4, 1200.0, r.hasSide, r.fDriven, r.fDrilled, r.hasTip, r.qDriven, r.qDrilled,
            r.status);
  EXPECT_NEAR(r.fDrilled, 0.25 * 12.0, 1e-6);
}

TEST(EstimatedSideAndTip, ZeroUnitWeightGivesDefinedValues) {
  const Result r = run({1, 1, 0.0, 5.0}, 100.0);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(std::isfinite(r.fDriven));
  EXPECT_GE(r.fDriven, 0.0);
  EXPECT_LE(r.fDriven, 5.0);
}

TEST(EstimatedSideAndTip, BeyondTheProfileSetsStatusAndLeavesOutputs) {
  const Result r = run({1, 1, 0.05, 2.0}, 2000.0);
  EXPECT_EQ(r.status, ST_DEPSIDEF);
  EXPECT_EQ(r.hasSide, -1);
  EXPECT_EQ(r.fDriven, -1.0);
  EXPECT_EQ(r.hasTip, -1);
}

}  // namespace
}  // namespace torva
