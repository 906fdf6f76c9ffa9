// Equilibrium of the rigid cap at its origin after an analysis: the load at the origin
// balances the pile-row reactions and the cap's own reaction (passive resistance or soil
// springs of an embedded cap) at the converged cap displacement.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cap/cappasv.h"
#include "cap/capreac.h"
#include "cap/fvec.h"
#include "model/model.h"

namespace torva::testing {

// The pile rows are evaluated afresh at DV (FVEC), with the cap's reaction of the chosen
// option, so the check holds for the state the model is in (the last analysis's loads
// along the piles, soil movement and reduction factors). Forces within 2e-3 of the
// largest force, moments within 2e-3 of the largest moment or of the largest force over
// a 1 ft lever: the cap iterations stop on a relative displacement increment of 1e-4.
inline void expect_equilibrium(Model& m, const Vec6& P, const Vec6& DV) {
  // The p-y curves in analysis mode, as the cap analysis sets them: the printed p-y
  // curves and the plot pass after the analyses leave them in print or plot mode.
  m.IPYPRT = 0;
  m.IPLOT = 0;
  m.IPYOUT = 0;
  Vec6 F, Rcap;
  int st = 0;
  FVEC(m, F, DV, st);
  Rcap.fill(0.0);
  if (m.ICAPOPT > 0 && m.ICAPSPR == 0) CAPPASV(m, Rcap, DV, st);
  if (m.ICAPOPT > 0 && m.ICAPSPR == 1) CAPREAC(m, Rcap, DV, st);
  ASSERT_EQ(st, 0);
  const double foot = m.IUNITS == 2 ? 0.3048 : 12.0;
  double fmax = 0.0, mmax = 0.0;
  for (int i = 1; i <= 3; ++i) {
    fmax = std::max(fmax, std::fabs(P(i)));
    mmax = std::max(mmax, std::fabs(P(3 + i)));
  }
  for (int i = 1; i <= 6; ++i)
    EXPECT_NEAR(P(i) + F(i) + Rcap(i), 0.0, 2e-3 * (i <= 3 ? fmax : std::max(mmax, foot * fmax)))
        << i << ": load " << P(i) << " piles " << F(i) << " cap " << Rcap(i);
}

// The load and the displacement at the origin of one analysis, as the plot-data file
// holds them (nine significant digits), with the heading of the case or combination;
// the envelopes are left out.
struct CapResult {
  std::string heading;
  Vec6 P, DV;
};

inline std::vector<CapResult> cap_results(const std::string& plotdata) {
  std::vector<CapResult> out;
  std::istringstream in(plotdata);
  std::string line, heading;
  const auto six = [&in](Vec6& v) {
    std::string l;
    std::getline(in, l);
    std::istringstream s(l);
    for (int i = 1; i <= 6; ++i) s >> v(i);
  };
  while (std::getline(in, line)) {
    // The envelopes that follow the cases and the combinations repeat the block.
    if (line.rfind("LOAD CASE", 0) == 0 || line.rfind("LOAD COMB", 0) == 0) heading = line;
    if (line.rfind("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *", 0) != 0) continue;
    if (heading.find(" ENV ") != std::string::npos) continue;
    CapResult r;
    r.heading = heading;
    six(r.P);
    std::getline(in, line);
    EXPECT_EQ(line, "* DISPLACEMENT OF PILE CAP AT ORIGIN *") << heading;
    six(r.DV);
    out.push_back(r);
  }
  return out;
}

}  // namespace torva::testing
