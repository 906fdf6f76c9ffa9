// What a cap analysis writes while it iterates: the load-step and iteration lines of the run
// log and the solver trace (golden text of one small analysis), the progress message the
// host reads, the alternative tolerances, and the coupling terms clipped before the first
// solve of a case given at a point of definition.
// GCC 12 reports a false maybe-uninitialized inside std::regex's compiler when it is built
// with the sanitizers and optimisation; the warning names only library internals.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cap/anal2d.h"
#include "cap/anal3d.h"
#include "cap/bent_fixture.h"
#include "cap/capreport.h"
#include "cap/example_fixture.h"
#include "pile/loads.h"
#include "support/golden.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using testing::read_example;
using testing::replace;
using testing::run_input;
using testing::WorkDir;

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// Values below 1e-5 in these files are the round-off of an exact zero or of a converged
// increment: their digits say nothing about the layout and change with any harmless change of
// the arithmetic, so they are compared as "tiny" in the same columns.
std::vector<std::string> masked_lines(const std::string& text) {
  static const std::regex tiny(R"(-?0\.\d{5}E-(0[5-9]|[1-9]\d))");
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    std::string out;
    std::size_t at = 0;
    for (std::sregex_iterator it(l.begin(), l.end(), tiny), end; it != end; ++it) {
      out += l.substr(at, std::size_t(it->position()) - at);
      out += std::string(std::size_t(it->length()) - 4, ' ') + "tiny";
      at = std::size_t(it->position() + it->length());
    }
    lines.push_back(out + l.substr(at));
  }
  return lines;
}

fs::path golden(const char* file) {
  return fs::path(TORVA_SOURCE_DIR) / "tests" / "golden" / "single_pile_elastic_us" / file;
}

// The single pile under 10 kips with the alternative tolerances switched on (limits of 0, so
// the relative errors still decide): one step of two iterations.
TEST(CapIterationLog, RunLogAndSolverTraceOfOneSmallAnalysis) {
  WorkDir dir;
  const std::string t = replace(read_example("single_pile_elastic_us.dat"), "2 1 1.0 0 0.0 0.0 0 0 0",
                                "2 1 1.0 1 0.0 0.0 0 0 0");
  ASSERT_EQ(run_input(dir, t), 0);
  const std::string log = dir.read("case.log");
  const auto from = log.find("\n     GLOBAL ITERATIONS\n");
  const auto to = log.find("NUMBER OF GLOBAL ITERATIONS =");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  testing::check_golden_lines(golden("iteration_log.txt"), masked_lines(log.substr(from + 1, log.find('\n', to) - from)));
  testing::check_golden_lines(golden("solver_trace.txt"), masked_lines(dir.read("case.trc")));
}

// The first load case of a run read, converted and echoed, analysed directly (2-D or 3-D by
// the model), so that the progress file holds the analysis's own last message (the driver
// overwrites it afterwards).
void analyse_first_case(testing::Bent& r, int kind) {
  Model& m = *r.m;
  m.NTHUSE = m.NTHRUN = 1;
  m.NTHMAX = 8;
  m.ICASE = 1;
  m.ICOMB = 0;
  SETCURCASE(m, 1);
  Vec6 L, last1, last2, zero;
  LOADORIG(m, 1, L);
  CASELOAD(m, 1);
  DLOADORIG(m, L);
  zero.fill(0.0);
  Vec6 pd = zero;
  Arr1<double, 3> pt{};
  pt.fill(0.0);
  m.NRESLT = 1;
  if (m.NDIM == 2) {
    Vec3 l, z3, f1, f2;
    l(1) = L(1);
    l(2) = L(2);
    l(3) = L(6);
    z3.fill(0.0);
    Flags3 f3;
    f3.fill(1);
    int ipy = 0;
    ANAL2D(m, kind, ipy, r.status, f1, f2, l, z3, z3, pt, f3);
  } else {
    Arr1<int, 6> fl{};
    fl.fill(1);
    ANAL3D(m, kind, r.status, last1, last2, L, zero, pd, pt, fl);
  }
}

