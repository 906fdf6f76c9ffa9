// The laterally loaded pile: one nonlinear solution of a 100-segment pile on a user p-y
// curve and one on the curves generated from API sand, and one solve of the banded
// beam-column equations of a plane (the lower bound of a solution is the number of solves
// times two planes times this).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "bench_model.h"
#include "model/model.h"
#include "pile/pilef.h"
#include "pile/llp3d.h"
#include "pile/node.h"

namespace {

using namespace torva;

// One vertical pile of 100 segments, fixed head, on a soft hyperbolic user p-y curve.
std::unique_ptr<Model> soft_pile_model() {
  auto m = new_model();
  const int g = 1, t = 1;
  m->PTYPE(g) = t;
  m->NSEG(t) = 100;
  m->PILELEN(t) = 1000.0;
  m->NSECT(t) = 1;
  m->STO(t, 1) = 1000.0;
  m->SEIZ(t, 1) = m->SEIZB(t, 1) = m->SEIY(t, 1) = m->SEIYB(t, 1) = 1.0e9;
  m->BETA(g) = std::numbers::pi / 2;
  m->CONNECTY(g) = m->CONNECTZ(g) = 2;
  m->PMULT(g) = m->YMULT(g) = 1.0;
  m->IPYUSER = 1;
  m->PYSETG(g) = 1;
  m->NCRVPY(1) = 1;
  m->NPTPY(1, 1) = 40;
  for (int i = 2; i <= 40; ++i) {
    const double y = 0.01 * std::pow(1.25, i - 2);
    m->PYY(1, 1, i) = y;
    m->PYP(1, 1, i) = 200.0 * y / (0.2 + y);
  }
  m->SMALL = 1.0e-14;
  m->TOLPILE = 1.0e-7;
  m->MAXITLLP = 100;
  int st = 0;
  NODE(*m, g, st);
  return m;
}

struct Solution {
  std::unique_ptr<Model> m = soft_pile_model();
  std::unique_ptr<Llp3dScratch> s = std::make_unique<Llp3dScratch>();
  NodeVec mov, fax;
  int run() {
    double Vy, Vz, My, Mz;
    int st = 0;
    const double u[6] = {0, 1.5, 0.8, 0, 0, 0};
    double QT[36] = {};
    for (int i = 0; i < 6; ++i) QT[i * 7] = 1.0;
    LLP3D(*m, 1, 1.5, 0.0, 0.8, 0.0, 500.0, 0.0, Vy, Vz, My, Mz, st, u, QT, mov, fax, *s);
    benchmark::DoNotOptimize(Vy);
    return s->ns;
  }
};

void BM_Llp3dNonlinearSolution(benchmark::State& state) {
  Solution sol;
  int ns = 0;
  for (auto _ : state) ns = sol.run();
  state.counters["solves"] = ns;
}
BENCHMARK(BM_Llp3dNonlinearSolution);

// The head forces of the single pile of a generated API-sand group (one row), its curves
// generated from the soil: the axial and torsion steps and the lateral solution.
void BM_PileApiSand(benchmark::State& state) {
  torva_bench::Prepared prep(1, 8);
  Model& m = *prep.m;
  auto s = std::make_unique<PilefScratch>();
  Vec6 U, F;
  for (int i = 1; i <= 6; ++i) U(i) = 0.0;
  U(1) = 0.05;
  U(2) = 0.4;
  int st = 0;
  for (auto _ : state) {
    PILEF(m, 1, F, U, st, *s);
    benchmark::DoNotOptimize(F(2));
  }
  if (st != 0) state.SkipWithError("the pile evaluation failed");
  state.counters["solves"] = s->llp.ns;
}
BENCHMARK(BM_PileApiSand);

void BM_BandedSolve(benchmark::State& state) {
  Solution sol;
  sol.run();  // a realistic set of moduli and stiffnesses
  Llp3dScratch& s = *sol.s;
  const int N = 104;
  const double h = 10.0;
  for (auto _ : state) {
    s.ay(4) = 1.5;
    s.ay(3) = 0.0;
    s.cy(3) = 1.0;
    const bool ok = llp_solve_plane(N, h, s.EIz, s.Es, s.Pax, s.qy, s.ay, s.by, s.cy, s.y, s.yold);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(s.y.data());
  }
}
BENCHMARK(BM_BandedSolve);

}  // namespace

BENCHMARK_MAIN();
