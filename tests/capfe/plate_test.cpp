// The plate program end to end on model files: membrane and bending patch tests, the
// simply supported square plate against its series solution, piles as springs, and the
// layout of the results file.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "capfe/platefix.h"
#include "model/status.h"

namespace torva {
namespace {

using testing::LinearPiles;
using testing::PlateModel;
using testing::PlateRunner;

// Restraints of every node: `base` everywhere, with the codes of `edge` added where the
// node lies on x = 0 (a clamped or supported edge) when `on_edge` says so.
void restrain_all(PlateModel& pm, const int base[6], const std::function<bool(double, double)>& on_edge,
                  const int edge[6]) {
  for (int n = 1; n <= pm.mesh.npoin(); ++n) {
    int c[6];
    for (int i = 0; i < 6; ++i) c[i] = base[i] | (on_edge(pm.mesh.x[std::size_t(n - 1)], pm.mesh.y[std::size_t(n - 1)]) ? edge[i] : 0);
    pm.restrain(n, c);
  }
}

// Edge records along x = a: side 2 of the right-most elements.
void right_edge(PlateModel& pm, int dof, double q, std::vector<std::string>& out) {
  for (int r = 1; r <= pm.mesh.ny; ++r) {
    const int e = r * pm.mesh.nx;
    out.push_back(std::to_string(e) + " 2 " + std::to_string(dof) + " " + std::to_string(q) + " " +
                  std::to_string(q) + " " + std::to_string(q));
  }
}

TEST(PlatePatch, MembraneTensionGivesUniformStressAndExactElongation) {
  for (int nnode : {4, 8}) {
    PlateModel pm;
    pm.mesh.nnode = nnode;
    pm.mesh.nx = 3;
    pm.mesh.ny = 2;
    pm.mesh.a = 3.0;
    pm.mesh.b = 1.2;
    pm.mesh.build();
    pm.nu = 0.3;
    pm.e = 2.0e5;
    pm.t = 0.5;
    // Plate freedoms and drilling held everywhere; u held on x = 0, v at the origin.
    const int base[6] = {0, 0, 1, 1, 1, 1}, edge[6] = {1, 0, 0, 0, 0, 0};
    for (int n = 1; n <= pm.mesh.npoin(); ++n) {
      const double x = pm.mesh.x[std::size_t(n - 1)], y = pm.mesh.y[std::size_t(n - 1)];
      int c[6];
      for (int i = 0; i < 6; ++i) c[i] = base[i] | (x == 0.0 ? edge[i] : 0);
      if (x == 0.0 && y == 0.0) c[1] = 1;
      pm.restrain(n, c);
    }
    const double p = 30.0;  // force per unit length on x = a
    right_edge(pm, 1, p, pm.edgeload);
    PlateRunner run;
    run.solve(pm.text());
    ASSERT_EQ(run.run->status, 0) << run.listing();
    const double sigma = p / pm.t, strain = sigma / pm.e;
    for (int n = 1; n <= pm.mesh.npoin(); ++n) {
      const double x = pm.mesh.x[std::size_t(n - 1)], y = pm.mesh.y[std::size_t(n - 1)];
      EXPECT_NEAR(run.u(n, 1), strain * x, 1e-12) << nnode << " node " << n;
      EXPECT_NEAR(run.u(n, 2), -pm.nu * strain * y, 1e-12) << nnode << " node " << n;
    }
    // Every Gauss point and every smoothed node carries sigma_xx = p / t.
    const std::string list = run.listing();
    int points = 0;
    std::istringstream lines(list);
    for (std::string l; std::getline(lines, l);) {
      const std::size_t at = l.find("  0.60000E+02 ");
      if (at == std::string::npos) continue;
      ++points;
      EXPECT_NEAR(std::stod(l.substr(at + 13, 13)), 0.0, 1e-9) << l;  // sigma_yy
    }
    EXPECT_GE(points, 6 * 4);
    const std::string res = run.dir.read("plate.fer");
    EXPECT_NE(res.find(" 0.6000E+02"), std::string::npos);
  }
}

TEST(PlatePatch, ConstantMomentOnCantileverStrip) {
  PlateModel pm;
  pm.mesh.nx = 4;
  pm.mesh.ny = 2;
  pm.mesh.a = 4.0;
  pm.mesh.b = 1.0;
  pm.mesh.build();
  pm.nu = 0.0;
  pm.e = 1.0e4;
  pm.t = 0.2;
  const int base[6] = {1, 1, 0, 0, 0, 1}, clamp[6] = {0, 0, 1, 1, 1, 0};
  restrain_all(pm, base, [](double x, double) { return x == 0.0; }, clamp);
  const double mom = 2.5;  // moment per unit width on x = a, about the plate rotation theta_x
  right_edge(pm, 4, mom, pm.edgeload);
  PlateRunner run;
  run.solve(pm.text());
  ASSERT_EQ(run.run->status, 0) << run.listing();
  const double d = pm.e * std::pow(pm.t, 3) / 12.0;
  for (int n = 1; n <= pm.mesh.npoin(); ++n) {
    const double x = pm.mesh.x[std::size_t(n - 1)];
    EXPECT_NEAR(run.u(n, 4), mom * x / d, 1e-9 * mom * pm.mesh.a / d) << n;
    EXPECT_NEAR(run.u(n, 3), mom * x * x / (2 * d), 1e-9 * mom * pm.mesh.a * pm.mesh.a / d) << n;
    EXPECT_NEAR(run.u(n, 5), 0.0, 1e-12) << n;
  }
}

// Centre deflection of a simply supported square plate under uniform pressure, w D / (q a^4).
double ss_plate_coefficient(int nel) {
  PlateModel pm;
  pm.mesh.nx = pm.mesh.ny = nel;
  pm.mesh.a = pm.mesh.b = 10.0;
  pm.mesh.build();
  pm.nu = 0.3;
  pm.e = 1.0e7;
  pm.t = 0.05;  // thin: t / a = 0.005
  for (int n = 1; n <= pm.mesh.npoin(); ++n) {
    const double x = pm.mesh.x[std::size_t(n - 1)], y = pm.mesh.y[std::size_t(n - 1)];
    const bool xe = x == 0.0 || x == pm.mesh.a, ye = y == 0.0 || y == pm.mesh.b;
    // Hard simple support: w and the rotation along the edge held.
    const int c[6] = {1, 1, (xe || ye) ? 1 : 0, ye ? 1 : 0, xe ? 1 : 0, 1};
    pm.restrain(n, c);
  }
  const double q = 1.0;
  for (int e = 1; e <= nel * nel; ++e) pm.distload.push_back(std::to_string(e) + " 0 0 1 0 0 0");
  PlateRunner run;
  run.solve(pm.text());
  if (run.run->status != 0) {
    ADD_FAILURE() << run.listing();
    return 1.0;
  }
  const int centre = pm.mesh.at[{nel, nel}];
  const double d = pm.e * std::pow(pm.t, 3) / (12.0 * (1.0 - pm.nu * pm.nu));
  return run.u(centre, 3) * d / (q * std::pow(pm.mesh.a, 4));
}

TEST(PlateClosedForm, SimplySupportedSquarePlateConvergesToSeriesSolution) {
  const double exact = 0.00406235;  // Navier series, nu = 0.3
  double prev = 1.0;
  for (int nel : {2, 4, 8}) {
    const double err = std::abs(ss_plate_coefficient(nel) - exact) / exact;
    EXPECT_LT(err, prev) << nel;
    prev = err;
    if (nel == 4) {
      EXPECT_LT(err, 0.06);
    }
    if (nel == 8) {
      EXPECT_LT(err, 0.005);
    }
  }
}

TEST(PlatePiles, StiffPlateOnFourPilesShareLoadsEvenly) {
  PlateModel pm;
  pm.mesh.nx = pm.mesh.ny = 2;
  pm.mesh.a = pm.mesh.b = 4.0;
  pm.mesh.build();
  pm.e = 1.0e9;  // far stiffer than the piles
  pm.t = 1.0;
  pm.ispring = 1;
  for (const char* p : {"0 0", "4 0", "4 4", "0 4"}) pm.piles.push_back(p);
  const double pz = 1000.0, px = 200.0;
  pm.pntload.push_back("2 2 " + std::to_string(px) + " 0 " + std::to_string(pz) + " 0 0 0");
  const double kv = 5.0e3, kh = 1.0e3;
  LinearPiles piles({kv, kh, kh, 1.0e4, 1.0e4, 1.0e4});
  PlateRunner run;
  run.m->NROW = 4;
  run.solve(pm.text(), &piles);
  ASSERT_EQ(run.run->status, 0) << run.listing();
  // By symmetry the four piles settle alike, and together they carry the load.
  double usum = 0.0;
  for (auto corner : {std::pair{0, 0}, {4, 0}, {4, 4}, {0, 4}}) {
    const int n = pm.mesh.at[corner];
    EXPECT_NEAR(run.u(n, 3), pz / (4 * kv), 1e-8 * pz / kv) << n;  // plate w: pile X, downward
    usum += run.u(n, 1);
  }
  EXPECT_NEAR(usum * kh, px, 1e-6 * px);  // plate u: pile Z
  // The final pass evaluates every pile at the plate's displacement: X is down, Z is plate x.
  const std::string trace = run.dir.read("tslab.ftr");
  const std::size_t dd2 = trace.rfind("DD2  ");
  ASSERT_NE(dd2, std::string::npos);
  EXPECT_EQ(trace.substr(dd2 + 5, 13), " -0.50000E-01");
  EXPECT_EQ(trace.substr(dd2 + 31, 13), "  0.50000E-01");
}

TEST(PlatePiles, PileFailureStopsThePlateRunWithItsStatus) {
  class Failing final : public PileSprings {
   public:
    void force(Model&, int, double F[6], const double[6], int& st) const override {
      for (int i = 0; i < 6; ++i) F[i] = 0.0;
      st = ST_PILEDEEP;
    }
    void tangent(Model&, int, double K[36], const double[6], int& st) const override {
      for (int i = 0; i < 36; ++i) K[i] = 0.0;
      st = ST_PILEDEEP;
    }
  } failing;
  PlateModel pm;
  pm.mesh.build();
  pm.ispring = 1;
  pm.piles.push_back("0.5 0.5");
  PlateRunner run;
  run.m->NROW = 1;
  run.solve(pm.text(), &failing);
  EXPECT_EQ(run.run->status, ST_PILEDEEP);
}

TEST(PlateSteps, ResultsFileOfOneStepAndOfNoStep) {
  PlateModel pm;
  pm.mesh.nx = pm.mesh.ny = 1;
  pm.mesh.build();
  const int all[6] = {1, 1, 1, 1, 1, 1};
  for (int n = 1; n <= pm.mesh.npoin(); ++n) pm.restrain(n, all);
  PlateRunner one;
  one.solve(pm.text());
  ASSERT_EQ(one.run->status, 0) << one.listing();
  const std::string res = one.dir.read("plate.fer");
  EXPECT_EQ(res.substr(0, res.find("\n    1 ")),
            "STEP_DATA\n14\nUX UY UZ ROTX ROTY ROTZ SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ\nSTEP       1");
  EXPECT_EQ(res.substr(res.size() - 14), "END_STEP_DATA\n");
  EXPECT_EQ(one.m->KSTEP, 2);
  // TINI + DT beyond TEND: no step runs.
  pm.dt = 2.0;
  PlateRunner none;
  none.solve(pm.text());
  ASSERT_EQ(none.run->status, 0);
  EXPECT_EQ(none.dir.read("plate.fer"), "END_STEP_DATA\n");
}

TEST(PlateSteps, LastStepIsShortenedToEndTimeAndPrescribedValuesAreReached) {
  PlateModel pm;
  pm.mesh.nx = 2;
  pm.mesh.ny = 1;
  pm.mesh.build();
  pm.dt = 0.4;
  // A prescribed in-plane displacement of the edge x = a, reached over the steps.
  for (int n = 1; n <= pm.mesh.npoin(); ++n) {
    const double x = pm.mesh.x[std::size_t(n - 1)], y = pm.mesh.y[std::size_t(n - 1)];
    const int c[6] = {x == 0.0 || x == 1.0 ? 1 : 0, x == 0.0 && y == 0.0 ? 1 : 0, 1, 1, 1, 1};
    const double v[6] = {x == 1.0 ? 0.01 : 0.0, 0, 0, 0, 0, 0};
    pm.restrain(n, c, v);
  }
  PlateRunner run;
  run.solve(pm.text());
  ASSERT_EQ(run.run->status, 0) << run.listing();
  const std::string log = run.dir.read("plate.flg");
  EXPECT_NE(log.find("STEP     3   TCUR   =    1.0000  DT =     0.4000"), std::string::npos) << log;
  EXPECT_EQ(log.find("STEP     4"), std::string::npos);
  const int right = pm.mesh.at[{4, 0}];
  EXPECT_NEAR(run.u(right, 1), 0.01, 1e-14);
  EXPECT_NEAR(run.u(pm.mesh.at[{2, 1}], 1), 0.005, 1e-12);
}

// Piles that stiffen with their displacement: F = -k (U + c U^3) in every component.
class CubicPiles final : public PileSprings {
 public:
  CubicPiles(double k, double c) : k_(k), c_(c) {}
  void force(Model&, int, double F[6], const double U[6], int&) const override {
    for (int i = 0; i < 6; ++i) F[i] = -k_ * (U[i] + c_ * U[i] * U[i] * U[i]);
  }
  void tangent(Model&, int, double K[36], const double U[6], int&) const override {
    for (int i = 0; i < 36; ++i) K[i] = 0.0;
    for (int i = 0; i < 6; ++i) K[i + 6 * i] = -k_ * (1.0 + 3.0 * c_ * U[i] * U[i]);
  }