TEST(CapProgress, MessageOfEachForm) {
  struct Case {
    const char* name;
    const char* example;
    int kind;
    bool stop;            // a stop request waits: the message is the first iteration's
    int npstf, ipstf, istep, ieston;
    const char* facinc;   // replaces the case's first increment when given
    const char* second;   // the second record of the message
  };
  const char* single = "single_pile_elastic_us.dat";
  const char* bent = "bent_2d_stiff_clay_us.dat";
  const Case cases[] = {
      {"completed", single, 0, false, 1, 1, 1, 0, nullptr, " STEP:    1 COMPLETED"},
      {"no step", single, 0, false, 1, 1, 1, 0, "1.5", " STEP:    0 COMPLETED"},
      {"iteration", single, 0, true, 1, 1, 1, 0, nullptr, " STEP:    1 TCUR:    1.0000 ITERATION:    1"},
      {"combination", single, 1, true, 1, 1, 1, 0, nullptr, " STEP:    1 TCUR:    1.0000 ITERATION:    1"},
      {"last point", single, 0, true, 7, 7, 1, 0, nullptr, " STEP:    1 TCUR:    1.0000 ITERATION:    1"},
      {"estimation point", single, 0, true, 7, 2, 3, 0, nullptr,
       " DOF:  2/  3 STEP:    1 TCUR:    1.000 ITERATION:    1"},
      {"estimation point done", single, 0, false, 7, 2, 3, 0, nullptr, " DOF:  2/  3 STEP:    1 COMPLETED"},
      {"2-D iteration", bent, 0, true, 1, 1, 1, 0, nullptr, " STEP:    1 TCUR:    0.2500 ITERATION:    1"},
      {"2-D flexibility point", bent, 0, true, 4, 2, 3, 0, nullptr,
       " DOF:  2/  3 STEP:    1 TCUR:    0.2500 ITERATION:    1"},
      {"2-D stiffness point", bent, 0, true, 3, 1, 2, 1, nullptr,
       " POINT:  1/  2 STEP:    1 TCUR:    0.250 ITERATION:    1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = read_example(c.example);
    if (c.facinc) text = replace(text, "1.0E-4 1.0E-6 1.0 0.01", std::string("1.0E-4 1.0E-6 ") + c.facinc + " 0.01");
    testing::Bent d(text);
    ASSERT_EQ(d.status, 0);
    d.m->NCOMB = 12;
    d.m->NPSTF = c.npstf;
    d.m->IPSTF = c.ipstf;
    d.m->ISTEP = c.istep;
    d.m->IESTON = c.ieston;
    d.m->ICONV = 0;
    if (c.stop) d.dir.write("case.stp", "1\n");
    analyse_first_case(d, c.kind);
    EXPECT_EQ(d.status, c.stop ? ST_STOP : 0);
    const std::string head = c.kind == 0 ? "- ANALYSIS FOR LOAD CASE   1/  1 ( 1/ 8 proc.)"
                                         : "- ANALYSIS FOR LOAD COMB   1/ 12 ( 1/ 8 proc.)";
    EXPECT_EQ(d.dir.read("case.prg"), head + "\n" + c.second + "\n\n");
    FINISH(*d.m, d.status);
  }
}

// A group in sand whose relative error cannot reach 1e-15 within 3 + 1 iterations: the
// alternative tolerances accept a step once the largest increments are within their limits,
// translations and rotations each; the run log then shows the largest increments.
TEST(CapIterationLog, AlternativeTolerancesAcceptByTheLargestIncrement) {
  struct Case {
    const char* controls;  // IALTTOL, TOLCAPD, TOLCAPR
    bool accepted_at_second;
    bool first_step_retried;
  };
  // With a rotation limit of 0 the rotations still converge by their increment floor in the
  // fourth iteration; a translation limit of 0 leaves the translations short of theirs.
  const Case cases[] = {{"0 10.0 1.0", false, true},
                        {"1 10.0 1.0", true, false},
                        {"1 10.0 0.0", false, false},
                        {"1 0.0 1.0", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.controls);
    std::string t = read_example("group2x2_sand_us.dat");
    t = replace(t, "1.0E-4 1.0E-6 0.25 0.01", "1.0E-15 1.0E-6 0.25 0.01");
    t = replace(t, "0 0 0 1 1 100 500", "0 0 0 1 1 3 500");
    t = replace(t, "2 1 1.0 0 0.0 0.0", std::string("2 1 1.0 ") + c.controls);
    WorkDir dir;
    ASSERT_EQ(run_input(dir, t), 0);
    const std::string log = dir.read("case.log");
    const bool alt = c.controls[0] == '1';
    EXPECT_EQ(has(log, "                   - MaxDsp   0."), alt);
    // Accepted at the second iteration: four steps of a quarter, each of two iterations.
    EXPECT_EQ(has(log, "     ITERATION    3\n"), !c.accepted_at_second);
    EXPECT_EQ(has(log, "     STEP     1, TCUR     0.1250, DTCUR     0.1250\n"), c.first_step_retried);
    if (c.accepted_at_second) {
      EXPECT_TRUE(has(log, "     STEP     4, TCUR     1.0000, DTCUR     0.2500\n"));
      EXPECT_TRUE(has(log, "          NUMBER OF GLOBAL ITERATIONS =    2\n"));
    }
  }
}

// Row by row, a coupling term larger than half its row's diagonal is cut to that value with
// its own sign, and its mirror with it; later rows compare the values earlier rows left.
TEST(CapIterationLog, CouplingClippedRowByRow) {
  std::array<std::array<double, 3>, 3> S = {{{2.0, -3.0, 0.5}, {-3.0, 10.0, 8.0}, {0.5, 8.0, 4.0}}};
  struct M {
    std::array<std::array<double, 3>, 3>& s;
    double& operator()(int i, int j) { return s[std::size_t(i - 1)][std::size_t(j - 1)]; }
  } A{S};
  clip_coupling(A, 3);
  // Row 1 cuts -3 to -1; row 2 (limit 5) cuts 8 to 5; row 3 (limit 2) cuts that 5 to 2.
  const std::array<std::array<double, 3>, 3> want = {{{2.0, -1.0, 0.5}, {-1.0, 10.0, 2.0}, {0.5, 2.0, 4.0}}};
  EXPECT_EQ(S, want);

  std::array<std::array<double, 3>, 3> N = {{{1.0, 2.0, 6.0}, {4.0, 1.0, 0.0}, {0.0, 2.0, 1.0}}};
  M B{N};
  symmetrize(B, 3);
  const std::array<std::array<double, 3>, 3> sym = {{{1.0, 3.0, 3.0}, {3.0, 1.0, 1.0}, {3.0, 1.0, 1.0}}};
  EXPECT_EQ(N, sym);
}

// The records of one matrix on the trace after the line that holds `kiter` alone.
std::vector<std::vector<double>> trace_rows(const std::string& trc, int kiter, const std::string& label, int n) {
  std::istringstream in(trc);
  std::string line;
  const std::string head = "           " + std::to_string(kiter);
  while (std::getline(in, line) && line != head) {
  }
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line) && int(rows.size()) < n) {
    if (line.compare(0, label.size(), label) != 0) continue;
    std::istringstream v(line.substr(label.size() + 2));
    std::vector<double> r(std::size_t(n), 0.0);
    for (double& x : r) v >> x;
    rows.push_back(r);
  }
  return rows;
}

