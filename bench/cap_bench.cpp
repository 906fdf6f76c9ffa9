// One global iteration of the 3-D cap analysis (the force sum FVEC and the tangent STIFF
// over every pile row) on a generated square group in medium dense sand, with 1 thread and
// with all threads. Rows: 400 and 2500. Reports the peak memory of the process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "cap/fvec.h"
#include "run/loads.h"
#include "run/platform.h"
#include "run/runctl.h"

namespace {

namespace fs = std::filesystem;

// A square group of n rows (n a square number) of 18 in concrete piles at 3 diameters in
// sand, one load case, generated axial and torsion curves shared by every row.
std::string group_input(int n) {
  const int side = int(std::lround(std::sqrt(double(n))));
  std::ostringstream s;
  s << "GENERATED " << n << " PILE GROUP IN MEDIUM DENSE SAND\nBENCHMARK\n";
  s << "CONTROL RECORD\n1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0 0 0 0\n";
  s << "PILE CAP\n" << side * 4.5 << " " << side * 4.5 << " 3.0 0.0 0.0 0\n";
  s << "LOAD CASES\n1 0 0 0 0\n0 0 0 1 1 100 500\n1.0E-4 1.0E-6 1.0 0.01\n";
  s << "LATERAL AND VERTICAL\n0 0 0 0 0 0 0 0\n2 1 1.0 0 0.0 0.0 0 0 0\n0\n";
  s << "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1\n";
  s << 100000.0 * n << " " << 10000.0 * n << " 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n0\n";
  s << "LOAD COMBINATIONS\n0 0 0 0 0\nLOAD VERSUS DEPTH CURVES\n0\n";
  s << "PILE GROUP ROWS\n" << n << "\n";
  for (int i = 0; i < side; ++i)
    for (int j = 0; j < side; ++j) {
      s << "2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n";
      s << "0.0 " << (i - 0.5 * (side - 1)) * 4.5 << " " << (j - 0.5 * (side - 1)) * 4.5
        << " 0.0 90.0 0.0 0.0\n";
    }
  s << "PILE PROPERTIES\n1\n1 1\n100 50.0 1\n0.0 50.0 1\n";
  s << "CROSS SECTIONS\n1\n1 0 0 0\n'CONCRETE 18 IN ROUND'\n18.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n";
  s << "1.6667E6 254.469 5152.997 5152.997 0.0 1.7177E10 3.0E6 1.0E5 4.0E6 0.0 0\n0 0 0.0 1 0\n'NONE'\n";
  s << "SOIL LAYERS\n1\n1 4\n0.0 80.0\n2 9\n";
  s << "110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0\n110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0\n";
  s << "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n1\n1\n";
  s << "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n1\n1\n";
  s << "MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS\n0\n";
  return s.str();
}

// A model read, converted and completed for the generated group, ready for one analysis.
struct Prepared {
  std::unique_ptr<torva::Model> m;
  fs::path dir;
  explicit Prepared(int n) {
    dir = fs::temp_directory_path() / ("torva_bench_" + std::to_string(::getpid()) + "_" + std::to_string(n));
    fs::create_directories(dir);
    const fs::path prev = fs::current_path();
    fs::current_path(dir);
    std::ofstream("case.dat") << group_input(n);
    std::ofstream names("Names.dat");
    names << "BENCH\n\n\n\ncase.dat\n";
    for (const char* e : {".echo", ".out", ".sum", ".plt", ".log", ".cas", ".pld", ".prg", ".gcd",
                          ".es1", ".es2", ".pls", ".stp", ".pst", ".kmx", ".wrn", ".trc", ".lsd",
                          ".cvd", ".stt", ".sus", ".mph"})
      names << "case" << e << "\n";
    names.close();
    m = torva::new_model();
    int status = 0;
    torva::OPENFILES(*m, status);
    if (status == 0) torva::READINPUT(*m, status);
    m->NTHMAX = torva::platform::max_threads();
    m->NTHUSE = m->NTHRUN = 1;
    if (status == 0) torva::CONVINPUT(*m);
    if (status == 0) torva::ECHOINPUT(*m, status);
    torva::SETCURCASE(*m, 1);
    fs::current_path(prev);
    if (status != 0) throw std::runtime_error("benchmark model failed with status " + std::to_string(status));
  }
  ~Prepared() {
    m.reset();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

void BM_GlobalIteration(benchmark::State& state) {
  const int rows = int(state.range(0));
  const int threads = int(state.range(1)) == 0 ? torva::platform::processors() : int(state.range(1));
  static std::unique_ptr<Prepared> prep;
  if (!prep || prep->m->NROW != rows) {
    prep.reset();
    prep = std::make_unique<Prepared>(rows);
  }
  torva::Model& m = *prep->m;
  m.NTHREQ = threads;
  torva::Vec6 U, F;
  torva::Mat6 K;
  for (int i = 1; i <= 6; ++i) U(i) = 0.0;
  U(1) = 0.05;  // a settlement and a lateral movement of the cap, in inches
  U(2) = 0.2;
  for (auto _ : state) {
    int status = 0;
    torva::FVEC(m, F, U, status);
    torva::STIFF(m, K, U, status);
    benchmark::DoNotOptimize(F(1));
    benchmark::DoNotOptimize(K(1, 1));
  }
  struct rusage ru {};
  getrusage(RUSAGE_SELF, &ru);
  state.counters["threads"] = threads;
  state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

BENCHMARK(BM_GlobalIteration)
    ->Args({400, 1})
    ->Args({400, 0})
    ->Args({2500, 1})
    ->Args({2500, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