 private:
  double k_, c_;
};

PlateModel stiff_plate_on_corner_piles(double pz) {
  PlateModel pm;
  pm.mesh.build();
  pm.e = 1.0e6;
  pm.t = 1.0;
  pm.ispring = 1;
  for (const char* p : {"0 0", "1 0", "1 1", "0 1"}) pm.piles.push_back(p);
  pm.pntload.push_back("0.5 0.5 0 0 " + std::to_string(pz) + " 0 0 0");
  return pm;
}

TEST(PlateSteps, HalvingDownToSmallestIncrementEndsTheStepping) {
  PlateModel pm = stiff_plate_on_corner_piles(4.0);
  pm.maxiter = 0;  // the second iteration is the last before halving
  pm.dtmin = 0.3;
  CubicPiles piles(1.0, 10.0);
  PlateRunner run;
  run.m->NROW = 4;
  run.solve(pm.text(), &piles);
  ASSERT_EQ(run.run->status, 0) << run.listing();
  const std::string log = run.dir.read("plate.flg");
  EXPECT_NE(log.find("STEP     1   TCUR   =    0.5000  DT =     0.5000"), std::string::npos) << log;
  EXPECT_EQ(log.substr(log.size() - 54), "error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED\n");
  EXPECT_EQ(run.dir.read("plate.fer"), "END_STEP_DATA\n");
  EXPECT_EQ(run.m->KSTEP, 1);
  // The outcome: cut before any step converged.
  EXPECT_TRUE(run.run->cut);
  EXPECT_EQ(run.run->steps, 0);
  EXPECT_EQ(run.run->reached, 0.0);
  EXPECT_FALSE(run.run->complete);
}

TEST(PlateSteps, NonlinearPilesReachEquilibriumAfterHalvings) {
  PlateModel pm = stiff_plate_on_corner_piles(4.0);
  pm.maxiter = 3;
  pm.dtmin = 0.001;
  CubicPiles piles(1.0, 10.0);
  PlateRunner run;
  run.m->NROW = 4;
  run.solve(pm.text(), &piles);
  ASSERT_EQ(run.run->status, 0) << run.listing();
  EXPECT_DOUBLE_EQ(run.m->TCUR, 1.0 + run.m->DTCUR);  // the last step ended at the end time
  // Each corner pile carries a quarter: w + 10 w^3 = 1.
  const double w = run.u(1, 3);
  EXPECT_NEAR(w + 10.0 * w * w * w, 1.0, 1e-3);
  EXPECT_TRUE(run.run->complete);
  EXPECT_FALSE(run.run->cut);
  EXPECT_EQ(run.run->reached, 1.0);
  EXPECT_EQ(run.run->steps, run.m->KSTEP - 1);
}

// A stop request ends the stepping between steps: the converged steps keep their results,
// the final pile pass does not run, and the run ends with the stop status.
TEST(PlateSteps, StopRequestEndsTheRunBetweenSteps) {
  PlateModel pm = stiff_plate_on_corner_piles(4.0);
  pm.dt = 0.25;
  LinearPiles piles({1, 1, 1, 1, 1, 1});
  PlateRunner run;
  run.m->NROW = 4;
  int polls = 0;
  // Asked while the third step starts.
  run.solve(pm.text(), &piles, [&] {
    ++polls;
    return run.m->KSTEP == 3;
  });
  EXPECT_EQ(run.run->status, ST_STOP);
  EXPECT_EQ(run.run->steps, 2);
  EXPECT_EQ(run.run->reached, 0.5);
  EXPECT_GE(polls, 5);  // at least two iterations a step, and the one that stopped
  const std::string log = run.dir.read("plate.flg"), res = run.dir.read("plate.fer");
  EXPECT_NE(log.find("STEP     3   TCUR   =    0.7500"), std::string::npos) << log;
  EXPECT_EQ(log.find("STEP     4"), std::string::npos) << log;
  EXPECT_NE(res.find("\nSTEP       2\n"), std::string::npos);
  EXPECT_EQ(res.find("\nSTEP       3\n"), std::string::npos);
  EXPECT_EQ(res.substr(res.size() - 14), "END_STEP_DATA\n");
  EXPECT_EQ(run.listing().find("PILE HEAD"), std::string::npos);
}

}  // namespace
}  // namespace torva
