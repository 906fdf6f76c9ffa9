// The 3-D cap analysis on a generated square group in medium dense sand:
// - one global iteration (the force sum FVEC and the tangent STIFF over every pile row, 14
//   pile evaluations per row) with 1 thread and with all threads, rows 400 and 2500, with
//   the peak memory of the process;
// - the parallel efficiency of that iteration, both thread counts timed in the same run,
//   beside the machine's own: a trivially parallel compute loop of as many items, timed
//   alternately with it;
// - one iteration per row against its banded solves (the pile evaluations' solves of both
//   planes, each timed as one solve of a 100-segment pile);
// - the whole run (input to reports) of an N x N group, N = 20 and 50.
#include <benchmark/benchmark.h>
#include <omp.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "bench_model.h"
#include "cap/fvec.h"
#include "driver/itorva.h"
#include "pile/llp3d.h"
#include "pile/pilef.h"

namespace {

using torva_bench::Prepared;
namespace fs = torva_bench::fs;

Prepared& prepared(int rows) {
  static std::unique_ptr<Prepared> prep;
  if (!prep || prep->m->NROW != rows) {
    prep.reset();
    prep = std::make_unique<Prepared>(rows);
  }
  return *prep;
}

// One FVEC + STIFF at a settlement and a lateral movement of the cap, in inches.
void global_iteration(torva::Model& m, int threads) {
  m.NTHREQ = threads;
  torva::Vec6 U, F;
  torva::Mat6 K;
  for (int i = 1; i <= 6; ++i) U(i) = 0.0;
  U(1) = 0.05;
  U(2) = 0.2;
  int status = 0;
  torva::FVEC(m, F, U, status);
  torva::STIFF(m, K, U, status);
  benchmark::DoNotOptimize(F(1));
  benchmark::DoNotOptimize(K(1, 1));
}

double seconds_of(torva::Model& m, int threads, int repeat) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < repeat; ++i) global_iteration(m, threads);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / repeat;
}

void peak_memory(benchmark::State& state) {
  struct rusage ru {};
  getrusage(RUSAGE_SELF, &ru);
  state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

void BM_GlobalIteration(benchmark::State& state) {
  const int rows = int(state.range(0));
  const int threads = int(state.range(1)) == 0 ? torva::platform::processors() : int(state.range(1));
  torva::Model& m = *prepared(rows).m;
  for (auto _ : state) global_iteration(m, threads);
  state.counters["threads"] = threads;
  peak_memory(state);
}
BENCHMARK(BM_GlobalIteration)
    ->Args({400, 1})
    ->Args({400, 0})
    ->Args({2500, 1})
    ->Args({2500, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// One item of pure arithmetic (about a pile row's cost per iteration), nothing shared.
double compute_item(int i) {
  double s = 0.0;
  for (int k = 0; k < 40000; ++k) s += std::sin(i * 1e-3 + k * 1e-7) * std::pow(1.0001, k % 50);
  return s;
}

// The machine's ceiling: `items` independent compute items, dynamically scheduled.
double compute_seconds(std::vector<double>& out, int threads) {
  const int items = int(out.size());
  const auto t0 = std::chrono::steady_clock::now();
#pragma omp parallel for schedule(dynamic) num_threads(threads)
  for (int i = 0; i < items; ++i) out[std::size_t(i)] = compute_item(i);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Speed-up and efficiency of all threads over one, measured alternately in the same run;
// beside them the efficiency of a trivially parallel loop of as many items on this
// machine (machine_efficiency, its ceiling) and the iteration's share of that ceiling.
void BM_ParallelEfficiency(benchmark::State& state) {
  const int rows = int(state.range(0));
  const int p = torva::platform::processors();
  torva::Model& m = *prepared(rows).m;
  global_iteration(m, p);  // the scratch of every thread and the kept constants of every row
  std::vector<double> items(std::size_t(rows), 0.0);
  compute_seconds(items, p);
  double t1 = 0.0, tp = 0.0, c1 = 0.0, cp = 0.0;
  for (auto _ : state) {
    c1 += compute_seconds(items, 1);
    t1 += seconds_of(m, 1, 1);
    cp += compute_seconds(items, p);
    tp += seconds_of(m, p, 2);
  }
  benchmark::DoNotOptimize(items.data());
  state.counters["threads"] = p;
  state.counters["speedup"] = t1 / tp;
  state.counters["efficiency"] = t1 / tp / p;
  state.counters["machine_efficiency"] = c1 / cp / p;
  state.counters["of_machine"] = (t1 / tp) / (c1 / cp);
}
BENCHMARK(BM_ParallelEfficiency)->Arg(400)->Arg(2500)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One global iteration per row on one thread over the banded solves it makes.
void BM_IterationOverSolves(benchmark::State& state) {
  const int rows = int(state.range(0));
  Prepared& prep = prepared(rows);
  torva::Model& m = *prep.m;
  global_iteration(m, 1);
  auto& scratch = *static_cast<std::vector<torva::PilefScratch>*>(m.PSCRATCH.get());
  torva::Llp3dScratch& s = scratch[0].llp;
  double t_iter = 0.0;
  long long solves = 0;
  for (auto _ : state) {
    const long long before = s.solves;
    t_iter += seconds_of(m, 1, 1);
    solves += s.solves - before;
  }
  // One banded solve of a plane of the last pile solution (100 segments).
  const int g = m.NROW;
  const int N = m.NSEG(m.PTYPE(g)) + 4;
  const double h = m.PILELEN(m.PTYPE(g)) / m.NSEG(m.PTYPE(g));
  const int reps = 20000;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) {
    s.ay(4) = 0.2;
    s.ay(3) = 0.0;
    s.cy(3) = 1.0;
    const bool ok = torva::llp_solve_plane(N, h, s.EIz, s.Es, s.Pax, s.qy, s.ay, s.by, s.cy, s.y, s.yold);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(s.y.data());
  }
  const double t_solve = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
  state.counters["solves_per_row"] = double(solves) / double(state.iterations()) / rows;
  state.counters["iteration_over_solves"] = t_iter / (2.0 * double(solves) * t_solve);
}
BENCHMARK(BM_IterationOverSolves)->Arg(400)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The whole run of a generated N x N group, with all threads.
void BM_WholeRun(benchmark::State& state) {
  const int side = int(state.range(0));
  torva_bench::CaseFolder folder(side * side, 4);
  const fs::path prev = fs::current_path();
  fs::current_path(folder.dir);
  int status = 0;
  for (auto _ : state) status = torva::run_itorva(3);
  fs::current_path(prev);
  if (status != 0) state.SkipWithError("the generated group's run failed");
  state.counters["rows"] = side * side;
  peak_memory(state);
}
BENCHMARK(BM_WholeRun)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
