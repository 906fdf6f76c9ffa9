// The embedded-cap example (passive resistance, p-y curves generated from the soil, user
// load-settlement and torque-rotation curves) in US customary units and the same
// foundation converted exactly to SI units: the same cap movement, pile-row forces and
// passive resistance.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cap/cap_equilibrium.h"
#include "cap/example_fixture.h"
#include "model/model.h"

namespace torva {
namespace {

using testing::read_example;
using testing::run_input;
using testing::WorkDir;

// US customary input unit in SI input units (m, mm, kN, kPa).
constexpr double FT = 0.3048;                 // ft -> m
constexpr double IN = 0.0254;                 // in -> m
constexpr double MM = 25.4;                   // in -> mm
constexpr double LBF = 4.4482216152605e-3;    // lb -> kN
constexpr double PSI = LBF / (IN * IN);       // lb/in2 -> kPa
constexpr double PSF = LBF / (FT * FT);       // lb/ft2 -> kPa
constexpr double PCF = LBF / (FT * FT * FT);  // lb/ft3 -> kN/m3
constexpr double PCI = LBF / (IN * IN * IN);  // lb/in3 -> kN/m3
constexpr double LBIN = LBF * IN;             // lb-in -> kN-m
constexpr double LBIN2 = LBF * IN * IN;       // lb-in2 -> kN-m2

std::string num(double x) {
  char b[32];
  std::snprintf(b, sizeof b, "%.15G", x);
  std::string s = b;
  if (s.find_first_of(".eE") == std::string::npos) s += ".0";
  return s;
}

std::string nums(const std::vector<double>& v) {
  std::string s;
  for (double x : v) {
    if (!s.empty()) s += ' ';
    s += num(x);
  }
  return s;
}

// Replaces every line equal to `from` (which must occur) by `to`.
std::string replace_lines(const std::string& text, const std::string& from, const std::string& to) {
  std::istringstream in(text);
  std::string out;
  int found = 0;
  for (std::string l; std::getline(in, l);) {
    found += l == from;
    out += (l == from ? to : l) + "\n";
  }
  EXPECT_GT(found, 0) << from;
  return out;
}

// The example with every value converted to SI input units.
std::string si_input(std::string t) {
  const auto rep = [&t](const std::string& from, const std::string& to) { t = replace_lines(t, from, to); };
  rep("1 3 1 0 0 1 1 0 0 0 0 0 0 0 0 1 0 0 0 0", "2 3 1 0 0 1 1 0 0 0 0 0 0 0 0 1 0 0 0 0");
  rep("8.0 8.0 3.0 0.0 0.0 0", nums({8.0 * FT, 8.0 * FT, 3.0 * FT, 0.0, 0.0}) + " 0");
  rep("1.0E-4 1.0E-6 0.5 0.01", "1.0E-4 " + num(1.0e-6 * IN) + " 0.5 0.01");
  rep("300000.0 100000.0 0.0 40000.0 0.0 0.0 0.0 0.0 0.0",
      nums({3.0e5 * LBF, 1.0e5 * LBF, 0.0, 4.0e4 * LBF, 0.0, 0.0, 0.0, 0.0, 0.0}));
  for (const char* yz : {"-2.5 -2.5", "2.5 -2.5", "-2.5 2.5", "2.5 2.5"}) {
    double y = 0.0, z = 0.0;
    std::sscanf(yz, "%lf %lf", &y, &z);
    rep(std::string("0.0 ") + yz + " 0.0 90.0 0.0 -3.0", nums({0.0, y * FT, z * FT, 0.0, 90.0, 0.0, -3.0 * FT}));
  }
  rep("50 50.0 1", "50 " + num(50.0 * FT) + " 1");
  rep("0.0 50.0 1", "0.0 " + num(50.0 * FT) + " 1");
  rep("16.0 15.0 0.0 0.0 0.0 0.0 0.0 0.0", nums({16.0 * MM, 15.0 * MM, 0, 0, 0, 0, 0, 0}));
  rep("11.2E6 24.347 731.94 731.94 0.0 1.6395E10 4.575E6 3.65E5 29.0E6 0.0 0",
      nums({11.2e6 * PSI, 24.347 * MM * MM, 731.94 * MM * MM * MM * MM, 731.94 * MM * MM * MM * MM, 0.0,
            1.6395e10 * LBIN2, 4.575e6 * LBIN, 3.65e5 * LBF, 29.0e6 * PSI, 0.0}) +
          " 0");
  rep("0 0 0.5 1 0", "0 0 " + num(0.5 * MM) + " 1 0");
  rep("-3.0 12.0", nums({-3.0 * FT, 12.0 * FT}));
  rep("115.0 0.0 34.0 90.0 0.0 0.0 0.0 0.0 0.0", nums({115.0 * PCF, 0.0, 34.0, 90.0 * PCI, 0, 0, 0, 0, 0}));
  rep("12.0 60.0", nums({12.0 * FT, 60.0 * FT}));
  rep("55.0 800.0 0.0 0.0 0.0 0.01 0.0 0.0 0.0", nums({55.0 * PCF, 800.0 * PSF, 0, 0, 0, 0.01, 0, 0, 0}));
  rep("60.0 1400.0 0.0 0.0 0.0 0.007 0.0 0.0 0.0",
      nums({60.0 * PCF, 1400.0 * PSF, 0, 0, 0, 0.007, 0, 0, 0}));
  const struct {
    const char* us;
    double load, move;
  } ls[] = {{"-4.0E5 -1.0", -4.0e5, -1.0}, {"-2.0E5 -0.2", -2.0e5, -0.2}, {"3.0E5 0.2", 3.0e5, 0.2},
            {"6.0E5 1.0", 6.0e5, 1.0}};
  for (const auto& p : ls) rep(p.us, nums({p.load * LBF, p.move * IN}));
  rep("-2.0E6 -0.02", nums({-2.0e6 * LBIN, -0.02}));
  rep("2.0E6 0.02", nums({2.0e6 * LBIN, 0.02}));
  return t;
}

struct Result {
  Vec6 P, DV;
  std::vector<std::array<double, 6>> rows;
  std::string out;
};

// The global iteration count the results report gives.
std::string iterations(const std::string& out) {
  const auto at = out.find("NUMBER OF GLOBAL ITERATIONS =");
  EXPECT_NE(at, std::string::npos);
  return at == std::string::npos ? "" : out.substr(at, out.find('\n', at) - at);
}

Result run(const std::string& input) {
  WorkDir dir;
  Result r;
  EXPECT_EQ(run_input(dir, input), 0);
  const std::vector<testing::CapResult> cap = testing::cap_results(dir.read("case.pld"));
  EXPECT_EQ(cap.size(), 1u);
  if (cap.size() != 1) return r;
  r.P = cap[0].P;
  r.DV = cap[0].DV;
  const Model& m = *current_model();
  for (int g = 1; g <= m.NROW; ++g) r.rows.push_back(m.ROWF[std::size_t(g)]);
  r.out = dir.read("case.out");
  return r;
}

// In exact arithmetic the two runs are the same computation: every internal quantity of
// the SI run is the US one times a fixed unit factor (the tangent of the passive resistance
// too, its translation step being 1e-7 in in either system). They differ by rounding, and
// by the few thresholds fixed in internal units (depths and deflections below 1e-6 of the
// internal length count as zero), which this foundation does not come near. So both take
// the same global iterations, and the results agree to the nine significant digits of the
// plot-data file and the rounding of the iterations: 1e-6 of each quantity's largest
// component. That is well below the cap tolerance (1e-4), so a unit slip anywhere in the
// cap's iterations (a p-y value, a cap dimension, the passive block) shows.
TEST(CapUnits, EmbeddedCapInUsAndSiUnitsGivesTheSameResults) {
  const std::string us_text = read_example("embedded_cap_passive_us.dat");
  const Result us = run(us_text);
  const Result si = run(si_input(us_text));
  ASSERT_EQ(us.rows.size(), 4u);
  ASSERT_EQ(si.rows.size(), 4u);
  EXPECT_NE(si.out.find("* PASSIVE RESISTANCE IN PILE CAP *"), std::string::npos);
  EXPECT_EQ(iterations(si.out), iterations(us.out));

  // Translations (in -> m) and rotations of the cap at the origin.
  double tmax = 0.0, rmax = 0.0;
  for (int i = 1; i <= 3; ++i) {
    tmax = std::max(tmax, std::fabs(us.DV(i)));
    rmax = std::max(rmax, std::fabs(us.DV(3 + i)));
  }
  for (int i = 1; i <= 3; ++i) {
    EXPECT_NEAR(si.DV(i), us.DV(i) * IN, 1e-6 * tmax * IN) << i;
    EXPECT_NEAR(si.DV(3 + i), us.DV(3 + i), 1e-6 * rmax) << 3 + i;
  }
  // Pile-row forces at the origin (lb -> kN, lb-in -> kN-m).
  double fmax = 0.0, mmax = 0.0;
  for (const auto& f : us.rows)
    for (int i = 0; i < 3; ++i) {
      fmax = std::max(fmax, std::fabs(f[std::size_t(i)]));
      mmax = std::max(mmax, std::fabs(f[std::size_t(3 + i)]));
    }
  for (std::size_t g = 0; g < 4; ++g)
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(si.rows[g][i], us.rows[g][i] * LBF, 1e-6 * fmax * LBF) << g + 1 << " " << i + 1;
      EXPECT_NEAR(si.rows[g][3 + i], us.rows[g][3 + i] * LBIN, 1e-6 * mmax * LBIN) << g + 1 << " " << i + 4;
    }
  // The passive resistance of the cap is what the rows leave of the load.
  for (std::size_t i = 1; i <= 2; ++i) {
    double pus = us.P(int(i) + 1), psi = si.P(int(i) + 1);
    for (std::size_t g = 0; g < 4; ++g) {
      pus += us.rows[g][i];
      psi += si.rows[g][i];
    }
    EXPECT_GT(std::fabs(pus), 0.02 * std::fabs(us.P(int(i) + 1))) << "the cap takes a share";
    EXPECT_NEAR(psi, pus * LBF, 1e-6 * std::fabs(pus) * LBF) << i + 1;
  }
}

}  // namespace
}  // namespace torva