// The point-of-definition example: the trace shows the tangent of the first iteration as
// formed, and the extended matrix built from it after symmetrising and clipping.
TEST(CapIterationLog, PointCaseClipsTheFirstTangent) {
  WorkDir dir;
  ASSERT_EQ(run_input(dir, read_example("point_of_definition_us.dat")), 0);
  const std::string trc = dir.read("case.trc");
  const auto SS = trace_rows(trc, 1, "SS  ", 6);
  const auto SE = trace_rows(trc, 1, "SE ", 12);
  ASSERT_EQ(SS.size(), 6u);
  ASSERT_EQ(SE.size(), 12u);
  bool clipped = false;
  for (std::size_t i = 0; i < 6; ++i)
    for (std::size_t j = 0; j < 6; ++j) {
      if (i == j) continue;
      const double lim = 0.5 * std::fabs(SE[i][i]) * (1.0 + 1e-4);
      EXPECT_LE(std::fabs(SE[i][j]), lim) << i + 1 << "," << j + 1;
      EXPECT_EQ(SE[i][j], SE[j][i]) << i + 1 << "," << j + 1;
      clipped = clipped || std::fabs(SS[i][j]) > lim;
    }
  EXPECT_TRUE(clipped) << "the example's tangent has a coupling term to clip";
  // The lateral-rotation coupling: -7.8e8 against a lateral diagonal of 9.5e7.
  EXPECT_NEAR(SE[1][5], -0.5 * std::fabs(SS[1][1]), 1e-4 * std::fabs(SS[1][1]));
}

}  // namespace
}  // namespace torva
